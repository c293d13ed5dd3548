#include "ZORQelIObjectIMP.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <new>

#include "ZORQelIException.h"
#include "ZORQelIExpressForm.h"
#include "ZORQelIGholder.h"
#include "ZORQelIInvalidType.h"
#include "ZORQelIObject.h"
#include "ZORQelIRaise.h"
#include "ZORQelIStringStream.h"
#include "ZORQelITracer.h"

// The collector's list: constant-initialised, so it exists before the first
// static constructor of the process runs.
ZORQelIGarbageableObjectListIMP ZORQelIObjectIMP::list_;

// Marking state.
//
// Marking uses an explicit work list instead of recursion, so that the
// depth of the object graph never reaches the call stack.  Each object is
// pushed at most once per cycle (it is marked when pushed), so a work list
// with room for every object in list_ never overflows; it is grown as objects
// are created (Enlist), and a cycle allocates nothing.  Should an object be
// created during marking (a member check that allocates) and the list be
// full, that one object's members are scanned recursively instead.
//
// Invariants:
//  1. markCapacity >= list_.size at the start of every cycle.
//  2. Outside a drain, markTop == 0.
//  3. Between cycles every object's mark is 0, unless strayMarks is set (a
//     scan made outside a cycle, or a cycle interrupted by an exception);
//     the next cycle then clears every mark first.
namespace {
ZORQelIObjectIMP** markStack = nullptr;
std::int64_t markCapacity = 0;
std::int64_t markTop = 0;
bool draining = false;
bool inCycle = false;
bool strayMarks = false;
bool raising = false;  // the recursion flag of Raise

void ReserveMarkStack(std::int64_t needed) {
  if (needed <= markCapacity) return;
  std::int64_t capacity = markCapacity < 1024 ? 1024 : markCapacity;
  while (capacity < needed) capacity *= 2;
  void* p = std::realloc(markStack, static_cast<std::size_t>(capacity) * sizeof(*markStack));
  if (p == nullptr) throw std::bad_alloc();
  markStack = static_cast<ZORQelIObjectIMP**>(p);
  markCapacity = capacity;
}
}  // namespace

void ZORQelIObjectIMP::Enlist(ZORQelIObjectIMP* o) {
  // Room in the work list first: if that fails, the object is not on the
  // list and its allocation is released by new's own clean-up.
  ReserveMarkStack(static_cast<std::int64_t>(list_.size) + 1);
  o->garbageCollectorHit = 0;
  list_.Add(o);
}

ZORQelIObjectIMP::ZORQelIObjectIMP(LoadTimeTag) : garbageCollectorHit(0), next(nullptr) {
  // list_.Add without its trace frame: a frame here would create the trace
  // context (and read the filter) while the library is being loaded, and
  // trace a line before the client has called in.
  ReserveMarkStack(static_cast<std::int64_t>(list_.size) + 1);
  ++list_.size;
  if (list_.tail == nullptr) list_.tail = this;
  next = list_.head;
  list_.head = this;
}

ZORQelIObjectIMP::ZORQelIObjectIMP() : garbageCollectorHit(0), next(nullptr) {
  ZORQELI_TRACE(" ZORQelIObjectIMP::ZORQelIObjectIMP()");
  Enlist(this);
}

ZORQelIObjectIMP::ZORQelIObjectIMP(const ZORQelIObjectIMP&)
    : garbageCollectorHit(0), next(nullptr) {
  ZORQELI_TRACE(" ZORQelIObjectIMP::ZORQelIObjectIMP(const ZORQelIObjectIMP& o)");
  Enlist(this);
}

ZORQelIObjectIMP& ZORQelIObjectIMP::operator=(const ZORQelIObjectIMP&) {
  ZORQELI_TRACE("ZORQelIObjectIMP& ZORQelIObjectIMP::operator=(const ZORQelIObjectIMP& o)");
  return *this;  // the collector fields belong to this object
}

ZORQelIObjectIMP* ZORQelIObjectIMP::finalizing_ = nullptr;

ZORQelIObjectIMP::~ZORQelIObjectIMP() {
  // Destroyed by the sweep: already off the list.  Anything else is an
  // object whose construction failed after this base was built (the
  // compiler destroys the base, then frees the memory): take it off the
  // list, or the next sweep would walk into freed memory.  Such an object
  // was added last or nearly so, so the walk from the head is short.
  if (this == finalizing_) return;
  ZORQelIObjectIMP* previous = nullptr;
  for (ZORQelIObjectIMP* o = list_.head; o != nullptr; previous = o, o = o->next) {
    if (o != this) continue;
    if (previous == nullptr)
      list_.head = next;
    else
      previous->next = next;
    if (list_.tail == this) list_.tail = previous;
    --list_.size;
    return;
  }
}

ZORQelI::boolean ZORQelIObjectIMP::IsValid() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIObjectIMP::IsValid() const");
  return ZORQelI::Itrue;
}

const ZORQelIClass& ZORQelIObjectIMP::Id() const {
  ZORQELI_TRACE("const ZORQelIClass& ZORQelIObjectIMP::Id() const");
  return ClassId();
}

ZORQelI::boolean ZORQelIObjectIMP::Equal(ZORQelIObjectIMP* o) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIObjectIMP::Equal(ZORQelIObjectIMP* o) const");
  return o == this ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::integer ZORQelIObjectIMP::HashCode() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIObjectIMP::HashCode() const");
  // The low 32 bits of the address as a signed value, shifted arithmetically.
  std::uint32_t low = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this));
  return static_cast<std::int32_t>(low) >> 2;
}

void ZORQelIObjectIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectorMemberCheck()");
}

void ZORQelIObjectIMP::Finalizer() {
  ZORQELI_TRACE("void ZORQelIObjectIMP::Finalizer()");
  delete this;
}

ZORQelI::string ZORQelIObjectIMP::ToString() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIObjectIMP::ToString() const");
  ZORQelIExpressForm printer;
  Text(printer);
  return printer.Get();
}

void ZORQelIObjectIMP::ToStream(std::ostream& ot) const {
  ZORQELI_TRACE("void ZORQelIObjectIMP::ToStream(ostream& ot) const");
  ot << static_cast<const char*>(ToString());
}

void ZORQelIObjectIMP::show_self() {
  ZORQELI_TRACE("void ZORQelIObjectIMP::show_self()");
  ToStream(std::cerr);
  std::cerr << std::endl;
}

const ZORQelIClass& ZORQelIObjectIMP::ClassId() {
  ZORQELI_TRACE("const ZORQelIClass& ZORQelIObjectIMP::ClassId()");
  static const ZORQelIClass& descriptor = NewClassId(nullptr, __CLASSNAME__);
  return descriptor;
}

ZORQelI::boolean ZORQelIObjectIMP::Match(const ZORQelIClass& o) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIObjectIMP::Match(const ZORQelIClass& o) const");
  return o.IsAKindOf(&Id());
}

void ZORQelIObjectIMP::SafeMatch(const ZORQelIClass& o) const {
  ZORQELI_TRACE("void ZORQelIObjectIMP::SafeMatch(const ZORQelIClass& o) const");
  if (Match(o) == ZORQelI::Ifalse)
    ZORQELI_RAISE(ZORQelI::InvalidType(), ZORQELI_SOURCE(ZORQelIObjectIMP), 199);
}

ZORQelIObjectIMP* ZORQelIObjectIMP::Cast__(ZORQelIObject o, const ZORQelIClass& x) {
  ZORQELI_TRACE(
      "ZORQelIObjectIMP* ZORQelIObjectIMP::Cast__(ZORQelIObject o, const ZORQelIClass& x)");
  if (o.objectIMP == nullptr) return nullptr;
  ZORQelIObjectIMP* p = o.RefMe();
  p->SafeMatch(x);
  return p;
}

const ZORQelIClass& ZORQelIObjectIMP::NewClassId(const ZORQelIClass* superC, const char* name) {
  ZORQELI_TRACE(
      "const ZORQelIClass& ZORQelIObjectIMP::NewClassId(const ZORQelIClass* superC, const char* "
      "name)");
  return *new ZORQelIClass(superC, name);
}

const ZORQelIClass& ZORQelIObjectIMP::NewClassId(const ZORQelIClass& superC, const char* name) {
  ZORQELI_TRACE(
      "const ZORQelIClass& ZORQelIObjectIMP::NewClassId(const ZORQelIClass& superC, const char* "
      "name)");
  return *new ZORQelIClass(&superC, name);
}

void ZORQelIObjectIMP::Raise(integer line, const char* file, const char* reason) const {
  ZORQELI_TRACE(
      "void ZORQelIObjectIMP::Raise(integer line, const char* file, const char* reason) const");
  ZORQelIStringStream text;
  text.Print(ZORQelI::string(" in "));
  text.Print(ZORQelI::string(file));
  text.Print(ZORQelI::character('\n'));
  text.Print(ZORQelI::string("Exception raised when handling : "));
  // The object's class and the caller's line: where the text below comes from.
  text.Print(Id().Name() + " (line " + ZORQelI::string(std::to_string(line).c_str()) + ")");
  text.Print(ZORQelI::string("\n"));
  text.Print(ZORQelI::string("Reason : "));
  text.Print(ZORQelI::string(reason));
  text.Print(ZORQelI::string("\n"));
  if (raising) {
    text.Print(ZORQelI::string("Recursion error\n"));
  } else {
    struct Flag {
      Flag() { raising = true; }
      ~Flag() { raising = false; }
    } flag;
    text.Print(ToString());
    text.Print(ZORQelI::string("\n"));
  }
  ZORQELI_RAISE(ZORQelI::Exception(text.Get()), ZORQELI_SOURCE(ZORQelIObjectIMP), 254);
}

ZORQelIObjectIMP* ZORQelIObjectIMP::Next() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIObjectIMP::Next() const");
  return next;
}

void ZORQelIObjectIMP::Next(ZORQelIObjectIMP* n) {
  ZORQELI_TRACE("void ZORQelIObjectIMP::Next(ZORQelIObjectIMP* n)");
  next = n;
}

ZORQelI::integer ZORQelIObjectIMP::GetInstancesCount__() {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIObjectIMP::GetInstancesCount__()");
  return list_.Size();
}

void ZORQelIObjectIMP::Status() {
  ZORQELI_TRACE("void ZORQelIObjectIMP::Status()");
  list_.Status();
}

void ZORQelIObjectIMP::ClearAllMarks() {
  for (ZORQelIObjectIMP* o = list_.head; o != nullptr; o = o->next) o->garbageCollectorHit = 0;
  markTop = 0;
  strayMarks = false;
}

void ZORQelIObjectIMP::GarbageCollect(ZORQelIGholder& va, ZORQelIGholder& vs) {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollect(ZORQelIGholder& va, ZORQelIGholder& vs)");
  if (strayMarks) ClearAllMarks();
  inCycle = true;
  try {
    vs.Scanner();
    va.Scanner();
  } catch (...) {
    // A member check raised: forget this cycle's marks so that the next
    // cycle scans every reachable object again.
    inCycle = false;
    draining = false;
    ClearAllMarks();
    throw;
  }
  inCycle = false;
  GarbageCollectCleaner();
}

void ZORQelIObjectIMP::GarbageCollectCleaner() {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectCleaner()");
  list_.Cleaner();
}

void ZORQelIObjectIMP::DrainMarkStack() {
  draining = true;
  struct Reset {
    ~Reset() { draining = false; }
  } reset;
  while (markTop > 0) {
    ZORQelIObjectIMP* o = markStack[--markTop];
    o->GarbageCollectorMemberCheck();
  }
}

void ZORQelIObjectIMP::GarbageCollectorScan() {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectorScan()");
  if (garbageCollectorHit != 0) return;
  garbageCollectorHit = 1;
  if (!inCycle) strayMarks = true;
  if (markTop < markCapacity) {
    markStack[markTop++] = this;
    if (!draining) DrainMarkStack();
  } else {
    GarbageCollectorMemberCheck();
  }
}

void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObjectIMP* m) {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObjectIMP* m)");
  if (m != nullptr) m->GarbageCollectorScan();
}

void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObject& m) {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObject& m)");
  m.GarbageCollectorScan();
}

void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObjectIMP** m, int count) {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObjectIMP** m, int count)");
  for (int i = 0; i < count; ++i) GarbageCollectorScan(m[i]);
}

int ZORQelIObjectIMP::TestAndSetGarbageCollectorHit() {
  ZORQELI_TRACE("int ZORQelIObjectIMP::TestAndSetGarbageCollectorHit()");
  int hit = garbageCollectorHit;
  garbageCollectorHit = 0;
  return hit;
}
