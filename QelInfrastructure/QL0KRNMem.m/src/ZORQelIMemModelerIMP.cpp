// ZORQelIMemModelerIMP: a schema of the in-memory provider.
#include "ZORQelIMemModelerIMP.h"

#include <fstream>
#include <sstream>

#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemExpressWriter.h"
#include "ZORQelIMemInstancesIMP.h"
#include "ZORQelIMemSchemaBuilder.h"
#include "ZORQelIMemTypeIMP.h"
#include "ZORQelIMemWrapper.h"
#include "ZORQelIMemObjectDefinitions.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemModelerIMP";
}

ZORQELI_DEFINE_IMP(ZORQelIMemModelerIMP, ZORQelIModelerIMP)

ZORQelIMemModelerIMP::ZORQelIMemModelerIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name)
    : wrapper_(&wrapper), name_(name), population_(nullptr) {
  ZORQELI_TRACE(" ZORQelIMemModelerIMP::ZORQelIMemModelerIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name)");
  population_ = new ZORQelIMemInstancesIMP(this);
}

ZORQelIMemModelerIMP::ZORQelIMemModelerIMP(const ZORQelIMemModelerIMP& o)
    : ZORQelIModelerIMP(o),
      wrapper_(o.wrapper_),
      name_(o.name_),
      entities_(o.entities_),
      population_(o.population_),
      observer_(o.observer_),
      entityIndex_(o.entityIndex_),
      typeIndex_(o.typeIndex_),
      types_(o.types_),
      declarations_(o.declarations_),
      diagnostics_(o.diagnostics_),
      version_(o.version_),
      aliases_(o.aliases_) {
  ZORQELI_TRACE(" ZORQelIMemModelerIMP::ZORQelIMemModelerIMP(const ZORQelIMemModelerIMP& o)");
}

ZORQELIMEM_DEFINE_COPY_CLONE(ZORQelIMemModelerIMP, 46)

void ZORQelIMemModelerIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemModelerIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelIModeler(const_cast<ZORQelIMemModelerIMP*>(this)));
}

void ZORQelIMemModelerIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemModelerIMP::GarbageCollectorMemberCheck()");
  ZORQelIModelerIMP::GarbageCollectorMemberCheck();
  for (ZORQelIMemEntityIMP* e : entities_) GarbageCollectorScan(e);
  GarbageCollectorScan(population_);
  GarbageCollectorScan(observer_);
  for (ZORQelIMemTypeIMP* t : types_) GarbageCollectorScan(t);
  // A renamed interfaced item stays alive while its local name is known, so
  // that its address is never another object's.
  for (auto& [t, name] : aliases_) GarbageCollectorScan(const_cast<ZORQelITypeIMP*>(t));
}

ZORQELIMEM_DEFINE_WRAPPER(ZORQelIMemModelerIMP, 68, *wrapper_)

ZORQELIMEM_DEFINE_NAME(ZORQelIMemModelerIMP, 73, name_)

void ZORQelIMemModelerIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemModelerIMP::Rename(ZORQelI::string x)");
  if (x.GetLengthInChar() == 0) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("a schema needs a name")), kSource,
                  __LINE__);
  }
  name_ = x;
}

ZORQelIType ZORQelIMemModelerIMP::Parent() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemModelerIMP::Parent() const");
  return ZORQelIType();
}

ZORQelIType ZORQelIMemModelerIMP::Scope(ZORQelI::string s) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemModelerIMP::Scope(ZORQelI::string s) const");
  if (ZORQelIMemEntityIMP* e = FindEntity(s)) return ZORQelIType(e);
  ZORQelI::Types kind;
  if (ZORQelIMemTypeIMP::KindNamed(s, kind)) return MakeType(kind);
  return ZORQelIType();
}

ZORQelI::boolean ZORQelIMemModelerIMP::Load(ZORQelI::string f) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemModelerIMP::Load(ZORQelI::string f)");
  std::string text;
  if (!ZORQelIMemSchemaBuilder::ReadFile(f, text)) {
    ZORQelIMemDiagnostic d;
    d.file = f;
    d.line = 1;
    d.column = 1;
    d.message = "cannot read the file";
    diagnostics_.assign(1, d);
    return ZORQelI::Ifalse;
  }
  return LoadText(text, f);
}

ZORQelI::boolean ZORQelIMemModelerIMP::LoadText(const std::string& text,
                                                const ZORQelI::string& fileName) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemModelerIMP::LoadText(const std::string& text, const ZORQelI::string& fileName)");
  std::vector<ZORQelIMemDiagnostic> d;
  bool ok = ZORQelIMemSchemaBuilder::Load(text, fileName, *wrapper_, this, nullptr, d);
  diagnostics_ = std::move(d);
  return ok ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelIMemTypeIMP* ZORQelIMemModelerIMP::FindType(const ZORQelI::string& name) const {
  ZORQELI_TRACE("ZORQelIMemTypeIMP* ZORQelIMemModelerIMP::FindType(const ZORQelI::string& name) const");
  auto it = typeIndex_.find(NameKey(name));
  return it == typeIndex_.end() ? nullptr : it->second;
}

ZORQelI::string ZORQelIMemModelerIMP::ExpressText() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemModelerIMP::ExpressText() const");
  return ZORQelI::string(ZORQelIMemExpressWriter::Write(*this).c_str());
}

void ZORQelIMemModelerIMP::AddRead(const std::vector<ZORQelIMemEntityIMP*>& entities,
                                   const std::vector<ZORQelIMemTypeIMP*>& types,
                                   const std::vector<ZORQelIMemDeclaration>& declarations,
                                   const ZORQelI::string& version) {
  ZORQELI_TRACE("void ZORQelIMemModelerIMP::AddRead(const std::vector<ZORQelIMemEntityIMP*>& entities, const std::vector<ZORQelIMemTypeIMP*>& types, const std::vector<ZORQelIMemDeclaration>& declarations, const ZORQelI::string& version)");
  entities_.reserve(entities_.size() + entities.size());
  for (ZORQelIMemEntityIMP* e : entities) {
    entities_.push_back(e);
    entityIndex_.emplace(NameKey(e->Name()), e);
  }
  for (ZORQelIMemTypeIMP* t : types) {
    types_.push_back(t);
    typeIndex_.emplace(NameKey(t->Name()), t);
  }
  declarations_.insert(declarations_.end(), declarations.begin(), declarations.end());
  if (version.GetLengthInChar() != 0) version_ = version;
  for (ZORQelIMemEntityIMP* e : entities) Notify(Created, e);
}

ZORQelI::string ZORQelIMemModelerIMP::LocalName(const ZORQelITypeIMP* t) const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemModelerIMP::LocalName(const ZORQelITypeIMP* t) const");
  if (!aliases_.empty()) {
    auto it = aliases_.find(t);
    if (it != aliases_.end()) return it->second;
  }
  return t->Name();
}

void ZORQelIMemModelerIMP::EntityRenamed(ZORQelIMemEntityIMP* e, const ZORQelI::string& oldName) {
  ZORQELI_TRACE("void ZORQelIMemModelerIMP::EntityRenamed(ZORQelIMemEntityIMP* e, const ZORQelI::string& oldName)");
  auto it = entityIndex_.find(NameKey(oldName));
  // Entities that the schema does not list (clones) are not indexed.
  if (it == entityIndex_.end() || it->second != e) return;
  entityIndex_.erase(it);
  entityIndex_.emplace(NameKey(e->Name()), e);
}

std::string ZORQelIMemModelerIMP::NameKey(const char* name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return key;
}

ZORQelIType ZORQelIMemModelerIMP::NewType(ZORQelI::Types kind, ZORQelITypeIMP* element,
                                          ZORQelI::Mint width, ZORQelI::boolean fixed,
                                          ZORQelI::Mint low, ZORQelI::Mint upper,
                                          ZORQelI::boolean unique,
                                          ZORQelI::boolean optional) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemModelerIMP::NewType(ZORQelI::Types kind, ZORQelITypeIMP* element, ZORQelI::Mint width, ZORQelI::boolean fixed, ZORQelI::Mint low, ZORQelI::Mint upper, ZORQelI::boolean unique, ZORQelI::boolean optional) const");
  bool counted = kind == ZORQelI::Ilist || kind == ZORQelI::Iset || kind == ZORQelI::Ibag;
  if (counted) {
    ZORQelIMemTypeIMP::CheckCount(low);
    ZORQelIMemTypeIMP::CheckCount(upper);
  }
  if (kind == ZORQelI::Istring || kind == ZORQelI::Ibinary) ZORQelIMemTypeIMP::CheckCount(width);
  // Checked before the object exists: a made type is always a valid one.
  auto* t = new ZORQelIMemTypeIMP(const_cast<ZORQelIMemModelerIMP*>(this), kind, element);
  ZORQelIType handle(t);
  if (kind == ZORQelI::Istring || kind == ZORQelI::Ibinary) {
    t->Width(width);
    t->Fixed(fixed);
  } else if (element != nullptr) {
    t->LowerBound(low);
    t->UpperBound(upper);
    t->Unique(unique);
    t->Optional(optional);
  }
  return handle;
}

ZORQelITypeIMP* ZORQelIMemModelerIMP::ElementType(ZORQelIType& t) const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIMemModelerIMP::ElementType(ZORQelIType& t) const");
  ZORQelITypeIMP* x = t.IMP();  // an empty t raises ZORQelI::NullPtrAccess
  wrapper_->CheckWrapper(x);
  return x;
}

ZORQelIType ZORQelIMemModelerIMP::MakeType(ZORQelI::Types t) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemModelerIMP::MakeType(ZORQelI::Types t) const");
  switch (t) {
    case ZORQelI::Ivoid:
    case ZORQelI::Iboolean:
    case ZORQelI::Ilogical:
    case ZORQelI::Iinteger:
    case ZORQelI::Ireal:
    case ZORQelI::Istring:
    case ZORQelI::Ibinary:
      return NewType(t, nullptr, ZORQelI::Mint::UNSET, ZORQelI::Ifalse, ZORQelI::Mint::UNSET,
                     ZORQelI::Mint::UNSET, ZORQelI::Ifalse, ZORQelI::Ifalse);
    default:
      ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, __LINE__);
  }
}

ZORQelIType ZORQelIMemModelerIMP::MakeField(ZORQelI::Types t, ZORQelI::Mint width,
                                            ZORQelI::boolean fixed_width) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemModelerIMP::MakeField(ZORQelI::Types t, ZORQelI::Mint width, ZORQelI::boolean fixed_width) const");
  if (t != ZORQelI::Istring && t != ZORQelI::Ibinary) {
    ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, __LINE__);
  }
  return NewType(t, nullptr, width, fixed_width, ZORQelI::Mint::UNSET, ZORQelI::Mint::UNSET,
                 ZORQelI::Ifalse, ZORQelI::Ifalse);
}

ZORQelIType ZORQelIMemModelerIMP::MakeList(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper,
                                           ZORQelI::boolean unique) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemModelerIMP::MakeList(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper, ZORQelI::boolean unique) const");
  return NewType(ZORQelI::Ilist, ElementType(t), ZORQelI::Mint::UNSET, ZORQelI::Ifalse, low,
                 upper, unique, ZORQelI::Ifalse);
}

ZORQelIType ZORQelIMemModelerIMP::MakeBag(ZORQelIType t, ZORQelI::Mint low,
                                          ZORQelI::Mint upper) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemModelerIMP::MakeBag(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const");
  return NewType(ZORQelI::Ibag, ElementType(t), ZORQelI::Mint::UNSET, ZORQelI::Ifalse, low,
                 upper, ZORQelI::Ifalse, ZORQelI::Ifalse);
}

ZORQelIType ZORQelIMemModelerIMP::MakeSet(ZORQelIType t, ZORQelI::Mint low,
                                          ZORQelI::Mint upper) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemModelerIMP::MakeSet(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const");
  return NewType(ZORQelI::Iset, ElementType(t), ZORQelI::Mint::UNSET, ZORQelI::Ifalse, low,
                 upper, ZORQelI::Ifalse, ZORQelI::Ifalse);
}

ZORQelIType ZORQelIMemModelerIMP::MakeArray(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper,
                                            ZORQelI::boolean opt,
                                            ZORQelI::boolean unique) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemModelerIMP::MakeArray(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper, ZORQelI::boolean opt, ZORQelI::boolean unique) const");
  return NewType(ZORQelI::Iarray, ElementType(t), ZORQelI::Mint::UNSET, ZORQelI::Ifalse, low,
                 upper, unique, opt);
}

ZORQelIEntity ZORQelIMemModelerIMP::MakeEntity(ZORQelI::string name) {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIMemModelerIMP::MakeEntity(ZORQelI::string name)");
  if (name.GetLengthInChar() == 0) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("an entity needs a name")), kSource,
                  __LINE__);
  }
  if (FindEntity(name) != nullptr) {
    ZORQELI_RAISE(ZORQelI::Exception("schema '" + name_ + "' already has an entity named '" +
                                     name + "'"),
                  kSource, __LINE__);
  }
  auto* e = new ZORQelIMemEntityIMP(this, name);
  entities_.push_back(e);
  entityIndex_.emplace(NameKey(name), e);
  Notify(Created, e);
  return ZORQelIEntity(e);
}

ZORQelIEntity ZORQelIMemModelerIMP::LookEntity(ZORQelI::string S) const {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIMemModelerIMP::LookEntity(ZORQelI::string S) const");
  return ZORQelIEntity(FindEntity(S));
}

ZORQelIEntity ZORQelIMemModelerIMP::GetEntity(int i) const {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIMemModelerIMP::GetEntity(int i) const");
  int n = static_cast<int>(entities_.size());
  if (i < 0 || i >= n) ZORQELI_RAISE(ZORQelI::BoundError(i, i, 0, n - 1), kSource, __LINE__);
  return ZORQelIEntity(entities_[i]);
}

int ZORQelIMemModelerIMP::GetNumberOfEntities() const {
  ZORQELI_TRACE("int ZORQelIMemModelerIMP::GetNumberOfEntities() const");
  return static_cast<int>(entities_.size());
}

ZORQelIInstances ZORQelIMemModelerIMP::GetInstances() const {
  ZORQELI_TRACE("ZORQelIInstances ZORQelIMemModelerIMP::GetInstances() const");
  return ZORQelIInstances(population_);
}

void ZORQelIMemModelerIMP::AddView(ZORQelIView v) {
  ZORQELI_TRACE("void ZORQelIMemModelerIMP::AddView(ZORQelIView v)");
  if (v.IsValid() != ZORQelI::Itrue) return;
  if (observer_ == nullptr) observer_ = new ZORQelIObserverIMP();
  observer_->AddView(v);
}

void ZORQelIMemModelerIMP::RemoveView(ZORQelIView v) {
  ZORQELI_TRACE("void ZORQelIMemModelerIMP::RemoveView(ZORQelIView v)");
  v.RefMe();  // an empty view raises ZORQelI::NullPtrAccess
  if (observer_ != nullptr) observer_->RemoveView(v);
}

ZORQelIMemEntityIMP* ZORQelIMemModelerIMP::FindEntity(const ZORQelI::string& name) const {
  ZORQELI_TRACE("ZORQelIMemEntityIMP* ZORQelIMemModelerIMP::FindEntity(const ZORQelI::string& name) const");
  auto it = entityIndex_.find(NameKey(name));
  return it == entityIndex_.end() ? nullptr : it->second;
}

void ZORQelIMemModelerIMP::Notify(Event what, ZORQelIObjectIMP* o) const {
  ZORQELI_TRACE("void ZORQelIMemModelerIMP::Notify(Event what, ZORQelIObjectIMP* o) const");
  if (observer_ == nullptr || observer_->NumberOfView() == 0) return;
  ZORQelIObject h(o);
  switch (what) {
    case Created:
      observer_->NotifyCreated(h);
      break;
    case Updated:
      observer_->NotifyUpdate(h);
      break;
    case Deleted:
      observer_->NotifyDeleted(h);
      break;
  }
}
