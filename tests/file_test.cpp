// File-name utilities: splitting names, the current directory, names that
// are not UTF-8 (renaming and deleting, with their failures: fault_test).
#include <sys/stat.h>  // mkdir
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "QL0KRN.h"
#include "TestSupport.h"

namespace filetest {

std::string S(const ZORQelI::string& s) { return std::string(static_cast<const char*>(s)); }
std::string Dir(const char* g) { return S(ZORQelIFile::dirname(ZORQelI::string(g))); }

std::string Cwd() {
  char buffer[8192];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

// A fresh temporary directory, removed at the end, and the current directory restored.
class FileTest : public qtest::TempDirTest {
 protected:
  void SetUp() override {
    saved = Cwd();
    TempDirTest::SetUp();
  }
  void TearDown() override {
    ASSERT_EQ(chdir(saved.c_str()), 0);
    TempDirTest::TearDown();
  }
  std::string saved;
};

TEST(FileName, BasenameRadixAndDirnameSplitAtTheLastSeparator) {
  // The base name follows the last separator; its radix drops the last
  // extension; the directory name precedes the separator, or is the current
  // directory (".") when there is none.  nullptr: not checked.
  struct Row {
    const char *name, *base, *radix, *dir;
  };
  const Row rows[] = {
      {"/usr/lib/libx.so", "libx.so", "libx", "/usr/lib"}, {"libx.so", "libx.so", "libx", "."},
      {"dir/", "", nullptr, "dir"}, {"", "", nullptr, "."}, {"/", "", nullptr, nullptr},
      {"/libx.so", nullptr, nullptr, ""}, {"a//b", "b", nullptr, nullptr},
      {"a/b.c/name", "name", "name", "a/b.c"}, {"archive.tar.gz", nullptr, "archive.tar", nullptr},
      {"/home/.profile", nullptr, "", nullptr}, {"README", nullptr, "README", nullptr},
      {"a.b/c.d.e", nullptr, "c.d", nullptr}, {"name.", nullptr, "name", nullptr},
      {"x.gz.gz", nullptr, "x.gz", nullptr},  // only the trailing occurrence goes
      {"/tmp/caf\xC3\xA9.txt", "caf\xC3\xA9.txt", "caf\xC3\xA9", "/tmp"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const ZORQelI::string name(r.name);
    if (r.base) { EXPECT_EQ(S(ZORQelIFile::basename(name)), r.base); }
    if (r.radix) { EXPECT_EQ(S(ZORQelIFile::radix(name)), r.radix); }
    if (r.dir) { EXPECT_EQ(S(ZORQelIFile::dirname(name)), std::string(r.dir) == "." ? Cwd() : r.dir); }
  }
  EXPECT_EQ(static_cast<char>(ZORQelIFile::pathseparator), '/');
  EXPECT_EQ(S(ZORQelIFile::pwd()), Cwd());
}

TEST_F(FileTest, PwdReturnsACurrentDirectoryLongerThan512Bytes) {
  std::string path = dir_;
  const std::string component(100, 'd');
  while (path.size() < 1500) {
    path += "/" + component;
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  }
  ASSERT_EQ(chdir(path.c_str()), 0);
  EXPECT_EQ(S(ZORQelIFile::pwd()), path);
  EXPECT_EQ(Dir("file"), path);
}

TEST_F(FileTest, PwdOfARemovedDirectoryIsEmpty) {
  std::string gone = dir_ + "/gone";
  ASSERT_EQ(mkdir(gone.c_str(), 0700), 0);
  ASSERT_EQ(chdir(gone.c_str()), 0);
  ASSERT_EQ(rmdir(gone.c_str()), 0);
  EXPECT_EQ(S(ZORQelIFile::pwd()), "");
  EXPECT_EQ(Dir("bare"), "");
}

TEST_F(FileTest, NamesThatAreNotUtf8SurviveTheRoundTrip) {
  const std::string file = dir_ + "/latin\xE9.dat";
  std::ofstream(file) << "x";
  ZORQelI::string name(file.c_str());
  EXPECT_EQ(S(ZORQelIFile::basename(name)), "latin\xE9.dat");
  EXPECT_EQ(S(ZORQelIFile::radix(name)), "latin\xE9");
  EXPECT_EQ(S(ZORQelIFile::dirname(name)), dir_);
  EXPECT_EQ(ZORQelIFile::unlink(name), ZORQelI::Itrue);
  EXPECT_NE(access(file.c_str(), F_OK), 0);
}

}  // namespace filetest
