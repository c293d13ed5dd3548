#include "ZORCollecRoot.h"

// Out of line: this library holds the one vtable and type_info of the class.
ZORCollecRoot::~ZORCollecRoot() = default;
