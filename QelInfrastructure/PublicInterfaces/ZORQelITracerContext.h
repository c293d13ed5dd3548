// ZORQelITracerContext: the process-wide stack of active trace frames.
#ifndef ZORQelITracerContext_h
#define ZORQelITracerContext_h

#include <cstdint>
#include <iosfwd>

#include "ZORQelI.h"
#include "ZORQelITracerElement.h"

// Created by the first frame of the process (ZORQelITracer::Allocate) and
// never destroyed.  It reads the environment variable ZORQelITracerContext
// once, in its constructor: present means tracing is enabled and its value is
// the filter.  Not thread-safe: the library runs on one thread.
//
// Invariants:
//  1. depth counts the frames pushed and not popped, recorded or not.
//  2. stack[k] holds the element of the frame at depth k for k < stackSize_;
//     deeper frames are counted but not recorded.
class QL0KRN_EXPORT ZORQelITracerContext {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelITracerContext";
  static constexpr int stackSize_ = 10000;

  ZORQelITracerContext();

  // Pushes e; returns the former depth.
  int Allocate(ZORQelITracerElement& e) {
    int d = depth;
    if (d < stackSize_) stack[d] = &e;
    depth = d + 1;
    return d;
  }
  // The element recorded at position i (positions past the stack read 9999).
  ZORQelITracerElement& Get(int i) const;
  ZORQelI::boolean Match(int i) const;
  // Two blanks per frame of the current depth.
  void Prepare(std::ostream& ot) const;
  // When enabled and the element at i is selected by the filter, writes
  // "<indent>what :<text> <line>" and a line end to standard error.
  void FilteredTrace(int i, const char* what);
  // Writes the stack dump to standard error, marking position `current`.
  void Dump(int current);

  std::int32_t enabled;
  const char* filter;
  std::int32_t depth;
  ZORQelITracerElement** stack;
};

#endif
