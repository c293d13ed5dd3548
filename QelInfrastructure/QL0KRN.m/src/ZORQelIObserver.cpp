#include "ZORQelIObserver.h"

#include "ZORQelITracer.h"

ZORQELI_DEFINE_HANDLE(ZORQelIObserver, ZORQelIView, ZORQelIObserverIMP)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORQelIObserver, ZORQelIObserverIMP)

ZORQelIObserver::ZORQelIObserver() : ZORQelIView(new ZORQelIObserverIMP()) {
  ZORQELI_TRACE(" ZORQelIObserver::ZORQelIObserver()");
}

// Nothing beyond the base's (which withdraws the root registration).
ZORQelIObserver::~ZORQelIObserver() = default;

void ZORQelIObserver::AddView(ZORQelIView a) {
  ZORQELI_TRACE("void ZORQelIObserver::AddView(ZORQelIView a)");
  IMP()->AddView(a);
}

void ZORQelIObserver::RemoveView(ZORQelIView a) {
  ZORQELI_TRACE("void ZORQelIObserver::RemoveView(ZORQelIView a)");
  IMP()->RemoveView(a);
}

ZORQelI::integer ZORQelIObserver::NumberOfView() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIObserver::NumberOfView() const");
  return IMP()->NumberOfView();
}
