// ZORQelIMemEntityIMP: an entity of the in-memory provider.
#include "ZORQelIMemEntityIMP.h"

#include <algorithm>

#include <cstdint>
#include <unordered_set>
#include <utility>

#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemWrapper.h"
#include "ZORQelIMemObjectDefinitions.h"

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
  copy->moreSupers_ = moreSupers_;
  if (express_) copy->express_.reset(new Express(*express_));
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
  for (ZORQelIMemEntityIMP* e : moreSupers_) GarbageCollectorScan(e);
}

const ZORQelIMemEntityIMP::Express& ZORQelIMemEntityIMP::ExpressInfo() const {
  ZORQELI_TRACE("const ZORQelIMemEntityIMP::Express& ZORQelIMemEntityIMP::ExpressInfo() const");
  static const Express* const empty = new Express();
  return express_ ? *express_ : *empty;
}

ZORQelIMemEntityIMP::Express& ZORQelIMemEntityIMP::MutableExpressInfo() {
  ZORQELI_TRACE("ZORQelIMemEntityIMP::Express& ZORQelIMemEntityIMP::MutableExpressInfo()");
  if (!express_) express_.reset(new Express());
  return *express_;
}

std::vector<ZORQelIMemEntityIMP*> ZORQelIMemEntityIMP::Supers() const {
  ZORQELI_TRACE("std::vector<ZORQelIMemEntityIMP*> ZORQelIMemEntityIMP::Supers() const");
  std::vector<ZORQelIMemEntityIMP*> all;
  if (super_ == nullptr) return all;
  all.reserve(1 + moreSupers_.size());
  all.push_back(super_);
  all.insert(all.end(), moreSupers_.begin(), moreSupers_.end());
  return all;
}

void ZORQelIMemEntityIMP::SetSupers(const std::vector<ZORQelIMemEntityIMP*>& supers) {
  ZORQELI_TRACE("void ZORQelIMemEntityIMP::SetSupers(const std::vector<ZORQelIMemEntityIMP*>& supers)");
  super_ = supers.empty() ? nullptr : supers[0];
  moreSupers_.assign(supers.size() > 1 ? supers.begin() + 1 : supers.end(), supers.end());
}

ZORQelIMemAttrIMP* ZORQelIMemEntityIMP::AppendAttr(const ZORQelI::string& name,
                                                   ZORQelITypeIMP* type,
                                                   ZORQelI::boolean optional) {
  ZORQELI_TRACE("ZORQelIMemAttrIMP* ZORQelIMemEntityIMP::AppendAttr(const ZORQelI::string& name, ZORQelITypeIMP* type, ZORQelI::boolean optional)");
  auto* a = new ZORQelIMemAttrIMP(modeler_, this, name, type, optional);
  attrs_.push_back(a);
  return a;
}

std::vector<const ZORQelIMemEntityIMP*> ZORQelIMemEntityIMP::ExchangeEntities() const {
  ZORQELI_TRACE("std::vector<const ZORQelIMemEntityIMP*> ZORQelIMemEntityIMP::ExchangeEntities() const");
  std::vector<const ZORQelIMemEntityIMP*> entities;
  bool single = true;
  for (const ZORQelIMemEntityIMP* e = this; e != nullptr && single; e = e->super_) {
    single = e->moreSupers_.empty();
    entities.push_back(e);
  }
  if (single) {
    // One chain: root first.  Walked without recursion, however long.
    std::reverse(entities.begin(), entities.end());
    return entities;
  }
  // Depth first over the SUBTYPE OF lists, with an explicit stack; an entity
  // comes after all of its super entities.  (Several super entities anywhere
  // up the chain count: a sub-entity of such an entity inherits them all.)
  entities.clear();
  std::unordered_set<const ZORQelIMemEntityIMP*> seen{this};
  std::vector<std::pair<const ZORQelIMemEntityIMP*, std::size_t>> stack{{this, 0}};
  while (!stack.empty()) {
    auto& [e, next] = stack.back();
    std::size_t count = e->super_ == nullptr ? 0 : 1 + e->moreSupers_.size();
    if (next < count) {
      const ZORQelIMemEntityIMP* s = next == 0 ? e->super_ : e->moreSupers_[next - 1];
      ++next;
      if (seen.insert(s).second) stack.emplace_back(s, 0);
      continue;
    }
    entities.push_back(e);
    stack.pop_back();
  }
  return entities;
}

std::vector<ZORQelIMemAttrIMP*> ZORQelIMemEntityIMP::ExchangeOrder() const {
  ZORQELI_TRACE("std::vector<ZORQelIMemAttrIMP*> ZORQelIMemEntityIMP::ExchangeOrder() const");
  std::vector<ZORQelIMemAttrIMP*> order;
  for (const ZORQelIMemEntityIMP* e : ExchangeEntities())
    order.insert(order.end(), e->attrs_.begin(), e->attrs_.end());
  return order;
}

ZORQelIArray ZORQelIMemEntityIMP::AttributeOwners() const {
  ZORQELI_TRACE("ZORQelIArray ZORQelIMemEntityIMP::AttributeOwners() const");
  const std::vector<const ZORQelIMemEntityIMP*> entities = ExchangeEntities();
  ZORQelIArray owners(static_cast<ZORQelI::integer>(entities.size()));
  for (auto it = entities.rbegin(); it != entities.rend(); ++it)
    owners.Add(ZORQelIEntity(const_cast<ZORQelIMemEntityIMP*>(*it)));
  return owners;
}

ZORQELIMEM_DEFINE_WRAPPER(ZORQelIMemEntityIMP, 155, modeler_->Wrapper())

ZORQELIMEM_DEFINE_NAME(ZORQelIMemEntityIMP, 160, name_)

void ZORQelIMemEntityIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemEntityIMP::Rename(ZORQelI::string x)");
  if (x == name_) return;
  if (x.GetLengthInChar() == 0) Refuse(ZORQelI::string("an entity needs a name"), __LINE__);
  ZORQelIMemEntityIMP* other = modeler_->FindEntity(x);
  if (other != nullptr && other != this) {
    Refuse("schema '" + modeler_->Name() + "' already has an entity named '" + x + "'", __LINE__);
  }
  ZORQelI::string old = name_;
  name_ = x;
  modeler_->EntityRenamed(this, old);
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
}

ZORQelI::boolean ZORQelIMemEntityIMP::IsA(ZORQelITypeIMP* x) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemEntityIMP::IsA(ZORQelITypeIMP* x) const");
  return x == this ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMemEntityIMP::IsAKindOf(ZORQelIEntity ent) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemEntityIMP::IsAKindOf(ZORQelIEntity ent) const");
  if (ent.IsValid() != ZORQelI::Itrue) return ZORQelI::Ifalse;
  return Inherits(ent.RefMe()) ? ZORQelI::Itrue : ZORQelI::Ifalse;
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
  moreSupers_.clear();
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
}

bool ZORQelIMemEntityIMP::Inherits(const ZORQelIObjectIMP* e) const {
  ZORQELI_TRACE("bool ZORQelIMemEntityIMP::Inherits(const ZORQelIObjectIMP* e) const");
  bool several = false;
  for (const ZORQelIMemEntityIMP* x = this; x != nullptr; x = x->super_) {
    if (x == e) return true;
    several = several || !x->moreSupers_.empty();
  }
  if (!several) return false;
  // Several super entities somewhere: search the whole graph, without
  // recursion.
  std::unordered_set<const ZORQelIMemEntityIMP*> seen{this};
  std::vector<const ZORQelIMemEntityIMP*> todo{this};
  while (!todo.empty()) {
    const ZORQelIMemEntityIMP* x = todo.back();
    todo.pop_back();
    if (x == e) return true;
    if (x->super_ != nullptr && seen.insert(x->super_).second) todo.push_back(x->super_);
    for (const ZORQelIMemEntityIMP* s : x->moreSupers_) {
      if (seen.insert(s).second) todo.push_back(s);
    }
  }
  return false;
}

const std::vector<ZORQelIMemAttrIMP*>& ZORQelIMemEntityIMP::Freeze() {
  ZORQELI_TRACE("const std::vector<ZORQelIMemAttrIMP*>& ZORQelIMemEntityIMP::Freeze()");
  if (frozen_) return layout_;
  std::vector<ZORQelIMemAttrIMP*> layout;
  if (super_ != nullptr) layout = super_->Freeze();
  if (moreSupers_.empty()) {
    layout.insert(layout.end(), attrs_.begin(), attrs_.end());
  } else {
    for (ZORQelIMemEntityIMP* s : moreSupers_) s->Freeze();
    layout = ExchangeOrder();
  }
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
