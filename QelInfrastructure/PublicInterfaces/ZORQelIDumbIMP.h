// ZORQelIDumbIMP: the placeholder implementation object.
#ifndef ZORQelIDumbIMP_h
#define ZORQelIDumbIMP_h

#include "ZORQelIObjectIMP.h"

// An object that stands for nothing: IsValid() is Ifalse and its text is
// empty.  The library makes one when it is loaded, ZORQelIGholder::null.
//
// Contract: raises nothing.  Like every implementation object it is created
// with new and deleted by the collector; ZORQelIGholder::null is never
// collected.
class QL0KRN_EXPORT ZORQelIDumbIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ZORQelIDumbIMP, ZORQelIObjectIMP)
 public:
  ZORQelIDumbIMP();
  ZORQelIDumbIMP(const ZORQelIDumbIMP& o);

  ZORQelIObjectIMP* Clone() const override;
  void Text(ZORQelIPrint& ot) const override;
  ZORQelI::boolean IsValid() const override;

 private:
  friend class ZORQelIGholder;
  // The load-time placeholder (made without a trace frame).
  explicit ZORQelIDumbIMP(ZORQelIObjectIMP::LoadTimeTag t);
};

#endif
