// ZORQelIMemInterfaceIMP: an interface of the in-memory provider.
#include "ZORQelIMemInterfaceIMP.h"

#include <algorithm>
#include <fstream>

#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemMethodIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemWrapper.h"
#include "ZORQelIMemObjectDefinitions.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemInterfaceIMP";

[[noreturn]] void Refuse(const ZORQelI::string& message, int line) {
  ZORQELI_RAISE(ZORQelI::Exception(message), kSource, line);
}

// Whether a result type fits the wanted one: both absent, or IsA.
bool ResultFits(const ZORQelITypeIMP* have, const ZORQelIType& want) {
  if (want.IsValid() != ZORQelI::Itrue) return have == nullptr;
  return have != nullptr && const_cast<ZORQelITypeIMP*>(have)->IsA(want.IMP()) == ZORQelI::Itrue;
}
}  // namespace

ZORQELI_DEFINE_IMP(ZORQelIMemInterfaceIMP, ZORQelIInterfaceIMP)

ZORQelIMemInterfaceIMP::ZORQelIMemInterfaceIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name)
    : wrapper_(&wrapper), dictionary_(&wrapper), name_(name) {
  ZORQELI_TRACE(" ZORQelIMemInterfaceIMP::ZORQelIMemInterfaceIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name)");
}

ZORQelIMemInterfaceIMP::ZORQelIMemInterfaceIMP(const ZORQelIMemInterfaceIMP& o)
    : ZORQelIInterfaceIMP(o),
      wrapper_(o.wrapper_),
      dictionary_(o.dictionary_),
      functions_(o.functions_),
      methods_(o.methods_),
      modelers_(o.modelers_),
      used_(o.used_),
      errors_(o.errors_),
      name_(o.name_) {
  ZORQELI_TRACE(" ZORQelIMemInterfaceIMP::ZORQelIMemInterfaceIMP(const ZORQelIMemInterfaceIMP& o)");
}

ZORQELIMEM_DEFINE_COPY_CLONE(ZORQelIMemInterfaceIMP, 49)

void ZORQelIMemInterfaceIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemInterfaceIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelI::string("Interface "));
  ot.Print(name_);
  for (ZORQelIModelerIMP* m : modelers_) {
    ot.Print(ZORQelI::string(" over "));
    ot.Print(m->Name());
  }
  ot.Print(ZORQelI::string(";"));
  ot.Nl();
  for (const auto* list : {&functions_, &methods_}) {
    for (ZORQelIMemMethodIMP* f : *list) {
      f->Text(ot);
      ot.Print(ZORQelI::string(";"));
      ot.Nl();
    }
  }
  ot.Print(ZORQelI::string("End_Interface;"));
  ot.Nl();
}

void ZORQelIMemInterfaceIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemInterfaceIMP::GarbageCollectorMemberCheck()");
  ZORQelIInterfaceIMP::GarbageCollectorMemberCheck();
  for (ZORQelIMemMethodIMP* f : functions_) GarbageCollectorScan(f);
  for (ZORQelIMemMethodIMP* m : methods_) GarbageCollectorScan(m);
  for (ZORQelIModelerIMP* m : modelers_) GarbageCollectorScan(m);
  for (ZORQelIInterfaceIMP* i : used_) GarbageCollectorScan(i);
}

ZORQELIMEM_DEFINE_WRAPPER(ZORQelIMemInterfaceIMP, 84, *wrapper_)

ZORQELIMEM_DEFINE_NAME(ZORQelIMemInterfaceIMP, 89, name_)

void ZORQelIMemInterfaceIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemInterfaceIMP::Rename(ZORQelI::string x)");
  if (x.GetLengthInChar() == 0) Refuse(ZORQelI::string("an interface needs a name"), __LINE__);
  name_ = x;
}

void ZORQelIMemInterfaceIMP::Record(const char* message) {
  ZORQELI_TRACE("void ZORQelIMemInterfaceIMP::Record(const char* message)");
  errors_.push_back(ZORQelIErrorClass(ZORQelI::string(message), ZORQelI::Mint::UNSET));
}

ZORQelI::boolean ZORQelIMemInterfaceIMP::Load(ZORQelI::string) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInterfaceIMP::Load(ZORQelI::string fileName)");
  errors_.clear();
  Record("this provider reads no interface files");
  return ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMemInterfaceIMP::Save(ZORQelI::string fileName) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInterfaceIMP::Save(ZORQelI::string fileName) const");
  std::ofstream out(static_cast<const char*>(fileName), std::ios::out | std::ios::trunc);
  if (!out) return ZORQelI::Ifalse;
  out << static_cast<const char*>(ToString());
  return out.good() ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMemInterfaceIMP::Parse(ZORQelI::string) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInterfaceIMP::Parse(ZORQelI::string fileName)");
  errors_.clear();
  Record("this provider parses no interface files");
  return ZORQelI::Ifalse;
}

int ZORQelIMemInterfaceIMP::NumberOfErrors() const {
  ZORQELI_TRACE("int ZORQelIMemInterfaceIMP::NumberOfErrors() const");
  return static_cast<int>(errors_.size());
}

ZORQelIErrorClass ZORQelIMemInterfaceIMP::GetError(int pos) const {
  ZORQELI_TRACE("ZORQelIErrorClass ZORQelIMemInterfaceIMP::GetError(int pos) const");
  int n = NumberOfErrors();
  if (pos < 0 || pos >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, n - 1), kSource, __LINE__);
  }
  return errors_[pos];
}

ZORQelI::boolean ZORQelIMemInterfaceIMP::Check(ZORQelIInstances params) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInterfaceIMP::Check(ZORQelIInstances params)");
  if (params.IsValid() != ZORQelI::Itrue) return ZORQelI::Ifalse;
  for (ZORQelIModelerIMP* m : modelers_) {
    if (m->GetInstances().Equal(params) == ZORQelI::Itrue) return ZORQelI::Itrue;
  }
  return ZORQelI::Ifalse;
}

ZORQelIInstance ZORQelIMemInterfaceIMP::Eval(ZORQelIInstances) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInterfaceIMP::Eval(ZORQelIInstances param)");
  ZORQELI_RAISE(ZORQelI::NotYetImplemented(), kSource, __LINE__);
}

void ZORQelIMemInterfaceIMP::SetDictionaryWrapper(ZORQelIWrapper& wp) {
  ZORQELI_TRACE("void ZORQelIMemInterfaceIMP::SetDictionaryWrapper(ZORQelIWrapper& wp)");
  dictionary_ = &wp;
}

int ZORQelIMemInterfaceIMP::GetNumberOfFunctions() const {
  ZORQELI_TRACE("int ZORQelIMemInterfaceIMP::GetNumberOfFunctions() const");
  return static_cast<int>(functions_.size());
}

int ZORQelIMemInterfaceIMP::GetNumberOfMethods() const {
  ZORQELI_TRACE("int ZORQelIMemInterfaceIMP::GetNumberOfMethods() const");
  return static_cast<int>(methods_.size());
}

int ZORQelIMemInterfaceIMP::GetNumberOfEntity() const {
  ZORQELI_TRACE("int ZORQelIMemInterfaceIMP::GetNumberOfEntity() const");
  std::vector<const ZORQelIMemEntityIMP*> seen;
  for (const ZORQelIMemMethodIMP* m : methods_) {
    if (std::find(seen.begin(), seen.end(), m->Entity()) == seen.end()) {
      seen.push_back(m->Entity());
    }
  }
  return static_cast<int>(seen.size());
}

ZORQelIMemMethodIMP* ZORQelIMemInterfaceIMP::Find(
    const ZORQelIObjectIMP* entity, const ZORQelI::string& name, const ZORQelIType* result,
    bool methods, std::vector<const ZORQelIMemInterfaceIMP*>& seen) const {
  ZORQELI_TRACE("ZORQelIMemMethodIMP* ZORQelIMemInterfaceIMP::Find(const ZORQelIObjectIMP* entity, const ZORQelI::string& name, const ZORQelIType* result, bool methods, std::vector<const ZORQelIMemInterfaceIMP*>& seen) const");
  if (std::find(seen.begin(), seen.end(), this) != seen.end()) return nullptr;
  seen.push_back(this);
  const std::vector<ZORQelIMemMethodIMP*>& list = methods ? methods_ : functions_;
  auto fits = [&](const ZORQelIMemMethodIMP* m) {
    return m->Name() == name && (result == nullptr || ResultFits(m->Result(), *result));
  };
  if (methods && entity != nullptr) {
    // The entity's own methods first, then its super entities', nearest
    // first.
    const auto* start = static_cast<const ZORQelIMemEntityIMP*>(entity);
    for (const ZORQelIMemEntityIMP* e = start; e != nullptr; e = e->SuperEntity()) {
      for (ZORQelIMemMethodIMP* m : list) {
        if (m->Entity() == e && fits(m)) return m;
      }
    }
  } else {
    for (ZORQelIMemMethodIMP* m : list) {
      if (fits(m)) return m;
    }
  }
  for (ZORQelIInterfaceIMP* i : used_) {
    if (i->Match(ZORQelIMemInterfaceIMP::ClassId()) != ZORQelI::Itrue) continue;
    if (ZORQelIMemMethodIMP* m =
            static_cast<ZORQelIMemInterfaceIMP*>(i)->Find(entity, name, result, methods, seen)) {
      return m;
    }
  }
  return nullptr;
}

ZORQelIFunction ZORQelIMemInterfaceIMP::SearchFunction(ZORQelI::string f, ZORQelIType r) const {
  ZORQELI_TRACE("ZORQelIFunction ZORQelIMemInterfaceIMP::SearchFunction(ZORQelI::string f, ZORQelIType r) const");
  std::vector<const ZORQelIMemInterfaceIMP*> seen;
  return ZORQelIFunction(Find(nullptr, f, &r, false, seen));
}

ZORQelIFunction ZORQelIMemInterfaceIMP::SearchFunction(ZORQelI::string f) const {
  ZORQELI_TRACE("ZORQelIFunction ZORQelIMemInterfaceIMP::SearchFunction(ZORQelI::string f) const");
  std::vector<const ZORQelIMemInterfaceIMP*> seen;
  return ZORQelIFunction(Find(nullptr, f, nullptr, false, seen));
}

ZORQelIFunction ZORQelIMemInterfaceIMP::GetFunction(int pos) const {
  ZORQELI_TRACE("ZORQelIFunction ZORQelIMemInterfaceIMP::GetFunction(int pos) const");
  int n = GetNumberOfFunctions();
  if (pos < 0 || pos >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, n - 1), kSource, __LINE__);
  }
  return ZORQelIFunction(functions_[pos]);
}

ZORQelIMethod ZORQelIMemInterfaceIMP::SearchMethod(ZORQelIEntity cl, ZORQelI::string mtd,
                                                   ZORQelIType r) const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIMemInterfaceIMP::SearchMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) const");
  std::vector<const ZORQelIMemInterfaceIMP*> seen;
  const ZORQelIObjectIMP* entity = cl.IsValid() == ZORQelI::Itrue ? cl.RefMe() : nullptr;
  if (entity != nullptr && entity->Match(ZORQelIMemEntityIMP::ClassId()) != ZORQelI::Itrue) {
    return ZORQelIMethod();
  }
  if (entity == nullptr) return ZORQelIMethod();
  return ZORQelIMethod(Find(entity, mtd, &r, true, seen));
}

ZORQelIMethod ZORQelIMemInterfaceIMP::SearchMethod(ZORQelI::string mtd) const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIMemInterfaceIMP::SearchMethod(ZORQelI::string mtd) const");
  std::vector<const ZORQelIMemInterfaceIMP*> seen;
  return ZORQelIMethod(Find(nullptr, mtd, nullptr, true, seen));
}

ZORQelIMethod ZORQelIMemInterfaceIMP::GetMethod(ZORQelIEntity cl, int pos) const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIMemInterfaceIMP::GetMethod(ZORQelIEntity cl, int pos) const");
  const ZORQelIObjectIMP* entity = cl.RefMe();  // an empty cl raises ZORQelI::NullPtrAccess
  int n = 0;
  for (ZORQelIMemMethodIMP* m : methods_) {
    if (m->Entity() != entity) continue;
    if (n == pos) return ZORQelIMethod(m);
    ++n;
  }
  int count = GetNumberOfMethods(cl);
  ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, count - 1), kSource, __LINE__);
}

ZORQelIMethod ZORQelIMemInterfaceIMP::GetMethod(int pos) const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIMemInterfaceIMP::GetMethod(int pos) const");
  int n = GetNumberOfMethods();
  if (pos < 0 || pos >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, n - 1), kSource, __LINE__);
  }
  return ZORQelIMethod(methods_[pos]);
}

int ZORQelIMemInterfaceIMP::GetNumberOfMethods(ZORQelIEntity cl) const {
  ZORQELI_TRACE("int ZORQelIMemInterfaceIMP::GetNumberOfMethods(ZORQelIEntity cl) const");
  const ZORQelIObjectIMP* entity = cl.RefMe();  // an empty cl raises ZORQelI::NullPtrAccess
  return static_cast<int>(std::count_if(methods_.begin(), methods_.end(),
                                        [&](const ZORQelIMemMethodIMP* m) {
                                          return m->Entity() == entity;
                                        }));
}

ZORQelIFunction ZORQelIMemInterfaceIMP::MakeFunction(ZORQelI::string f, ZORQelIType r) {
  ZORQELI_TRACE("ZORQelIFunction ZORQelIMemInterfaceIMP::MakeFunction(ZORQelI::string f, ZORQelIType r)");
  if (f.GetLengthInChar() == 0) Refuse(ZORQelI::string("a function needs a name"), __LINE__);
  ZORQelITypeIMP* result = nullptr;
  if (r.IsValid() == ZORQelI::Itrue) {
    result = r.IMP();
    wrapper_->CheckWrapper(result);
  }
  for (ZORQelIMemMethodIMP* m : functions_) {
    if (m->Name() == f && ResultFits(m->Result(), r)) {
      Refuse("interface '" + name_ + "' already has a function '" + f + "' of that result",
             __LINE__);
    }
  }
  auto* fn = new ZORQelIMemMethodIMP(*wrapper_, nullptr, f, result);
  functions_.push_back(fn);
  return ZORQelIFunction(fn);
}

ZORQelIMethod ZORQelIMemInterfaceIMP::MakeMethod(ZORQelIEntity cl, ZORQelI::string mtd,
                                                 ZORQelIType r) {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIMemInterfaceIMP::MakeMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r)");
  ZORQelIEntityIMP* target = cl.IMP();  // an empty cl raises ZORQelI::NullPtrAccess
  wrapper_->CheckWrapper(target);
  ZORQelIMemEntityIMP* entity = ZORQelIMemEntityIMP::DownCast(cl);
  if (mtd.GetLengthInChar() == 0) Refuse(ZORQelI::string("a method needs a name"), __LINE__);
  ZORQelITypeIMP* result = nullptr;
  if (r.IsValid() == ZORQelI::Itrue) {
    result = r.IMP();
    wrapper_->CheckWrapper(result);
  }
  for (ZORQelIMemMethodIMP* m : methods_) {
    if (m->Entity() == entity && m->Name() == mtd && ResultFits(m->Result(), r)) {
      Refuse("entity '" + entity->Name() + "' already has a method '" + mtd +
                 "' of that result in interface '" + name_ + "'",
             __LINE__);
    }
  }
  auto* method = new ZORQelIMemMethodIMP(*wrapper_, entity, mtd, result);
  methods_.push_back(method);
  if (std::find(modelers_.begin(), modelers_.end(), entity->Modeler()) == modelers_.end()) {
    modelers_.push_back(entity->Modeler());
  }
  return ZORQelIMethod(method);
}

ZORQelI::boolean ZORQelIMemInterfaceIMP::RemoveMethod(ZORQelIMethod mtd) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInterfaceIMP::RemoveMethod(ZORQelIMethod mtd)");
  const ZORQelIObjectIMP* target = mtd.RefMe();  // an empty mtd raises ZORQelI::NullPtrAccess
  for (auto* list : {&functions_, &methods_}) {
    auto it = std::find(list->begin(), list->end(), target);
    if (it != list->end()) {
      list->erase(it);
      return ZORQelI::Itrue;
    }
  }
  return ZORQelI::Ifalse;
}

void ZORQelIMemInterfaceIMP::AddModeler(ZORQelIModeler mdl) {
  ZORQELI_TRACE("void ZORQelIMemInterfaceIMP::AddModeler(ZORQelIModeler mdl)");
  ZORQelIModelerIMP* m = mdl.IMP();  // an empty mdl raises ZORQelI::NullPtrAccess
  dictionary_->CheckWrapper(m);
  if (std::find(modelers_.begin(), modelers_.end(), m) == modelers_.end()) modelers_.push_back(m);
}

void ZORQelIMemInterfaceIMP::RemoveModeler(ZORQelIModeler mdl) {
  ZORQELI_TRACE("void ZORQelIMemInterfaceIMP::RemoveModeler(ZORQelIModeler mdl)");
  auto it = std::find(modelers_.begin(), modelers_.end(), mdl.IMP());
  if (it != modelers_.end()) modelers_.erase(it);
}

int ZORQelIMemInterfaceIMP::NumberOfModelers() const {
  ZORQELI_TRACE("int ZORQelIMemInterfaceIMP::NumberOfModelers() const");
  return static_cast<int>(modelers_.size());
}

ZORQelIModeler ZORQelIMemInterfaceIMP::GetModeler(ZORQelI::integer pos) const {
  ZORQELI_TRACE("ZORQelIModeler ZORQelIMemInterfaceIMP::GetModeler(ZORQelI::integer pos) const");
  int n = NumberOfModelers();
  if (pos < 0 || pos >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, n - 1), kSource, __LINE__);
  }
  return ZORQelIModeler(modelers_[pos]);
}

ZORQelI::boolean ZORQelIMemInterfaceIMP::Use(ZORQelIInterface MyInterface) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInterfaceIMP::Use(ZORQelIInterface MyInterface)");
  ZORQelIInterfaceIMP* other = MyInterface.IMP();  // empty: ZORQelI::NullPtrAccess
  if (other == this || std::find(used_.begin(), used_.end(), other) != used_.end()) {
    return ZORQelI::Ifalse;
  }
  used_.push_back(other);
  return ZORQelI::Itrue;
}
