// Class descriptors and casts on a hierarchy of the test's own: ShapeIMP (CircleIMP (RingIMP),
// SquareIMP) and LoneIMP below ZORQelIObjectIMP; a lenient handle family (ZORTestShape) and a
// strict one below it (ZORTestCircle), both with CastAnyway.
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace classtest {

using qtest::RaisedText;

const std::string kInvalidType = qtest::InvalidText("ZORQelIObjectIMP", 199);
const std::string kEmpty93 = qtest::NullText("ZORQelIObject", 93);

class ShapeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ShapeIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new ShapeIMP(*this); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(ZORQelI::string(__CLASSNAME__)); }
};
ZORQELI_DEFINE_IMP(ShapeIMP, ZORQelIObjectIMP)

#define CLASSTEST_SHAPE(This, Super)                                                  \
  class This : public Super {                                                         \
    ZORQELI_DECLARE_IMP(This, Super)                                                  \
   public:                                                                            \
    ZORQelIObjectIMP* Clone() const override { return new This(*this); }              \
  };                                                                                  \
  ZORQELI_DEFINE_IMP(This, Super)
CLASSTEST_SHAPE(CircleIMP, ShapeIMP)
CLASSTEST_SHAPE(RingIMP, CircleIMP)
CLASSTEST_SHAPE(SquareIMP, ShapeIMP)

class LoneIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(LoneIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new LoneIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
};
ZORQELI_DEFINE_IMP(LoneIMP, ZORQelIObjectIMP)

// A class that forgets to declare its own identity: casts see it as its base.
class AnonymousCircleIMP : public CircleIMP {
 public:
  ZORQelIObjectIMP* Clone() const override { return new AnonymousCircleIMP(*this); }
};

class ZORTestShape : public ZORQelIObject {
  ZORQELI_DECLARE_HANDLE(ZORTestShape, ShapeIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORTestShape)
};
ZORQELI_DEFINE_HANDLE(ZORTestShape, ZORQelIObject, ShapeIMP)
ZORQELI_DEFINE_EMPTY_CONSTRUCTOR(ZORTestShape, ZORQelIObject)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORTestShape, ShapeIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORTestShape, ShapeIMP)

class ZORTestCircle : public ZORTestShape {
  ZORQELI_DECLARE_HANDLE(ZORTestCircle, CircleIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORTestCircle)
};
ZORQELI_DEFINE_HANDLE(ZORTestCircle, ZORTestShape, CircleIMP)
ZORQELI_DEFINE_EMPTY_CONSTRUCTOR(ZORTestCircle, ZORTestShape)
ZORQELI_DEFINE_STRICT_DOWNCAST(ZORTestCircle, CircleIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORTestCircle, CircleIMP)

using ClassTest = qtest::CollectedTest;

TEST_F(ClassTest, DescriptorsAreMadeOnceNamedAndHungBelowTheirSuperClass) {
  // Asking for the deepest class first builds its super classes on demand.
  const ZORQelIClass& ring = RingIMP::ClassId();
  EXPECT_EQ(&RingIMP::ClassId(), &ring);
  EXPECT_EQ(ring.SuperClass(), &CircleIMP::ClassId());
  EXPECT_EQ(ZORQelIObjectIMP::ClassId().SuperClass(), nullptr);
  EXPECT_EQ(std::string(ZORQelIDumbIMP::ClassId().Text()), "ZORQelIDumbIMP subtype of ZORQelIObjectIMP");
  EXPECT_EQ(std::string(ring.Text()),
            "RingIMP subtype of CircleIMP subtype of ShapeIMP subtype of ZORQelIObjectIMP");
  // Objects report their own class; one that declares none reports its base's.
  ZORQelIObject r(new RingIMP()), lone(new LoneIMP()), anonymous(new AnonymousCircleIMP());
  EXPECT_EQ(&r.RefMe()->Id(), &ring);
  EXPECT_EQ(&lone.RefMe()->Id(), &LoneIMP::ClassId());
  EXPECT_EQ(&anonymous.RefMe()->Id(), &CircleIMP::ClassId());
}

TEST_F(ClassTest, KindOfHoldsDownwardAndForItselfOnly) {
  const ZORQelIClass& shape = ShapeIMP::ClassId();
  const ZORQelIClass& ring = RingIMP::ClassId();
  const ZORQelIClass& square = SquareIMP::ClassId();
  EXPECT_EQ(shape.IsAKindOf(&ring), ZORQelI::Itrue);  // a ring is a shape
  EXPECT_EQ(ring.IsAKindOf(&shape), ZORQelI::Ifalse);
  EXPECT_EQ(ring.IsAKindOf(&ring), ZORQelI::Itrue);
  EXPECT_EQ(ZORQelIObjectIMP::ClassId().IsAKindOf(&square), ZORQelI::Itrue);
  EXPECT_EQ(CircleIMP::ClassId().IsAKindOf(&square), ZORQelI::Ifalse);  // siblings
  EXPECT_EQ(shape.IsAKindOf(&LoneIMP::ClassId()), ZORQelI::Ifalse);
  EXPECT_EQ(shape.IsAKindOf(nullptr), ZORQelI::Ifalse);
}

TEST_F(ClassTest, DescriptorsWithEqualNamesAreDifferentClasses) {
  static const ZORQelIClass& twin = ZORQelIObjectIMP::NewClassId(ShapeIMP::ClassId(), "CircleIMP");
  EXPECT_NE(&twin, &CircleIMP::ClassId());
  EXPECT_EQ(std::string(twin.Text()), std::string(CircleIMP::ClassId().Text()));
  EXPECT_EQ(twin.IsAKindOf(&RingIMP::ClassId()), ZORQelI::Ifalse);
  EXPECT_EQ(CircleIMP::ClassId().IsAKindOf(&twin), ZORQelI::Ifalse);
  EXPECT_EQ(ShapeIMP::ClassId().IsAKindOf(&twin), ZORQelI::Itrue);

  static const ZORQelIClass& orphan =
      ZORQelIObjectIMP::NewClassId(static_cast<const ZORQelIClass*>(nullptr), "Orphan");
  EXPECT_EQ(orphan.SuperClass(), nullptr);
  EXPECT_EQ(std::string(orphan.Text()), "Orphan");
  EXPECT_EQ(ZORQelIObjectIMP::ClassId().IsAKindOf(&orphan), ZORQelI::Ifalse);
}

TEST_F(ClassTest, DescriptorMadeItsOwnSuperClassRaisesHierarchyLoop) {
  alignas(ZORQelIClass) unsigned char storage[sizeof(ZORQelIClass)] = {};
  auto* self = reinterpret_cast<ZORQelIClass*>(storage);
  EXPECT_EQ(RaisedText<ZORQelI::Exception>([&] { new (self) ZORQelIClass(self, "Loop"); }),
            "ZORQelI::Exception : QelInfrastructure/QL0KRN.m/src/ZORQelIClass 44: "
            "Hierarchy loop in Loop\n");
}

TEST_F(ClassTest, MatchAcceptsTheClassAndItsSuperClassesAndSafeMatchRaisesOtherwise) {
  const ZORQelIObject ring(new RingIMP()), circle(new CircleIMP());
  EXPECT_EQ(ring.RefMe()->Match(RingIMP::ClassId()), ZORQelI::Itrue);
  EXPECT_EQ(ring.RefMe()->Match(ShapeIMP::ClassId()), ZORQelI::Itrue);
  EXPECT_EQ(ring.RefMe()->Match(SquareIMP::ClassId()), ZORQelI::Ifalse);
  EXPECT_EQ(circle.RefMe()->Match(RingIMP::ClassId()), ZORQelI::Ifalse);
  EXPECT_NO_THROW(circle.RefMe()->SafeMatch(ShapeIMP::ClassId()));
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { circle.RefMe()->SafeMatch(RingIMP::ClassId()); }),
            kInvalidType);
}

TEST_F(ClassTest, CastOfEmptyIsNullOfWrongClassRaisesOfRightClassIsTheObject) {
  EXPECT_EQ(ZORQelIObjectIMP::Cast__(ZORQelIObject(), ShapeIMP::ClassId()), nullptr);
  ZORQelIObject square(new SquareIMP());
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { ZORQelIObjectIMP::Cast__(square, CircleIMP::ClassId()); }),
            kInvalidType);
  EXPECT_EQ(ZORQelIObjectIMP::Cast__(square, ShapeIMP::ClassId()), square.RefMe());
  // The implementation classes' own DownCast is the same test.
  EXPECT_EQ(SquareIMP::DownCast(square), square.RefMe());
  EXPECT_EQ(CircleIMP::DownCast(ZORQelIObject()), nullptr);
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { CircleIMP::DownCast(square); }), kInvalidType);
}

TEST_F(ClassTest, HandleDownCastsLenientOrStrictOnEmptyAndCastAnywayGivesEmptyForAWrongClass) {
  ZORQelIObject ring(new RingIMP()), square(new SquareIMP()), lone(new LoneIMP()), empty;
  EXPECT_EQ(ZORTestShape::DownCast(ring).IMP(), ring.RefMe());  // lenient: empty for empty
  EXPECT_EQ(ZORTestShape::DownCast(empty).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { ZORTestShape::DownCast(lone); }), kInvalidType);
  EXPECT_EQ(ZORTestCircle::DownCast(ring).IMP(), ring.RefMe());  // strict: raises for empty
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { ZORTestCircle::DownCast(empty); }), kEmpty93);
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { ZORTestCircle::DownCast(square); }), kInvalidType);
  EXPECT_EQ(ZORTestCircle::CastAnyway(ring).IMP(), ring.RefMe());
  EXPECT_EQ(ZORTestShape::CastAnyway(lone).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(ZORTestCircle::CastAnyway(square).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { ZORTestShape::CastAnyway(empty); }), kEmpty93);
}

}  // namespace classtest
