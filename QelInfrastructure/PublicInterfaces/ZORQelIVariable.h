// ZORQelIVariable: the root registration every handle carries.
#ifndef ZORQelIVariable_h
#define ZORQelIVariable_h

#include <cstdint>

#include "ZORQelI.h"
#include "ZORQelIGholder.h"
#include "ZORQelITracer.h"
#include "internal/ZORQelIStackBounds.h"

class ZORQelIObjectIMP;

// Contract of the root registration every handle makes:
//  - Raises: registering and releasing raise nothing once the holder tables
//    exist and have room; the first registration of the process creates
//    the tables, and a registration that finds its table full grows it,
//    each raising std::bad_alloc when the memory cannot be had (the handle
//    is then not constructed).  GarbageCollect raises what the member
//    checks and finalizers it runs raise.
//  - Ownership: a variable owns its slot and nothing else; the tables are
//    the process's, created once and never freed, so `holder` stays valid.
//  - Validity: a variable keeps its table and slot for its whole life
//    (invariant 3 below); a member's registration ends at its owner's
//    first scan.
//  - Threads: the tables are process-wide and unsynchronised; only the
//    stack bounds are per thread (see README, Threads).

// Every handle is a ZORQelIVariable.  A variable records, in one of the two
// process-wide holder tables, which implementation object it refers to: the
// automatic table (index 0) for handles on the current thread's stack, the
// static table (index 1) for all others (static data and the heap, including
// handle members of implementation objects before their owner's first scan).
// The collector reads only the tables, never handle memory.
//
// Invariants:
//  1. Unless key is MEMBER, the variable owns slot key >> 1 of table key & 1,
//     and that slot holds objectIMP, or ZORQelIGholder::null when objectIMP
//     is null.
//  2. A member (key == MEMBER) owns no slot; it is reached through its owner.
//  3. objectIMP changes only through SetObjectIMP; a variable never moves
//     between tables or slots.
//
// The constructor and destructor are inline: registering is a few loads and
// stores (a thread-local stack-bounds test and a push on the table).
class QL0KRN_EXPORT ZORQelIVariable {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIVariable";
  // The fixed window, in 4-byte words, of the address test used when a
  // thread's real stack bounds cannot be obtained.
  static constexpr std::int32_t stackSize = 65536;
  // The two holder tables (automatic, static): null until the first variable
  // is constructed (or a collection or diagnostic is requested), then created
  // once and never freed.
  static ZORQelIGholder* holder;

  ZORQelIVariable(ZORQelIObjectIMP* X) : objectIMP(X) {
    ZORQELI_TRACE(" ZORQelIVariable::ZORQelIVariable(ZORQelIObjectIMP* X)");
    Register(X);
  }
  // Releases the slot (it becomes a hole).
  // The frame encloses only the release, so when tracing is silent it is
  // left out (see ZORQELI_TRACE_EMPTY).
  QL0KRN_ALWAYS_INLINE virtual ~ZORQelIVariable() {
    if (__builtin_expect(!ZORQelITracer::Silent(), 0)) {
      ZORQELI_TRACE(" ZORQelIVariable::~ZORQelIVariable()");
      Release();
    } else {
      Release();
    }
  }
  ZORQelIVariable(const ZORQelIVariable&) = delete;
  ZORQelIVariable& operator=(const ZORQelIVariable&) = delete;

  // The table selected by the low bit of key (a member yields the automatic
  // table).
  ZORQelIGholder& Holder();
  // 0 when this variable lies on the calling thread's stack, else 1.
  int CheckIfOnStack() const;
  // Changes the referent and the slot with it.
  void SetObjectIMP(ZORQelIObjectIMP* X);
  // Takes the variable out of its table for good (no-op for a member).
  void DefineAsMember();
  // Member scan: DefineAsMember, then marks the referent.
  void GarbageCollectorScan();

  // One collection over both tables; returns the sum of both counts after it.
  static ZORQelI::integer GarbageCollect();
  // Forgets the automatic table's slots at and above top (see Gholder::Size).
  static void FlushInstancePool(ZORQelI::integer top);
  // The number of implementation objects in existence.
  static ZORQelI::integer GetInstancesCount__();
  // The interactive inspector of the tables on standard input/output.
  static void Debugger();
  // Both tables, with headings on standard error.
  static void Dump();

 protected:
  friend class ZORQelIObjectIMP;
  // The registration of a handle constructor, which opens no frame: the
  // handle constructor's own frame stands for it.
  struct InHandleConstructor {};
  QL0KRN_ALWAYS_INLINE ZORQelIVariable(ZORQelIObjectIMP* X, InHandleConstructor) : objectIMP(X) {
    Register(X);
  }

  ZORQelIObjectIMP* objectIMP;
  std::int32_t key;

 private:
  // Frees the slot (a hole) and forgets the referent.  count is left as it
  // is, even for the last slot: the tables' status texts show the holes a
  // dying handle leaves until the next registration trims them.
  QL0KRN_ALWAYS_INLINE void Release() {
    if (key != ZORQelIGholder::MEMBER) holder[key & 1].table[key >> 1] = nullptr;
    objectIMP = nullptr;
  }
  // Takes a slot for X (null for a null X) in the table of this variable's
  // address and sets key.
  QL0KRN_ALWAYS_INLINE void Register(ZORQelIObjectIMP* X) {
    // On this thread's stack (known bounds), with the tables made and room
    // in the automatic one: a slot there, without a call.  Anything else
    // (the first handle, a thread whose bounds are not known yet, a handle
    // off the stack, a full table) is decided out of line.
    ZORQelIGholder* h = holder;
    const ZORQelIInternal::StackBounds& s = ZORQelIInternal::threadStack;
    ZORQelIObjectIMP* const x = X != nullptr ? X : ZORQelIGholder::null;
    std::int32_t slot;
    if (__builtin_expect(h != nullptr &&
                             reinterpret_cast<std::uintptr_t>(this) - s.low < s.size &&
                             h[0].TryPush<false>(x, &slot),
                         1))
      key = slot * 2;
    else
      key = RegisterSlow(x);
  }
  // Register past its inline path: the tables, the slow stack test, growth.
  std::int32_t RegisterSlow(ZORQelIObjectIMP* x);
  // The tables, created on first use.
  static ZORQelIGholder* Holders();
  static bool OnCurrentStack(const void* p) {
    const ZORQelIInternal::StackBounds& s = ZORQelIInternal::threadStack;
    if (__builtin_expect(s.size != 0, 1))
      return reinterpret_cast<std::uintptr_t>(p) - s.low < s.size;
    return ZORQelIInternal::OnStackSlow(p);
  }
};

#endif
