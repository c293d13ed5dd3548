// Faults from outside (bad file names and directories, a raising view, printer or copy):
// the library keeps working and a collection returns the object count to where it was.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "TestSupport.h"

namespace faulttest {

using qtest::CollectAll;
using ZORQelI::Ifalse;
using ZORQelI::Itrue;
using ZORQelI::Mint;

ZORQelI::string S(const std::string& s) { return ZORQelI::string(s.c_str()); }

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Runs f, which must report Ifalse with errno set to `expected`.
template <class F>
void ExpectFails(F f, int expected) {
  errno = 0;
  EXPECT_EQ(f(), Ifalse);
  EXPECT_EQ(errno, expected);
}

class FileFault : public qtest::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    file_ = dir_ + "/present";
    std::ofstream(file_) << "content";
  }
  static std::string LongName() { return std::string(NAME_MAX + 10, 'n'); }  // too long anywhere
  std::string file_;
};

TEST_F(FileFault, RenameAndUnlinkReportMissingDirectoriesAndLongNames) {
  const std::string missing = dir_ + "/missing/file";
  ExpectFails([&] { return ZORQelIFile::rename(S(missing), S(dir_ + "/moved")); }, ENOENT);
  ExpectFails([&] { return ZORQelIFile::rename(S(file_), S(missing)); }, ENOENT);
  ExpectFails([&] { return ZORQelIFile::unlink(S(missing)); }, ENOENT);

  const std::string tooLong = dir_ + "/" + LongName();
  ExpectFails([&] { return ZORQelIFile::rename(S(file_), S(tooLong)); }, ENAMETOOLONG);
  ExpectFails([&] { return ZORQelIFile::unlink(S(tooLong)); }, ENAMETOOLONG);

  ExpectFails([&] { return ZORQelIFile::unlink(S(dir_)); }, EISDIR);
  ExpectFails([&] { return ZORQelIFile::rename(S(""), S(dir_ + "/moved")); }, ENOENT);

  // Nothing was touched, and the same calls work once on good names (and only once).
  EXPECT_EQ(ZORQelIFile::rename(S(file_), S(dir_ + "/moved")), Itrue);
  ExpectFails([&] { return ZORQelIFile::rename(S(file_), S(dir_ + "/moved")); }, ENOENT);
  EXPECT_EQ(ZORQelIFile::unlink(S(dir_ + "/moved")), Itrue);
  ExpectFails([&] { return ZORQelIFile::unlink(S(dir_ + "/moved")); }, ENOENT);
}

TEST_F(FileFault, SaveReportsBadNamesWithoutRaisingAndReadOnlyDirectoriesRefuseEverything) {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler(S("Faults"));
  m.MakeEntity("Thing");
  EXPECT_EQ(m.Save(S(dir_ + "/" + LongName())), Ifalse);
  EXPECT_EQ(m.Save(S(dir_ + "/missing/schema.exp")), Ifalse);
  if (::geteuid() != 0) {  // permissions do not stop the superuser
    ASSERT_EQ(::chmod(dir_.c_str(), 0500), 0);
    ExpectFails([&] { return ZORQelIFile::rename(S(file_), S(dir_ + "/moved")); }, EACCES);
    ExpectFails([&] { return ZORQelIFile::unlink(S(file_)); }, EACCES);
    EXPECT_EQ(m.Save(S(dir_ + "/schema.exp")), Ifalse);
    EXPECT_FALSE(Exists(dir_ + "/schema.exp"));
    EXPECT_TRUE(Exists(file_));
    ASSERT_EQ(::chmod(dir_.c_str(), 0700), 0);
  }
  EXPECT_EQ(m.Save(S(dir_ + "/schema.exp")), Itrue);
  EXPECT_TRUE(Exists(dir_ + "/schema.exp"));
}

// Each of these ends with the object count back where it started.
using ViewFault = qtest::CountedTest;
using PrintFault = qtest::CountedTest;
using CopyFault = qtest::CountedTest;

TEST_F(ViewFault, ARaisingViewEndsTheFanOutAndLeavesTheObserverUsable) {
  std::vector<int> served;
  int finalized = 0;
  {
    ZORQelIObserver observer;
    bool raise = true;  // view 2 raises while set
    ZORQelIViewIMP* faulty = nullptr;  // not a root: only the observer holds it
    for (int i = 0; i < 5; ++i) {
      ZORQelIView v(new qtest::FnViewIMP(
          [&, i](qtest::Notice kind, ZORQelIObject) {
            if (kind != qtest::Notice::Updated) return;
            if (i == 2 && raise) throw std::runtime_error("view failed");
            served.push_back(i);
          },
          &finalized));
      if (i == 2) faulty = v.IMP();
      observer.AddView(v);
    }
    EXPECT_THROW(observer.NotifyUpdate(ZORQelIObject()), std::runtime_error);
    EXPECT_EQ(served, (std::vector<int>{0, 1}));

    CollectAll();  // keeps every view: the observer is intact
    EXPECT_EQ(finalized, 0);
    EXPECT_EQ(observer.NumberOfView(), 5);

    raise = false;
    served.clear();
    observer.NotifyUpdate(ZORQelIObject());
    EXPECT_EQ(served, (std::vector<int>{0, 1, 2, 3, 4}));
    observer.RemoveView(ZORQelIView(faulty));
    EXPECT_EQ(observer.NumberOfView(), 4);
  }
  CollectAll();
  EXPECT_EQ(finalized, 5);
}

class FaultyTextIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(FaultyTextIMP, ZORQelIObjectIMP)
 public:
  explicit FaultyTextIMP(int v) : value(v) {}
  ZORQelIObjectIMP* Clone() const override { return new FaultyTextIMP(*this); }
  void Text(ZORQelIPrint& ot) const override {
    if (raise) throw std::runtime_error("cannot print");
    ot.Print(static_cast<ZORQelI::integer>(value));
  }
  int value;
  bool raise = false;
};
ZORQELI_DEFINE_IMP(FaultyTextIMP, ZORQelIObjectIMP)

std::string Rendered(const ZORQelIArray& a) {
  ZORQelIExpressForm out;
  a.Text(out);
  return static_cast<const char*>(out.Get());
}

TEST_F(PrintFault, AnElementRaisingMidArrayLeavesStreamAndArrayUsable) {
  ZORQelIArray a(4);
  FaultyTextIMP* faulty = nullptr;
  for (int i = 0; i < 6; ++i) {
    auto* e = new FaultyTextIMP(100 + i);
    if (i == 3) faulty = e;
    a.Add(ZORQelIObject(e));
  }
  const std::string whole = Rendered(a);
  ASSERT_NE(whole.find("105"), std::string::npos);

  ZORQelIExpressForm out;
  faulty->raise = true;
  EXPECT_THROW(a.Text(out), std::runtime_error);
  // What was written is the start of the whole text, up to the faulty element.
  const std::string partial = static_cast<const char*>(out.Get());
  EXPECT_EQ(whole.compare(0, partial.size(), partial), 0);
  EXPECT_EQ(partial.find("103"), std::string::npos);
  EXPECT_NE(partial.find("102"), std::string::npos);

  CollectAll();
  faulty->raise = false;
  out.Start();
  a.Text(out);
  EXPECT_EQ(std::string(static_cast<const char*>(out.Get())), whole);
  EXPECT_EQ(a.Size(), 6);
}

TEST_F(CopyFault, ACopyThatRaisesHalfWayLeavesNothingBehindOnceCollected) {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler(S("CopyFault"));
  ZORQelIType ints = m.MakeList(m.MakeInteger(), Mint::UNSET, Mint::UNSET, Ifalse);
  ZORQelIType lists = m.MakeList(ints, Mint::UNSET, Mint::UNSET, Ifalse);
  ZORQelIEntity holder = m.MakeEntity("Holder");
  ZORQelIAttr first = holder.CreateAttr("first", m.MakeInteger(), Ifalse);
  ZORQelIAttr deep = holder.CreateAttr("deep", lists, Ifalse);

  ZORQelIInstanceListUnique source;
  for (int i = 0; i < 50; ++i)
    source.Add(m.Instanciate(S("Holder")).PutAttr(first, m.GetInstances().InstanciateInteger(i)));
  ZORQelIInstance outer = m.Instanciate(lists);  // a list of lists: the copy cannot take it
  outer.Append(m.Instanciate(ints));
  source.Get(49).PutAttr(deep, outer);

  ZORQelIInstanceListUnique copy;
  try {
    copy.Copy(source);
    ADD_FAILURE() << "a nested aggregate must raise";
  } catch (ZORQelI::NotYetImplemented& e) {
    EXPECT_STREQ(e.GetFile(), "QelInfrastructure/QL0KRN.m/src/ZORQelIInstanceCopy");
    EXPECT_EQ(e.GetLine(), 51);
  }
  ASSERT_EQ(copy.Size(), 50);
  for (int i = 0; i < 50; ++i) ASSERT_EQ(copy.Get(i).GetAttr(first).GetInt(), i);  // and the faulty one's first

  CollectAll();  // the half-made copies and the source survive while held
  EXPECT_EQ(source.Get(7).GetAttr(first).GetInt(), 7);
  EXPECT_EQ(copy.Get(7).GetAttr(first).GetInt(), 7);

  ZORQelIInstanceListUnique good, again;  // without the faulty element the copy goes through
  for (int i = 0; i < 49; ++i) good.Add(source.Get(i));
  again.Copy(good);
  EXPECT_EQ(again.Size(), 49);
  EXPECT_EQ(again.Get(48).GetAttr(first).GetInt(), 48);
}

}  // namespace faulttest
