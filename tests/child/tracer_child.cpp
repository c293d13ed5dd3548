// Runs trace scenarios under whatever ZORQelITracerContext the parent set:
//
//   tracer_child all    nested frames of its own with a trace line of its own
//                       wording at index 2, a few library operations, then a
//                       dump taken from index 3 with depth 5
//   tracer_child deep   10001 nested frames, a dump from the innermost one
//   tracer_child frames N
//                       N nested frames held on the heap (no deep recursion
//                       needed), a dump from the innermost one, then the
//                       frames left in reverse order
//
// Trace lines and dumps go to standard error; standard output gets the depth
// left after each scenario.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

#include "QL0KRN.h"

namespace {

ZORQelITracerElement topElement("void Child::Top()", 101);
ZORQelITracerElement middleElement("void Child::Middle()", 102);
ZORQelITracerElement leafElement("void Child::Leaf()", 103);

void Leaf() {
  ZORQelITracer frame(leafElement);
  frame.Print("note");
}

void Middle() {
  ZORQelITracer frame(middleElement);
  Leaf();
}

void Top() {
  ZORQelITracer frame(topElement);
  Middle();
}

ZORQelITracerElement levelElements[5] = {
    {"void Child::Level0()", 200}, {"void Child::Level1()", 201}, {"void Child::Level2()", 202},
    {"void Child::Level3()", 203}, {"void Child::Level4()", 204}};

void DumpFromIndexThree() {
  ZORQelITracer f0(levelElements[0]);
  ZORQelITracer f1(levelElements[1]);
  ZORQelITracer f2(levelElements[2]);
  ZORQelITracer f3(levelElements[3]);
  ZORQelITracer f4(levelElements[4]);
  f3.Dump();
}

void LibraryOperations() {
  ZORQelIVariable::GetInstancesCount__();
  ZORQelIObject h;
  h.IsValid();
}

ZORQelITracerElement deepElement("void Child::Deep(int n)", 301);
ZORQelITracerElement deep9999Element("void Child::Deep9999()", 302);
ZORQelITracerElement deep10000Element("void Child::Deep10000()", 303);

void Deep(int n) {
  ZORQelITracerElement& e =
      n == 9999 ? deep9999Element : n == 10000 ? deep10000Element : deepElement;
  ZORQelITracer frame(e);
  if (n < 10000)
    Deep(n + 1);
  else
    frame.Dump();
}

int Depth() { return ZORQelITracer::context_ != nullptr ? ZORQelITracer::context_->depth : -1; }

ZORQelITracerElement frameElement("void Child::Frame()", 401);

void Frames(long n) {
  std::vector<std::unique_ptr<ZORQelITracer>> frames;
  frames.reserve(static_cast<std::size_t>(n));
  for (long i = 0; i < n; ++i) frames.emplace_back(new ZORQelITracer(frameElement));
  std::cout << "depth: " << Depth() << "\n";
  frames.back()->Dump();
  while (!frames.empty()) frames.pop_back();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (std::strcmp(argv[1], "all") == 0) {
    Top();
    std::cout << "after nested: " << Depth() << "\n";
    LibraryOperations();
    std::cout << "after library: " << Depth() << "\n";
    DumpFromIndexThree();
    std::cout << "after dump: " << Depth() << "\n";
    return 0;
  }
  if (std::strcmp(argv[1], "deep") == 0) {
    Deep(0);
    std::cout << "after deep: " << Depth() << "\n";
    return 0;
  }
  if (std::strcmp(argv[1], "frames") == 0 && argc > 2) {
    Frames(std::atol(argv[2]));
    std::cout << "after: " << Depth() << "\n";
    return 0;
  }
  return 2;
}
