// Duplicate-free instance lists and the deep copy of instance graphs between
// schemas, through the in-memory provider.
#include <gtest/gtest.h>

#include <string>

#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "TestSupport.h"

namespace {

using qtest::Str;
using ZORQelI::Ifalse;
using ZORQelI::Itrue;
using ZORQelI::Mint;

// One schema with a Node entity: name (String), next (Node), points (Array
// [0:1] of Real), tags (List of String), count (Integer), links (Set of Node).
struct Schema {
  ZORQelIModeler m;
  ZORQelIEntity node;
  ZORQelIAttr name, next, points, tags, count, links;
};

Schema MakeSchema(const char* schemaName) {
  Schema s;
  s.m = ZORQelIMemWrapper::Default().NewModeler(ZORQelI::string(schemaName));
  s.node = s.m.MakeEntity("Node");
  s.name = s.node.CreateAttr("name", s.m.MakeString(), Ifalse);
  s.next = s.node.CreateAttr("next", s.node, Itrue);
  s.points = s.node.CreateAttr("points", s.m.MakeArray(s.m.MakeReal(), 0, 1, Ifalse, Ifalse), Itrue);
  s.tags = s.node.CreateAttr("tags", s.m.MakeList(s.m.MakeString(), Mint::UNSET, Mint::UNSET, Ifalse), Itrue);
  s.count = s.node.CreateAttr("count", s.m.MakeInteger(), Ifalse);
  s.links = s.node.CreateAttr("links", s.m.MakeSet(s.node, Mint::UNSET, Mint::UNSET), Itrue);
  return s;
}

ZORQelIInstance MakeNode(const Schema& s, const char* name, int count) {
  ZORQelIInstance n = s.m.Instanciate(ZORQelI::string("Node"));
  n.PutAttr(s.name, s.m.InstanciateString().PutString(ZORQelI::string(name)));
  n.PutAttr(s.count, s.m.GetInstances().InstanciateInteger(count));
  return n;
}

TEST(InstanceList, AddRefusesHeldInstancesAndInstanciateUsesTheTargetOrTheInstancesSchema) {
  Schema src = MakeSchema("ListSrc");
  Schema dst = MakeSchema("ListDst");
  ZORQelIInstance a = MakeNode(src, "a", 1);
  ZORQelIInstanceListUnique list;
  list.Add(a);
  list.Add(a);
  EXPECT_EQ(list.Size(), 1);
  EXPECT_EQ(static_cast<int>(list.Look(a)), 0);
  EXPECT_FALSE(list.Look(MakeNode(src, "b", 2)).IsSet());
  EXPECT_THROW(list.Get(1), ZORQelI::BoundError);
  // Without a target modeler: a new instance in the instance's own schema.
  ZORQelIInstanceListUnique own;
  own.Instanciate(a);
  ASSERT_EQ(own.Size(), 1);
  EXPECT_FALSE(own.Get(0).Equal(a));
  EXPECT_TRUE(own.Get(0).GetType().GetModeler().Equal(src.m));
  EXPECT_EQ(Str(own.Get(0).GetType().Name()), "Node");
  EXPECT_EQ(src.m.GetInstances().Size(), 3);
  // Clear keeps the target modeler.
  list.SetTargetModeler(dst.m);
  list.Clear();
  EXPECT_EQ(list.Size(), 0);
  list.Instanciate(own);
  ASSERT_EQ(list.Size(), 1);
  EXPECT_TRUE(list.Get(0).GetType().GetModeler().Equal(dst.m));
}

class DeepCopy : public ::testing::Test {
 protected:
  DeepCopy() : src(MakeSchema("CopySrc")), dst(MakeSchema("CopyDst")) {}
  // A list of the given instances deep-copied into dst.
  ZORQelIInstanceListUnique CopyToDst(std::initializer_list<ZORQelIInstance> instances) {
    ZORQelIInstanceListUnique source, copy;
    for (const ZORQelIInstance& i : instances) source.Add(i);
    copy.SetTargetModeler(dst.m);
    copy.Copy(source);
    return copy;
  }
  Schema src, dst;
};

TEST_F(DeepCopy, ReferencesAreMappedToTheCopiesAndOutsideOnesNulled) {
  ZORQelIInstance a = MakeNode(src, "a", 1);
  ZORQelIInstance b = MakeNode(src, "b", 2);
  ZORQelIInstance outside = MakeNode(src, "outside", 3);
  a.PutAttr(src.next, b);
  a.GetAttr(src.links).Append(b);
  b.PutAttr(src.next, outside);
  ZORQelIInstanceListUnique copy = CopyToDst({a, b});
  ASSERT_EQ(copy.Size(), 2);
  ZORQelIInstance a2 = copy.Get(0), b2 = copy.Get(1);
  EXPECT_TRUE(a2.GetType().GetModeler().Equal(dst.m));
  EXPECT_EQ(Str(a2.GetAttr(dst.name).GetString()), "a");
  EXPECT_EQ(a2.GetAttr(dst.count).GetInt(), 1);
  // a' refers to b', not to b.
  ZORQelIInstance ref = a2.GetAttr(dst.next);
  ASSERT_EQ(ref.IsValid(), ZORQelI::Itrue);
  EXPECT_EQ(static_cast<int>(ref.GetInstanceId()), static_cast<int>(b2.GetInstanceId()));
  EXPECT_TRUE(dst.m.GetInstances().Look(ref).IsSet());
  EXPECT_TRUE(a2.GetAttr(dst.links).GetInstance(0).Equal(b2));  // in a set too
  // b's reference left the list: nulled.
  EXPECT_EQ(b2.GetAttr(dst.next).IsValid(), ZORQelI::Ifalse);
}

TEST_F(DeepCopy, AggregatesAreCopiedByPositionOrByAppending) {
  ZORQelIInstance a = MakeNode(src, "a", 1);
  ZORQelIInstance points = src.m.Instanciate(src.points.GetType());
  points.PutInstance(0, src.m.GetInstances().InstanciateReal(1.5));
  points.PutInstance(1, src.m.GetInstances().InstanciateReal(-2));
  a.PutAttr(src.points, points);
  ZORQelIInstance tags = src.m.Instanciate(src.tags.GetType());
  for (const char* t : {"x", "y"}) tags.Append(src.m.GetInstances().InstanciateString(ZORQelI::string(t)));
  a.PutAttr(src.tags, tags);
  ZORQelIInstance a2 = CopyToDst({a}).Get(0);
  ZORQelIExpressForm printer;
  printer.PrintLong(a2);
  EXPECT_EQ(Str(printer.Get()),
            "#" + std::to_string(static_cast<int>(a2.GetInstanceId())) +
                "=Node('a',$,(1.500000,-2.000000),('x','y'),1,$);\n");
}

TEST_F(DeepCopy, CopyOntoItselfChangesNothing) {
  ZORQelIInstanceListUnique list;
  list.Add(MakeNode(src, "a", 1));
  int before = src.m.GetInstances().Size();
  list.Copy(list);
  EXPECT_EQ(list.Size(), 1);
  EXPECT_EQ(src.m.GetInstances().Size(), before);
}

TEST_F(DeepCopy, AShorterSourceRaisesBoundErrorAfterTheEarlierPositions) {
  ZORQelIInstanceListUnique source;
  source.Add(MakeNode(src, "a", 7));
  ZORQelIInstanceListUnique target;
  target.Add(MakeNode(dst, "t0", 0));
  target.Add(MakeNode(dst, "t1", 0));
  EXPECT_THROW(target.CopyInstances(source), ZORQelI::BoundError);
  EXPECT_EQ(target.Get(0).GetAttr(dst.count).GetInt(), 7);
  EXPECT_EQ(Str(target.Get(1).GetAttr(dst.name).GetString()), "t1");
}

// (Nested aggregates, which the copy refuses half-way: fault_test.)

TEST(InstanceList, LookStaysRightWhenASharingCloneChangesTheList) {
  Schema s = MakeSchema("LookShared");
  ZORQelIInstance a = MakeNode(s, "a", 1), b = MakeNode(s, "b", 2), c = MakeNode(s, "c", 3);
  ZORQelIInstanceListUnique first;
  first.Add(a);
  first.Add(b);
  EXPECT_EQ(static_cast<int>(first.Look(b)), 1);  // positions now known
  // A clone shares the list: changes made through it must be seen.
  ZORQelIInstanceListUnique second(static_cast<ZORQelIInstanceListUniqueIMP*>(first.IMP()->Clone()));
  second.Clear();
  second.Add(c);
  second.Add(a);
  EXPECT_FALSE(first.Look(b).IsSet());
  EXPECT_EQ(static_cast<int>(first.Look(c)), 0);
  EXPECT_EQ(static_cast<int>(first.Look(a)), 1);
  // A reference (an attribute's value cell) is found as the instance it
  // refers to.
  b.PutAttr(s.next, c);
  EXPECT_EQ(static_cast<int>(first.Look(b.GetAttr(s.next))), 0);
  EXPECT_THROW(first.Look(ZORQelIInstance()), ZORQelI::NullPtrAccess);
}

}  // namespace
