#include "ZORQelIEntity.h"

#include "ZORQelIAttr.h"
#include "ZORQelIEntityIMP.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIEntity, ZORQelIType, ZORQelIEntityIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIEntity, ZORQelIEntityIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIEntity, __VA_ARGS__)
#include "ZORQelIEntity.def"
