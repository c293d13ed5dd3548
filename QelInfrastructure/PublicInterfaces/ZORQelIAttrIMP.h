// ZORQelIAttrIMP: the abstract implementation of attributes.
#ifndef ZORQelIAttrIMP_h
#define ZORQelIAttrIMP_h

#include "ZORQelI.h"
#include "ZORQelIParamDescIMP.h"

class ZORQelIEntity;

// An attribute of an entity: a parameter descriptor (its name is Name(), its
// type GetType(), its optional flag IsOptional()) that knows the entity it
// belongs to.  Attributes are not inverse unless a concrete class says so.
//
// Contract: that of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h): the library's part raises nothing; what a
// concrete class raises is its provider's to document.
class QL0KRN_EXPORT ZORQelIAttrIMP : public ZORQelIParamDescIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIAttrIMP, ZORQelIParamDescIMP)
 public:
  // --- Virtual operations, after those of ZORQelIParamDescIMP -----------------
  // The entity that owns the attribute.
  virtual const ZORQelIEntity Parent() = 0;
  // Ifalse.
  virtual ZORQelI::boolean IsInverse() const;
};

#include "ZORQelIAttr.h"
#include "ZORQelIEntity.h"

#endif
