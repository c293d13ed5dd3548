#include "ZORQelITracerContext.h"

#include <cstdlib>
#include <iostream>

ZORQelITracerContext::ZORQelITracerContext()
    : enabled(0), filter(nullptr), depth(0), stack(nullptr), fastLimit(0) {
  stack = new ZORQelITracerElement*[stackSize_];
  ReadEnvironment();
}

void ZORQelITracerContext::ReadEnvironment() {
  filter = std::getenv(__CLASSNAME__);
  enabled = filter != nullptr ? 1 : 0;
  fastLimit = enabled != 0 ? 0 : stackSize_;
}

ZORQelITracerElement& ZORQelITracerContext::Get(int i) const {
  return *stack[i >= stackSize_ ? stackSize_ - 1 : i];
}

ZORQelI::boolean ZORQelITracerContext::Match(int i) const { return Get(i).Enable(filter); }

void ZORQelITracerContext::Prepare(std::ostream& ot) const {
  for (int k = 0; k < depth; ++k) ot << "  ";
}

void ZORQelITracerContext::FilteredTrace(int i, const char* what) {
  if (enabled != 1 || Match(i) != ZORQelI::Itrue) return;
  Prepare(std::cerr);
  std::cerr << what << " :";
  Get(i).Print(std::cerr);
  std::cerr << std::endl;
}

void ZORQelITracerContext::Dump(int current) {
  std::cerr << "-- Beginning of stack dump" << std::endl;
  std::cerr << "depth is " << depth << std::endl;
  for (int k = 0; k < depth; ++k) {
    std::cerr << (k == current ? "->[" : "  [") << k << "]";
    Get(k).Print(std::cerr);
    std::cerr << std::endl;
  }
  std::cerr << "-- End of stack dump" << std::endl;
}
