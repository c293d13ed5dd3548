#include "ZORQelIViewIMP.h"

#include "ZORQelITracer.h"

ZORQELI_DEFINE_IMP(ZORQelIViewIMP, ZORQelIObjectIMP)

ZORQelIViewIMP::ZORQelIViewIMP() { ZORQELI_TRACE(" ZORQelIViewIMP::ZORQelIViewIMP()"); }

ZORQelIViewIMP::ZORQelIViewIMP(const ZORQelIViewIMP& x) : ZORQelIObjectIMP(x) {
  ZORQELI_TRACE(" ZORQelIViewIMP::ZORQelIViewIMP(const ZORQelIViewIMP& x)");
}
