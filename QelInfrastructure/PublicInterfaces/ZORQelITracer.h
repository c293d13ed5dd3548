// ZORQelITracer: the trace frame an operation places on its own stack, and
// the ZORQELI_TRACE macro that every operation of the library opens with.
#ifndef ZORQelITracer_h
#define ZORQelITracer_h

#include "ZORQelI.h"
#include "ZORQelITracerContext.h"
#include "ZORQelITracerElement.h"

// A frame pushes its element on the process-wide context when constructed
// and pops it when destroyed, on return and on exception alike.  With the
// environment variable absent a frame costs a push (one comparison with the
// context's fastLimit word), a pop and one test of its `enabled` word; the
// trace lines are written out of line.
//
// Popping sets the depth back to the frame's own index, so a frame that is
// destroyed while frames above it are still counted discards them too.
//
// Contract: nothing here raises (frames beyond the stack's capacity are
// counted, not recorded).  A frame refers to its element, which outlives it;
// the context is the process's and is never destroyed.
class QL0KRN_EXPORT ZORQelITracer {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelITracer";

  explicit ZORQelITracer(ZORQelITracerElement& e) {
    ZORQelITracerContext& c = process_;
    std::int32_t d = c.depth;
    if (__builtin_expect(d < c.fastLimit, 1)) {
      c.stack[d] = &e;
      c.depth = d + 1;
    } else {
      d = Enter(e, d);
    }
    index = d;
  }
  ~ZORQelITracer() {
    ZORQelITracerContext& c = process_;
    std::int32_t d = index;
    if (__builtin_expect(c.enabled != 0, 0)) d = Leave(d);
    c.depth = d;
  }
  ZORQelITracer(const ZORQelITracer&) = delete;
  ZORQelITracer& operator=(const ZORQelITracer&) = delete;

  // A new context (reads the environment).
  static ZORQelITracerContext* Allocate();
  // A trace line of the caller's own wording for this frame.
  void Print(const char* what);
  // Writes the stack dump, marking this frame as the current one.
  //
  // Hazard: the context records the elements of the first 10000 frames only
  // (ZORQelITracerContext::stackSize_); deeper frames are counted but not
  // recorded.  In a recursion deeper than that, a dump lists the element of
  // position 9999 at every position from 9999 on, and a deep frame's trace
  // lines name that element too, whatever the frame's own operation.
  void Dump();
  // Discards every frame above this one.
  void Flush();

  // Whether no frame of this process can write a trace line any more: the
  // context has been initialised (the environment is read once) and the
  // variable was absent.  A frame that calls nothing while it is open is then
  // invisible: it records its element at a position that no dump reads
  // before the next frame at that position overwrites it.  A hot loop may
  // test this once and leave such frames out; it must keep every frame that
  // encloses code of the client's (a destructor may take a dump).
  // (fastLimit is nonzero exactly then, so this is a single load.)
  static bool Silent() { return process_.fastLimit != 0; }

  // The process's context: null until the first frame (or Print, Dump,
  // Flush) creates it; never destroyed.
  static ZORQelITracerContext* context_;

  // The position of this frame on the stack.
  std::int32_t index;

 private:
  // Initialises the process's context on first use and sets context_.
  static ZORQelITracerContext* CreateContext();
  // The out-of-line push (initialisation, recording, the "start" line) and
  // the out-of-line part of a pop (the "stop" line).  Both take the frame's
  // index by value and hand it back rather than reading it through `this`:
  // a frame whose address never leaves its operation keeps the index in a
  // caller-saved register on the inline path, with no store to the frame and
  // no reload of it after the call (clang reloads a frame member at the join
  // of the two paths; the reload sits on the chain from one frame's pop to the
  // next frame's push).
  static std::int32_t Enter(ZORQelITracerElement& e, std::int32_t index);
  static std::int32_t Leave(std::int32_t index) noexcept;

  // The process's context (constant-initialised, see ZORQelITracerContext).
  static ZORQelITracerContext process_;
};

// Opens the trace frame of the enclosing operation.  `text` is the
// operation's declaration as the library writes it, a string literal, for
// example "ZORQelI::boolean ZORQelIObject::IsValid() const"; constructors and
// destructors have no result type, so their text starts with a blank.  Use it
// once, as the first statement of the operation's body:
//
//   ZORQelI::integer ZORQelIArray::Size() const {
//     ZORQELI_TRACE("ZORQelI::integer ZORQelIArray::Size() const");
//     return IMP()->Size();
//   }
//
// ZORQELI_TRACE records the source line of the macro; ZORQELI_TRACE_LINE
// records an explicit line instead.
#define ZORQELI_TRACE_LINE(text, line)                                            \
  static ZORQelITracerElement zorqeliTraceElement_{text, line};                   \
  ZORQelITracer zorqeliTraceFrame_(zorqeliTraceElement_)

#define ZORQELI_TRACE(text) ZORQELI_TRACE_LINE(text, __LINE__)

// The frame of an operation that has nothing left to do once its frame
// would open: a constructor whose work is all in its initialisers (a
// handle's registration, for one).  Such a frame encloses no code, so when
// tracing is silent nothing can see it and it is left out; otherwise it
// writes its "start" and "stop" lines as any frame does.
#define ZORQELI_TRACE_EMPTY(text)                                                 \
  do {                                                                            \
    if (__builtin_expect(!ZORQelITracer::Silent(), 0)) {                          \
      ZORQELI_TRACE_LINE(text, __LINE__);                                         \
    }                                                                             \
  } while (0)

#endif
