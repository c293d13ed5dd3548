#include "ZORQelIParamDesc.h"

#include "ZORQelIParamDescIMP.h"
#include "ZORQelIType.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIParamDesc, ZORQelIWrapperObject, ZORQelIParamDescIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIParamDesc, ZORQelIParamDescIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIParamDesc, __VA_ARGS__)
#include "ZORQelIParamDesc.def"
