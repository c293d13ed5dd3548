// The dictionary and behaviour API as a provider sees it.  Every abstract
// family is derived here by a concrete class that overrides exactly the
// operations left abstract (so this file compiles only while those keep
// their names, parameters, results and constness), and client code then
// works through the handles alone.  Also: the order of the virtual
// operations, the class descriptors, and the casts across the families.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace apitest {

using qtest::CollectAll;
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
  ZORQelI::string name;
};

// What every dictionary object of the provider shares: its wrapper, a
// stored name, copying and a text.  Name itself is added by Named, since
// types already have one.
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

// --- Types ----------------------------------------------------------------------------

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
  Attr(Provider& w, const char* n, ZORQelIEntityIMP* owner) : ParamOps(w, n), parent(owner) {}
  void GarbageCollectorMemberCheck() override {
    ParamOps::GarbageCollectorMemberCheck();
    GarbageCollectorScan(parent);
  }
  const ZORQelIEntity Parent() override { return ZORQelIEntity(parent); }
  ZORQelIEntityIMP* parent;
};
ZORQELI_DEFINE_IMP(Attr, ZORQelIAttrIMP)

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
    ZORQelIAttr a(new Attr(*wrapper, n, this));
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
  ZORQelI::boolean RemoveAttr(ZORQelI::string n) override {
    const Mint i = GetAttrIndex(n);
    return i.IsSet() ? RemoveAttr(static_cast<int>(i)) : Ifalse;
  }
  ZORQelI::boolean RemoveAttr(int pos) override {
    if (pos < 0 || pos >= NumberOfAttributes()) return Ifalse;
    attrs.erase(attrs.begin() + pos);
    return Itrue;
  }
  ZORQelIEntity Super() const override { return super; }
  void Super(ZORQelIEntity ent) override { super = ent; }

  ZORQelIModeler modeler;
  ZORQelIEntity super;
  std::vector<ZORQelIAttr> attrs;
};
ZORQELI_DEFINE_IMP(Entity, ZORQelIEntityIMP)

// --- Instances -------------------------------------------------------------------------

class Instance final : public Named<Instance, ZORQelIInstanceIMP> {
  ZORQELI_DECLARE_IMP(Instance, ZORQelIInstanceIMP)
 public:
  Instance(Provider& w, ZORQelIType t, Mint n) : Named(w), type(t), id(n) {
    // An entity instance holds one value instance per attribute.
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
  ZORQelI::boolean ForEach(ZORQelIWalker& x, int start, int stop) override {
    for (int i = start; i < stop; ++i)
      if (x.Walk(values.at(i), i) != Itrue) return Ifalse;
    return Itrue;
  }
  ZORQelI::boolean ForEach(ZORQelIWalker& x) override { return ForEach(x, 0, Size()); }
  ZORQelI::boolean IsEmpty() const override { return B(values.empty()); }
  ZORQelI::boolean Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd) override {
    values.insert(atEnd == Itrue ? values.end() : values.begin(), inst);
    return Itrue;
  }
  void Remove() override { values.clear(); }
  Mint Look(ZORQelIInstance inst) const override {
    for (std::size_t i = 0; i < values.size(); ++i)
      if (values[i].Equal(inst) == Itrue) return static_cast<int>(i);
    return Mint::UNSET;
  }

  ZORQelIType type;
  Mint id;
  ZORQelIObject object;
  ZORQelI::integer number = 0;
  ZORQelI::real realValue = 0;
  ZORQelI::boolean flag = Ifalse;
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
  ZORQelIInstance Instanciate(ZORQelI::string S) const override {
    return Make(M().LookEntity(S));
  }
  ZORQelIInstance Instanciate(ZORQelIType T) const override { return Make(T); }
  ZORQelIInstance Get(ZORQelI::integer nth) const override { return members.at(nth); }
  void Put(ZORQelI::integer nth, ZORQelIInstance inst) override { members.at(nth) = inst; }
  void Append(ZORQelIInstance inst) override { members.push_back(inst); }
  Mint Look(ZORQelIInstance inst) const override {
    for (std::size_t i = 0; i < members.size(); ++i)
      if (members[i].Equal(inst) == Itrue) return static_cast<int>(i);
    return Mint::UNSET;
  }
  ZORQelIInstance LookById(ZORQelI::integer id) const override {
    for (const ZORQelIInstance& v : members)
      if (v.GetInstanceId() == id) return v;
    return ZORQelIInstance();
  }
  void Remove(ZORQelI::integer nth) override { members.erase(members.begin() + nth); }
  ZORQelI::integer Size() const override { return static_cast<ZORQelI::integer>(members.size()); }

  ZORQelIModeler M() const { return ZORQelIModeler(modeler); }
  ZORQelIModelerIMP* modeler;
  std::vector<ZORQelIInstance> members;
  mutable ZORQelI::integer numbered = 0;
};
ZORQELI_DEFINE_IMP(Population, ZORQelIInstancesIMP)

// --- Modeler -----------------------------------------------------------------------------

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
  ZORQelIType New(ZORQelI::Types k, ZORQelIType sub = ZORQelIType()) const {
    return ZORQelIType(new Type(*wrapper, ZORQelIModeler(const_cast<Modeler*>(this)), k,
                                sub.IsValid() == Itrue ? sub.IMP() : nullptr));
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
  ZORQelIType MakeList(ZORQelIType t, Mint low, Mint upper, ZORQelI::boolean unique) const override {
    ZORQelIType a = New(ZORQelI::Ilist, t);
    a.Range(low, upper);
    a.Unique(unique);
    return a;
  }
  ZORQelIType MakeBag(ZORQelIType t, Mint low, Mint upper) const override {
    ZORQelIType a = New(ZORQelI::Ibag, t);
    a.Range(low, upper);
    return a;
  }
  ZORQelIType MakeSet(ZORQelIType t, Mint low, Mint upper) const override {
    ZORQelIType a = New(ZORQelI::Iset, t);
    a.Range(low, upper);
    return a;
  }
  ZORQelIType MakeArray(ZORQelIType t, Mint low, Mint upper, ZORQelI::boolean opt,
                        ZORQelI::boolean unique) const override {
    ZORQelIType a = New(ZORQelI::Iarray, t);
    a.Range(low, upper);
    a.Optional(opt);
    a.Unique(unique);
    return a;
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

// --- Behaviour ---------------------------------------------------------------------------

class Method final : public Named<Method, ZORQelIMethodIMP> {
  ZORQELI_DECLARE_IMP(Method, ZORQelIMethodIMP)
 public:
  Method(Provider& w, const char* n, ZORQelIEntity cl, ZORQelIType r)
      : Named(w, n), entity(cl), result(r) {}
  void GarbageCollectorMemberCheck() override {
    ZORQelIMethodIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(entity);
    GarbageCollectorScan(result);
    for (ZORQelIParamDesc& p : params) GarbageCollectorScan(p);
  }
  void SetVisibility(int v) override { visibility = v; }
  int GetVisibility() const override { return visibility; }
  ZORQelIType GetType() const override { return result; }
  void SetType(ZORQelIType t) override { result = t; }
  void AddParam(ZORQelIParamDesc pr) override { params.push_back(pr); }
  void RemoveParam(ZORQelIParamDesc pr) override {
    for (std::size_t i = 0; i < params.size(); ++i)
      if (params[i].Equal(pr) == Itrue) return RemoveParam(static_cast<ZORQelI::integer>(i));
  }
  void RemoveParam(ZORQelI::integer pos) override { params.erase(params.begin() + pos); }
  ZORQelI::integer NumberOfParams() const override {
    return static_cast<ZORQelI::integer>(params.size());
  }
  ZORQelI::boolean Match(const ZORQelIExpression R) const override {
    return B(R.GetNumberOfParam() == NumberOfParams());
  }
  ZORQelIParamDesc GetParam(ZORQelI::integer pos) override { return params.at(pos); }
  ZORQelIEntity ImplementsEntity() const override { return entity; }
  void MakeParam(ZORQelI::string v, ZORQelI::boolean in, ZORQelI::boolean out,
                 ZORQelIType t) override {
    ZORQelIParamDesc p(new Param(*wrapper, v));
    p.SetIn(in);
    p.SetOut(out);
    p.SetType(t);
    params.push_back(p);
  }
  ZORQelI::boolean IsMethod() const override { return entity.IsValid(); }

  ZORQelIEntity entity;
  ZORQelIType result;
  int visibility = ZORQelIMethodIMP::Public;
  std::vector<ZORQelIParamDesc> params;
};
ZORQELI_DEFINE_IMP(Method, ZORQelIMethodIMP)

// The parsable operations: a unit that records one error per Parse.
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
  ZORQelI::boolean Check(ZORQelIInstances params) override { return B(params.Size() > 0); }
  ZORQelIInstance Eval(ZORQelIInstances param) override { return param.Get(0); }
  std::vector<ZORQelIErrorClass> errors;
};

class Parsable final : public ParsableOps<Parsable, ZORQelIParsableIMP> {
  ZORQELI_DECLARE_IMP(Parsable, ZORQelIParsableIMP)
 public:
  using ParsableOps::ParsableOps;
};
ZORQELI_DEFINE_IMP(Parsable, ZORQelIParsableIMP)

class Expression final : public ParsableOps<Expression, ZORQelIExpressionIMP> {
  ZORQELI_DECLARE_IMP(Expression, ZORQelIExpressionIMP)
 public:
  using ParsableOps::ParsableOps;
  void GarbageCollectorMemberCheck() override {
    ZORQelIExpressionIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(interface);
    for (ZORQelIParamDesc& p : params) GarbageCollectorScan(p);
    for (ZORQelIExpression& x : nodes) GarbageCollectorScan(x);
  }
  ZORQelIParamDesc CreateParam(ZORQelI::string n, ZORQelI::boolean in, ZORQelI::boolean out,
                               ZORQelIType t) override {
    ZORQelIParamDesc p(new Param(*wrapper, n));
    p.SetIn(in);
    p.SetOut(out);
    p.SetType(t);
    return p;
  }
  void AddParam(ZORQelIParamDesc par) override { params.push_back(par); }
  ZORQelIParamDesc GetParam(int pos) override { return params.at(pos); }
  int GetNumberOfParam() const override { return static_cast<int>(params.size()); }
  ZORQelIExpression GetSubNode(int pos) const override { return nodes.at(pos); }
  int GetNumberOfSubNode() const override { return static_cast<int>(nodes.size()); }
  ZORQelIExpression Copy() const override { return ZORQelIExpression(new Expression(*this)); }
  void Extract() override { nodes.clear(); }
  ZORQelIMethod GetMethod() const override {
    return GetInterface().SearchMethod(ZORQelI::string(name));
  }
  ZORQelIInterface GetInterface() const override { return interface; }
  void SetInterface(ZORQelIInterface n) override { interface = n; }

  ZORQelIInterface interface;
  std::vector<ZORQelIParamDesc> params;
  std::vector<ZORQelIExpression> nodes;
};
ZORQELI_DEFINE_IMP(Expression, ZORQelIExpressionIMP)

class Interface final : public ParsableOps<Interface, ZORQelIInterfaceIMP> {
  ZORQELI_DECLARE_IMP(Interface, ZORQelIInterfaceIMP)
 public:
  using ParsableOps::ParsableOps;
  void GarbageCollectorMemberCheck() override {
    ZORQelIInterfaceIMP::GarbageCollectorMemberCheck();
    for (ZORQelIMethod& m : methods) GarbageCollectorScan(m);
    for (ZORQelIModeler& m : modelers) GarbageCollectorScan(m);
    for (ZORQelIInterface& i : used) GarbageCollectorScan(i);
  }
  std::vector<ZORQelIMethod> Select(bool ofEntity) const {
    std::vector<ZORQelIMethod> out;
    for (const ZORQelIMethod& m : methods)
      if ((m.IsMethod() == Itrue) == ofEntity) out.push_back(m);
    return out;
  }
  void SetDictionaryWrapper(ZORQelIWrapper& wp) override { dictionary = &wp; }
  int GetNumberOfFunctions() const override { return static_cast<int>(Select(false).size()); }
  int GetNumberOfMethods() const override { return static_cast<int>(Select(true).size()); }
  int GetNumberOfEntity() const override { return 0; }
  ZORQelIFunction SearchFunction(ZORQelI::string f, ZORQelIType r) const override {
    for (const ZORQelIFunction& m : Select(false))
      if (m.Name() == f && m.GetType().Equal(r) == Itrue) return m;
    return ZORQelIFunction();
  }
  ZORQelIFunction SearchFunction(ZORQelI::string f) const override {
    for (const ZORQelIFunction& m : Select(false))
      if (m.Name() == f) return m;
    return ZORQelIFunction();
  }
  ZORQelIFunction GetFunction(int pos) const override { return Select(false).at(pos); }
  ZORQelIMethod SearchMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) const override {
    for (const ZORQelIMethod& m : Select(true))
      if (m.ImplementsEntity().Equal(cl) == Itrue && m.Name() == mtd &&
          m.GetType().Equal(r) == Itrue)
        return m;
    return ZORQelIMethod();
  }
  ZORQelIMethod SearchMethod(ZORQelI::string mtd) const override {
    for (const ZORQelIMethod& m : Select(true))
      if (m.Name() == mtd) return m;
    return ZORQelIMethod();
  }
  ZORQelIMethod GetMethod(ZORQelIEntity cl, int pos) const override {
    std::vector<ZORQelIMethod> of;
    for (const ZORQelIMethod& m : Select(true))
      if (m.ImplementsEntity().Equal(cl) == Itrue) of.push_back(m);
    return of.at(pos);
  }
  ZORQelIMethod GetMethod(int pos) const override { return Select(true).at(pos); }
  int GetNumberOfMethods(ZORQelIEntity cl) const override {
    int n = 0;
    for (const ZORQelIMethod& m : Select(true)) n += m.ImplementsEntity().Equal(cl) == Itrue;
    return n;
  }
  ZORQelIFunction MakeFunction(ZORQelI::string f, ZORQelIType r) override {
    return MakeMethod(ZORQelIEntity(), f, r);
  }
  ZORQelIMethod MakeMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) override {
    methods.push_back(ZORQelIMethod(new Method(*wrapper, mtd, cl, r)));
    return methods.back();
  }
  ZORQelI::boolean RemoveMethod(ZORQelIMethod mtd) override {
    for (auto it = methods.begin(); it != methods.end(); ++it)
      if (it->Equal(mtd) == Itrue) {
        methods.erase(it);
        return Itrue;
      }
    return Ifalse;
  }
  void AddModeler(ZORQelIModeler mdl) override { modelers.push_back(mdl); }
  void RemoveModeler(ZORQelIModeler mdl) override {
    for (auto it = modelers.begin(); it != modelers.end(); ++it)
      if (it->Equal(mdl) == Itrue) {
        modelers.erase(it);
        return;
      }
  }
  int NumberOfModelers() const override { return static_cast<int>(modelers.size()); }
  ZORQelIModeler GetModeler(ZORQelI::integer pos) const override { return modelers.at(pos); }
  ZORQelI::boolean Use(ZORQelIInterface MyInterface) override {
    used.push_back(MyInterface);
    return Itrue;
  }

  ZORQelIWrapper* dictionary = nullptr;
  std::vector<ZORQelIMethod> methods;
  std::vector<ZORQelIModeler> modelers;
  std::vector<ZORQelIInterface> used;
};
ZORQELI_DEFINE_IMP(Interface, ZORQelIInterfaceIMP)

// A walker that collects integers until it meets a stop value.
class Summer final : public ZORQelIWalker {
 public:
  ZORQelI::boolean Walk(ZORQelIInstance o, integer pos) override {
    visited.push_back(pos);
    if (o.GetInt() == stop) return Ifalse;
    sum += o.GetInt();
    return Itrue;
  }
  int sum = 0, stop = -1;
  std::vector<integer> visited;
};

class ApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CollectAll();
    before = ZORQelIObjectIMP::GetInstancesCount__();
  }
  void TearDown() override { CollectAll(); }
  Provider provider{"memory"};
  ZORQelI::integer before = 0;
};

// --- The virtual operations keep their order -----------------------------------------------

#if defined(__GNUC__)
// The vtable slot of a virtual member function, read from its Itanium ABI
// pointer-to-member representation (one more than the byte offset).
template <class F>
std::ptrdiff_t Slot(F f) {
  static_assert(sizeof(F) == 2 * sizeof(std::uintptr_t), "Itanium member pointer");
  std::uintptr_t words[2];
  std::memcpy(words, &f, sizeof words);
  EXPECT_EQ(words[0] & 1u, 1u) << "not a virtual function";
  return static_cast<std::ptrdiff_t>((words[0] - 1) / sizeof(void*));
}

// Each operation must sit in the slot after the one before it.
template <class... F>
void ExpectConsecutive(const char* what, std::ptrdiff_t first, F... fs) {
  std::ptrdiff_t expected = first;
  int position = 0;
  for (std::ptrdiff_t s : {Slot(fs)...}) {
    EXPECT_EQ(s, expected) << what << ", operation " << position;
    ++expected;
    ++position;
  }
}

#define OV(Class, Result, Name, Params) static_cast<Result (Class::*) Params>(&Class::Name)

TEST(ApiOrder, WrapperObjectsAndTypes) {
  // After the nine of ZORQelIObjectIMP (the destructor takes two slots).
  EXPECT_EQ(Slot(&ZORQelIObjectIMP::Finalizer), 9);
  ExpectConsecutive("wrapper object", 10, &ZORQelIWrapperObjectIMP::Wrapper,
                    &ZORQelIWrapperObjectIMP::Name, &ZORQelIWrapperObjectIMP::Rename);
  using T = ZORQelITypeIMP;
  ExpectConsecutive("type", 13, &T::IsA, &T::IsAKindOf, &T::FullTypeName, &T::GetModeler,
                    &T::PrimitiveType, &T::IsFixed, &T::Fixed,
                    OV(T, ZORQelI::Mint, Width, () const), OV(T, void, Width, (ZORQelI::Mint)),
                    &T::TerminalType, &T::SubType, &T::Unique, &T::Optional, &T::IsUnique,
                    &T::IsOptional, OV(T, ZORQelI::Mint, LowerBound, () const),
                    OV(T, ZORQelI::Mint, UpperBound, () const),
                    OV(T, void, LowerBound, (ZORQelI::Mint)),
                    OV(T, void, UpperBound, (ZORQelI::Mint)));
  using E = ZORQelIEntityIMP;
  ExpectConsecutive("entity", 32, &E::NumberOfAttributes, &E::CreateAttr,
                    OV(E, ZORQelIAttr, GetAttr, (ZORQelI::string) const),
                    OV(E, ZORQelIAttr, GetAttr, (int) const), &E::GetAttrIndex,
                    OV(E, ZORQelI::boolean, RemoveAttr, (ZORQelI::string)),
                    OV(E, ZORQelI::boolean, RemoveAttr, (int)),
                    OV(E, ZORQelIEntity, Super, () const), OV(E, void, Super, (ZORQelIEntity)));
  // The entity's own answers do not add slots: they replace the type's.
  EXPECT_EQ(Slot(OV(E, ZORQelI::Mint, Width, () const)), 20);
}

TEST(ApiOrder, ParametersAttributesAndMethods) {
  using P = ZORQelIParamDescIMP;
  ExpectConsecutive("parameter", 13, &P::IsIn, &P::IsOut, &P::IsOptional, &P::GetType,
                    &P::SetType, &P::SetIn, &P::SetOut, &P::SetOptional);
  ExpectConsecutive("attribute", 21, &ZORQelIAttrIMP::Parent, &ZORQelIAttrIMP::IsInverse);
  using M = ZORQelIMethodIMP;
  ExpectConsecutive("method", 13, &M::SetVisibility, &M::GetVisibility, &M::GetType,
                    &M::SetType, &M::AddParam, OV(M, void, RemoveParam, (ZORQelIParamDesc)),
                    OV(M, void, RemoveParam, (ZORQelI::integer)), &M::NumberOfParams,
                    OV(M, ZORQelI::boolean, Match, (const ZORQelIExpression) const),
                    &M::GetParam, &M::ImplementsEntity, &M::MakeParam, &M::IsMethod);
}

TEST(ApiOrder, ModelersAndInstances) {
  using M = ZORQelIModelerIMP;
  ExpectConsecutive("modeler", 13, &M::Parent, &M::Scope, &M::Load, &M::Save, &M::MakeType,
                    &M::MakeField, &M::MakeList, &M::MakeBag, &M::MakeSet, &M::MakeArray,
                    &M::MakeEntity, &M::LookEntity, &M::GetEntity, &M::GetNumberOfEntities,
                    &M::GetInstances, &M::AddView, &M::RemoveView);
  using S = ZORQelIInstancesIMP;
  ExpectConsecutive("population", 13, &S::InstanciateString, &S::InstanciateBoolean,
                    &S::InstanciateReal, &S::InstanciateInteger,
                    OV(S, ZORQelIInstance, Instanciate, (ZORQelI::string) const),
                    OV(S, ZORQelIInstance, Instanciate, (ZORQelIType) const), &S::Get, &S::Put,
                    &S::Append, &S::Look, &S::LookById, &S::Remove, &S::Size);
  using I = ZORQelIInstanceIMP;
  EXPECT_EQ(Slot(&I::HashCode), 7);
  ExpectConsecutive("instance", 13, &I::GetType, &I::Unset, &I::Delete, &I::GetInt,
                    &I::GetReal, &I::GetBoolean, &I::GetString, &I::GetInstanceId,
                    &I::GetSymbolicName, &I::PutInt, &I::PutReal, &I::PutBoolean,
                    &I::PutString, &I::GetObject, OV(I, void, PutObject, (ZORQelIObject)),
                    OV(I, void, PutObject, (ZORQelIInstance)), &I::Size, &I::GetInstance,
                    &I::PutInstance, OV(I, ZORQelIInstance, GetAttr, (ZORQelIAttr) const),
                    OV(I, ZORQelIInstance, GetAttr, (ZORQelI::string) const),
                    OV(I, ZORQelI::boolean, ForEach, (ZORQelIWalker&, int, int)),
                    OV(I, ZORQelI::boolean, ForEach, (ZORQelIWalker&)), &I::IsEmpty, &I::Insert,
                    &I::Remove, &I::Look, &I::GetMnum, &I::GetJele, &I::CreateProxy);
}

TEST(ApiOrder, ParsablesExpressionsInterfacesWrappersAndWalkers) {
  using P = ZORQelIParsableIMP;
  ExpectConsecutive("parsable", 13, &P::Load, &P::Save, &P::Parse, &P::NumberOfErrors,
                    &P::GetError, &P::Check, &P::Eval);
  using X = ZORQelIExpressionIMP;
  ExpectConsecutive("expression", 20, &X::CreateParam, &X::AddParam, &X::GetParam,
                    &X::GetNumberOfParam, &X::GetSubNode, &X::GetNumberOfSubNode, &X::Copy,
                    &X::Extract, &X::GetMethod, &X::GetInterface, &X::SetInterface);
  using I = ZORQelIInterfaceIMP;
  ExpectConsecutive(
      "interface", 20, &I::SetDictionaryWrapper, &I::GetNumberOfFunctions,
      OV(I, int, GetNumberOfMethods, () const), &I::GetNumberOfEntity,
      OV(I, ZORQelIFunction, SearchFunction, (ZORQelI::string, ZORQelIType) const),
      OV(I, ZORQelIFunction, SearchFunction, (ZORQelI::string) const), &I::GetFunction,
      OV(I, ZORQelIMethod, SearchMethod, (ZORQelIEntity, ZORQelI::string, ZORQelIType) const),
      OV(I, ZORQelIMethod, SearchMethod, (ZORQelI::string) const),
      OV(I, ZORQelIMethod, GetMethod, (ZORQelIEntity, int) const),
      OV(I, ZORQelIMethod, GetMethod, (int) const),
      OV(I, int, GetNumberOfMethods, (ZORQelIEntity) const), &I::MakeFunction, &I::MakeMethod,
      &I::RemoveMethod, &I::AddModeler, &I::RemoveModeler, &I::NumberOfModelers,
      &I::GetModeler, &I::Use);
  ExpectConsecutive("wrapper", 0, &ZORQelIWrapper::NewModeler, &ZORQelIWrapper::NewExpression,
                    &ZORQelIWrapper::WrapperName, &ZORQelIWrapper::Owns);
  EXPECT_EQ(Slot(&ZORQelIWalker::Walk), 0);
}
#endif

// --- Class descriptors -------------------------------------------------------------------

TEST(ApiClasses, DescriptorsFollowTheDerivation) {
  const std::string tail = " subtype of ZORQelIWrapperObjectIMP subtype of ZORQelIObjectIMP";
  const std::vector<std::pair<const ZORQelIClass*, std::string>> expected = {
      {&ZORQelIWrapperObjectIMP::ClassId(), "ZORQelIWrapperObjectIMP subtype of ZORQelIObjectIMP"},
      {&ZORQelITypeIMP::ClassId(), "ZORQelITypeIMP" + tail},
      {&ZORQelIEntityIMP::ClassId(), "ZORQelIEntityIMP subtype of ZORQelITypeIMP" + tail},
      {&ZORQelIParamDescIMP::ClassId(), "ZORQelIParamDescIMP" + tail},
      {&ZORQelIAttrIMP::ClassId(), "ZORQelIAttrIMP subtype of ZORQelIParamDescIMP" + tail},
      {&ZORQelIModelerIMP::ClassId(), "ZORQelIModelerIMP" + tail},
      {&ZORQelIInstanceIMP::ClassId(), "ZORQelIInstanceIMP" + tail},
      {&ZORQelIInstancesIMP::ClassId(), "ZORQelIInstancesIMP" + tail},
      {&ZORQelIMethodIMP::ClassId(), "ZORQelIMethodIMP" + tail},
      {&ZORQelIParsableIMP::ClassId(), "ZORQelIParsableIMP" + tail},
      {&ZORQelIExpressionIMP::ClassId(), "ZORQelIExpressionIMP subtype of ZORQelIParsableIMP" + tail},
      {&ZORQelIInterfaceIMP::ClassId(), "ZORQelIInterfaceIMP subtype of ZORQelIParsableIMP" + tail},
      {&Entity::ClassId(), "Entity subtype of ZORQelIEntityIMP subtype of ZORQelITypeIMP" + tail},
  };
  for (const auto& [descriptor, text] : expected) EXPECT_EQ(std::string(descriptor->Text()), text);
}

// --- Working through the handles ---------------------------------------------------------

TEST_F(ApiTest, SchemaAndPopulationThroughTheHandles) {
  ZORQelIModeler shop(new Modeler(provider, "shop"));
  ZORQelIEntity item = shop.MakeEntity("Item");
  ZORQelIEntity book = shop.MakeEntity("Book");
  book.Super(item);
  item.CreateAttr("price", shop.MakeReal(), Ifalse);
  book.CreateAttr("title", shop.MakeString(40, Ifalse), Ifalse);
  book.CreateAttr("tags", shop.MakeList(shop.MakeString(), 0, Mint::UNSET, Itrue), Itrue);

  EXPECT_EQ(shop.GetNumberOfEntities(), 2);
  EXPECT_EQ(shop.LookEntity("Book").Equal(book), Itrue);
  EXPECT_EQ(book.Super().Equal(item), Itrue);
  EXPECT_EQ(item.Super().IsValid(), Ifalse);
  EXPECT_EQ(book.NumberOfAttributes(), 2);
  EXPECT_EQ(static_cast<int>(book.GetAttrIndex("tags")), 1);
  ZORQelIAttr tags = book.GetAttr("tags");
  EXPECT_EQ(tags.Parent().Equal(book), Itrue);
  EXPECT_EQ(tags.IsOptional(), Itrue);
  const ZORQelIType tagType = tags.GetType();
  EXPECT_EQ(tagType.IsAList(), Itrue);
  EXPECT_EQ(tagType.IsUnique(), Itrue);
  EXPECT_EQ(tagType.SubType().IsAString(), Itrue);
  EXPECT_EQ(tagType.InRange(-1), Ifalse);
  EXPECT_EQ(tagType.GetModeler().Equal(shop), Itrue);
  EXPECT_EQ(std::string(book.GetAttr(0).GetType().Name()), "String");
  EXPECT_EQ(book.GetAttr(0).GetType().IsAField(), Itrue);
  EXPECT_EQ(static_cast<int>(book.GetAttr(0).GetType().Width()), 40);

  ZORQelIInstance b = shop.Instanciate(ZORQelI::string("Book"));
  b.PutAttr(book.GetAttr("title"), shop.GetInstances().InstanciateString("Dune"));
  b.PutAttr(item.GetAttr(0), shop.GetInstances().InstanciateReal(9.5));
  EXPECT_EQ(std::string(ZORQelIInstance::DownCast(b.GetAttr("title").GetObject()).GetString()),
            "Dune");
  EXPECT_EQ(ZORQelIInstance::DownCast(b.GetAttr(item.GetAttr(0)).GetObject()).GetReal(), 9.5);
  EXPECT_EQ(b.Size(), 3);  // title, tags, then the inherited price

  // A population in order, found by number and by identity.
  ZORQelIInstances all = shop.GetInstances();
  EXPECT_EQ(all.Size(), 3);
  EXPECT_EQ(all.LookById(b.GetInstanceId()).Equal(b), Itrue);
  EXPECT_EQ(static_cast<int>(all.Look(b)), 0);

  // An aggregate walked with a walker that stops early.
  ZORQelIInstance list = all.Instanciate(tagType);
  for (int v : {3, 4, 5}) list.Append(shop.InstanciateInteger().PutInt(v));
  list.Prepend(shop.InstanciateInteger().PutInt(1));
  Summer walker;
  walker.stop = 5;
  EXPECT_EQ(list.ForEach(walker), Ifalse);
  EXPECT_EQ(walker.sum, 8);
  EXPECT_EQ(walker.visited, (std::vector<integer>{0, 1, 2, 3}));
  EXPECT_EQ(static_cast<int>(list.Look(list.GetInstance(2))), 2);
}

TEST_F(ApiTest, DroppedSchemaIsReclaimedAndViewsHearOfNewEntities) {
  class Counter final : public ZORQelIViewIMP {
   public:
    explicit Counter(int* n) : created(n) {}
    ZORQelIObjectIMP* Clone() const override { return new Counter(created); }
    void Text(ZORQelIPrint&) const override {}
    void NotifyUpdate(ZORQelIObject) override {}
    void NotifyDeleted(ZORQelIObject) override {}
    void NotifyCreated(ZORQelIObject o) override { *created += ZORQelIEntity::CastAnyway(o).IsValid(); }
    int* created;
  };
  int created = 0;
  {
    ZORQelIModeler m(new Modeler(provider, "scratch"));
    m.AddView(ZORQelIView(new Counter(&created)));
    ZORQelIEntity e = m.MakeEntity("Point");
    e.CreateAttr("x", m.MakeInteger(), Ifalse);
    m.GetInstances().Instanciate(e).PutAttr(e.GetAttr("x"), m.InstanciateInteger());
    ZORQelIMethod area = ZORQelIInterface(new Interface(provider, "geometry"))
                             .MakeMethod(e, "area", m.MakeReal());
    area.MakeParam("scale", Itrue, Ifalse, m.MakeReal());
  }
  EXPECT_EQ(created, 1);
  CollectAll();
  EXPECT_EQ(ZORQelIObjectIMP::GetInstancesCount__(), before);
}

TEST_F(ApiTest, BehaviourThroughTheHandles) {
  ZORQelIModeler m(new Modeler(provider, "geometry"));
  ZORQelIEntity shape = m.MakeEntity("Shape");
  ZORQelIInterface api(new Interface(provider, "api"));
  api.AddModeler(m);
  api.SetDictionaryWrapper(provider);
  EXPECT_EQ(static_cast<Interface*>(api.IMP())->dictionary, &provider);

  ZORQelIType real = m.MakeReal();
  ZORQelIFunction sqrt = api.MakeFunction("sqrt", real);
  ZORQelIMethod area = api.MakeMethod(shape, "area", real);
  area.MakeParam("scale", Itrue, Ifalse, real);
  EXPECT_EQ(sqrt.IsMethod(), Ifalse);
  EXPECT_EQ(area.IsMethod(), Itrue);
  EXPECT_EQ(area.ImplementsEntity().Equal(shape), Itrue);
  EXPECT_EQ(api.GetNumberOfFunctions(), 1);
  EXPECT_EQ(api.GetNumberOfMethods(), 1);
  EXPECT_EQ(api.GetNumberOfMethods(shape), 1);
  EXPECT_EQ(api.SearchFunction("sqrt", real).Equal(sqrt), Itrue);
  EXPECT_EQ(api.SearchMethod(shape, "area", real).Equal(area), Itrue);
  EXPECT_EQ(api.GetMethod(shape, 0).Equal(area), Itrue);
  EXPECT_EQ(area.GetParam(0).IsIn(), Itrue);
  EXPECT_EQ(area.NumberOfParams(), 1);

  // Visibility codes.
  area.SetPrivate();
  EXPECT_EQ(area.IsPrivate(), Itrue);
  EXPECT_EQ(area.IsPublic(), Ifalse);
  area.SetProtected();
  EXPECT_EQ(area.IsProtected(), Itrue);
  area.SetPublic();
  EXPECT_EQ(area.IsPublic(), Itrue);
  area.IMP()->SetVisibility(7);
  EXPECT_EQ(area.IsPublic() | area.IsPrivate() | area.IsProtected(), Ifalse);

  // Expressions and parsable units.
  ZORQelIExpression call(new Expression(provider, "area"));
  call.SetInterface(api);
  call.AddParam(call.CreateParam("scale", Itrue, Ifalse, real));
  EXPECT_EQ(call.GetMethod().Equal(area), Itrue);
  EXPECT_EQ(area.Match(call), Itrue);
  EXPECT_EQ(call.Copy().GetNumberOfParam(), 1);
  EXPECT_EQ(api.Parse("api.txt"), Ifalse);
  ASSERT_EQ(api.NumberOfErrors(), 1);
  EXPECT_EQ(std::string(api.GetError(0).GetMessage()), "unexpected end in api.txt");
  EXPECT_EQ(api.GetError(0).GetPosition(), 12);
  EXPECT_EQ(ZORQelIErrorClass().GetPosition(), INT32_MIN);
  EXPECT_EQ(api.Load("good"), Itrue);
  EXPECT_EQ(api.RemoveMethod(area), Itrue);
  EXPECT_EQ(api.GetNumberOfMethods(), 0);
}

// --- Casts across the families -----------------------------------------------------------

TEST_F(ApiTest, AttributeIsAParameterButAParameterIsNotAnAttribute) {
  ZORQelIModeler m(new Modeler(provider, "m"));
  const ZORQelIObject attr = m.MakeEntity("E").CreateAttr("a", m.MakeInteger(), Ifalse);
  const ZORQelIObject param(new Param(provider, "p"));
  EXPECT_EQ(ZORQelIParamDesc::DownCast(attr).Equal(attr), Itrue);
  EXPECT_EQ(ZORQelIParamDesc::CastAnyway(attr).Equal(attr), Itrue);
  EXPECT_EQ(ZORQelIWrapperObject::DownCast(attr).Equal(attr), Itrue);
  EXPECT_THROW(ZORQelIAttr::DownCast(param), ZORQelI::InvalidType);
  EXPECT_EQ(ZORQelIAttr::CastAnyway(param).IsValid(), Ifalse);
}

TEST_F(ApiTest, InterfaceIsAParsableButNotAnExpression) {
  const ZORQelIObject api(new Interface(provider, "api"));
  EXPECT_EQ(ZORQelIParsable::DownCast(api).Equal(api), Itrue);
  EXPECT_EQ(ZORQelIInterface::DownCast(api).Equal(api), Itrue);
  EXPECT_THROW(ZORQelIExpression::DownCast(api), ZORQelI::InvalidType);
  EXPECT_EQ(ZORQelIExpression::CastAnyway(api).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIParsable::CastAnyway(ZORQelIObject(new Expression(provider, "x"))).IsValid(),
            Itrue);
}

TEST_F(ApiTest, EntityIsATypeButATypeIsNotAnEntity) {
  ZORQelIModeler m(new Modeler(provider, "m"));
  const ZORQelIObject entity = m.MakeEntity("E");
  const ZORQelIObject integer = m.MakeInteger();
  EXPECT_EQ(ZORQelIType::DownCast(entity).Equal(entity), Itrue);
  EXPECT_EQ(ZORQelIType::CastAnyway(entity).Equal(entity), Itrue);
  EXPECT_THROW(ZORQelIEntity::DownCast(integer), ZORQelI::InvalidType);
  EXPECT_EQ(ZORQelIEntity::CastAnyway(integer).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIModeler::DownCast(m).Equal(m), Itrue);
  EXPECT_THROW(ZORQelIModeler::DownCast(entity), ZORQelI::InvalidType);
  EXPECT_EQ(ZORQelIExpression::CastAnyway(m).IsValid(), Ifalse);
}

TEST_F(ApiTest, EmptyHandlesAndForeignObjects) {
  const ZORQelIObject empty;
  // Lenient families: an empty handle casts to an empty handle.
  EXPECT_EQ(ZORQelIWrapperObject::DownCast(empty).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIType::DownCast(empty).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIEntity::DownCast(empty).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIParamDesc::DownCast(empty).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIAttr::DownCast(empty).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIModeler::DownCast(empty).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIInstance::DownCast(empty).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIInstances::DownCast(empty).IsValid(), Ifalse);
  // Strict families and every CastAnyway: an empty handle raises.
  EXPECT_THROW(ZORQelIMethod::DownCast(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIParsable::DownCast(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIExpression::DownCast(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIInterface::DownCast(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIWrapperObject::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIType::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIEntity::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIParamDesc::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIAttr::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIInstance::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIInstances::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIMethod::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIParsable::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIExpression::CastAnyway(empty), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIInterface::CastAnyway(empty), ZORQelI::NullPtrAccess);

  // An object outside the dictionary is no wrapper object.
  const ZORQelIObject name = ZORQelIIdentifier(ZORQelI::string("n"));
  EXPECT_THROW(ZORQelIWrapperObject::DownCast(name), ZORQelI::InvalidType);
  EXPECT_EQ(ZORQelIWrapperObject::CastAnyway(name).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIMethod::CastAnyway(name).IsValid(), Ifalse);
  EXPECT_THROW(ZORQelIMethod::DownCast(name), ZORQelI::InvalidType);
}

}  // namespace apitest
