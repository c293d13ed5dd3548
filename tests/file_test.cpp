// File-name utilities: splitting names, the current directory, renaming and
// deleting real files.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "QL0KRN.h"

namespace filetest {

std::string S(const ZORQelI::string& s) { return std::string(static_cast<const char*>(s)); }
std::string Base(const char* g) { return S(ZORQelIFile::basename(ZORQelI::string(g))); }
std::string Radix(const char* g) { return S(ZORQelIFile::radix(ZORQelI::string(g))); }
std::string Dir(const char* g) { return S(ZORQelIFile::dirname(ZORQelI::string(g))); }

std::string Cwd() {
  char buffer[8192];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// A fresh temporary directory, removed (with what the test left) at the end,
// and the current directory restored.
class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = Cwd();
    char pattern[] = "/tmp/ql0krn_file_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    ASSERT_EQ(chdir(saved.c_str()), 0);
    std::string command = "rm -rf '" + dir + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  std::string Touch(const std::string& name) {
    std::string path = dir + "/" + name;
    std::ofstream(path) << "x";
    return path;
  }

  std::string saved;
  std::string dir;
};

TEST(FileName, BasenameIsTheTextAfterTheLastSeparator) {
  EXPECT_EQ(Base("/usr/lib/libx.so"), "libx.so");
  EXPECT_EQ(Base("libx.so"), "libx.so");
  EXPECT_EQ(Base("dir/"), "");
  EXPECT_EQ(Base(""), "");
  EXPECT_EQ(Base("/"), "");
  EXPECT_EQ(Base("a//b"), "b");
  EXPECT_EQ(Base("/tmp/caf\xC3\xA9.txt"), "caf\xC3\xA9.txt");
  EXPECT_EQ(static_cast<char>(ZORQelIFile::pathseparator), '/');
}

TEST(FileName, RadixDropsTheLastExtensionOfTheBaseName) {
  EXPECT_EQ(Radix("/usr/lib/libx.so"), "libx");
  EXPECT_EQ(Radix("a/b.c/name"), "name");
  EXPECT_EQ(Radix("archive.tar.gz"), "archive.tar");
  EXPECT_EQ(Radix("/home/.profile"), "");
  EXPECT_EQ(Radix("README"), "README");
  EXPECT_EQ(Radix("a.b/c.d.e"), "c.d");
  EXPECT_EQ(Radix("x.gz.gz"), "x.gz");  // only the trailing occurrence goes
  EXPECT_EQ(Radix("name."), "name");
  EXPECT_EQ(Radix("/tmp/caf\xC3\xA9.txt"), "caf\xC3\xA9");
}

TEST(FileName, DirnameIsTheTextBeforeTheLastSeparatorOrTheCurrentDirectory) {
  EXPECT_EQ(Dir("/usr/lib/libx.so"), "/usr/lib");
  EXPECT_EQ(Dir("/libx.so"), "");
  EXPECT_EQ(Dir("dir/"), "dir");
  EXPECT_EQ(Dir("a/b.c/name"), "a/b.c");
  EXPECT_EQ(Dir("libx.so"), Cwd());
  EXPECT_EQ(Dir(""), Cwd());
  EXPECT_EQ(S(ZORQelIFile::pwd()), Cwd());
}

TEST_F(FileTest, PwdReturnsACurrentDirectoryLongerThan512Bytes) {
  std::string path = dir;
  const std::string component(100, 'd');
  while (path.size() < 1500) {
    path += "/" + component;
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  }
  ASSERT_EQ(chdir(path.c_str()), 0);
  std::string pwd = S(ZORQelIFile::pwd());
  EXPECT_EQ(pwd.size(), path.size());
  EXPECT_EQ(pwd, path);
  EXPECT_EQ(Dir("file"), path);
}

TEST_F(FileTest, PwdOfARemovedDirectoryIsEmpty) {
  std::string gone = dir + "/gone";
  ASSERT_EQ(mkdir(gone.c_str(), 0700), 0);
  ASSERT_EQ(chdir(gone.c_str()), 0);
  ASSERT_EQ(rmdir(gone.c_str()), 0);
  EXPECT_EQ(S(ZORQelIFile::pwd()), "");
  EXPECT_EQ(Dir("bare"), "");
}

TEST_F(FileTest, RenameMovesAFileAndReportsFailures) {
  std::string from = Touch("from.txt");
  std::string to = dir + "/to.txt";
  EXPECT_EQ(ZORQelIFile::rename(ZORQelI::string(from.c_str()), ZORQelI::string(to.c_str())),
            ZORQelI::Itrue);
  EXPECT_FALSE(Exists(from));
  EXPECT_TRUE(Exists(to));
  // The source is gone now.
  EXPECT_EQ(ZORQelIFile::rename(ZORQelI::string(from.c_str()), ZORQelI::string(to.c_str())),
            ZORQelI::Ifalse);
  // Into a directory that does not exist.
  std::string nowhere = dir + "/no/such/dir/to.txt";
  EXPECT_EQ(ZORQelIFile::rename(ZORQelI::string(to.c_str()), ZORQelI::string(nowhere.c_str())),
            ZORQelI::Ifalse);
  EXPECT_TRUE(Exists(to));
  EXPECT_EQ(ZORQelIFile::rename(ZORQelI::string(""), ZORQelI::string(to.c_str())),
            ZORQelI::Ifalse);
}

TEST_F(FileTest, UnlinkDeletesOnceAndReportsFailures) {
  std::string file = Touch("doomed");
  EXPECT_EQ(ZORQelIFile::unlink(ZORQelI::string(file.c_str())), ZORQelI::Itrue);
  EXPECT_FALSE(Exists(file));
  EXPECT_EQ(ZORQelIFile::unlink(ZORQelI::string(file.c_str())), ZORQelI::Ifalse);
  EXPECT_EQ(ZORQelIFile::unlink(ZORQelI::string(dir.c_str())), ZORQelI::Ifalse);  // a directory
  std::string inMissingDir = dir + "/missing/file";
  EXPECT_EQ(ZORQelIFile::unlink(ZORQelI::string(inMissingDir.c_str())), ZORQelI::Ifalse);
  EXPECT_TRUE(Exists(dir));
}

TEST_F(FileTest, NamesThatAreNotUtf8SurviveTheRoundTrip) {
  std::string file = Touch("latin\xE9.dat");
  ZORQelI::string name(file.c_str());
  EXPECT_EQ(S(ZORQelIFile::basename(name)), "latin\xE9.dat");
  EXPECT_EQ(S(ZORQelIFile::radix(name)), "latin\xE9");
  EXPECT_EQ(S(ZORQelIFile::dirname(name)), dir);
  EXPECT_EQ(ZORQelIFile::unlink(name), ZORQelI::Itrue);
  EXPECT_FALSE(Exists(file));
}

}  // namespace filetest
