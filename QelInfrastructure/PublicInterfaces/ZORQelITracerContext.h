// ZORQelITracerContext: the process-wide stack of active trace frames.
#ifndef ZORQelITracerContext_h
#define ZORQelITracerContext_h

#include <cstdint>
#include <iosfwd>

#include "ZORQelI.h"
#include "ZORQelITracerElement.h"

// The process's context is a static object (ZORQelITracer::context_ points
// to it once the first frame, Print, Dump or Flush has initialised it); it is
// never destroyed.  Initialising reads the environment variable
// ZORQelITracerContext once: present means tracing is enabled and its value
// is the filter.  A context made by the public constructor reads it the same
// way.  Not thread-safe: the library runs on one thread.  Nothing here
// raises; Get of a position beyond the stack reads its last position.
//
// Invariants:
//  1. depth counts the frames pushed and not popped, recorded or not.
//  2. stack[k] holds the element of the frame at depth k for k < stackSize_;
//     deeper frames are counted but not recorded.
//  3. fastLimit is stackSize_ when the context is initialised and tracing is
//     off, 0 otherwise: a frame whose index is below it only needs to record
//     its element; every other frame takes the out-of-line path (first
//     initialisation, trace lines, frames beyond the stack).
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
  std::int32_t fastLimit;

 private:
  friend class ZORQelITracer;
  struct Unread {};
  // The process's context before initialisation (constant-initialised).
  constexpr ZORQelITracerContext(Unread, ZORQelITracerElement** storage)
      : enabled(0), filter(nullptr), depth(0), stack(storage), fastLimit(0) {}
  // Reads the environment (see above).
  void ReadEnvironment();
};

#endif
