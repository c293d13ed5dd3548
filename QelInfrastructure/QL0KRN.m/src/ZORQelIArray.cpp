#include "ZORQelIArray.h"

#include "ZORQelIQuiet.h"
#include "ZORQelITracer.h"

ZORQELI_DEFINE_HANDLE(ZORQelIArray, ZORQelIObject, ZORQelIArrayIMP)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORQelIArray, ZORQelIArrayIMP)

ZORQelIArray::ZORQelIArray() : ZORQelIObject(new ZORQelIArrayIMP()) {
  ZORQELI_TRACE(" ZORQelIArray::ZORQelIArray()");
}

ZORQelIArray::ZORQelIArray(integer top) : ZORQelIObject(new ZORQelIArrayIMP(top)) {
  ZORQELI_TRACE(" ZORQelIArray::ZORQelIArray(integer top)");
}

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIArray, __VA_ARGS__)
#include "ZORQelIArray.def"

namespace {
// Add as traced, apart so that the quiet path needs no frame setup.
__attribute__((noinline)) ZORQelI::boolean TracedAdd(const ZORQelIArray& array,
                                                     const ZORQelIObject& x) {
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIArray::Add(ZORQelIObject x)", 41);
  return array.IMP()->Add(x);
}
}  // namespace

ZORQelI::boolean ZORQelIArray::Add(ZORQelIObject x) {
  // Quiet (ZORQelIQuiet.h) for arrays and unique lists when no frame of the
  // addition can be seen.
  ZORQelIObjectIMP* element = ZORQelIInternal::Quiet::ObjectOf(x);
  if (objectIMP != nullptr && element != nullptr && ZORQelITracer::Silent()) {
    const int added =
        ZORQelIInternal::Quiet::Add(static_cast<ZORQelIArrayIMP*>(objectIMP), element);
    if (added >= 0) return added != 0 ? ZORQelI::Itrue : ZORQelI::Ifalse;
  }
  return TracedAdd(*this, x);
}

void ZORQelIArray::AppendArray(ZORQelIArray x) {
  ZORQELI_TRACE_LINE("void ZORQelIArray::AppendArray(ZORQelIArray x)", 59);
  ZORQelIArrayIMP* self = IMP();
  self->AppendArray(x.IMP());
}

ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx) {
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx)", 65);
  ZORQelIArrayIMP* self = IMP();
  return self->ForEach(ctx, 0, self->Size());
}

ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx) const {
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx) const", 71);
  ZORQelIArrayIMP* self = IMP();
  return self->ForEach(ctx, 0, self->Size());
}

void ZORQelIArray::Remove(integer pos) {
  ZORQELI_TRACE_LINE("void ZORQelIArray::Remove(integer pos)", 90);
  IMP()->Remove(static_cast<int>(pos));
}
