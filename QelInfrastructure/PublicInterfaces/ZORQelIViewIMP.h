// ZORQelIViewIMP: the implementation base of views, objects that hear about
// objects being created, deleted or updated.
#ifndef ZORQelIViewIMP_h
#define ZORQelIViewIMP_h

#include "ZORQelI.h"
#include "ZORQelIObject.h"
#include "ZORQelIObjectIMP.h"

// Abstract: client code derives concrete views and implements Clone, Text and
// the three notifications.  Whoever creates, deletes or changes an object
// calls the matching notification; the library itself raises none.
//
//   class ZORMyLogIMP : public ZORQelIViewIMP {
//     ZORQELI_DECLARE_IMP(ZORMyLogIMP, ZORQelIViewIMP)
//    public:
//     ZORQelIObjectIMP* Clone() const override { return new ZORMyLogIMP(*this); }
//     void Text(ZORQelIPrint& ot) const override { ot.Print(ZORQelI::string("Log")); }
//     void NotifyUpdate(ZORQelIObject o) override { ... }
//     void NotifyDeleted(ZORQelIObject o) override { ... }
//     void NotifyCreated(ZORQelIObject o) override { ... }
//   };
class QL0KRN_EXPORT ZORQelIViewIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ZORQelIViewIMP, ZORQelIObjectIMP)
 public:
  ZORQelIViewIMP();
  ZORQelIViewIMP(const ZORQelIViewIMP& x);

  virtual void NotifyUpdate(ZORQelIObject o) = 0;
  virtual void NotifyDeleted(ZORQelIObject o) = 0;
  virtual void NotifyCreated(ZORQelIObject o) = 0;
};

#endif
