#include "ZORQelIGCState.h"

#include "ZORQelITracer.h"
#include "ZORQelIVariable.h"

ZORQelIGCState::ZORQelIGCState() : savedCount(0) {
  ZORQELI_TRACE(" ZORQelIGCState::ZORQelIGCState()");
  savedCount = ZORQelIVariable::GarbageCollect();
}

ZORQelIGCState::~ZORQelIGCState() {
  ZORQELI_TRACE(" ZORQelIGCState::~ZORQelIGCState()");
  ZORQelIVariable::GarbageCollect();
  ZORQelIVariable::FlushInstancePool(savedCount);
}
