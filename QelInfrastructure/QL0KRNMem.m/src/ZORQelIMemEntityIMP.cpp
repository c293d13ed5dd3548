// ZORQelIMemEntityIMP: an entity of the in-memory provider.
#include "ZORQelIMemEntityIMP.h"

#include <cstdint>

#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemWrapper.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemEntityIMP";

[[noreturn]] void Refuse(const ZORQelI::string& message, int line) {
  ZORQELI_RAISE(ZORQelI::Exception(message), kSource, line);
}
}  // namespace

ZORQELI_DEFINE_IMP(ZORQelIMemEntityIMP, ZORQelIEntityIMP)

ZORQelIMemEntityIMP::ZORQelIMemEntityIMP(ZORQelIMemModelerIMP* modeler, ZORQelI::string name)
    : modeler_(modeler), name_(name) {
  ZORQELI_TRACE(" ZORQelIMemEntityIMP::ZORQelIMemEntityIMP(ZORQelIMemModelerIMP* modeler, ZORQelI::string name)");
}

ZORQelIMemEntityIMP::~ZORQelIMemEntityIMP() = default;

ZORQelIObjectIMP* ZORQelIMemEntityIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemEntityIMP::Clone() const");
  auto* copy = new ZORQelIMemEntityIMP(modeler_, name_);
  copy->super_ = super_;
  copy->attrs_.reserve(attrs_.size());
  for (ZORQelIMemAttrIMP* a : attrs_) {
    auto* c = static_cast<ZORQelIMemAttrIMP*>(a->Clone());
    c->SetOwner(copy);
    copy->attrs_.push_back(c);
  }
  return copy;
}

void ZORQelIMemEntityIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemEntityIMP::Text(ZORQelIPrint& ot) const");
  ZORQelIEntity self(const_cast<ZORQelIMemEntityIMP*>(this));
  if (auto* form = dynamic_cast<ZORQelIExpressForm*>(&ot)) {
    form->PrintEntity(self);
  } else {
    ot.Print(ZORQelIType(self));
  }
}

void ZORQelIMemEntityIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemEntityIMP::GarbageCollectorMemberCheck()");
  ZORQelIEntityIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(modeler_);
  GarbageCollectorScan(super_);
  for (ZORQelIMemAttrIMP* a : attrs_) GarbageCollectorScan(a);
  for (ZORQelIMemAttrIMP* a : layout_) GarbageCollectorScan(a);
}

ZORQelIWrapper& ZORQelIMemEntityIMP::Wrapper() const {
  ZORQELI_TRACE("ZORQelIWrapper& ZORQelIMemEntityIMP::Wrapper() const");
  return modeler_->Wrapper();
}

ZORQelI::string ZORQelIMemEntityIMP::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemEntityIMP::Name() const");
  return name_;
}

void ZORQelIMemEntityIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemEntityIMP::Rename(ZORQelI::string x)");
  if (x == name_) return;
  if (x.GetLengthInChar() == 0) Refuse(ZORQelI::string("an entity needs a name"), __LINE__);
  if (modeler_->FindEntity(x) != nullptr) {
    Refuse("schema '" + modeler_->Name() + "' already has an entity named '" + x + "'", __LINE__);
  }
  name_ = x;
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
}

ZORQelI::boolean ZORQelIMemEntityIMP::IsA(ZORQelITypeIMP* x) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemEntityIMP::IsA(ZORQelITypeIMP* x) const");
  return x == this ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMemEntityIMP::IsAKindOf(ZORQelIEntity ent) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemEntityIMP::IsAKindOf(ZORQelIEntity ent) const");
  if (ent.IsValid() != ZORQelI::Itrue) return ZORQelI::Ifalse;
  const ZORQelIObjectIMP* target = ent.RefMe();
  for (const ZORQelIMemEntityIMP* e = this; e != nullptr; e = e->super_) {
    if (e == target) return ZORQelI::Itrue;
  }
  return ZORQelI::Ifalse;
}

ZORQelI::string ZORQelIMemEntityIMP::FullTypeName() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemEntityIMP::FullTypeName() const");
  return modeler_->Name() + "." + name_;
}

ZORQelIModeler ZORQelIMemEntityIMP::GetModeler() const {
  ZORQELI_TRACE("ZORQelIModeler ZORQelIMemEntityIMP::GetModeler() const");
  return ZORQelIModeler(modeler_);
}

int ZORQelIMemEntityIMP::NumberOfAttributes() const {
  ZORQELI_TRACE("int ZORQelIMemEntityIMP::NumberOfAttributes() const");
  return static_cast<int>(attrs_.size());
}

ZORQelIAttr ZORQelIMemEntityIMP::CreateAttr(ZORQelI::string name, ZORQelIType tp,
                                            ZORQelI::boolean optional) {
  ZORQELI_TRACE("ZORQelIAttr ZORQelIMemEntityIMP::CreateAttr(ZORQelI::string name, ZORQelIType tp, ZORQelI::boolean optional)");
  RequireUnfrozen("add an attribute to");
  if (name.GetLengthInChar() == 0) Refuse(ZORQelI::string("an attribute needs a name"), __LINE__);
  ZORQelITypeIMP* type = nullptr;
  if (tp.IsValid() == ZORQelI::Itrue) {
    type = tp.IMP();
    Wrapper().CheckWrapper(type);
  }
  if (NameTaken(name)) {
    Refuse("entity '" + name_ + "' already has or inherits or passes on an attribute named '" +
               name + "'",
           __LINE__);
  }
  auto* a = new ZORQelIMemAttrIMP(modeler_, this, name, type, optional);
  attrs_.push_back(a);
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
  return ZORQelIAttr(a);
}

ZORQelIAttr ZORQelIMemEntityIMP::GetAttr(ZORQelI::string member) const {
  ZORQELI_TRACE("ZORQelIAttr ZORQelIMemEntityIMP::GetAttr(ZORQelI::string member) const");
  for (ZORQelIMemAttrIMP* a : attrs_) {
    if (a->NameRef() == member) return ZORQelIAttr(a);
  }
  return ZORQelIAttr();
}

ZORQelIAttr ZORQelIMemEntityIMP::GetAttr(int nth) const {
  ZORQELI_TRACE("ZORQelIAttr ZORQelIMemEntityIMP::GetAttr(int nth) const");
  int n = static_cast<int>(attrs_.size());
  if (nth < 0 || nth >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(nth, nth, 0, n - 1), kSource, __LINE__);
  }
  return ZORQelIAttr(attrs_[nth]);
}

ZORQelI::Mint ZORQelIMemEntityIMP::GetAttrIndex(ZORQelI::string member) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIMemEntityIMP::GetAttrIndex(ZORQelI::string member) const");
  for (std::size_t i = 0; i < attrs_.size(); ++i) {
    if (attrs_[i]->NameRef() == member) return ZORQelI::Mint(static_cast<std::int32_t>(i));
  }
  return ZORQelI::Mint::UNSET;
}

ZORQelI::boolean ZORQelIMemEntityIMP::RemoveAttr(ZORQelI::string name) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemEntityIMP::RemoveAttr(ZORQelI::string name)");
  ZORQelI::Mint pos = GetAttrIndex(name);
  if (!pos.IsSet()) return ZORQelI::Ifalse;
  return RemoveAttr(static_cast<int>(pos));
}

ZORQelI::boolean ZORQelIMemEntityIMP::RemoveAttr(int pos) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemEntityIMP::RemoveAttr(int pos)");
  if (pos < 0 || pos >= static_cast<int>(attrs_.size())) return ZORQelI::Ifalse;
  RequireUnfrozen("remove an attribute of");
  attrs_[pos]->SetOwner(nullptr);
  attrs_.erase(attrs_.begin() + pos);
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
  return ZORQelI::Itrue;
}

ZORQelIEntity ZORQelIMemEntityIMP::Super() const {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIMemEntityIMP::Super() const");
  return ZORQelIEntity(super_);
}

void ZORQelIMemEntityIMP::Super(ZORQelIEntity ent) {
  ZORQELI_TRACE("void ZORQelIMemEntityIMP::Super(ZORQelIEntity ent)");
  RequireUnfrozen("change the super entity of");
  ZORQelIMemEntityIMP* next = nullptr;
  if (ent.IsValid() == ZORQelI::Itrue) {
    Wrapper().CheckWrapper(ent.IMP());
    next = ZORQelIMemEntityIMP::DownCast(ent);
    if (next->Inherits(this)) {
      Refuse("entity '" + next->name_ + "' cannot be the super entity of '" + name_ +
                 "': that would make a cycle",
             __LINE__);
    }
    // Invariant 1 for the new chain: no entity inheriting from this one may
    // have an attribute named like one of next's chain.
    for (const ZORQelIMemEntityIMP* e = next; e != nullptr; e = e->super_) {
      for (const ZORQelIMemAttrIMP* a : e->attrs_) {
        bool clash = false;
        for (const ZORQelIMemAttrIMP* own : attrs_) clash = clash || own->NameRef() == a->NameRef();
        if (clash || NameUsedBelow(a->NameRef())) {
          Refuse("entity '" + next->name_ + "' cannot be the super entity of '" + name_ +
                     "': attribute '" + a->NameRef() + "' would be declared twice",
                 __LINE__);
        }
      }
    }
  }
  super_ = next;
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
}

bool ZORQelIMemEntityIMP::Inherits(const ZORQelIObjectIMP* e) const {
  ZORQELI_TRACE("bool ZORQelIMemEntityIMP::Inherits(const ZORQelIObjectIMP* e) const");
  for (const ZORQelIMemEntityIMP* x = this; x != nullptr; x = x->super_) {
    if (x == e) return true;
  }
  return false;
}

const std::vector<ZORQelIMemAttrIMP*>& ZORQelIMemEntityIMP::Freeze() {
  ZORQELI_TRACE("const std::vector<ZORQelIMemAttrIMP*>& ZORQelIMemEntityIMP::Freeze()");
  if (frozen_) return layout_;
  std::vector<ZORQelIMemAttrIMP*> layout;
  if (super_ != nullptr) layout = super_->Freeze();
  layout.insert(layout.end(), attrs_.begin(), attrs_.end());
  if (layout.size() > UINT16_MAX) {
    Refuse("entity '" + name_ + "' has too many attributes for an instance", __LINE__);
  }
  layout_.swap(layout);
  frozen_ = true;
  return layout_;
}

void ZORQelIMemEntityIMP::RequireUnfrozen(const char* what) const {
  ZORQELI_TRACE("void ZORQelIMemEntityIMP::RequireUnfrozen(const char* what) const");
  if (frozen_) {
    Refuse("cannot " + ZORQelI::string(what) + " entity '" + name_ +
               "': instances of it or of its sub-entities exist",
           __LINE__);
  }
}

bool ZORQelIMemEntityIMP::NameTaken(const ZORQelI::string& name) const {
  ZORQELI_TRACE("bool ZORQelIMemEntityIMP::NameTaken(const ZORQelI::string& name) const");
  return FindInChain(name) != nullptr || NameUsedBelow(name);
}

ZORQelIMemAttrIMP* ZORQelIMemEntityIMP::FindInChain(const ZORQelI::string& name) const {
  ZORQELI_TRACE("ZORQelIMemAttrIMP* ZORQelIMemEntityIMP::FindInChain(const ZORQelI::string& name) const");
  for (const ZORQelIMemEntityIMP* e = this; e != nullptr; e = e->super_) {
    for (ZORQelIMemAttrIMP* a : e->attrs_) {
      if (a->NameRef() == name) return a;
    }
  }
  return nullptr;
}

bool ZORQelIMemEntityIMP::NameUsedBelow(const ZORQelI::string& name) const {
  ZORQELI_TRACE("bool ZORQelIMemEntityIMP::NameUsedBelow(const ZORQelI::string& name) const");
  for (const ZORQelIMemEntityIMP* e : modeler_->Entities()) {
    if (e == this || !e->Inherits(this)) continue;
    for (const ZORQelIMemAttrIMP* a : e->attrs_) {
      if (a->NameRef() == name) return true;
    }
  }
  return false;
}
