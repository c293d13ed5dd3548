// The collector inspector (ZORQelIVariable::Debugger) fed arbitrary bytes on
// its standard input.  The inspector blocks on standard input and its quit
// command ends the process, so each input runs in a child process of its
// own (inspector_fuzz_child, built beside this program with the same
// sanitizers).  The child must end within kDeadline, by the inspector
// returning (status 0, "returned" last on standard output) or by its quit
// command (status 1, right after a prompt); its standard error may hold
// nothing but the table headings of the dump command.  A hang, a signal, a
// sanitizer report or any other status aborts this process, which libFuzzer
// records as a crash with the input.
//
// The child's coverage does not reach libFuzzer, so the kinds of the
// inspector's answers (a slot of either table, an empty slot, an index out
// of bounds, a dump, the key prompt) and which kind followed which feed
// libFuzzer as extra counters: inputs that make the inspector answer in a
// new order are kept.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

constexpr std::chrono::seconds kDeadline{5};
// Output kept per stream: the last kKeep bytes at least (the checks read the
// end), trimmed by whole multiples of the dump headings so that a standard
// error made of headings stays aligned on them.  Both pipes are always read
// to their end, so the child never blocks on a full one.
constexpr std::size_t kKeep = std::size_t{1} << 22;
const std::string kHeadings = "automatic object table content\nstatic object table content\n";
// What the sanitizers exit with in the child, told apart from the quit
// command's 1.
constexpr int kSanitizerStatus = 77;

std::string g_child;
std::vector<std::string> g_envStrings;
std::vector<char*> g_envp;

// Answer kinds of the inspector, one per prompt.
enum Kind : std::uint8_t {
  kNone,          // nothing before the next prompt (end of input, quit)
  kKey,           // "key value: " then possibly an answer
  kOutBelow,      // a negative index
  kOutAbove,      // an index at or past the count
  kNil,           // a free or empty slot
  kStaticNode,    // an object of the static table (chain head, cycle entry)
  kAutoNode,      // an object of the automatic table
  kDump,          // both tables listed
  kReturned,      // the inspector returned
  kOther,         // anything else
  kKinds
};

__attribute__((used, section("__libfuzzer_extra_counters"))) std::uint8_t
    g_counters[kKinds * kKinds];

bool Contains(const std::string& s, const char* what) { return s.find(what) != std::string::npos; }

Kind Classify(const std::string& answer) {
  if (answer.empty()) return kNone;
  if (answer.compare(0, 11, "key value: ") == 0) return kKey;
  if (answer == "returned\n") return kReturned;
  if (Contains(answer, "out of bound")) return answer[0] == '-' ? kOutBelow : kOutAbove;
  if (Contains(answer, "(nil)") && answer.find('\n') + 1 == answer.size()) return kNil;
  const std::size_t lines = static_cast<std::size_t>(std::count(answer.begin(), answer.end(), '\n'));
  if (lines > 2) return kDump;
  if (Contains(answer, "\nc0") || Contains(answer, "\nk0")) return kStaticNode;
  if (Contains(answer, "FuzzNodeIMP")) return kAutoNode;
  return kOther;
}

void Count(const std::string& out) {
  static const std::string prompt = "(gcdb) :";
  Kind previous = kNone;
  std::size_t at = out.find(prompt);
  while (at != std::string::npos) {
    const std::size_t from = at + prompt.size();
    const std::size_t next = out.find(prompt, from);
    const Kind kind = Classify(out.substr(from, next == std::string::npos ? next : next - from));
    std::uint8_t& c = g_counters[previous * kKinds + kind];
    if (c != 0xFF) ++c;
    previous = kind;
    at = next;
  }
}

struct Outcome {
  int status = 0;  // waitpid's
  std::string out, err;
};

[[noreturn]] void Fail(const char* what, const Outcome& r, std::size_t size) {
  auto tail = [](const std::string& s) {
    return s.size() > 2000 ? "..." + s.substr(s.size() - 2000) : s;
  };
  std::fprintf(stderr,
               "inspector_fuzz: %s (input of %zu bytes)\n--- child stdout (tail)\n%s\n"
               "--- child stderr (tail)\n%s\n---\n",
               what, size, tail(r.out).c_str(), tail(r.err).c_str());
  std::abort();
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Runs the child on the input; aborts (after killing and reaping it) when it
// outlives the deadline.
Outcome Run(const std::uint8_t* data, std::size_t size) {
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
    std::perror("inspector_fuzz: pipe2");
    std::abort();
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // dup2 leaves the copies without close-on-exec; every other end closes.
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, pipeOnly;
  sigemptyset(&none);
  sigemptyset(&pipeOnly);
  sigaddset(&pipeOnly, SIGPIPE);
  // This process ignores SIGPIPE; the child gets the default back.
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &pipeOnly);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  char* argv[] = {&g_child[0], nullptr};
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, g_child.c_str(), &actions, &attr, argv, g_envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (spawned != 0) {
    std::fprintf(stderr, "inspector_fuzz: cannot start %s: %s\n", g_child.c_str(),
                 std::strerror(spawned));
    std::abort();
  }

  const auto deadline = std::chrono::steady_clock::now() + kDeadline;
  auto msLeft = [&]() {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
  };
  Outcome r;
  int inFd = in[1], outFd = out[0], errFd = err[0];
  std::size_t written = 0;
  if (size == 0)
    CloseFd(inFd);
  else
    fcntl(inFd, F_SETFL, O_NONBLOCK);
  bool late = false;
  char buffer[65536];
  while (outFd >= 0 || errFd >= 0) {
    pollfd fds[3];
    nfds_t n = 0;
    int inIdx = -1, outIdx = -1, errIdx = -1;
    if (inFd >= 0) { fds[n] = {inFd, POLLOUT, 0}; inIdx = static_cast<int>(n++); }
    if (outFd >= 0) { fds[n] = {outFd, POLLIN, 0}; outIdx = static_cast<int>(n++); }
    if (errFd >= 0) { fds[n] = {errFd, POLLIN, 0}; errIdx = static_cast<int>(n++); }
    const int left = msLeft();
    if (left == 0) { late = true; break; }
    const int ready = poll(fds, n, left);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) { std::perror("inspector_fuzz: poll"); std::abort(); }
    if (ready == 0) { late = true; break; }
    if (inIdx >= 0 && fds[inIdx].revents != 0) {
      const ssize_t w = write(inFd, data + written, size - written);
      if (w > 0) written += static_cast<std::size_t>(w);
      // EPIPE: the inspector stopped reading ('c', 'q'); the rest is unread.
      if ((w < 0 && errno != EAGAIN && errno != EINTR) || written == size) CloseFd(inFd);
    }
    auto drain = [&](int idx, int& fd, std::string& sink) {
      if (idx < 0 || fds[idx].revents == 0) return;
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got > 0) {
        sink.append(buffer, static_cast<std::size_t>(got));
        if (sink.size() > 2 * kKeep)
          sink.erase(0, (sink.size() - kKeep) / kHeadings.size() * kHeadings.size());
      } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
        CloseFd(fd);
      }
    };
    drain(outIdx, outFd, r.out);
    drain(errIdx, errFd, r.err);
  }
  CloseFd(inFd);
  CloseFd(outFd);
  CloseFd(errFd);
  // Both outputs closed: the child is ending; reap it, still within the
  // deadline.
  while (!late) {
    const pid_t w = waitpid(pid, &r.status, WNOHANG);
    if (w == pid) return r;
    if (w < 0 && errno != EINTR) { std::perror("inspector_fuzz: waitpid"); std::abort(); }
    if (msLeft() == 0) late = true;
    else std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  kill(pid, SIGKILL);
  while (waitpid(pid, &r.status, 0) < 0 && errno == EINTR) {
  }
  Fail("the child did not end within the deadline", r, size);
}

// The standard error the inspector may write: the dump command's headings.
bool OnlyHeadings(const std::string& err) {
  for (std::size_t at = 0; at < err.size(); at += kHeadings.size())
    if (err.compare(at, kHeadings.size(), kHeadings) != 0) return false;
  return true;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The child beside this executable.
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) { std::perror("inspector_fuzz: /proc/self/exe"); std::abort(); }
  std::string dir(self, static_cast<std::size_t>(n));
  dir.erase(dir.rfind('/') + 1);
  g_child = dir + QL0KRN_INSPECTOR_CHILD;
  if (access(g_child.c_str(), X_OK) != 0) {
    std::fprintf(stderr, "inspector_fuzz: no child program %s\n", g_child.c_str());
    std::abort();
  }
  // A child that has ended leaves the rest of its input unread: writing it
  // must fail with EPIPE, not kill this process.
  signal(SIGPIPE, SIG_IGN);

  // The child's environment: ours, with the sanitizers' exit status moved off
  // the quit command's and the trace filter removed (a trace of every
  // operation would drown the listings).
  std::string asan = "ASAN_OPTIONS=", ubsan = "UBSAN_OPTIONS=";
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "ZORQelITracerContext=", 21) == 0) continue;
    if (std::strncmp(*e, "ASAN_OPTIONS=", 13) == 0) { asan = std::string(*e) + ":"; continue; }
    if (std::strncmp(*e, "UBSAN_OPTIONS=", 14) == 0) { ubsan = std::string(*e) + ":"; continue; }
    g_envStrings.push_back(*e);
  }
  const std::string status = "exitcode=" + std::to_string(kSanitizerStatus);
  g_envStrings.push_back(asan + status);
  g_envStrings.push_back(ubsan + status + ":print_stacktrace=1");
  for (auto& s : g_envStrings) g_envp.push_back(&s[0]);
  g_envp.push_back(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Outcome r = Run(data, size);
  if (WIFSIGNALED(r.status)) Fail(strsignal(WTERMSIG(r.status)), r, size);
  if (!WIFEXITED(r.status)) Fail("the child neither exited nor was killed", r, size);
  const int status = WEXITSTATUS(r.status);
  if (status == kSanitizerStatus) Fail("sanitizer report in the child", r, size);
  if (status == 3) Fail("the inspector changed the tables or lost objects", r, size);
  if (status != 0 && status != 1) Fail("unexpected exit status", r, size);
  if (!OnlyHeadings(r.err)) Fail("unexpected standard error", r, size);
  if (status == 0 && !EndsWith(r.out, "(gcdb) :returned\n") &&
      !EndsWith(r.out, "key value: returned\n"))
    Fail("returned without a prompt before", r, size);
  if (status == 1 && !EndsWith(r.out, "(gcdb) :"))
    Fail("quit other than at a prompt", r, size);
  Count(r.out);
  return 0;
}
