// Helpers shared by the test areas: child processes with captured output,
// in-process capture of standard error, files, fixtures that check what a
// test leaves behind, and small implementation classes whose finalizations
// can be counted.
#ifndef QL0KRN_TESTS_TestSupport_h
#define QL0KRN_TESTS_TestSupport_h

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QL0KRN.h"

namespace qtest {

// Runs collections until the object count stops changing (member handles
// need a first scan before they stop being roots).
void CollectAll();

// A test that starts and ends with everything unreachable collected, so
// that what it counts is its own.
class CollectedTest : public ::testing::Test {
 protected:
  void SetUp() override { CollectAll(); }
  void TearDown() override { CollectAll(); }
};

// A test with a fresh directory of its own under /tmp (dir_), removed with
// everything in it when the test ends, whatever modes the test left on it.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string dir_;
};

// What a child process wrote and how it ended.
struct ChildResult {
  std::string out;   // standard output
  std::string err;   // standard error
  int status = -1;   // exit status, or 128 + signal number
};

// Runs `program` (a path) with `args`, the environment of this process
// changed by `env` (a value of nullptr-equivalent "\x01unset" removes the
// variable), feeding `input` (64 KiB at most) through a pipe on standard
// input.  Waits for it to end.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env = {},
                     const std::string& input = "");

// The marker that, as a value in RunChild's env, removes the variable.
extern const char* const kUnset;

// The path of a helper program built from tests/child/<name>.cpp.
std::string ChildProgram(const std::string& name);

// Captures what the library writes to std::cerr (and fd 2) between
// construction and Take().
class CaptureStderr {
 public:
  CaptureStderr();
  ~CaptureStderr();
  std::string Take();

 private:
  bool taken_ = false;
};

// A test that collects before and after itself and checks that the object
// count is back where it started (the in-memory provider's default wrapper,
// made once per process, is made first).
class CountedTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  ZORQelI::integer before_ = 0;
};

// The whole content of a file ("" when it cannot be read); writes one.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

// The names in the folder `dir` ("." and ".." left out), sorted; false when
// the folder cannot be read.
bool ListFiles(const std::string& dir, std::vector<std::string>* names);

// The root of the source tree (the folder holding tests/).
std::string SourceRoot();

// An array walker that hands each element and position to a function.
struct FnWalker : ZORQelIArrayWalker {
  using Fn = std::function<ZORQelI::boolean(ZORQelIObject, integer)>;
  explicit FnWalker(Fn f) : fn(std::move(f)) {}
  ZORQelI::boolean Walk(ZORQelIObject o, integer pos) override { return fn(o, pos); }
  Fn fn;
};

// A concrete implementation class with a handle member and a raw member,
// counting its finalizations in a shared counter.
class NodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(NodeIMP, ZORQelIObjectIMP)
 public:
  explicit NodeIMP(int* finalized = nullptr, int value = 0);
  NodeIMP(const NodeIMP& o);
  ~NodeIMP() override;

  ZORQelIObjectIMP* Clone() const override;
  void Text(ZORQelIPrint& ot) const override;
  void GarbageCollectorMemberCheck() override;

  ZORQelIObject link;              // handle member
  ZORQelIObjectIMP* raw = nullptr;  // raw member, scanned
  int value;
  int* finalized;
  int memberChecks = 0;
};

// An object with value equality and a chosen hash code.  Equal calls are
// counted (all instances share the counter); Poke counts its own calls and
// answers the value once it reaches `threshold`, 0 below.
class ValueIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ValueIMP, ZORQelIObjectIMP)
 public:
  ValueIMP(int v, int h) : value(v), hash(h) {}
  ZORQelIObjectIMP* Clone() const override { return new ValueIMP(*this); }
  void Text(ZORQelIPrint& ot) const override;  // "v<value>"
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override;
  ZORQelI::integer HashCode() const override { return hash; }
  int Poke();

  int value;
  int hash;
  int pokes = 0;
  static int equalCalls;
  static int threshold;
};

// An identifier of a class of its own: the same name, text and hash code as
// a plain identifier, never Equal to one.
class TagIMP : public ZORQelIIdentifierIMP {
  ZORQELI_DECLARE_IMP(TagIMP, ZORQelIIdentifierIMP)
 public:
  explicit TagIMP(ZORQelI::string n) : ZORQelIIdentifierIMP(n) {}
  ZORQelIObjectIMP* Clone() const override { return new TagIMP(*this); }
};

// A handle on a new ValueIMP; its hash code is the value unless given.
inline ZORQelIObject Value(int v) { return ZORQelIObject(new ValueIMP(v, v)); }
inline ZORQelIObject Value(int v, int hash) { return ZORQelIObject(new ValueIMP(v, hash)); }
inline ValueIMP* ValueOf(ZORQelIObject o) { return static_cast<ValueIMP*>(o.RefMe()); }

// The three notifications a view receives.
enum class Notice { Created, Updated, Deleted };

// A view that hands every notification to a function, with the object, and
// counts its finalizations in *finalized when given.
class FnViewIMP : public ZORQelIViewIMP {
  ZORQELI_DECLARE_IMP(FnViewIMP, ZORQelIViewIMP)
 public:
  using Fn = std::function<void(Notice, ZORQelIObject)>;
  explicit FnViewIMP(Fn f, int* finalized = nullptr) : fn(std::move(f)), finalized(finalized) {}
  ~FnViewIMP() override;
  ZORQelIObjectIMP* Clone() const override { return new FnViewIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void NotifyUpdate(ZORQelIObject o) override { fn(Notice::Updated, o); }
  void NotifyDeleted(ZORQelIObject o) override { fn(Notice::Deleted, o); }
  void NotifyCreated(ZORQelIObject o) override { fn(Notice::Created, o); }

  Fn fn;
  int* finalized;
};

// Runs f on a new thread with a stack of `stackSize` bytes, at stackMemory
// when given, and waits for it.
void RunOnThread(std::size_t stackSize, void* stackMemory, const std::function<void()>& f);

// Makes a NodeIMP on the heap (the only way implementation objects are made).
NodeIMP* NewNode(int* finalized = nullptr, int value = 0);

// The text of a library string.
inline std::string Str(const ZORQelI::string& s) { return static_cast<const char*>(s); }

}  // namespace qtest

#endif
