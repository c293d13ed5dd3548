// The dictionary and behaviour API as a provider sees it (DictionaryDoubles.h
// through the handles): operation slots, class descriptors, empty handles.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DictionaryDoubles.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace apitest {

using namespace doubles;

// Each test ends with the object count back where it started: a dropped
// schema is reclaimed.
class ApiTest : public qtest::CountedTest {
 protected:
  Provider provider{"memory"};
};

#if defined(__GNUC__)
// The vtable slot of a virtual function: its Itanium ABI member pointer holds offset + 1.
template <class F>
std::ptrdiff_t Slot(F f) {
  static_assert(sizeof(F) == 2 * sizeof(std::uintptr_t), "Itanium member pointer");
  std::uintptr_t words[2];
  std::memcpy(words, &f, sizeof words);
  EXPECT_EQ(words[0] & 1u, 1u) << "not a virtual function";
  return static_cast<std::ptrdiff_t>((words[0] - 1) / sizeof(void*));
}

#define OV(Class, Result, Name, Params) static_cast<Result (Class::*) Params>(&Class::Name)

// A provider built against these headers works only while the slots stay: the
// first and last operation of each family pin its block.
TEST(ApiOrder, EachFamilyKeepsTheSlotsOfItsFirstAndLastOperation) {
  using T = ZORQelITypeIMP;
  using E = ZORQelIEntityIMP;
  using I = ZORQelIInstanceIMP;
  using F = ZORQelIInterfaceIMP;
  const std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> slots = {
      {Slot(&ZORQelIObjectIMP::Finalizer), 9},
      {Slot(&ZORQelIWrapperObjectIMP::Wrapper), 10},
      {Slot(&ZORQelIWrapperObjectIMP::Rename), 12},
      {Slot(&T::IsA), 13},
      {Slot(OV(T, void, UpperBound, (ZORQelI::Mint))), 31},
      {Slot(OV(E, ZORQelI::Mint, Width, () const)), 20},  // replaces, adds no slot
      {Slot(&E::NumberOfAttributes), 32},
      {Slot(OV(E, void, Super, (ZORQelIEntity))), 40},
      {Slot(&ZORQelIParamDescIMP::IsIn), 13},
      {Slot(&ZORQelIParamDescIMP::SetOptional), 20},
      {Slot(&ZORQelIAttrIMP::Parent), 21},
      {Slot(&ZORQelIAttrIMP::IsInverse), 22},
      {Slot(&ZORQelIMethodIMP::SetVisibility), 13},
      {Slot(&ZORQelIMethodIMP::IsMethod), 25},
      {Slot(&ZORQelIModelerIMP::Parent), 13},
      {Slot(&ZORQelIModelerIMP::RemoveView), 29},
      {Slot(&ZORQelIInstancesIMP::InstanciateString), 13},
      {Slot(&ZORQelIInstancesIMP::Size), 25},
      {Slot(&I::HashCode), 7},
      {Slot(&I::GetType), 13},
      {Slot(OV(I, ZORQelIInstance, GetAttr, (ZORQelI::string) const)), 33},
      {Slot(&I::CreateProxy), 42},
      {Slot(&ZORQelIParsableIMP::Load), 13},
      {Slot(&ZORQelIParsableIMP::Eval), 19},
      {Slot(&ZORQelIExpressionIMP::CreateParam), 20},
      {Slot(&ZORQelIExpressionIMP::SetInterface), 30},
      {Slot(&F::SetDictionaryWrapper), 20},
      {Slot(OV(F, ZORQelIMethod, SearchMethod, (ZORQelI::string) const)), 28},
      {Slot(&F::Use), 39},
      {Slot(&ZORQelIWrapper::NewModeler), 0},
      {Slot(&ZORQelIWrapper::Owns), 3},
      {Slot(&ZORQelIWalker::Walk), 0}};
  for (std::size_t i = 0; i < slots.size(); ++i)
    EXPECT_EQ(slots[i].first, slots[i].second) << "entry " << i;
}
#endif

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

TEST_F(ApiTest, BehaviourThroughTheHandlesAndADroppedSchemaIsReclaimed) {
  ZORQelIModeler m(new Modeler(provider, "geometry"));
  ZORQelIEntity shape = m.MakeEntity("Shape");
  m.GetInstances().Instanciate(shape);
  ZORQelIType real = m.MakeReal();
  ZORQelIMethod area(new Method(provider, "area", shape));
  area.MakeParam("scale", Itrue, Ifalse, real);

  // Visibility codes (public and private: mem_schema_test).
  area.SetProtected();
  EXPECT_EQ(area.IsProtected(), Itrue);
  EXPECT_EQ(area.IsPrivate(), Ifalse);
  area.SetPublic();
  EXPECT_EQ(area.IsPublic(), Itrue);
  area.IMP()->SetVisibility(7);
  EXPECT_EQ(area.IsPublic() | area.IsPrivate() | area.IsProtected(), Ifalse);

  // Expressions and parsable units.
  ZORQelIExpression call(new Expression(provider, "area"));
  static_cast<Expression*>(call.IMP())->method = area;
  call.AddParam(call.CreateParam("scale", Itrue, Ifalse, real));
  EXPECT_EQ(call.GetMethod().Equal(area), Itrue);
  EXPECT_EQ(area.Match(call), Itrue);
  EXPECT_EQ(call.Copy().GetNumberOfParam(), 1);
  ZORQelIParsable unit(new Expression(provider, "unit"));
  EXPECT_EQ(unit.Parse("api.txt"), Ifalse);
  ASSERT_EQ(unit.NumberOfErrors(), 1);
  EXPECT_EQ(std::string(unit.GetError(0).GetMessage()), "unexpected end in api.txt");
  EXPECT_EQ(unit.GetError(0).GetPosition(), 12);
  EXPECT_EQ(ZORQelIErrorClass().GetPosition(), INT32_MIN);
}

// (Casts of a wrong class: class_test.  Here: which families accept empty handles.)
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
