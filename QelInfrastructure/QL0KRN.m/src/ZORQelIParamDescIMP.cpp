#include "ZORQelIParamDescIMP.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIParamDescIMP, ZORQelIWrapperObjectIMP)
