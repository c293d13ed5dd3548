#include "ZORQelIParsableIMP.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIParsableIMP, ZORQelIWrapperObjectIMP)
