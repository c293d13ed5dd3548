// ZORQelIEntity: handle of an entity.
#ifndef ZORQelIEntity_h
#define ZORQelIEntity_h

#include "ZORQelI.h"
#include "ZORQelIType.h"

class ZORQelIAttr;
class ZORQelIEntityIMP;

// Handle of an entity; the type operations are inherited.  DownCast is
// lenient; CastAnyway gives an empty handle on another class.
class QL0KRN_EXPORT ZORQelIEntity : public ZORQelIType {
  ZORQELI_DECLARE_HANDLE(ZORQelIEntity, ZORQelIEntityIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIEntity)
 public:
  // Number of the entity's own attributes.
  int NumberOfAttributes() const;
  // A new attribute added to the entity's own attributes.
  ZORQelIAttr CreateAttr(ZORQelI::string name, ZORQelIType tp, ZORQelI::boolean optional);
  ZORQelIAttr GetAttr(ZORQelI::string member) const;
  // The own attribute at 0-based position nth.
  ZORQelIAttr GetAttr(int nth) const;
  ZORQelI::Mint GetAttrIndex(ZORQelI::string member) const;
  ZORQelI::boolean RemoveAttr(ZORQelI::string name);
  ZORQelI::boolean RemoveAttr(int pos);
  // The super entity; an empty handle when there is none.
  ZORQelIEntity Super() const;
  void Super(ZORQelIEntity ent);
};

#include "ZORQelIAttr.h"
#include "ZORQelIEntityIMP.h"

#endif
