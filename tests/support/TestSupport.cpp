#include "TestSupport.h"

#include <dirent.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "QL0KRNMem.h"

extern char** environ;

namespace qtest {

const char* const kUnset = "\x01unset";

std::string ChildProgram(const std::string& name) {
  return std::string(QL0KRN_CHILD_DIR) + "/" + name;
}

namespace {

// A temporary file, open for reading and writing, removed at once (it lives
// as long as its descriptor).
int TemporaryFile() {
  char path[] = "/tmp/ql0krn-child-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) throw std::runtime_error("mkstemp");
  unlink(path);
  return fd;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[65536];
  lseek(fd, 0, SEEK_SET);
  for (ssize_t r; (r = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(r));
  close(fd);
  return text;
}

}  // namespace

ChildResult RunChild(const std::string& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env, const std::string& input) {
  // The child's environment: ours, changed by env.
  std::map<std::string, std::string> vars;
  for (char** e = environ; *e != nullptr; ++e) {
    const char* eq = std::strchr(*e, '=');
    if (eq != nullptr) vars[std::string(*e, static_cast<std::size_t>(eq - *e))] = eq + 1;
  }
  for (const auto& kv : env) {
    if (kv.second == kUnset)
      vars.erase(kv.first);
    else
      vars[kv.first] = kv.second;
  }
  std::vector<std::string> envStrings, argStrings{program};
  for (const auto& kv : vars) envStrings.push_back(kv.first + "=" + kv.second);
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> envp, argv;
  for (auto& s : envStrings) envp.push_back(&s[0]);
  for (auto& s : argStrings) argv.push_back(&s[0]);
  envp.push_back(nullptr);
  argv.push_back(nullptr);

  // Standard input is a pipe holding the whole input, then its end;
  // standard output and error are temporary files, so that the child never
  // blocks on a full pipe.
  int in[2];
  if (input.size() > 65536 || pipe(in) != 0 ||
      write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size()))
    throw std::runtime_error("child input");
  close(in[1]);
  const int out = TemporaryFile(), err = TemporaryFile();
  std::cout.flush();
  std::cerr.flush();
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out, 1);
    dup2(err, 2);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  close(in[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  ChildResult result;
  result.out = ReadAll(out);
  result.err = ReadAll(err);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

CaptureStderr::CaptureStderr() {
  std::cerr.flush();
  testing::internal::CaptureStderr();
}
CaptureStderr::~CaptureStderr() {
  if (!taken_) Take();
}
std::string CaptureStderr::Take() {
  std::cerr.flush();
  taken_ = true;
  return testing::internal::GetCapturedStderr();
}

void CountedTest::SetUp() {
  ZORQelIMemWrapper::Default();
  CollectAll();
  before_ = ZORQelIVariable::GetInstancesCount__();
}
void CountedTest::TearDown() {
  CollectAll();
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), before_);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}
void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool ListFiles(const std::string& dir, std::vector<std::string>* names) {
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return false;
  names->clear();
  for (dirent* e; (e = readdir(d)) != nullptr;) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names->push_back(n);
  }
  closedir(d);
  std::sort(names->begin(), names->end());
  return true;
}

std::string SourceRoot() {
  const std::string file = __FILE__;
  return file.substr(0, file.rfind("/tests/"));
}

void TempDirTest::SetUp() {
  char pattern[] = "/tmp/ql0krn-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  dir_ = pattern;
}
void TempDirTest::TearDown() {
  namespace fs = std::filesystem;
  std::error_code ignored;
  fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(dir_, ignored);
}

ZORQELI_DEFINE_IMP(NodeIMP, ZORQelIObjectIMP)

NodeIMP::NodeIMP(int* finalizedCounter, int v) : value(v), finalized(finalizedCounter) {}
NodeIMP::NodeIMP(const NodeIMP& o)
    : ZORQelIObjectIMP(o), link(o.link), raw(o.raw), value(o.value), finalized(o.finalized) {}
NodeIMP::~NodeIMP() {
  if (finalized != nullptr) ++*finalized;
}
ZORQelIObjectIMP* NodeIMP::Clone() const { return new NodeIMP(*this); }
void NodeIMP::Text(ZORQelIPrint& ot) const {
  ot.Print(ZORQelI::string("node "));
  ot.Print(static_cast<ZORQelI::integer>(value));
}
void NodeIMP::GarbageCollectorMemberCheck() {
  ++memberChecks;
  ZORQelIObjectIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(link);
  GarbageCollectorScan(raw);
}

ZORQELI_DEFINE_IMP(FnViewIMP, ZORQelIViewIMP)
FnViewIMP::~FnViewIMP() {
  if (finalized != nullptr) ++*finalized;
}

ZORQELI_DEFINE_IMP(TagIMP, ZORQelIIdentifierIMP)

ZORQELI_DEFINE_IMP(ValueIMP, ZORQelIObjectIMP)
int ValueIMP::equalCalls = 0;
int ValueIMP::threshold = INT_MAX;

void ValueIMP::Text(ZORQelIPrint& ot) const {
  ot.Print(ZORQelI::string("v"));
  ot.Print(static_cast<ZORQelI::integer>(value));
}
ZORQelI::boolean ValueIMP::Equal(ZORQelIObjectIMP* o) const {
  ++equalCalls;
  if (o == nullptr || &o->Id() != &ClassId()) return ZORQelI::Ifalse;
  return static_cast<ValueIMP*>(o)->value == value ? ZORQelI::Itrue : ZORQelI::Ifalse;
}
int ValueIMP::Poke() {
  ++pokes;
  return value >= threshold ? value : 0;
}

void RunOnThread(std::size_t stackSize, void* stackMemory, const std::function<void()>& f) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  if (stackMemory != nullptr)
    ASSERT_EQ(pthread_attr_setstack(&attr, stackMemory, stackSize), 0);
  else
    ASSERT_EQ(pthread_attr_setstacksize(&attr, stackSize), 0);
  pthread_t thread;
  auto body = [](void* arg) -> void* {
    (*static_cast<const std::function<void()>*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, body, const_cast<std::function<void()>*>(&f)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

NodeIMP* NewNode(int* finalized, int value) { return new NodeIMP(finalized, value); }

void CollectAll() {
  ZORQelI::integer before = -1;
  for (int i = 0; i < 16 && before != ZORQelIVariable::GetInstancesCount__(); ++i) {
    before = ZORQelIVariable::GetInstancesCount__();
    ZORQelIVariable::GarbageCollect();
  }
}

}  // namespace qtest
