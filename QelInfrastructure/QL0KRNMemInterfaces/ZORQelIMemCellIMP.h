// ZORQelIMemCellIMP: the instance standing for one value held by a store of
// the in-memory provider.
#ifndef ZORQelIMemCellIMP_h
#define ZORQelIMemCellIMP_h

#include "QL0KRN.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemInstanceIMP.h"

// Made by GetAttr (an attribute of an entity instance) and GetInstance (an
// element of an aggregate), it holds no value: every read and write goes to
// the store's slot, so two cells on the same position see the same value.
//
// A cell stands for a position.  Attribute positions never change; element
// positions move when elements are inserted or removed before them, and the
// cell then reads the element now at its position; a position past the end
// raises ZORQelI::BoundError.  Equal is identity, unless both cells refer to
// the same entity instance (ZORQelIMemInstanceIMP).  Clone is another cell on
// the same position.
//
// An attribute cell finds its value straight in the entity instance, whose
// values never move; an element cell checks its position against the
// aggregate's size at every access.
//
// Collector: the store is scanned by the member check, so a held cell keeps
// its entity instance or aggregate alive (and with it the kept site).
class QL0KRNMEM_EXPORT ZORQelIMemCellIMP final : public ZORQelIMemInstanceIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemCellIMP, ZORQelIMemInstanceIMP)
 public:
  // A cell on element `index` of an aggregate (or any store whose values
  // may move).
  ZORQelIMemCellIMP(ZORQelIMemInstanceIMP* store, int index);
  // A cell on attribute `index` of an entity instance.
  ZORQelIMemCellIMP(ZORQelIMemEntityInstanceIMP* instance, int index);
  ~ZORQelIMemCellIMP() override;

  ZORQelIObjectIMP* Clone() const override;
  void GarbageCollectorMemberCheck() override;

  ZORQelIMemModelerIMP* Modeler() const override;

 protected:
  bool Locate(Site& site) const override;

 private:
  ZORQelIMemCellIMP(const ZORQelIMemCellIMP& o);
  ZORQelIMemCellIMP& operator=(const ZORQelIMemCellIMP&) = delete;

  // Kept alive by the member check.
  ZORQelIMemInstanceIMP* store_;
  int index_;
  // Whether store_ is an entity instance and index_ one of its attributes.
  bool attribute_;
};

#endif
