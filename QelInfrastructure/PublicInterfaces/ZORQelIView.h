// ZORQelIView: the handle of a view.
#ifndef ZORQelIView_h
#define ZORQelIView_h

#include "ZORQelI.h"
#include "ZORQelIObject.h"
#include "ZORQelIViewIMP.h"

// A default-constructed view is empty.  Each notification calls the view's
// operation of the same name with a copy of o.
//
// Contract: that of every handle (ZORQelIObject.h).  A notification raises
// what the view's implementation raises: the library's base view does nothing
// and raises nothing; a client's view raises what it documents.
class QL0KRN_EXPORT ZORQelIView : public ZORQelIObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIView, ZORQelIViewIMP)
 public:
  // The forwarding operations, one row each in ZORQelIView.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIView.def"
};

#endif
