#include "ZORQelIObserverIMP.h"

#include "ZORQelIPin.h"
#include "ZORQelIPrint.h"
#include "ZORQelIRaise.h"
#include "ZORQelIStackRoom.h"
#include "ZORQelITracer.h"

ZORQELI_DEFINE_IMP(ZORQelIObserverIMP, ZORQelIViewIMP)

ZORQelIObserverIMP::ZORQelIObserverIMP() : views() {
  ZORQELI_TRACE(" ZORQelIObserverIMP::ZORQelIObserverIMP()");
}

ZORQelIObserverIMP::ZORQelIObserverIMP(const ZORQelIObserverIMP& x)
    : ZORQelIViewIMP(x), views(x.views) {
  ZORQELI_TRACE(" ZORQelIObserverIMP::ZORQelIObserverIMP(const ZORQelIObserverIMP& x)");
}

ZORQelIObserverIMP::~ZORQelIObserverIMP() = default;

ZORQelIObjectIMP* ZORQelIObserverIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIObserverIMP::Clone() const");
  return new ZORQelIObserverIMP(*this);
}

void ZORQelIObserverIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIObserverIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelI::string("Observer"));
}

void ZORQelIObserverIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIObserverIMP::GarbageCollectorMemberCheck()");
  ZORQelIViewIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(views);
}

void ZORQelIObserverIMP::FanOut(void (ZORQelIView::*notify)(ZORQelIObject),
                                const ZORQelIObject& o) {
  // A view that is an observer fans out in turn, inside this call: an
  // observer that reaches itself through its views would do so without end.
  if (ZORQelI::StackNearlyExhausted())
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(
                      "ZORQelIObserver: notifications nested too deeply for this thread's "
                      "stack; an observer reaches itself through its views")),
                  ZORQELI_SOURCE(ZORQelIObserverIMP), __LINE__);
  // A view may drop the last handle on this observer and collect.
  ZORQelIInternal::Pin pin(this);
  if (views.Size() < 1) return;
  integer i = 0;
  do {
    ZORQelIView v = Get(i);
    ++i;
    (v.*notify)(o);
  } while (i < views.Size());
}

void ZORQelIObserverIMP::NotifyUpdate(ZORQelIObject o) {
  ZORQELI_TRACE("void ZORQelIObserverIMP::NotifyUpdate(ZORQelIObject o)");
  FanOut(&ZORQelIView::NotifyUpdate, o);
}

void ZORQelIObserverIMP::NotifyDeleted(ZORQelIObject o) {
  ZORQELI_TRACE("void ZORQelIObserverIMP::NotifyDeleted(ZORQelIObject o)");
  FanOut(&ZORQelIView::NotifyDeleted, o);
}

void ZORQelIObserverIMP::NotifyCreated(ZORQelIObject o) {
  ZORQELI_TRACE("void ZORQelIObserverIMP::NotifyCreated(ZORQelIObject o)");
  FanOut(&ZORQelIView::NotifyCreated, o);
}

void ZORQelIObserverIMP::AddView(ZORQelIView A) {
  ZORQELI_TRACE("void ZORQelIObserverIMP::AddView(ZORQelIView A)");
  views.Add(A);  // the array handle's Add reaches the list's: duplicates refused
}

void ZORQelIObserverIMP::RemoveView(ZORQelIView A) {
  ZORQELI_TRACE("void ZORQelIObserverIMP::RemoveView(ZORQelIView A)");
  views.Remove(A);
}

ZORQelI::integer ZORQelIObserverIMP::NumberOfView() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIObserverIMP::NumberOfView() const");
  return views.Size();
}

ZORQelIView ZORQelIObserverIMP::Get(integer i) {
  ZORQELI_TRACE("ZORQelIView ZORQelIObserverIMP::Get(integer i)");
  return ZORQelIView::DownCast(views.Get(i));
}
