// ZORQelIObserverIMP: a view that passes every notification on to the views
// registered with it.
#ifndef ZORQelIObserverIMP_h
#define ZORQelIObserverIMP_h

#include "ZORQelI.h"
#include "ZORQelIListUnique.h"
#include "ZORQelIObject.h"
#include "ZORQelIView.h"
#include "ZORQelIViewIMP.h"

class ZORQelIPrint;

// Fan-out of a notification with argument o: the views are served in list
// order (the order of registration, less the removed ones), each with a
// fresh copy of o, the list's size being read again after each call.  So a
// view added during the fan-out is served in the same pass, and a view
// removed during it shifts the later ones down: the view that moves into the
// removed position is skipped in that pass.  An observer registered as a
// view serves its own views before the next view of this one (depth first).
// An exception from a view ends the fan-out.  The observer stays alive until
// its fan-out returns, even when a view drops every handle on it and
// collects.  An observer that reaches itself through its views (registered
// as its own view, say) would notify without end: once the nesting no longer
// fits the calling thread's stack, the fan-out raises ZORQelI::Exception.
//
// Ownership: `views` is a handle member, scanned by GarbageCollectorMemberCheck,
// so the list and every registered view live at least as long as an observer
// that reaches them.  Clones share the list.
class QL0KRN_EXPORT ZORQelIObserverIMP : public ZORQelIViewIMP {
  ZORQELI_DECLARE_IMP(ZORQelIObserverIMP, ZORQelIViewIMP)
 public:
  // No views.
  ZORQelIObserverIMP();
  // Shares x's list of views.
  ZORQelIObserverIMP(const ZORQelIObserverIMP& x);
  ~ZORQelIObserverIMP() override;

  // A new observer sharing this one's list: a view added to or removed from
  // either is seen by both.
  ZORQelIObjectIMP* Clone() const override;
  // "Observer" (the views are not listed).
  void Text(ZORQelIPrint& ot) const override;
  // Scans the list of views.
  void GarbageCollectorMemberCheck() override;

  void NotifyUpdate(ZORQelIObject o) override;
  void NotifyDeleted(ZORQelIObject o) override;
  void NotifyCreated(ZORQelIObject o) override;

  // Registers A unless it is empty or a view Equal to it is registered.
  void AddView(ZORQelIView A);
  // Unregisters the view Equal to A, if any.  An empty A raises
  // ZORQelI::NullPtrAccess.
  void RemoveView(ZORQelIView A);
  ZORQelI::integer NumberOfView() const;
  // The view at position i; a bad i raises ZORQelI::BoundError.
  ZORQelIView Get(integer i);

 private:
  // The three notifications differ only in the view operation they call.
  void FanOut(void (ZORQelIView::*notify)(ZORQelIObject), const ZORQelIObject& o);

  ZORQelIListUnique views;
};

#endif
