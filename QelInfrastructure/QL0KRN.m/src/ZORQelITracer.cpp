#include "ZORQelITracer.h"

ZORQelITracerContext* ZORQelITracer::context_ = nullptr;

ZORQelITracerContext* ZORQelITracer::Allocate() { return new ZORQelITracerContext(); }

ZORQelITracerContext* ZORQelITracer::CreateContext() {
  if (context_ == nullptr) context_ = Allocate();
  return context_;
}

void ZORQelITracer::Print(const char* what) { CreateContext()->FilteredTrace(index, what); }

void ZORQelITracer::Dump() { CreateContext()->Dump(index); }

void ZORQelITracer::Flush() { CreateContext()->depth = index + 1; }
