// ZORQelIMemCellIMP: the instance standing for one value held by a store of
// the in-memory provider.
#include "ZORQelIMemCellIMP.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemCellIMP";
}

ZORQELI_DEFINE_IMP(ZORQelIMemCellIMP, ZORQelIMemInstanceIMP)

ZORQelIMemCellIMP::ZORQelIMemCellIMP(ZORQelIMemInstanceIMP* store, int index)
    : store_(store), index_(index) {
  ZORQELI_TRACE(" ZORQelIMemCellIMP::ZORQelIMemCellIMP(ZORQelIMemInstanceIMP* store, int index)");
}

ZORQelIMemCellIMP::~ZORQelIMemCellIMP() = default;

ZORQelIObjectIMP* ZORQelIMemCellIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemCellIMP::Clone() const");
  return new ZORQelIMemCellIMP(store_, index_);
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

bool ZORQelIMemCellIMP::Locate(ZORQelIMemInstanceIMP*& store, int& index) const {
  ZORQELI_TRACE("bool ZORQelIMemCellIMP::Locate(ZORQelIMemInstanceIMP*& store, int& index) const");
  int n = store_->CellCount();
  if (index_ >= n) {
    ZORQelI::Throw(new ZORQelI::BoundError(index_, index_, 0, n - 1), kSource, __LINE__);
  }
  store = store_;
  index = index_;
  return true;
}
