// ZORQelIMemValueIMP: a free-standing primitive or Void value of the
// in-memory provider.
#include "ZORQelIMemValueIMP.h"

#include "ZORQelIMemTypeIMP.h"

ZORQELI_DEFINE_IMP(ZORQelIMemValueIMP, ZORQelIMemInstanceIMP)

ZORQelIMemValueIMP::ZORQelIMemValueIMP(ZORQelIMemTypeIMP* type) : type_(type) {
  ZORQELI_TRACE(" ZORQelIMemValueIMP::ZORQelIMemValueIMP(ZORQelIMemTypeIMP* type)");
  slot_.object = nullptr;
}

ZORQelIMemValueIMP::~ZORQelIMemValueIMP() { ZORQelIMemSlot::Free(&slot_, &tag_, 1); }

ZORQelIObjectIMP* ZORQelIMemValueIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemValueIMP::Clone() const");
  auto* copy = new ZORQelIMemValueIMP(type_);
  CopySlot(slot_, tag_, copy->slot_, copy->tag_);
  return copy;
}

void ZORQelIMemValueIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemValueIMP::GarbageCollectorMemberCheck()");
  ZORQelIMemInstanceIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(type_);
  ZORQelIMemSlot::Scan(&slot_, &tag_, 1);
}

ZORQelIMemModelerIMP* ZORQelIMemValueIMP::Modeler() const {
  ZORQELI_TRACE("ZORQelIMemModelerIMP* ZORQelIMemValueIMP::Modeler() const");
  return type_->Modeler();
}

int ZORQelIMemValueIMP::CellCount() const {
  ZORQELI_TRACE("int ZORQelIMemValueIMP::CellCount() const");
  return 1;
}

ZORQelIMemSlot* ZORQelIMemValueIMP::Slots() {
  ZORQELI_TRACE("ZORQelIMemSlot* ZORQelIMemValueIMP::Slots()");
  return &slot_;
}

std::uint8_t* ZORQelIMemValueIMP::Tags() {
  ZORQELI_TRACE("std::uint8_t* ZORQelIMemValueIMP::Tags()");
  return &tag_;
}

ZORQelITypeIMP* ZORQelIMemValueIMP::CellType(int) const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIMemValueIMP::CellType(int i) const");
  return type_;
}

bool ZORQelIMemValueIMP::Locate(Site& site) const {
  ZORQELI_TRACE("bool ZORQelIMemValueIMP::Locate(Site& site) const");
  auto* self = const_cast<ZORQelIMemValueIMP*>(this);
  site = Site{self, 0, &self->slot_, &self->tag_, type_};
  return true;
}
