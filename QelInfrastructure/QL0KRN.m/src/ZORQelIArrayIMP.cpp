#include "ZORQelIArrayIMP.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "ZORQelIArrayWalker.h"
#include "ZORQelIBoundError.h"
#include "ZORQelIListUniqueIMP.h"
#include "ZORQelINullPtrAccess.h"
#include "ZORQelIPin.h"
#include "ZORQelIPrint.h"
#include "ZORQelIRaise.h"
#include "ZORQelIStackRoom.h"
#include "ZORQelITracer.h"
#include "internal/ZORQelITestSeams.h"

ZORQELI_DEFINE_IMP(ZORQelIArrayIMP, ZORQelIObjectIMP)

namespace {
constexpr integer kDefaultCapacity = 10;

// Bytes for a block of n slots.  A block never has zero bytes, so a null
// result always means failure (malloc(0) may legitimately return null).
std::size_t SlotBytes(long long n) {
  return static_cast<std::size_t>(n > 0 ? n : 1) * sizeof(ZORQelIObjectIMP*);
}

// stop - 1 with 32-bit wrap-around (a stop of INT_MIN is reported, not
// undefined).
int WrappingPredecessor(int stop) {
  return static_cast<int>(static_cast<unsigned>(stop) - 1u);
}

[[noreturn]] void RaiseAllocationFailure() {
  ZORQELI_RAISE_AT(kArrayAllocation, ZORQelI::NullPtrAccess());
}
}  // namespace

void* (*ZORQelIInternal::arraySlotAllocator)(void* old, std::size_t bytes) = &std::realloc;

ZORQelIObjectIMP** ZORQelIArrayIMP::Allocate(integer count) {
  ZORQELI_TRACE("ZORQelIObjectIMP** ZORQelIArrayIMP::Allocate(integer count)");
  void* p = ZORQelIInternal::arraySlotAllocator(nullptr, SlotBytes(count));
  if (p == nullptr) RaiseAllocationFailure();
  return static_cast<ZORQelIObjectIMP**>(p);
}

void ZORQelIArrayIMP::RawCopy(ZORQelIObjectIMP** dest, ZORQelIObjectIMP** src, integer count) {
  ZORQELI_TRACE(
      "void ZORQelIArrayIMP::RawCopy(ZORQelIObjectIMP** dest, ZORQelIObjectIMP** src, integer "
      "count)");
  if (dest == nullptr || src == nullptr)
    ZORQELI_RAISE_AT(kArrayRawCopy, ZORQelI::NullPtrAccess());
  // memmove: Remove(pos) moves a range down over itself.
  if (count > 0) std::memmove(dest, src, static_cast<std::size_t>(count) * sizeof(*dest));
}

void ZORQelIArrayIMP::Resize(long long newCapacity) {
  // Capacities are 32-bit; a request past that is an allocation failure.
  if (newCapacity > INT_MAX) RaiseAllocationFailure();
  if (newCapacity > room) {
    // Half the room more when that beats the request; the exact request if
    // the larger block cannot be had.
    long long want = static_cast<long long>(room) + room / 2;
    if (want < newCapacity || want > INT_MAX) want = newCapacity;
    void* p = ZORQelIInternal::arraySlotAllocator(elements, SlotBytes(want));
    if (p == nullptr && want > newCapacity) {
      want = newCapacity;
      p = ZORQelIInternal::arraySlotAllocator(elements, SlotBytes(want));
    }
    if (p == nullptr) RaiseAllocationFailure();  // the old block is intact
    elements = static_cast<ZORQelIObjectIMP**>(p);
    room = static_cast<integer>(want);
  }
  capacity = static_cast<integer>(newCapacity);
}

ZORQelIArrayIMP::ZORQelIArrayIMP() : size(0), capacity(0), elements(nullptr), room(0) {
  ZORQELI_TRACE(" ZORQelIArrayIMP::ZORQelIArrayIMP()");
  elements = Allocate(kDefaultCapacity);
  capacity = room = kDefaultCapacity;
}

ZORQelIArrayIMP::ZORQelIArrayIMP(integer top)
    : size(0), capacity(0), elements(nullptr), room(0) {
  ZORQELI_TRACE(" ZORQelIArrayIMP::ZORQelIArrayIMP(integer top)");
  if (top < 0) top = 0;
  elements = Allocate(top);
  capacity = room = top;
}

ZORQelIArrayIMP::ZORQelIArrayIMP(const ZORQelIArrayIMP& o)
    : ZORQelIObjectIMP(o), size(0), capacity(0), elements(nullptr), room(0) {
  ZORQELI_TRACE(" ZORQelIArrayIMP::ZORQelIArrayIMP(const ZORQelIArrayIMP& o)");
  elements = Allocate(o.size);
  RawCopy(elements, o.elements, o.size);
  size = o.size;
  capacity = room = o.size;
}

ZORQelIArrayIMP::~ZORQelIArrayIMP() {
  ZORQELI_TRACE(" ZORQelIArrayIMP::~ZORQelIArrayIMP()");
  std::free(elements);
}

ZORQelIObjectIMP* ZORQelIArrayIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIArrayIMP::Clone() const");
  return new ZORQelIArrayIMP(*this);
}

void ZORQelIArrayIMP::Text(ZORQelIPrint& o) const {
  ZORQELI_TRACE("void ZORQelIArrayIMP::Text(ZORQelIPrint& o) const");
  if (printing_)
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(
                      "ZORQelIArray::Text: the array contains itself (directly or through its "
                      "elements), so its text would never end")),
                  ZORQELI_SOURCE(ZORQelIArrayIMP), __LINE__);
  if (ZORQelI::StackNearlyExhausted())
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(
                      "ZORQelIArray::Text: arrays nested too deeply to be printed on this "
                      "thread's stack")),
                  ZORQELI_SOURCE(ZORQelIArrayIMP), __LINE__);
  // An element's Text is the client's code: it may drop the last handle on
  // this array and collect.
  ZORQelIInternal::Pin pin(const_cast<ZORQelIArrayIMP*>(this));
  struct Printing {
    explicit Printing(bool& flag) : flag(flag) { flag = true; }
    ~Printing() { flag = false; }
    bool& flag;
  } printing(const_cast<ZORQelIArrayIMP*>(this)->printing_);
  o.Print(ZORQelI::string("("));
  // size and elements are read afresh: an element's Text may reach this array.
  for (integer i = 0; i < size; ++i) {
    if (i > 0) o.Print(ZORQelI::string(","));
    ZORQelIObject element(elements[i]);
    if (element.IsValid() == ZORQelI::Itrue)
      element.Text(o);
    else
      o.Print(ZORQelI::string("$"));
  }
  o.Print(ZORQelI::string(")"));
}

void ZORQelIArrayIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIArrayIMP::GarbageCollectorMemberCheck()");
  ZORQelIObjectIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(elements, size);
}

ZORQelI::boolean ZORQelIArrayIMP::Add(ZORQelIObject x) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIArrayIMP::Add(ZORQelIObject x)");
  // The element first: an empty x leaves even the capacity unchanged.
  ZORQelIObjectIMP* element = x.RefMe();
  if (size >= capacity) Resize(static_cast<long long>(capacity) + growthStep);
  elements[size++] = element;
  return ZORQelI::Itrue;
}

void ZORQelIArrayIMP::RemoveAll() {
  ZORQELI_TRACE("void ZORQelIArrayIMP::RemoveAll()");
  size = 0;
}

ZORQelI::Mint ZORQelIArrayIMP::Look(ZORQelIObject o, int pos) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIArrayIMP::Look(ZORQelIObject o, int pos) const");
  ZORQelIObjectIMP* searched = o.RefMe();
  // HashCode and Equal may be the client's code (see Text).
  ZORQelIInternal::Pin pin(const_cast<ZORQelIArrayIMP*>(this));
  const ZORQelI::integer h = searched->HashCode();
  // The bound is read at every step: an element's Equal may change the array.
  for (integer i = pos < 0 ? 0 : pos; i < size; ++i) {
    ZORQelIObjectIMP* element = elements[i];
    if (element->HashCode() == h && element->Equal(searched) == ZORQelI::Itrue) return i;
  }
  return ZORQelI::Mint::UNSET;
}

ZORQelI::Mint ZORQelIArrayIMP::Look(ZORQelIObject o) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIArrayIMP::Look(ZORQelIObject o) const");
  return Look(o, 0);
}

ZORQelI::Mint ZORQelIArrayIMP::Remove(ZORQelIObject o, int pos) {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIArrayIMP::Remove(ZORQelIObject o, int pos)");
  ZORQelI::Mint i = Look(o, pos);
  if (i.IsSet()) Remove(static_cast<int>(i));
  return i;
}

ZORQelI::Mint ZORQelIArrayIMP::Remove(ZORQelIObject o) {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIArrayIMP::Remove(ZORQelIObject o)");
  return Remove(o, 0);
}

void ZORQelIArrayIMP::Remove(int pos) {
  ZORQELI_TRACE("void ZORQelIArrayIMP::Remove(int pos)");
  CheckBounds(pos);
  ZORQelIObjectIMP* const removed = elements[pos];
  --size;
  RawCopy(elements + pos, elements + pos + 1, size - pos);
  // Every element that leaves a unique list's array part leaves here: the
  // list keeps its set from holding an element the array no longer keeps
  // alive, whichever handle the removal came through.
  if (auto* list = dynamic_cast<ZORQelIListUniqueIMP*>(this)) list->Left(removed);
}

void ZORQelIArrayIMP::AppendArray(ZORQelIArrayIMP* x) {
  ZORQELI_TRACE("void ZORQelIArrayIMP::AppendArray(ZORQelIArrayIMP* x)");
  const long long n = static_cast<long long>(size) + x->size;
  if (n > INT_MAX) RaiseAllocationFailure();
  // Fresh storage, so that x may be this very array.
  ZORQelIObjectIMP** fresh = Allocate(static_cast<integer>(n));
  RawCopy(fresh, elements, size);
  RawCopy(fresh + size, x->elements, x->size);
  std::free(elements);
  elements = fresh;
  size = capacity = room = static_cast<integer>(n);
}

ZORQelI::boolean ZORQelIArrayIMP::ForEach(ZORQelIArrayWalker& ctx, int start, int stop) {
  ZORQELI_TRACE(
      "ZORQelI::boolean ZORQelIArrayIMP::ForEach(ZORQelIArrayWalker& ctx, int start, int stop)");
  CheckRange(start, stop);
  // The walker may change the array: the storage is read afresh at each step,
  // and a walk whose array has shrunk below i ends there.  It may also drop
  // the last handle on the array and collect: the pin keeps it alive.
  ZORQelIInternal::Pin pin(this);
  for (integer i = start; i < stop && i < size; ++i) {
    ZORQelI::boolean more;
    {
      ZORQelIObject element(elements[i]);
      more = ctx.Walk(element, i);
    }
    if (more == ZORQelI::Ifalse) return ZORQelI::Ifalse;
  }
  return ZORQelI::Itrue;
}

ZORQelI::boolean ZORQelIArrayIMP::ForEach(ZORQelIArrayWalker& ctx, int start, int stop) const {
  ZORQELI_TRACE(
      "ZORQelI::boolean ZORQelIArrayIMP::ForEach(ZORQelIArrayWalker& ctx, int start, int stop) "
      "const");
  // The walker receives non-const handles; the walk is the same.
  return const_cast<ZORQelIArrayIMP*>(this)->ForEach(ctx, start, stop);
}

void ZORQelIArrayIMP::Dump() const {
  ZORQELI_TRACE("void ZORQelIArrayIMP::Dump() const");
  std::cerr << "Array dumped : \n";
  if (size > 0)
    std::cerr << "[0.." << size - 1 << "]\n";
  else
    std::cerr << "array is empty\n";
  std::cerr << std::endl;
}

void ZORQelIArrayIMP::CheckBounds(int pos) const {
  ZORQELI_TRACE("void ZORQelIArrayIMP::CheckBounds(int pos) const");
  if (pos < 0 || pos >= size)
    // The bound error names the position twice: a range of one.
    ZORQELI_RAISE_AT(kArrayBounds, ZORQelI::BoundError(pos, pos, 0, size - 1));
}

void ZORQelIArrayIMP::CheckRange(int start, int stop) const {
  ZORQELI_TRACE("void ZORQelIArrayIMP::CheckRange(int start, int stop) const");
  if (start < 0 || stop < start || stop > size)
    ZORQELI_RAISE_AT(kArrayRange,
                     ZORQelI::BoundError(start, WrappingPredecessor(stop), 0, size - 1));
}

ZORQelIObject ZORQelIArrayIMP::Get(int pos) const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIArrayIMP::Get(int pos) const");
  CheckBounds(pos);
  return ZORQelIObject(elements[pos]);
}

ZORQelI::integer ZORQelIArrayIMP::Size() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIArrayIMP::Size() const");
  return size;
}

ZORQelI::integer ZORQelIArrayIMP::Capacity() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIArrayIMP::Capacity() const");
  return capacity;
}
