// ZORQelIFunction: the method handle under the name the interfaces use for
// free functions.  It declares nothing of its own: the operations, what
// they raise and who owns what are ZORQelIMethod's (ZORQelIMethod.h).
#ifndef ZORQelIFunction_h
#define ZORQelIFunction_h

#include "ZORQelIMethod.h"

#endif
