#include "ZORQelIInterfaceIMP.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIInterfaceIMP, ZORQelIParsableIMP)
