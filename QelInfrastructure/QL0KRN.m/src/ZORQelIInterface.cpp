#include "ZORQelIInterface.h"

#include "ZORQelIEntity.h"
#include "ZORQelIInterfaceIMP.h"
#include "ZORQelIMethod.h"
#include "ZORQelIModeler.h"
#include "ZORQelIType.h"
#include "ZORQelIWrapper.h"

ZORQELI_DEFINE_STRICT_DICTIONARY_HANDLE(ZORQelIInterface, ZORQelIParsable, ZORQelIInterfaceIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIInterface, ZORQelIInterfaceIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIInterface, __VA_ARGS__)
#include "ZORQelIInterface.def"
