// Load scenarios run in a child process by the stress tests:
//
//   stress_child frames N   N nested trace frames, a dump from the innermost
//                           one (to standard error), then the frames left in
//                           reverse order; standard output gets the depth
//                           left afterwards.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

#include "QL0KRN.h"

namespace {

ZORQelITracerElement frameElement("void StressChild::Frame()", 401);

int Depth() { return ZORQelITracer::context_ != nullptr ? ZORQelITracer::context_->depth : -1; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || std::strcmp(argv[1], "frames") != 0) return 2;
  const long n = std::atol(argv[2]);
  {
    // Frames on the heap, entered and left in stack order: no deep recursion
    // is needed for a deep trace.
    std::vector<std::unique_ptr<ZORQelITracer>> frames;
    frames.reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) frames.emplace_back(new ZORQelITracer(frameElement));
    std::cout << "depth: " << Depth() << "\n";
    frames.back()->Dump();
    while (!frames.empty()) frames.pop_back();
  }
  std::cout << "after: " << Depth() << "\n";
  return 0;
}
