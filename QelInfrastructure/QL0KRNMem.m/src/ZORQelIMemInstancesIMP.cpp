// ZORQelIMemInstancesIMP: the population of a schema of the in-memory
// provider.
#include "ZORQelIMemInstancesIMP.h"

#include <algorithm>

#include "ZORQelIMemAggregateIMP.h"
#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemEntityInstanceIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemTypeIMP.h"
#include "ZORQelIMemValueIMP.h"
#include "ZORQelIMemWrapper.h"
#include "ZORQelIMemObjectDefinitions.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemInstancesIMP";

bool ByNumber(const ZORQelIMemEntityInstanceIMP* a, ZORQelI::integer id) {
  return a->Number() < id;
}
}  // namespace

ZORQELI_DEFINE_IMP(ZORQelIMemInstancesIMP, ZORQelIInstancesIMP)

ZORQelIMemInstancesIMP::ZORQelIMemInstancesIMP(ZORQelIMemModelerIMP* modeler)
    : modeler_(modeler) {
  ZORQELI_TRACE(" ZORQelIMemInstancesIMP::ZORQelIMemInstancesIMP(ZORQelIMemModelerIMP* modeler)");
}

ZORQelIMemInstancesIMP::ZORQelIMemInstancesIMP(const ZORQelIMemInstancesIMP& o)
    : ZORQelIInstancesIMP(o),
      modeler_(o.modeler_),
      items_(o.items_),
      nextId_(o.nextId_),
      sorted_(o.sorted_) {
  ZORQELI_TRACE(" ZORQelIMemInstancesIMP::ZORQelIMemInstancesIMP(const ZORQelIMemInstancesIMP& o)");
  std::copy(std::begin(o.valueTypes_), std::end(o.valueTypes_), std::begin(valueTypes_));
}

ZORQELIMEM_DEFINE_COPY_CLONE(ZORQelIMemInstancesIMP, 43)

void ZORQelIMemInstancesIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemInstancesIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelIInstances(const_cast<ZORQelIMemInstancesIMP*>(this)));
}

void ZORQelIMemInstancesIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemInstancesIMP::GarbageCollectorMemberCheck()");
  ZORQelIInstancesIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(modeler_);
  for (ZORQelIMemEntityInstanceIMP* x : items_) GarbageCollectorScan(x);
  for (ZORQelIMemTypeIMP* t : valueTypes_) GarbageCollectorScan(t);
}

ZORQELIMEM_DEFINE_WRAPPER(ZORQelIMemInstancesIMP, 61, modeler_->Wrapper())

ZORQELIMEM_DEFINE_NAME(ZORQelIMemInstancesIMP, 66, modeler_->Name())

void ZORQelIMemInstancesIMP::Rename(ZORQelI::string) {
  ZORQELI_TRACE("void ZORQelIMemInstancesIMP::Rename(ZORQelI::string x)");
  ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, __LINE__);
}

ZORQelIInstance ZORQelIMemInstancesIMP::NewValue(ZORQelI::Types k) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstancesIMP::NewValue(ZORQelI::Types k) const");
  ZORQelIMemTypeIMP*& type = valueTypes_[k];
  if (type == nullptr) type = new ZORQelIMemTypeIMP(modeler_, k, nullptr);
  return ZORQelIInstance(new ZORQelIMemValueIMP(type));
}

ZORQelIInstance ZORQelIMemInstancesIMP::InstanciateString() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstancesIMP::InstanciateString() const");
  return NewValue(ZORQelI::Istring);
}

ZORQelIInstance ZORQelIMemInstancesIMP::InstanciateBoolean() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstancesIMP::InstanciateBoolean() const");
  return NewValue(ZORQelI::Iboolean);
}

ZORQelIInstance ZORQelIMemInstancesIMP::InstanciateReal() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstancesIMP::InstanciateReal() const");
  return NewValue(ZORQelI::Ireal);
}

ZORQelIInstance ZORQelIMemInstancesIMP::InstanciateInteger() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstancesIMP::InstanciateInteger() const");
  return NewValue(ZORQelI::Iinteger);
}

ZORQelIInstance ZORQelIMemInstancesIMP::Instanciate(ZORQelI::string S) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstancesIMP::Instanciate(ZORQelI::string S) const");
  if (ZORQelIMemEntityIMP* e = modeler_->FindEntity(S)) return ZORQelIInstance(MakeInstance(e));
  ZORQelI::Types kind;
  if (ZORQelIMemTypeIMP::KindNamed(S, kind)) return NewValue(kind);
  ZORQELI_RAISE(ZORQelI::Exception("schema '" + modeler_->Name() + "' has no type named '" +
                                   S + "'"),
                kSource, __LINE__);
}

ZORQelIInstance ZORQelIMemInstancesIMP::Instanciate(ZORQelIType T) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstancesIMP::Instanciate(ZORQelIType T) const");
  ZORQelITypeIMP* t = T.IMP();  // an empty T raises ZORQelI::NullPtrAccess
  Wrapper().CheckWrapper(t);
  if (t->IsAnEntity() == ZORQelI::Itrue) {
    ZORQelIMemEntityIMP* e = ZORQelIMemEntityIMP::DownCast(T);
    if (e->Modeler() != modeler_) ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, __LINE__);
    return ZORQelIInstance(MakeInstance(e));
  }
  ZORQelIMemTypeIMP* type = ZORQelIMemTypeIMP::DownCast(T);
  if (type->IsAggr() == ZORQelI::Itrue) {
    return ZORQelIInstance(ZORQelIMemAggregateIMP::Make(type, nullptr));
  }
  return ZORQelIInstance(new ZORQelIMemValueIMP(type));
}

ZORQelIInstance ZORQelIMemInstancesIMP::Get(ZORQelI::integer nth) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstancesIMP::Get(ZORQelI::integer nth) const");
  int n = Size();
  if (nth < 0 || nth >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(nth, nth, 0, n - 1), kSource, __LINE__);
  }
  return ZORQelIInstance(items_[nth]);
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemInstancesIMP::Candidate(const ZORQelIInstance& inst) const {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemInstancesIMP::Candidate(const ZORQelIInstance& inst) const");
  inst.RefMe();  // an empty inst raises ZORQelI::NullPtrAccess
  ZORQelIMemInstanceIMP* m = ZORQelIMemInstanceIMP::Of(inst);
  ZORQelIMemEntityInstanceIMP* x = m != nullptr ? m->Referent() : nullptr;
  if (x == nullptr || x->Modeler() != modeler_) {
    ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, __LINE__);
  }
  return x;
}

void ZORQelIMemInstancesIMP::Put(ZORQelI::integer nth, ZORQelIInstance inst) {
  ZORQELI_TRACE("void ZORQelIMemInstancesIMP::Put(ZORQelI::integer nth, ZORQelIInstance inst)");
  int n = Size();
  if (nth < 0 || nth >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(nth, nth, 0, n - 1), kSource, __LINE__);
  }
  ZORQelIMemEntityInstanceIMP* x = Candidate(inst);
  if (items_[nth] == x) return;
  if (x->InPopulation()) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(
                  "the instance is already at another position of the population")),
                  kSource, __LINE__);
  }
  items_[nth]->SetInPopulation(false);
  items_[nth] = x;
  x->SetInPopulation(true);
  NoteOrder(nth);
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
}

void ZORQelIMemInstancesIMP::Append(ZORQelIInstance inst) {
  ZORQELI_TRACE("void ZORQelIMemInstancesIMP::Append(ZORQelIInstance inst)");
  ZORQelIMemEntityInstanceIMP* x = Candidate(inst);
  if (x->InPopulation()) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(
                  "the instance is already in the population")),
                  kSource, __LINE__);
  }
  items_.push_back(x);
  x->SetInPopulation(true);
  NoteOrder(static_cast<int>(items_.size()) - 1);
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
}

ZORQelI::Mint ZORQelIMemInstancesIMP::Look(ZORQelIInstance inst) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIMemInstancesIMP::Look(ZORQelIInstance inst) const");
  ZORQelIMemInstanceIMP* m = ZORQelIMemInstanceIMP::Of(inst);
  ZORQelIMemEntityInstanceIMP* x = m != nullptr ? m->Referent() : nullptr;
  if (x == nullptr || x->Modeler() != modeler_) return ZORQelI::Mint::UNSET;
  int pos = PositionOf(x);
  return pos < 0 ? ZORQelI::Mint::UNSET : ZORQelI::Mint(pos);
}

ZORQelIInstance ZORQelIMemInstancesIMP::LookById(ZORQelI::integer id) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstancesIMP::LookById(ZORQelI::integer id) const");
  if (sorted_) {
    auto it = std::lower_bound(items_.begin(), items_.end(), id, ByNumber);
    if (it != items_.end() && (*it)->Number() == id) return ZORQelIInstance(*it);
    return ZORQelIInstance();
  }
  for (ZORQelIMemEntityInstanceIMP* x : items_) {
    if (x->Number() == id) return ZORQelIInstance(x);
  }
  return ZORQelIInstance();
}

void ZORQelIMemInstancesIMP::Remove(ZORQelI::integer nth) {
  ZORQELI_TRACE("void ZORQelIMemInstancesIMP::Remove(ZORQelI::integer nth)");
  int n = Size();
  if (nth < 0 || nth >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(nth, nth, 0, n - 1), kSource, __LINE__);
  }
  items_[nth]->SetInPopulation(false);
  items_.erase(items_.begin() + nth);
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
}

ZORQelI::integer ZORQelIMemInstancesIMP::Size() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIMemInstancesIMP::Size() const");
  return static_cast<ZORQelI::integer>(items_.size());
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemInstancesIMP::MakeInstance(ZORQelIMemEntityIMP* e) const {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemInstancesIMP::MakeInstance(ZORQelIMemEntityIMP* e) const");
  ZORQelIMemEntityInstanceIMP* x = ZORQelIMemEntityInstanceIMP::Make(e, nextId_);
  ++nextId_;
  items_.push_back(x);
  x->SetInPopulation(true);
  // Numbers grow, so appending a new instance keeps the order.
  modeler_->Notify(ZORQelIMemModelerIMP::Created, x);
  return x;
}

void ZORQelIMemInstancesIMP::AdoptRead(const std::vector<ZORQelIMemEntityInstanceIMP*>& xs) {
  ZORQELI_TRACE("void ZORQelIMemInstancesIMP::AdoptRead(const std::vector<ZORQelIMemEntityInstanceIMP*>& xs)");
  if (xs.empty()) return;
  const std::size_t first = items_.size();
  items_.reserve(first + xs.size());
  std::int64_t next = nextId_;
  for (ZORQelIMemEntityInstanceIMP* x : xs) {
    items_.push_back(x);
    x->SetInPopulation(true);
    next = std::max<std::int64_t>(next, static_cast<std::int64_t>(x->Number()) + 1);
  }
  nextId_ = static_cast<ZORQelI::integer>(std::min<std::int64_t>(next, INT32_MAX));
  if (first > 0) NoteOrder(static_cast<int>(first));
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
}

void ZORQelIMemInstancesIMP::Withdraw(ZORQelIMemEntityInstanceIMP* x) {
  ZORQELI_TRACE("void ZORQelIMemInstancesIMP::Withdraw(ZORQelIMemEntityInstanceIMP* x)");
  int pos = PositionOf(x);
  if (pos < 0) return;
  x->SetInPopulation(false);
  items_.erase(items_.begin() + pos);
  modeler_->Notify(ZORQelIMemModelerIMP::Updated, this);
}

int ZORQelIMemInstancesIMP::PositionOf(const ZORQelIMemEntityInstanceIMP* x) const {
  ZORQELI_TRACE("int ZORQelIMemInstancesIMP::PositionOf(const ZORQelIMemEntityInstanceIMP* x) const");
  if (!x->InPopulation()) return -1;
  if (sorted_) {
    auto it = std::lower_bound(items_.begin(), items_.end(), x->Number(), ByNumber);
    return (it != items_.end() && *it == x) ? static_cast<int>(it - items_.begin()) : -1;
  }
  auto it = std::find(items_.begin(), items_.end(), x);
  return it != items_.end() ? static_cast<int>(it - items_.begin()) : -1;
}

void ZORQelIMemInstancesIMP::NoteOrder(int i) {
  ZORQELI_TRACE("void ZORQelIMemInstancesIMP::NoteOrder(int i)");
  int n = static_cast<int>(items_.size());
  if (i > 0 && items_[i - 1]->Number() >= items_[i]->Number()) sorted_ = false;
  if (i + 1 < n && items_[i]->Number() >= items_[i + 1]->Number()) sorted_ = false;
}
