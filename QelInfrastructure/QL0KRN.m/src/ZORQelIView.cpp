#include "ZORQelIView.h"

#include "ZORQelITracer.h"

ZORQELI_DEFINE_HANDLE(ZORQelIView, ZORQelIObject, ZORQelIViewIMP)
ZORQELI_DEFINE_EMPTY_CONSTRUCTOR(ZORQelIView, ZORQelIObject)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORQelIView, ZORQelIViewIMP)

void ZORQelIView::NotifyUpdate(ZORQelIObject o) {
  ZORQELI_TRACE("void ZORQelIView::NotifyUpdate(ZORQelIObject o)");
  IMP()->NotifyUpdate(o);
}

void ZORQelIView::NotifyDeleted(ZORQelIObject o) {
  ZORQELI_TRACE("void ZORQelIView::NotifyDeleted(ZORQelIObject o)");
  IMP()->NotifyDeleted(o);
}

void ZORQelIView::NotifyCreated(ZORQelIObject o) {
  ZORQELI_TRACE("void ZORQelIView::NotifyCreated(ZORQelIObject o)");
  IMP()->NotifyCreated(o);
}
