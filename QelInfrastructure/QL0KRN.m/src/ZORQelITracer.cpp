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

std::int32_t ZORQelITracer::Enter(ZORQelITracerElement& e, std::int32_t index) {
  ZORQelITracerContext* c = CreateContext();
  // index is the depth before this frame, read by the constructor.
  c->Allocate(e);
  if (c->enabled != 0) c->FilteredTrace(index, "start");
  return index;
}

std::int32_t ZORQelITracer::Leave(std::int32_t index) noexcept {
  process_.FilteredTrace(index, "stop");
  return index;
}

void ZORQelITracer::Print(const char* what) { CreateContext()->FilteredTrace(index, what); }

void ZORQelITracer::Dump() { CreateContext()->Dump(index); }

void ZORQelITracer::Flush() { CreateContext()->depth = index + 1; }
