// ZORQelIObserver: the handle of an observer, a view that fans notifications
// out to the views registered with it.
#ifndef ZORQelIObserver_h
#define ZORQelIObserver_h

#include "ZORQelI.h"
#include "ZORQelIObserverIMP.h"
#include "ZORQelIView.h"

// Unlike most handles, a default-constructed observer is never empty: it
// makes a new observer with no views.  The notifications are ZORQelIView's;
// on an observer they reach the fan-out of ZORQelIObserverIMP.
//
// Contract: that of every handle (ZORQelIObject.h).  AddView ignores an
// empty view; RemoveView of an empty view raises ZORQelI::NullPtrAccess.  A
// notification raises what a registered view raises, and the views after it
// are then not notified.  The observer keeps its views alive while it is
// reached.
class QL0KRN_EXPORT ZORQelIObserver : public ZORQelIView {
  ZORQELI_DECLARE_HANDLE(ZORQelIObserver, ZORQelIObserverIMP)
 public:
  ~ZORQelIObserver() override;

  // The forwarding operations, one row each in ZORQelIObserver.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIObserver.def"
};

#endif
