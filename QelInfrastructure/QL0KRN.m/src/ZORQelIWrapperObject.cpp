#include "ZORQelIWrapperObject.h"

#include "ZORQelIWrapperObjectIMP.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIWrapperObject, ZORQelIObject, ZORQelIWrapperObjectIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIWrapperObject, ZORQelIWrapperObjectIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIWrapperObject, __VA_ARGS__)
#include "ZORQelIWrapperObject.def"
