#include "ZORQelIObjectIMP.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <new>

#include "ZORQelICheck.h"
#include "ZORQelIException.h"
#include "ZORQelIExpressForm.h"
#include "ZORQelIGholder.h"
#include "ZORQelIInvalidType.h"
#include "ZORQelIMarker.h"
#include "ZORQelIObject.h"
#include "ZORQelIPin.h"
#include "ZORQelIQuiet.h"
#include "ZORQelIRaise.h"
#include "ZORQelIStringStream.h"
#include "ZORQelITracer.h"

// The collector's list: constant-initialised, so it exists before the first
// static constructor of the process runs.
ZORQelIGarbageableObjectListIMP ZORQelIObjectIMP::list_;

// The marking state the inline scans read (the rest is ZORQelIMarker's),
// constant-initialised like list_: it exists before the first static
// constructor of the process runs.
ZORQelIInternal::Marking ZORQelIInternal::marking = {nullptr, 0, Marking::deferFrom, false};

namespace {
bool raising = false;  // the recursion flag of Raise

// A cycle (or a sweep asked for on its own) is running.  A collection asked
// for meanwhile, by a member check or by a destructor that the sweep runs,
// would sweep with half the marks made, or mark objects that this sweep has
// already examined and so leave their marks for the next cycle: it is
// deferred instead (the tables it named are kept) and run once the running
// one has finished.  A sweep asked for meanwhile is refused.
bool collecting = false;
bool cycleSweep = false;  // the running cycle's own sweep is due
ZORQelIGholder* deferredVa = nullptr;
ZORQelIGholder* deferredVs = nullptr;

struct Collecting {
  Collecting() { collecting = true; }
  ~Collecting() {
    collecting = false;
    cycleSweep = false;
  }
};

// Runs the collection deferred during the one that just ended, once: a
// collection asked for during that one is dropped, so that a finalizer that
// always asks cannot keep the collector running.
bool followingUp = false;  // the deferred collection is running
void RunDeferred() {
  if (deferredVa == nullptr || followingUp) return;
  ZORQelIGholder& va = *deferredVa;
  ZORQelIGholder& vs = *deferredVs;
  deferredVa = deferredVs = nullptr;
  struct FollowUp {
    FollowUp() { followingUp = true; }
    ~FollowUp() {
      followingUp = false;
      deferredVa = deferredVs = nullptr;
    }
  } followUp;
  ZORQelIObjectIMP::GarbageCollect(va, vs);
}
}  // namespace

void ZORQelIObjectIMP::Enlist(ZORQelIObjectIMP* o) {
  // Room in the work list first: if that fails, the object is not on the
  // list and its allocation is released by new's own clean-up.
  ZORQelIMarker::ReserveOneMore();
  o->garbageCollectorHit = 0;
  ZORQelIMarker::Listed(o, list_.size);
  list_.Add(o);
}

ZORQelIObjectIMP::ZORQelIObjectIMP(LoadTimeTag) : garbageCollectorHit(0), next(nullptr) {
  // list_.Add without its trace frame: a frame here would create the trace
  // context (and read the filter) while the library is being loaded, and
  // trace a line before the client has called in.
  ZORQelIMarker::ReserveOneMore();
  ZORQelIMarker::Listed(this, list_.size);
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

ZORQelIObjectIMP* ZORQelIMarker::finalizing_ = nullptr;

// A finalizer of the client's deleting its object (the sweep learns that it
// did), or a failed construction (the compiler destroys the base, then frees
// the memory): that object, added last or nearly so, comes off the list.
void ZORQelIObjectIMP::Unlink() {
  if (this == ZORQelIMarker::finalizing_) {
    ZORQelIMarker::finalizing_ = nullptr;
    return;
  }
  ZORQelIObjectIMP* previous = nullptr;
  for (ZORQelIObjectIMP* o = list_.head; o != nullptr; previous = o, o = o->next) {
    if (o != this) continue;
    (previous == nullptr ? list_.head : previous->next) = next;
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
  return ZORQelIInternal::AddressHash(this);
}

void ZORQelIObjectIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectorMemberCheck()");
}

// Shared with the sweep, which runs this Finalizer in place under the same
// frame for the objects that keep it.
ZORQelITracerElement ZORQelIMarker::finalizerTrace_{"void ZORQelIObjectIMP::Finalizer()",
                                                    __LINE__};
void ZORQelIObjectIMP::Finalizer() {
  ZORQelITracer frame(ZORQelIMarker::finalizerTrace_);
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
    ZORQELI_RAISE_AT(kSafeMatch, ZORQelI::InvalidType());
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
  ZORQELI_RAISE_AT(kObjectRaise, ZORQelI::Exception(text.Get()));
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

void ZORQelIObjectIMP::GarbageCollect(ZORQelIGholder& va, ZORQelIGholder& vs) {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollect(ZORQelIGholder& va, ZORQelIGholder& vs)");
  if (collecting) {
    deferredVa = &va;
    deferredVs = &vs;
    return;
  }
  {
    Collecting running;
    try {
      ZORQelIMarker::MarkRoots(va, vs);
    } catch (...) {
      deferredVa = deferredVs = nullptr;
      throw;
    }
    cycleSweep = true;
    try {
      GarbageCollectCleaner();
    } catch (...) {
      deferredVa = deferredVs = nullptr;
      throw;
    }
#if ZORQELI_DCHECK_IS_ON
    for (ZORQelIObjectIMP* o = list_.head; o != nullptr; o = o->next)
      ZORQELI_DCHECK(o->garbageCollectorHit == 0 || ZORQelIMarker::HasStrayMarks(),
                     "an object kept its mark past the end of a cycle");
#endif
  }
  RunDeferred();
}

void ZORQelIObjectIMP::GarbageCollectCleaner() {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectCleaner()");
  if (collecting) {
    // Only the running cycle's own sweep: any other would free the objects
    // that this cycle has not marked yet, or sweep inside this sweep.
    if (!cycleSweep) return;
    cycleSweep = false;
    list_.Cleaner();
    return;
  }
  {
    Collecting running;
    try {
      list_.Cleaner();
    } catch (...) {
      deferredVa = deferredVs = nullptr;
      throw;
    }
  }
  RunDeferred();
}

void ZORQelIObjectIMP::ScanUnderFrame() {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectorScan()");
  if (garbageCollectorHit == 0) ZORQelIMarker::Reach(this);
}

void ZORQelIObjectIMP::Defer(ZORQelIObjectIMP* m) { ZORQelIMarker::Defer(m); }

void ZORQelIObjectIMP::ScanUnderFrame(ZORQelIObjectIMP* m) {
  ZORQELI_TRACE("void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObjectIMP* m)");
  if (m != nullptr) m->GarbageCollectorScan();
}

void ZORQelIObjectIMP::ScanHandle(ZORQelIObject& m) {
  if (__builtin_expect(ZORQelIInternal::marking.quiet, 1)) {
    // The handle's first scan without its three frames, which enclose no code of
    // the client's: the handle out of its table, then its referent as a raw one.
    if (m.key != ZORQelIGholder::MEMBER) {
      ZORQELI_DCHECK(ZORQelIVariable::holder != nullptr && m.key >= 0,
                     "a handle that is not a member owns a slot of a table");
      ZORQelIVariable::holder[m.key & 1].table[m.key >> 1] = nullptr;
      m.key = ZORQelIGholder::MEMBER;
    }
    GarbageCollectorScan(m.objectIMP);
    return;
  }
  [](ZORQelIObject& h) __attribute__((noinline)) {  // so that the path above saves no register
    ZORQELI_TRACE_LINE("void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObject& m)", 347);
    h.GarbageCollectorScan();
  }(m);
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
