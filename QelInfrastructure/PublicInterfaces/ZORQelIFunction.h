// ZORQelIFunction: the method handle under the name the interfaces use for
// free functions.
#ifndef ZORQelIFunction_h
#define ZORQelIFunction_h

#include "ZORQelIMethod.h"

#endif
