#include "ZORQelIInstancesIMP.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIInstancesIMP, ZORQelIWrapperObjectIMP)
