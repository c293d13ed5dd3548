#include "ZORQelIObserver.h"

#include "ZORQelITracer.h"

ZORQELI_DEFINE_HANDLE(ZORQelIObserver, ZORQelIView, ZORQelIObserverIMP)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORQelIObserver, ZORQelIObserverIMP)

ZORQelIObserver::ZORQelIObserver() : ZORQelIView(new ZORQelIObserverIMP()) {
  ZORQELI_TRACE(" ZORQelIObserver::ZORQelIObserver()");
}

// Nothing beyond the base's (which withdraws the root registration).
ZORQelIObserver::~ZORQelIObserver() = default;

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIObserver, __VA_ARGS__)
#include "ZORQelIObserver.def"
