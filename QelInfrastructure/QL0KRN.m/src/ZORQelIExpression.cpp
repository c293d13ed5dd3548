#include "ZORQelIExpression.h"

#include "ZORQelIExpressionIMP.h"
#include "ZORQelIInterface.h"
#include "ZORQelIMethod.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

ZORQELI_DEFINE_STRICT_DICTIONARY_HANDLE(ZORQelIExpression, ZORQelIParsable, ZORQelIExpressionIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIExpression, ZORQelIExpressionIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIExpression, __VA_ARGS__)
#include "ZORQelIExpression.def"
