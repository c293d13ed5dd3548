#include "TestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>

#include <gtest/gtest.h>

extern char** environ;

namespace qtest {

const char* const kUnset = "\x01unset";

std::string ChildProgram(const std::string& name) {
  return std::string(QL0KRN_CHILD_DIR) + "/" + name;
}

ChildResult RunChild(const std::string& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env, const std::string& input) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe");

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
  std::vector<std::string> envStrings;
  for (const auto& kv : vars) envStrings.push_back(kv.first + "=" + kv.second);
  std::vector<char*> envp;
  for (auto& s : envStrings) envp.push_back(&s[0]);
  envp.push_back(nullptr);
  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& s : argStrings) argv.push_back(&s[0]);
  argv.push_back(nullptr);

  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  // Feed the input, then read both outputs until they close.
  std::size_t written = 0;
  int inFd = in[1];
  if (input.empty()) {
    close(inFd);
    inFd = -1;
  } else {
    fcntl(inFd, F_SETFL, O_NONBLOCK);
  }
  ChildResult result;
  bool outOpen = true, errOpen = true;
  char buffer[65536];
  while (outOpen || errOpen) {
    pollfd fds[3];
    int n = 0;
    int outIdx = -1, errIdx = -1, inIdx = -1;
    if (outOpen) { fds[n] = {out[0], POLLIN, 0}; outIdx = n++; }
    if (errOpen) { fds[n] = {err[0], POLLIN, 0}; errIdx = n++; }
    if (inFd >= 0) { fds[n] = {inFd, POLLOUT, 0}; inIdx = n++; }
    if (poll(fds, n, -1) < 0) continue;
    if (inIdx >= 0 && (fds[inIdx].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t w = write(inFd, input.data() + written, input.size() - written);
      if (w > 0) written += static_cast<std::size_t>(w);
      if (w < 0 || written == input.size()) {
        close(inFd);
        inFd = -1;
      }
    }
    if (outIdx >= 0 && (fds[outIdx].revents & (POLLIN | POLLHUP | POLLERR))) {
      ssize_t r = read(out[0], buffer, sizeof buffer);
      if (r > 0) result.out.append(buffer, static_cast<std::size_t>(r)); else outOpen = false;
    }
    if (errIdx >= 0 && (fds[errIdx].revents & (POLLIN | POLLHUP | POLLERR))) {
      ssize_t r = read(err[0], buffer, sizeof buffer);
      if (r > 0) result.err.append(buffer, static_cast<std::size_t>(r)); else errOpen = false;
    }
  }
  if (inFd >= 0) close(inFd);
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

CaptureStderr::CaptureStderr() {
  std::cerr.flush();
  testing::internal::CaptureStderr();
}
CaptureStderr::~CaptureStderr() {
  if (!taken_) testing::internal::GetCapturedStderr();
}
std::string CaptureStderr::Take() {
  std::cerr.flush();
  taken_ = true;
  return testing::internal::GetCapturedStderr();
}

CaptureStdout::CaptureStdout() {
  std::cout.flush();
  testing::internal::CaptureStdout();
}
CaptureStdout::~CaptureStdout() {
  if (!taken_) testing::internal::GetCapturedStdout();
}
std::string CaptureStdout::Take() {
  std::cout.flush();
  taken_ = true;
  return testing::internal::GetCapturedStdout();
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

NodeIMP* NewNode(int* finalized, int value) { return new NodeIMP(finalized, value); }

void CollectAll() {
  ZORQelI::integer before = -1;
  for (int i = 0; i < 16 && before != ZORQelIVariable::GetInstancesCount__(); ++i) {
    before = ZORQelIVariable::GetInstancesCount__();
    ZORQelIVariable::GarbageCollect();
  }
}

}  // namespace qtest
