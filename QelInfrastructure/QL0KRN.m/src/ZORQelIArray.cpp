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

ZORQelI::Mint ZORQelIArray::Look(ZORQelIObject o, int pos) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIArray::Look(ZORQelIObject o, int pos) const");
  return IMP()->Look(o, pos);
}

ZORQelI::Mint ZORQelIArray::Look(ZORQelIObject o) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIArray::Look(ZORQelIObject o) const");
  return IMP()->Look(o);
}

ZORQelI::Mint ZORQelIArray::Remove(ZORQelIObject o, int pos) {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIArray::Remove(ZORQelIObject o, int pos)");
  return IMP()->Remove(o, pos);
}

ZORQelI::Mint ZORQelIArray::Remove(ZORQelIObject o) {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIArray::Remove(ZORQelIObject o)");
  return IMP()->Remove(o);
}

namespace {
// Add as traced, apart so that the quiet path needs no frame setup.
__attribute__((noinline)) ZORQelI::boolean TracedAdd(const ZORQelIArray& array,
                                                     const ZORQelIObject& x) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIArray::Add(ZORQelIObject x)");
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
  ZORQELI_TRACE("void ZORQelIArray::AppendArray(ZORQelIArray x)");
  ZORQelIArrayIMP* self = IMP();
  self->AppendArray(x.IMP());
}

ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx)");
  ZORQelIArrayIMP* self = IMP();
  return self->ForEach(ctx, 0, self->Size());
}

ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx) const");
  ZORQelIArrayIMP* self = IMP();
  return self->ForEach(ctx, 0, self->Size());
}

ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx, int start, int stop) {
  ZORQELI_TRACE(
      "ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx, int start, int stop)");
  return IMP()->ForEach(ctx, start, stop);
}

ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx, int start, int stop) const {
  ZORQELI_TRACE(
      "ZORQelI::boolean ZORQelIArray::ForEach(ZORQelIArrayWalker& ctx, int start, int stop) "
      "const");
  return IMP()->ForEach(ctx, start, stop);
}

void ZORQelIArray::Remove(integer pos) {
  ZORQELI_TRACE("void ZORQelIArray::Remove(integer pos)");
  IMP()->Remove(static_cast<int>(pos));
}

void ZORQelIArray::RemoveAll() {
  ZORQELI_TRACE("void ZORQelIArray::RemoveAll()");
  IMP()->RemoveAll();
}

void ZORQelIArray::Text(ZORQelIPrint& o) const {
  ZORQELI_TRACE("void ZORQelIArray::Text(ZORQelIPrint& o) const");
  IMP()->Text(o);
}

void ZORQelIArray::Dump() const {
  ZORQELI_TRACE("void ZORQelIArray::Dump() const");
  IMP()->Dump();
}

void ZORQelIArray::CheckBounds(integer pos) const {
  ZORQELI_TRACE("void ZORQelIArray::CheckBounds(integer pos) const");
  IMP()->CheckBounds(pos);
}

void ZORQelIArray::CheckRange(integer start, integer stop) const {
  ZORQELI_TRACE("void ZORQelIArray::CheckRange(integer start, integer stop) const");
  IMP()->CheckRange(start, stop);
}

ZORQelIObject ZORQelIArray::Get(integer pos) const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIArray::Get(integer pos) const");
  return IMP()->Get(pos);
}

ZORQelI::integer ZORQelIArray::Size() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIArray::Size() const");
  return IMP()->Size();
}
