#include "ZORQelIArrayWalker.h"

// Out of line: the class's virtual table lives in the library.
ZORQelIArrayWalker::~ZORQelIArrayWalker() = default;
