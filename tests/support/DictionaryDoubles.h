// A small dictionary provider of the tests' own: each family the tests use is
// made concrete by overriding exactly its abstract operations (so this compiles
// only while they keep their signatures; the interface family is kept concrete
// by the in-memory provider).  Include it in one source file per program.
#ifndef QL0KRN_TESTS_DictionaryDoubles_h
#define QL0KRN_TESTS_DictionaryDoubles_h

#include <string>
#include <vector>

#include "QL0KRN.h"

namespace doubles {

using ZORQelI::Ifalse;
using ZORQelI::Itrue;
using ZORQelI::Mint;

inline ZORQelI::boolean B(bool b) { return b ? Itrue : Ifalse; }

class Provider final : public ZORQelIWrapper {
 public:
  explicit Provider(const char* n) : name(n) {}
  ZORQelI::string WrapperName() const override { return name; }
  ZORQelI::boolean Owns(const ZORQelIWrapperObjectIMP* e) const override {
    return B(e != nullptr && &e->Wrapper() == this);
  }
  ZORQelI::integer CapabilityCount() const { return capabilities.Size(); }
  ZORQelI::string name;
};

// The position of the first element of v equal to x, or UNSET.
template <class H>
Mint Find(const std::vector<H>& v, const ZORQelIObject& x) {
  for (std::size_t i = 0; i < v.size(); ++i)
    if (v[i].Equal(x) == Itrue) return static_cast<int>(i);
  return Mint::UNSET;
}

// Shared by every dictionary object: its wrapper, a stored name (its text), copying.
template <class Self, class Base>
class Owned : public Base {
 public:
  explicit Owned(Provider& w, const char* n = "") : wrapper(&w), name(n) {}
  ZORQelIObjectIMP* Clone() const override { return new Self(static_cast<const Self&>(*this)); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(name); }
  ZORQelIWrapper& Wrapper() const override { return *wrapper; }
  void Rename(ZORQelI::string x) override { name = x; }
  Provider* wrapper;
  ZORQelI::string name;
};

template <class Self, class Base>
class Named : public Owned<Self, Base> {
 public:
  using Owned<Self, Base>::Owned;
  ZORQelI::string Name() const override { return this->name; }
};

// A type of any kind value (the tests give it kinds that do not exist too).
class Type final : public Owned<Type, ZORQelITypeIMP> {
  ZORQELI_DECLARE_IMP(Type, ZORQelITypeIMP)
 public:
  Type(Provider& w, ZORQelIModeler m, ZORQelI::Types k, ZORQelITypeIMP* s = nullptr)
      : Owned(w), modeler(m), kind(k), sub(s) {}
  void GarbageCollectorMemberCheck() override {
    ZORQelITypeIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(modeler);
    GarbageCollectorScan(sub);
  }
  ZORQelI::boolean IsA(ZORQelITypeIMP* x) const override {
    return B(x->PrimitiveType() == kind && (sub == nullptr || sub->IsA(x->SubType())));
  }
  ZORQelI::string FullTypeName() const override { return ZORQelITypeIMP::Name(); }
  ZORQelIModeler GetModeler() const override { return modeler; }
  ZORQelI::Types PrimitiveType() const override { return kind; }
  ZORQelI::boolean IsFixed() const override { return fixed; }
  void Fixed(ZORQelI::boolean f) override { fixed = f; }
  Mint Width() const override { return width; }
  void Width(Mint size) override { width = size; }
  ZORQelITypeIMP* TerminalType() const override {
    return sub != nullptr ? sub->TerminalType() : const_cast<Type*>(this);
  }
  ZORQelITypeIMP* SubType() const override { return sub; }
  void Unique(ZORQelI::boolean v) override { unique = v; }
  void Optional(ZORQelI::boolean v) override { optional = v; }
  ZORQelI::boolean IsUnique() const override { return unique; }
  ZORQelI::boolean IsOptional() const override { return optional; }
  Mint LowerBound() const override { return low; }
  Mint UpperBound() const override { return up; }
  void LowerBound(Mint v) override { low = v; }
  void UpperBound(Mint v) override { up = v; }

  ZORQelIModeler modeler;
  ZORQelI::Types kind;
  ZORQelITypeIMP* sub;
  ZORQelI::boolean fixed = Ifalse, unique = Ifalse, optional = Ifalse;
  Mint width, low, up;
};
ZORQELI_DEFINE_IMP(Type, ZORQelITypeIMP)

// The operations shared by parameters and attributes.
template <class Self, class Base>
class ParamOps : public Named<Self, Base> {
 public:
  using Named<Self, Base>::Named;
  void GarbageCollectorMemberCheck() override {
    Base::GarbageCollectorMemberCheck();
    this->GarbageCollectorScan(type);
  }
  ZORQelI::boolean IsIn() const override { return in; }
  ZORQelI::boolean IsOut() const override { return out; }
  ZORQelI::boolean IsOptional() const override { return optional; }
  ZORQelIType GetType() const override { return type; }
  void SetType(ZORQelIType t) override { type = t; }
  void SetIn(ZORQelI::boolean v) override { in = v; }
  void SetOut(ZORQelI::boolean v) override { out = v; }
  void SetOptional(ZORQelI::boolean v) override { optional = v; }
  ZORQelIType type;
  ZORQelI::boolean in = Ifalse, out = Ifalse, optional = Ifalse;
};

class Param final : public ParamOps<Param, ZORQelIParamDescIMP> {
  ZORQELI_DECLARE_IMP(Param, ZORQelIParamDescIMP)
 public:
  using ParamOps::ParamOps;
};
ZORQELI_DEFINE_IMP(Param, ZORQelIParamDescIMP)

class Attr final : public ParamOps<Attr, ZORQelIAttrIMP> {
  ZORQELI_DECLARE_IMP(Attr, ZORQelIAttrIMP)
 public:
  using ParamOps::ParamOps;
  const ZORQelIEntity Parent() override { return ZORQelIEntity(); }
};
ZORQELI_DEFINE_IMP(Attr, ZORQelIAttrIMP)

// An entity; its Name is the library's default.
class Entity final : public Owned<Entity, ZORQelIEntityIMP> {
  ZORQELI_DECLARE_IMP(Entity, ZORQelIEntityIMP)
 public:
  Entity(Provider& w, const char* n, ZORQelIModeler m) : Owned(w, n), modeler(m) {}
  void GarbageCollectorMemberCheck() override {
    ZORQelIEntityIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(modeler);
    GarbageCollectorScan(super);
    for (ZORQelIAttr& a : attrs) GarbageCollectorScan(a);
  }
  ZORQelI::boolean IsA(ZORQelITypeIMP* x) const override { return B(x == this); }
  ZORQelI::string FullTypeName() const override { return name; }
  ZORQelIModeler GetModeler() const override { return modeler; }
  int NumberOfAttributes() const override { return static_cast<int>(attrs.size()); }
  ZORQelIAttr CreateAttr(ZORQelI::string n, ZORQelIType tp, ZORQelI::boolean opt) override {
    ZORQelIAttr a(new Attr(*wrapper, n));
    a.SetType(tp);
    a.SetOptional(opt);
    attrs.push_back(a);
    return a;
  }
  ZORQelIAttr GetAttr(ZORQelI::string member) const override {
    const Mint i = GetAttrIndex(member);
    return i.IsSet() ? attrs[i] : ZORQelIAttr();
  }
  ZORQelIAttr GetAttr(int nth) const override { return attrs.at(nth); }
  Mint GetAttrIndex(ZORQelI::string member) const override {
    for (std::size_t i = 0; i < attrs.size(); ++i)
      if (attrs[i].Name() == member) return static_cast<int>(i);
    return Mint::UNSET;
  }
  ZORQelI::boolean RemoveAttr(ZORQelI::string) override { return Ifalse; }
  ZORQelI::boolean RemoveAttr(int) override { return Ifalse; }
  ZORQelIEntity Super() const override { return super; }
  void Super(ZORQelIEntity ent) override { super = ent; }

  ZORQelIModeler modeler;
  ZORQelIEntity super;
  std::vector<ZORQelIAttr> attrs;
};
ZORQELI_DEFINE_IMP(Entity, ZORQelIEntityIMP)

// An instance: one value per attribute (its entity's first, then its super's),
// or an aggregate's elements (no duplicates).  Its text is its name.
class Instance final : public Named<Instance, ZORQelIInstanceIMP> {
  ZORQELI_DECLARE_IMP(Instance, ZORQelIInstanceIMP)
 public:
  Instance(Provider& w, ZORQelIType t, Mint n) : Named(w), type(t), id(n) {
    for (ZORQelIEntity e = ZORQelIEntity::CastAnyway(t); e.IsValid(); e = e.Super())
      for (int i = 0; i < e.NumberOfAttributes(); ++i)
        values.push_back(ZORQelIInstance(new Instance(w, e.GetAttr(i).GetType(), Mint::UNSET)));
  }
  void GarbageCollectorMemberCheck() override {
    ZORQelIInstanceIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(type);
    GarbageCollectorScan(object);
    for (ZORQelIInstance& v : values) GarbageCollectorScan(v);
  }
  ZORQelI::boolean IsValid() const override { return valid; }
  ZORQelIType GetType() const override { return type; }
  void Unset() override { object = ZORQelIObject(); }
  void Delete() override { values.clear(); }
  ZORQelI::integer GetInt() const override { return number; }
  ZORQelI::real GetReal() const override { return realValue; }
  ZORQelI::boolean GetBoolean() const override { return flag; }
  ZORQelI::string GetString() const override { return text; }
  Mint GetInstanceId() const override { return id; }
  void PutInt(ZORQelI::integer v) override { number = v; }
  void PutReal(ZORQelI::real v) override { realValue = v; }
  void PutBoolean(ZORQelI::boolean bo) override { flag = bo; }
  void PutString(ZORQelI::string s) override { text = s; }
  ZORQelIObject GetObject() const override { return object; }
  void PutObject(ZORQelIObject obj) override { object = obj; }
  void PutObject(ZORQelIInstance obj) override { object = obj; }
  int Size() const override { return static_cast<int>(values.size()); }
  ZORQelIInstance GetInstance(int key) const override { return values.at(key); }
  void PutInstance(int key, ZORQelIInstance inst) override { values.at(key) = inst; }
  using ZORQelIInstanceIMP::GetAttr;
  ZORQelIInstance GetAttr(ZORQelI::string key) const override {
    int base = 0;
    for (ZORQelIEntity e = ZORQelIEntity::CastAnyway(type); e.IsValid(); e = e.Super()) {
      const Mint i = e.GetAttrIndex(key);
      if (i.IsSet()) return values.at(base + i);
      base += e.NumberOfAttributes();
    }
    return ZORQelIInstance();
  }
  ZORQelI::boolean ForEach(ZORQelIWalker&, int, int) override { return Ifalse; }
  ZORQelI::boolean ForEach(ZORQelIWalker&) override { return Ifalse; }
  ZORQelI::boolean IsEmpty() const override { return B(values.empty()); }
  ZORQelI::boolean Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd) override {
    if (Look(inst).IsSet()) return Ifalse;
    values.insert(atEnd == Itrue ? values.end() : values.begin(), inst);
    return Itrue;
  }
  void Remove() override { values.clear(); }
  Mint Look(ZORQelIInstance inst) const override { return Find(values, inst); }

  ZORQelIType type;
  Mint id;
  ZORQelIObject object;
  ZORQelI::integer number = 0;
  ZORQelI::real realValue = 0;
  ZORQelI::boolean flag = Ifalse, valid = Itrue;
  ZORQelI::string text;
  std::vector<ZORQelIInstance> values;
};
ZORQELI_DEFINE_IMP(Instance, ZORQelIInstanceIMP)

class Population final : public Named<Population, ZORQelIInstancesIMP> {
  ZORQELI_DECLARE_IMP(Population, ZORQelIInstancesIMP)
 public:
  Population(Provider& w, ZORQelIModelerIMP* m) : Named(w, "population"), modeler(m) {}
  void GarbageCollectorMemberCheck() override {
    ZORQelIInstancesIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(modeler);
    for (ZORQelIInstance& v : members) GarbageCollectorScan(v);
  }
  ZORQelIInstance Make(ZORQelIType t) const {
    ZORQelIInstance made(new Instance(*wrapper, t, ++numbered));
    const_cast<Population*>(this)->members.push_back(made);
    return made;
  }
  ZORQelIInstance InstanciateString() const override { return Make(M().MakeString()); }
  ZORQelIInstance InstanciateBoolean() const override { return Make(M().MakeBoolean()); }
  ZORQelIInstance InstanciateReal() const override { return Make(M().MakeReal()); }
  ZORQelIInstance InstanciateInteger() const override { return Make(M().MakeInteger()); }
  ZORQelIInstance Instanciate(ZORQelI::string S) const override { return Make(M().LookEntity(S)); }
  ZORQelIInstance Instanciate(ZORQelIType T) const override { return Make(T); }
  ZORQelIInstance Get(ZORQelI::integer nth) const override { return members.at(nth); }
  void Put(ZORQelI::integer nth, ZORQelIInstance inst) override { members.at(nth) = inst; }
  void Append(ZORQelIInstance inst) override { members.push_back(inst); }
  Mint Look(ZORQelIInstance inst) const override { return Find(members, inst); }
  ZORQelIInstance LookById(ZORQelI::integer) const override { return ZORQelIInstance(); }
  void Remove(ZORQelI::integer nth) override { members.erase(members.begin() + nth); }
  ZORQelI::integer Size() const override { return static_cast<ZORQelI::integer>(members.size()); }

  ZORQelIModeler M() const { return ZORQelIModeler(modeler); }
  ZORQelIModelerIMP* modeler;
  std::vector<ZORQelIInstance> members;
  mutable ZORQelI::integer numbered = 0;
};
ZORQELI_DEFINE_IMP(Population, ZORQelIInstancesIMP)

class Modeler final : public Named<Modeler, ZORQelIModelerIMP> {
  ZORQELI_DECLARE_IMP(Modeler, ZORQelIModelerIMP)
 public:
  Modeler(Provider& w, const char* n) : Named(w, n), population(new Population(w, this)) {}
  void GarbageCollectorMemberCheck() override {
    ZORQelIModelerIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(population);
    GarbageCollectorScan(observer);
    for (ZORQelIEntity& e : entities) GarbageCollectorScan(e);
  }
  ZORQelIType New(ZORQelI::Types k, ZORQelIType sub = ZORQelIType(), Mint low = Mint::UNSET,
                  Mint up = Mint::UNSET) const {
    ZORQelIType t(new Type(*wrapper, ZORQelIModeler(const_cast<Modeler*>(this)), k,
                           sub.IsValid() == Itrue ? sub.IMP() : nullptr));
    if (k >= ZORQelI::Iarray && k <= ZORQelI::Ibag) t.Range(low, up);  // the aggregates
    return t;
  }
  ZORQelIType Parent() const override { return ZORQelIType(); }
  ZORQelIType Scope(ZORQelI::string s) const override { return LookEntity(s); }
  ZORQelI::boolean Load(ZORQelI::string) override { return Ifalse; }
  ZORQelIType MakeType(ZORQelI::Types t) const override { return New(t); }
  ZORQelIType MakeField(ZORQelI::Types t, Mint width, ZORQelI::boolean fixed) const override {
    ZORQelIType f = New(t);
    f.Width(width);
    f.Fixed(fixed);
    return f;
  }
  ZORQelIType MakeList(ZORQelIType t, Mint low, Mint upper, ZORQelI::boolean) const override {
    return New(ZORQelI::Ilist, t, low, upper);
  }
  ZORQelIType MakeBag(ZORQelIType t, Mint low, Mint upper) const override {
    return New(ZORQelI::Ibag, t, low, upper);
  }
  ZORQelIType MakeSet(ZORQelIType t, Mint low, Mint upper) const override {
    return New(ZORQelI::Iset, t, low, upper);
  }
  ZORQelIType MakeArray(ZORQelIType t, Mint low, Mint upper, ZORQelI::boolean, ZORQelI::boolean) const override {
    return New(ZORQelI::Iarray, t, low, upper);
  }
  ZORQelIEntity MakeEntity(ZORQelI::string n) override {
    ZORQelIEntity e(new Entity(*wrapper, n, ZORQelIModeler(this)));
    entities.push_back(e);
    observer.NotifyCreated(e);
    return e;
  }
  ZORQelIEntity LookEntity(ZORQelI::string S) const override {
    for (const ZORQelIEntity& e : entities)
      if (e.FullTypeName() == S) return e;
    return ZORQelIEntity();
  }
  ZORQelIEntity GetEntity(int i) const override { return entities.at(i); }
  int GetNumberOfEntities() const override { return static_cast<int>(entities.size()); }
  ZORQelIInstances GetInstances() const override { return population; }
  void AddView(ZORQelIView v) override { observer.AddView(v); }
  void RemoveView(ZORQelIView v) override { observer.RemoveView(v); }

  ZORQelIInstances population;
  ZORQelIObserver observer;
  std::vector<ZORQelIEntity> entities;
};
ZORQELI_DEFINE_IMP(Modeler, ZORQelIModelerIMP)

// The behaviour families keep only what the tests read back; operations no
// test calls answer nothing.  A method of an entity, or a function without one.
class Method final : public Named<Method, ZORQelIMethodIMP> {
  ZORQELI_DECLARE_IMP(Method, ZORQelIMethodIMP)
 public:
  Method(Provider& w, const char* n, ZORQelIEntity cl) : Named(w, n), entity(cl) {}
  void GarbageCollectorMemberCheck() override {
    ZORQelIMethodIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(entity);
    for (ZORQelIParamDesc& p : params) GarbageCollectorScan(p);
  }
  void SetVisibility(int v) override { visibility = v; }
  int GetVisibility() const override { return visibility; }
  ZORQelIType GetType() const override { return ZORQelIType(); }
  void SetType(ZORQelIType) override {}
  void AddParam(ZORQelIParamDesc pr) override { params.push_back(pr); }
  void RemoveParam(ZORQelIParamDesc) override {}
  void RemoveParam(ZORQelI::integer) override {}
  ZORQelI::integer NumberOfParams() const override { return static_cast<ZORQelI::integer>(params.size()); }
  ZORQelI::boolean Match(const ZORQelIExpression R) const override {
    return B(R.GetNumberOfParam() == NumberOfParams());
  }
  ZORQelIParamDesc GetParam(ZORQelI::integer pos) override { return params.at(pos); }
  ZORQelIEntity ImplementsEntity() const override { return entity; }
  void MakeParam(ZORQelI::string v, ZORQelI::boolean in, ZORQelI::boolean, ZORQelIType) override {
    params.push_back(ZORQelIParamDesc(new Param(*wrapper, v)));
    params.back().SetIn(in);
  }
  ZORQelI::boolean IsMethod() const override { return entity.IsValid(); }

  ZORQelIEntity entity;
  int visibility = ZORQelIMethodIMP::Public;
  std::vector<ZORQelIParamDesc> params;
};
ZORQELI_DEFINE_IMP(Method, ZORQelIMethodIMP)

// The parsable operations: a unit that records one error per Parse (the
// expression double stands for a plain parsable unit too).
template <class Self, class Base>
class ParsableOps : public Named<Self, Base> {
 public:
  using Named<Self, Base>::Named;
  ZORQelI::boolean Load(ZORQelI::string fileName) override { return B(fileName == "good"); }
  ZORQelI::boolean Save(ZORQelI::string) const override { return Ifalse; }
  ZORQelI::boolean Parse(ZORQelI::string fileName) override {
    errors.push_back(ZORQelIErrorClass("unexpected end in " + fileName, 12));
    return Ifalse;
  }
  int NumberOfErrors() const override { return static_cast<int>(errors.size()); }
  ZORQelIErrorClass GetError(int pos) const override { return errors.at(pos); }
  ZORQelI::boolean Check(ZORQelIInstances) override { return Ifalse; }
  ZORQelIInstance Eval(ZORQelIInstances) override { return ZORQelIInstance(); }
  std::vector<ZORQelIErrorClass> errors;
};

// A call of a method.
class Expression final : public ParsableOps<Expression, ZORQelIExpressionIMP> {
  ZORQELI_DECLARE_IMP(Expression, ZORQelIExpressionIMP)
 public:
  using ParsableOps::ParsableOps;
  void GarbageCollectorMemberCheck() override {
    ZORQelIExpressionIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(interface);
    GarbageCollectorScan(method);
    for (ZORQelIParamDesc& p : params) GarbageCollectorScan(p);
  }
  ZORQelIParamDesc CreateParam(ZORQelI::string n, ZORQelI::boolean in, ZORQelI::boolean,
                               ZORQelIType) override {
    ZORQelIParamDesc p(new Param(*wrapper, n));
    p.SetIn(in);
    return p;
  }
  void AddParam(ZORQelIParamDesc par) override { params.push_back(par); }
  ZORQelIParamDesc GetParam(int pos) override { return params.at(pos); }
  int GetNumberOfParam() const override { return static_cast<int>(params.size()); }
  ZORQelIExpression GetSubNode(int) const override { return ZORQelIExpression(); }
  int GetNumberOfSubNode() const override { return 0; }
  ZORQelIExpression Copy() const override { return ZORQelIExpression(new Expression(*this)); }
  void Extract() override {}
  ZORQelIMethod GetMethod() const override { return method; }
  ZORQelIInterface GetInterface() const override { return interface; }
  void SetInterface(ZORQelIInterface n) override { interface = n; }

  ZORQelIInterface interface;
  ZORQelIMethod method;
  std::vector<ZORQelIParamDesc> params;
};
ZORQELI_DEFINE_IMP(Expression, ZORQelIExpressionIMP)

}  // namespace doubles

#endif
