#include "ZORQelIParsable.h"

#include "ZORQelIErrorClass.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIParsableIMP.h"

ZORQELI_DEFINE_STRICT_DICTIONARY_HANDLE(ZORQelIParsable, ZORQelIWrapperObject, ZORQelIParsableIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIParsable, ZORQelIParsableIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIParsable, __VA_ARGS__)
#include "ZORQelIParsable.def"
