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
// Collector: the store is scanned by the member check, so a held cell keeps
// its entity instance or aggregate alive.
class QL0KRNMEM_EXPORT ZORQelIMemCellIMP final : public ZORQelIMemInstanceIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemCellIMP, ZORQelIMemInstanceIMP)
 public:
  ZORQelIMemCellIMP(ZORQelIMemInstanceIMP* store, int index);
  ~ZORQelIMemCellIMP() override;

  ZORQelIObjectIMP* Clone() const override;
  void GarbageCollectorMemberCheck() override;

  ZORQelIMemModelerIMP* Modeler() const override;

 protected:
  bool Locate(ZORQelIMemInstanceIMP*& store, int& index) const override;

 private:
  ZORQelIMemCellIMP(const ZORQelIMemCellIMP&) = delete;
  ZORQelIMemCellIMP& operator=(const ZORQelIMemCellIMP&) = delete;

  // Kept alive by the member check.
  ZORQelIMemInstanceIMP* store_;
  int index_;
};

#endif
