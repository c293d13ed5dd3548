// ZORQelIMemCellIMP: the instance standing for one value held by a store of
// the in-memory provider.
#include "ZORQelIMemCellIMP.h"

#include "ZORQelIMemEntityInstanceIMP.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemCellIMP";
}

ZORQELI_DEFINE_IMP(ZORQelIMemCellIMP, ZORQelIMemInstanceIMP)

ZORQelIMemCellIMP::ZORQelIMemCellIMP(ZORQelIMemInstanceIMP* store, int index)
    : store_(store), index_(index), attribute_(false) {
  ZORQELI_TRACE(" ZORQelIMemCellIMP::ZORQelIMemCellIMP(ZORQelIMemInstanceIMP* store, int index)");
}

ZORQelIMemCellIMP::ZORQelIMemCellIMP(ZORQelIMemEntityInstanceIMP* instance, int index)
    : store_(instance), index_(index), attribute_(true) {
  ZORQELI_TRACE(" ZORQelIMemCellIMP::ZORQelIMemCellIMP(ZORQelIMemEntityInstanceIMP* instance, int index)");
}

ZORQelIMemCellIMP::ZORQelIMemCellIMP(const ZORQelIMemCellIMP& o)
    : ZORQelIMemInstanceIMP(o),
      store_(o.store_),
      index_(o.index_),
      attribute_(o.attribute_) {
  ZORQELI_TRACE(" ZORQelIMemCellIMP::ZORQelIMemCellIMP(const ZORQelIMemCellIMP& o)");
}

ZORQelIMemCellIMP::~ZORQelIMemCellIMP() = default;

ZORQelIObjectIMP* ZORQelIMemCellIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemCellIMP::Clone() const");
  return new ZORQelIMemCellIMP(*this);
}

void ZORQelIMemCellIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemCellIMP::GarbageCollectorMemberCheck()");
  ZORQelIMemInstanceIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(store_);
}

ZORQelIMemModelerIMP* ZORQelIMemCellIMP::Modeler() const {
  ZORQELI_TRACE("ZORQelIMemModelerIMP* ZORQelIMemCellIMP::Modeler() const");
  return store_->Modeler();
}

bool ZORQelIMemCellIMP::Locate(Site& site) const {
  ZORQELI_TRACE("bool ZORQelIMemCellIMP::Locate(Site& site) const");
  if (attribute_) {
    site = static_cast<ZORQelIMemEntityInstanceIMP*>(store_)->AttributeSite(index_);
    return true;
  }
  int n = store_->CellCount();
  if (index_ >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(index_, index_, 0, n - 1), kSource, __LINE__);
  }
  site = SiteOf(store_, index_);
  return true;
}
