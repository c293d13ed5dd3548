#include "ZORQelISet.h"

#include <memory>

#include "ZORQelIQuiet.h"
#include "ZORQelITracer.h"

namespace {
// X's object, or null for an empty X, without raising.  A valid object is
// never empty; otherwise Cast__ (to the root class, which every object
// matches) tells an empty handle (null) from an object whose IsValid() is
// Ifalse.
ZORQelIObjectIMP* ObjectOf(const ZORQelIObject& X) {
  if (X.IsValid() == ZORQelI::Itrue) return const_cast<ZORQelIObjectIMP*>(X.RefMe());
  return ZORQelIObjectIMP::Cast__(X, ZORQelIObjectIMP::ClassId());
}
}  // namespace

bool ZORQelIInternal::Quiet::HeldByMatch(const ZORHashTable& table, const ZORQelIObjectIMP* x,
                                         unsigned hash, ZORQelIObjectIMP** held) {
  void* found;
  if (!table.TryLocate(x, hash, MatchFn(), &found)) return false;
  *held = static_cast<ZORQelIObjectIMP*>(found);
  return true;
}

ZORQelISet::ZORQelISet() : table(ZORHashTabZORQelIObjectIMP::Allocate(109)) {
  ZORQELI_TRACE(" ZORQelISet::ZORQelISet()");
}

ZORQelISet::ZORQelISet(integer size) : table(ZORHashTabZORQelIObjectIMP::Allocate(size)) {
  ZORQELI_TRACE(" ZORQelISet::ZORQelISet(integer size)");
}

ZORQelISet::ZORQelISet(const ZORQelISet& X) : table(new ZORHashTabZORQelIObjectIMP(*X.table)) {
  ZORQELI_TRACE(" ZORQelISet::ZORQelISet(const ZORQelISet& X)");
}

ZORQelISet::~ZORQelISet() {
  ZORQELI_TRACE(" ZORQelISet::~ZORQelISet()");
  delete table;
}

void ZORQelISet::Rehash(integer size) {
  ZORQELI_TRACE("void ZORQelISet::Rehash(integer size)");
  std::unique_ptr<ZORHashTabZORQelIObjectIMP> fresh(ZORHashTabZORQelIObjectIMP::Allocate(size));
  // Element by element rather than by assignment: a ZORHashTable assignment
  // takes over the source's bucket count too, which would undo the rehash.
  const ZORHashTable& old = table->Table();
  int a = 1, b = 0;
  for (void* e = old.Next(a, b); e != nullptr; e = old.Next(a, b))
    fresh->Insert(static_cast<ZORQelIObjectIMP*>(e));
  delete table;
  table = fresh.release();
}

namespace {
// Add as traced, apart so that the quiet path needs no frame setup.
__attribute__((noinline)) ZORQelI::boolean TracedAdd(ZORHashTabZORQelIObjectIMP* table,
                                                    const ZORQelIObject& X) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelISet::Add(ZORQelIObject X)");
  ZORQelIObjectIMP* element = ObjectOf(X);
  return element != nullptr && table->Insert(element) ? ZORQelI::Itrue : ZORQelI::Ifalse;
}
}  // namespace

ZORQelI::boolean ZORQelISet::Add(ZORQelIObject X) {
  // Quiet (ZORQelIQuiet.h): no frame of this insertion can be seen.
  ZORQelIObjectIMP* x = ZORQelIInternal::Quiet::ObjectOf(X);
  if (x != nullptr && ZORQelITracer::Silent()) {
    const int added = ZORQelIInternal::Quiet::Add(*this, x);
    if (added >= 0) return added ? ZORQelI::Itrue : ZORQelI::Ifalse;
  }
  return TracedAdd(table, X);
}

ZORQelIObjectIMP* ZORQelISet::Insert(const ZORQelIObject& X) {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelISet::Insert(const ZORQelIObject& X)");
  ZORQelIObjectIMP* element = ObjectOf(X);
  return element != nullptr && table->Insert(element) ? element : nullptr;
}

namespace {
// Look as traced, apart so that the quiet path needs no frame setup.
__attribute__((noinline)) ZORQelIObject TracedLook(ZORHashTabZORQelIObjectIMP* table,
                                                  const ZORQelIObject& X) {
  ZORQELI_TRACE("ZORQelIObject ZORQelISet::Look(ZORQelIObject X) const");
  return ZORQelIObject(table->Locate(const_cast<ZORQelIObjectIMP*>(X.RefMe())));
}
}  // namespace

ZORQelIObject ZORQelISet::Look(ZORQelIObject X) const {
  // Quiet (ZORQelIQuiet.h): no frame of this lookup can be seen.
  const ZORQelIObjectIMP* x = ZORQelIInternal::Quiet::ObjectOf(X);
  ZORQelIObjectIMP* held;
  if (x != nullptr && ZORQelITracer::Silent() && ZORQelIInternal::Quiet::Held(*this, x, &held))
    return ZORQelIInternal::Quiet::Handle(held);
  return TracedLook(table, X);
}

ZORQelIObject ZORQelISet::Look(integer key) const {
  ZORQELI_TRACE("ZORQelIObject ZORQelISet::Look(integer key) const");
  // The absolute value, computed unsigned (the most negative key has one too);
  // the table reads the key back as unsigned.
  const unsigned u = static_cast<unsigned>(key);
  const int k = static_cast<int>(key < 0 ? 0u - u : u);
  return ZORQelIObject(static_cast<ZORQelIObjectIMP*>(table->Table().KeyLocate(k)));
}

ZORQelI::boolean ZORQelISet::Remove(ZORQelIObject X) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelISet::Remove(ZORQelIObject X)");
  return table->Remove(X.RefMe()) ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelISet::Erase(ZORQelIObjectIMP* x, ZORQelIObjectIMP** removed) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelISet::Erase(ZORQelIObjectIMP* x)");
  ZORQelIObjectIMP* taken = table->Take(x);
  if (removed != nullptr) *removed = taken;
  return taken != nullptr ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

void ZORQelISet::RemoveAll() {
  ZORQELI_TRACE("void ZORQelISet::RemoveAll()");
  table->Table().RemoveAll();
}

ZORQelI::integer ZORQelISet::Size() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelISet::Size() const");
  return table->Table().count;
}

ZORQelI::integer ZORQelISet::BucketCount() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelISet::BucketCount() const");
  return table->Table().BucketCount();
}
