#include "ZORQelITracer.h"

namespace {
ZORQelITracerElement* processStack[ZORQelITracerContext::stackSize_];
}  // namespace

ZORQelITracerContext ZORQelITracer::process_{ZORQelITracerContext::Unread(), processStack};
ZORQelITracerContext* ZORQelITracer::context_ = nullptr;

ZORQelITracerContext* ZORQelITracer::Allocate() { return new ZORQelITracerContext(); }

ZORQelITracerContext* ZORQelITracer::CreateContext() {
  if (context_ == nullptr) {
    process_.ReadEnvironment();
    context_ = &process_;
  }
  return context_;
}

void ZORQelITracer::Enter(ZORQelITracerElement& e) {
  ZORQelITracerContext* c = CreateContext();
  // index was set by the constructor: the depth before this frame.
  c->Allocate(e);
  if (c->enabled != 0) c->FilteredTrace(index, "start");
}

void ZORQelITracer::Print(const char* what) { CreateContext()->FilteredTrace(index, what); }

void ZORQelITracer::Dump() { CreateContext()->Dump(index); }

void ZORQelITracer::Flush() { CreateContext()->depth = index + 1; }
