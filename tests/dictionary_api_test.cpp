// The dictionary and behaviour API as a provider sees it: the provider of
// DictionaryDoubles.h (which overrides exactly the abstract operations) used
// through the handles alone (its dictionary families also in
// dictionary_test); the order of the virtual operations, the class
// descriptors, and the casts across the families.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "DictionaryDoubles.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace apitest {

using namespace doubles;
using qtest::CollectAll;

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

TEST_F(ApiTest, BehaviourThroughTheHandlesAndADroppedSchemaIsReclaimed) {
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
    ZORQelIModeler m(new Modeler(provider, "geometry"));
    m.AddView(ZORQelIView(new Counter(&created)));
    ZORQelIEntity shape = m.MakeEntity("Shape");
    m.GetInstances().Instanciate(shape);
    ZORQelIInterface api(new Interface(provider, "api"));
    api.SetDictionaryWrapper(provider);
    EXPECT_EQ(static_cast<Interface*>(api.IMP())->dictionary, &provider);
    ZORQelIType real = m.MakeReal();
    ZORQelIMethod area = api.MakeMethod(shape, "area", real);
    area.MakeParam("scale", Itrue, Ifalse, real);
    EXPECT_EQ(api.MakeFunction("sqrt", real).IsMethod(), Ifalse);
    EXPECT_EQ(area.IsMethod(), Itrue);
    EXPECT_EQ(area.ImplementsEntity().Equal(shape), Itrue);
    EXPECT_EQ(api.SearchMethod(shape, "area", real).Equal(area), Itrue);
    EXPECT_EQ(area.GetParam(0).IsIn(), Itrue);

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
    EXPECT_EQ(api.GetNumberOfMethods(), 1);  // the function is left
  }
  EXPECT_EQ(created, 1);  // views heard of the new entity
  CollectAll();
  EXPECT_EQ(ZORQelIObjectIMP::GetInstancesCount__(), before);
}

// --- Casts across the families -----------------------------------------------------------

TEST_F(ApiTest, CastsFollowTheFamilyTree) {
  ZORQelIModeler m(new Modeler(provider, "m"));
  // An attribute is a parameter, a parameter is not an attribute.
  const ZORQelIObject attr = m.MakeEntity("E").CreateAttr("a", m.MakeInteger(), Ifalse);
  const ZORQelIObject param(new Param(provider, "p"));
  EXPECT_EQ(ZORQelIParamDesc::DownCast(attr).Equal(attr), Itrue);
  EXPECT_EQ(ZORQelIParamDesc::CastAnyway(attr).Equal(attr), Itrue);
  EXPECT_EQ(ZORQelIWrapperObject::DownCast(attr).Equal(attr), Itrue);
  EXPECT_THROW(ZORQelIAttr::DownCast(param), ZORQelI::InvalidType);
  EXPECT_EQ(ZORQelIAttr::CastAnyway(param).IsValid(), Ifalse);
  // An interface is a parsable but not an expression.
  const ZORQelIObject api(new Interface(provider, "api"));
  EXPECT_EQ(ZORQelIParsable::DownCast(api).Equal(api), Itrue);
  EXPECT_EQ(ZORQelIInterface::DownCast(api).Equal(api), Itrue);
  EXPECT_THROW(ZORQelIExpression::DownCast(api), ZORQelI::InvalidType);
  EXPECT_EQ(ZORQelIExpression::CastAnyway(api).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIParsable::CastAnyway(ZORQelIObject(new Expression(provider, "x"))).IsValid(), Itrue);
  // An entity is a type, a type is not an entity.
  const ZORQelIObject entity = m.GetEntity(0);
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
  for (ZORQelI::boolean valid :
       {ZORQelIWrapperObject::DownCast(empty).IsValid(), ZORQelIType::DownCast(empty).IsValid(),
        ZORQelIEntity::DownCast(empty).IsValid(), ZORQelIParamDesc::DownCast(empty).IsValid(),
        ZORQelIAttr::DownCast(empty).IsValid(), ZORQelIModeler::DownCast(empty).IsValid(),
        ZORQelIInstance::DownCast(empty).IsValid(), ZORQelIInstances::DownCast(empty).IsValid()})
    EXPECT_EQ(valid, Ifalse);
  // Strict families and every CastAnyway: an empty handle raises.
  const std::vector<std::function<void()>> raising = {
      [&] { ZORQelIMethod::DownCast(empty); },        [&] { ZORQelIParsable::DownCast(empty); },
      [&] { ZORQelIExpression::DownCast(empty); },    [&] { ZORQelIInterface::DownCast(empty); },
      [&] { ZORQelIWrapperObject::CastAnyway(empty); }, [&] { ZORQelIType::CastAnyway(empty); },
      [&] { ZORQelIEntity::CastAnyway(empty); },      [&] { ZORQelIParamDesc::CastAnyway(empty); },
      [&] { ZORQelIAttr::CastAnyway(empty); },        [&] { ZORQelIInstance::CastAnyway(empty); },
      [&] { ZORQelIInstances::CastAnyway(empty); },   [&] { ZORQelIMethod::CastAnyway(empty); },
      [&] { ZORQelIParsable::CastAnyway(empty); },    [&] { ZORQelIExpression::CastAnyway(empty); },
      [&] { ZORQelIInterface::CastAnyway(empty); }};
  for (std::size_t i = 0; i < raising.size(); ++i)
    EXPECT_THROW(raising[i](), ZORQelI::NullPtrAccess) << "cast " << i;

  // An object outside the dictionary is no wrapper object.
  const ZORQelIObject name = ZORQelIIdentifier(ZORQelI::string("n"));
  EXPECT_THROW(ZORQelIWrapperObject::DownCast(name), ZORQelI::InvalidType);
  EXPECT_EQ(ZORQelIWrapperObject::CastAnyway(name).IsValid(), Ifalse);
  EXPECT_EQ(ZORQelIMethod::CastAnyway(name).IsValid(), Ifalse);
  EXPECT_THROW(ZORQelIMethod::DownCast(name), ZORQelI::InvalidType);
}

}  // namespace apitest
