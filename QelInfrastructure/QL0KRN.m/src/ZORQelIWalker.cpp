#include "ZORQelIWalker.h"

// Out of line: the class's vtable is emitted here, once.
ZORQelIWalker::~ZORQelIWalker() = default;
