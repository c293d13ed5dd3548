// ZORQelIMemValueIMP: a free-standing primitive or Void value of the
// in-memory provider.
#ifndef ZORQelIMemValueIMP_h
#define ZORQelIMemValueIMP_h

#include <cstdint>

#include "QL0KRN.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemInstanceIMP.h"

class ZORQelIMemTypeIMP;

// One value of a primitive, field or Void type, made by a population's
// Instanciate operations and by nothing else; it belongs to no population
// (Size() of the population does not count it) and lives while it is
// referred to.  It starts unset.  Its operations are those of
// ZORQelIMemInstanceIMP; Clone copies the value.
//
// Collector: the type and an object value are scanned by the member check.
class QL0KRNMEM_EXPORT ZORQelIMemValueIMP final : public ZORQelIMemInstanceIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemValueIMP, ZORQelIMemInstanceIMP)
 public:
  // REQUIRES: type is a primitive, field or Void type of this provider.
  explicit ZORQelIMemValueIMP(ZORQelIMemTypeIMP* type);
  ~ZORQelIMemValueIMP() override;

  ZORQelIObjectIMP* Clone() const override;
  void GarbageCollectorMemberCheck() override;

  ZORQelIMemModelerIMP* Modeler() const override;
  int CellCount() const override;
  ZORQelIMemSlot* Slots() override;
  std::uint8_t* Tags() override;
  ZORQelITypeIMP* CellType(int i) const override;

 protected:
  bool Locate(Site& site) const override;

 private:
  ZORQelIMemValueIMP(const ZORQelIMemValueIMP&) = delete;
  ZORQelIMemValueIMP& operator=(const ZORQelIMemValueIMP&) = delete;

  // Kept alive by the member check.
  ZORQelIMemTypeIMP* type_;
  ZORQelIMemSlot slot_;
  std::uint8_t tag_ = ZORQelIMemSlot::Unset;
};

#endif
