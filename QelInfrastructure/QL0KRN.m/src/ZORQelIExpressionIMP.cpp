#include "ZORQelIExpressionIMP.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIExpressionIMP, ZORQelIParsableIMP)
