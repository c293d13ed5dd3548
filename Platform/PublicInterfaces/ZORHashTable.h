// A hash set of untyped elements, with caller-supplied hash and equality.
#ifndef ZORHashTable_h
#define ZORHashTable_h

#include <cstddef>
#include <memory>
#include <vector>

#include "ZORCollecRoot.h"
#include "ZORPlatformExport.h"

// Holds void* elements; it never owns, copies, or deletes what they point to.
// No two held elements compare equal (compare(a, b) == 0).  The null pointer
// is never an element: Insert refuses it, and a null result means "none".
//
// The hash and compare functions must stay consistent with the elements for
// as long as the elements are held (equal elements have equal hash values),
// and must not modify the table.
//
// Layout (open addressing, ordered linear probing):
//  - The elements themselves sit in a dense array, in no particular order
//    (a removal moves the last one into the hole).  The probed array holds
//    8-byte slots: an element's mixed hash m = hash * 0x9E3779B9 (mod 2^32),
//    a bijection, so equal m means equal hash and compare is called only on
//    a hash match; and its reference, its place in the dense array.  Beside
//    each element the dense part keeps m with the caller's tag (TryInsert)
//    as its lowest bit, read by removals and by LocateSelf past an element
//    of the same hash.  A lookup reads one slot line at random, then the
//    dense entry of the slot whose m matches: the probed
//    array is half the size of one that held the elements, so more of it
//    stays in the caches of a table of 10^5 to 10^6 elements.  An element's
//    home is (m * buckets) >> 32, monotonic in m.
//  - An element sits at or after its home, with no empty slot in between.
//    There is no wrap-around: slots past the last home form an overflow area
//    that grows on demand.  The last slot is always empty, which ends every
//    probe.
//  - Occupied slots are sorted by m along the array.  A probe for m can
//    therefore stop at the first empty slot or the first larger m.  Equal-hash
//    elements are contiguous, in the order they were inserted (each goes to
//    the end of its run), and growth re-places every element in one linear
//    pass.
//  - Removal shifts the following elements of the run back by one slot (no
//    tombstones), so lookups never slow down after many removals.
//  - count <= buckets * 3/4: the bucket count doubles when an insertion
//    would exceed this, so probe runs stay short whatever the size.  It never
//    shrinks (RemoveAll keeps it too).
//
// Iteration visits slots from the last to the first.  Removing the element
// just returned (or any element already returned) during an iteration is
// allowed: removing the element of slot i moves only elements of slots above
// i, one slot down, so the slots still to be visited are not touched.  Any
// other change (Insert, removing an element not yet returned, RemoveAll,
// assignment) invalidates the cursor.
class ZOR_PLATFORM_EXPORT ZORHashTable : public ZORCollecRoot {
 public:
  // compare returns 0 for equal elements.  size is the initial number of
  // buckets; a size below 2 gives 109.
  ZORHashTable(unsigned (*hash)(const void*), int (*compare)(const void*, const void*),
               int size);
  // An independent table holding the same elements, with the same functions.
  ZORHashTable(const ZORHashTable& t);
  // This table becomes a copy of t (elements, functions, buckets).
  ZORHashTable& operator=(const ZORHashTable& t);
  ~ZORHashTable() override;

  // Adds e: nonzero when added; 0, and no change, when e is null or an
  // element comparing equal to e is held.
  int Insert(void* e);
  // The held element comparing equal to e, or null.
  void* Locate(void* e) const;
  // Removes the held element comparing equal to e: nonzero when one was.
  int Remove(void* e);
  // A held element whose hash value is key (as unsigned), or null.
  void* KeyLocate(int key) const;

  // Insert, Locate and Remove for a caller that has already computed the
  // element's hash value: hash must be what the table's hash function gives
  // for e.  They spare an indirect call on the hot paths of a typed table.
  int InsertHashed(void* e, unsigned hash);
  void* LocateHashed(const void* e, unsigned hash) const;
  int RemoveHashed(void* e, unsigned hash);
  // RemoveHashed that returns the element it removed (null when none was).
  void* TakeHashed(const void* e, unsigned hash);
  // Removes e itself, found by identity: no hash or compare is called, so it
  // finds e even when e's hash value has changed while it was held.  Reads
  // every held element.  Nonzero when e was held.
  int RemoveIdentical(const void* e);
  // Locate and Insert for a caller that must not have compare called, with
  // an equality of its own that may decline: match(held, e), called on each
  // held element with e's hash value in probe order, returns 1 when they
  // compare equal, 0 when they do not, -1 when it cannot tell.  Where it
  // tells, it must agree with compare.  hash as for InsertHashed.  Inline:
  // they are the whole of the library's quietest lookups and insertions.
  //
  // TryLocate: false, *found untouched, when match declined before an equal
  // element was found; else true and *found is the held element equal to e,
  // or null.
  template <class Match>
  bool TryLocate(const void* e, unsigned hash, Match match, void** found) const {
    const unsigned m = Mix(hash);
    const Slot* s = slots_.data();
    for (std::size_t i = Home(m); s[i].ref != 0 && s[i].m <= m; ++i) {
      if (s[i].m != m) continue;
      void* held = ElementOf(s[i]);
      const int r = match(static_cast<const void*>(held), e);
      if (r < 0) return false;
      if (r > 0) {
        *found = held;
        return true;
      }
    }
    *found = nullptr;
    return true;
  }
  // TryInsert: 1 when e was added, 0 when an element equal to e is held, -1
  // (nothing changed) when match declined before an equal element was found.
  // tag is kept with e for LocateSelf, which tells only zero from nonzero
  // (elements inserted otherwise carry 0).
  template <class Match>
  int TryInsert(void* e, unsigned hash, Match match, unsigned tag = 0) {
    const unsigned m = Mix(hash);
    Slot* s = slots_.data();
    std::size_t i = Home(m);
    for (; s[i].ref != 0 && s[i].m <= m; ++i) {
      if (s[i].m != m) continue;
      const int r = match(static_cast<const void*>(ElementOf(s[i])), static_cast<const void*>(e));
      if (r != 0) return r > 0 ? 0 : -1;
    }
    // The common case in line: a free slot that is not the last, and no
    // growth (the dense arrays always have room for growAt_ elements).
    const std::size_t k = static_cast<std::size_t>(count) + 1;
    if (s[i].ref == 0 && k <= growAt_ && i + 1 < slots_.size()) {
      elems_[k] = e;
      marks_[k] = MarkOf(m, tag);
      s[i] = Slot{m, static_cast<unsigned>(k)};
      count = static_cast<int>(k);
      return 1;
    }
    InsertBefore(i, e, m, tag);
    return 1;
  }
  // e itself when it is held and every element before it with e's hash
  // value (in probe order) carries a nonzero tag; else null.  It reads the
  // slots and the held elements' places only: a caller tags an element to
  // vouch that it compares equal to no other element it could be asked
  // about, so that a held key is found without touching the elements that
  // share its hash value.
  void* LocateSelf(const void* e, unsigned hash) const {
    const unsigned m = Mix(hash);
    const Slot* s = slots_.data();
    for (std::size_t i = Home(m); s[i].ref != 0 && s[i].m <= m; ++i) {
      if (s[i].m != m) continue;
      void* held = ElementOf(s[i]);
      if (held == e) return held;
      if ((marks_[s[i].ref] & kTagged) == 0) return nullptr;
    }
    return nullptr;
  }

  // Iteration: start with a = 1, b = 0, call until the result is null; each
  // held element is returned exactly once (see above for removal while
  // iterating).  Once the end is reached, further calls keep returning null.
  void* Next(int& a, int& b) const;
  // The held element comparing equal to e, with the cursor set so that the
  // following Next calls return the elements that come after it in iteration
  // order.  When no such element is held: null, and a and b are unchanged.
  void* LocatePosition(void* e, int& a, int& b) const;

  // Removes every element (the elements themselves are untouched).
  void RemoveAll();
  int BucketCount() const { return static_cast<int>(buckets_); }

  // Number of elements held.  Read it; never write it.
  int count;

 private:
  struct Slot {
    unsigned m;    // mixed hash of the element
    unsigned ref;  // 0: empty; else the element's place in elems_
  };
  static constexpr unsigned kTagged = 1;
  static constexpr std::size_t kNone = ~std::size_t(0);
  // Slot arrays of 2 MiB and more are mapped on their own, aligned, and
  // offered to the system as transparent huge pages.  Every growth makes a
  // fresh array that is written in full at once: on huge pages that costs a
  // page fault per 2 MiB instead of one per 4 KiB (and, through the
  // allocator, the memory goes back to the system when the table is freed).
  // Smaller arrays come from operator new.
  struct SlotAllocator {
    using value_type = Slot;
    template <class U>
    struct rebind {  // only ever asked for Slot
      using other = SlotAllocator;
    };
    SlotAllocator() = default;
    Slot* allocate(std::size_t n);
    void deallocate(Slot* p, std::size_t n) noexcept;
    bool operator==(const SlotAllocator&) const { return true; }
    bool operator!=(const SlotAllocator&) const { return false; }
  };
  using Slots = std::vector<Slot, SlotAllocator>;

  // Fibonacci hashing: an odd multiplier is a bijection of 32-bit values
  // that spreads small or regular hash values over the high bits used by
  // HomeIn.
  static unsigned Mix(unsigned h) { return h * 0x9E3779B9u; }
  // Home slot of mixed hash m among `buckets` homes; monotonic in m.
  static std::size_t HomeIn(unsigned m, std::size_t buckets) {
    return static_cast<std::size_t>((static_cast<unsigned long long>(m) * buckets) >> 32);
  }
  std::size_t Home(unsigned m) const { return HomeIn(m, buckets_); }
  void* ElementOf(const Slot& x) const { return elems_[x.ref]; }
  // What marks_ keeps of an element: m with the tag as its lowest bit.  The
  // home of a mark's m (lowest bit clear) is at or just before the home of m.
  static unsigned MarkOf(unsigned m, unsigned tag) {
    return (m & ~kTagged) | (tag != 0 ? kTagged : 0u);
  }
  // The slot whose reference names place k of elems_ (searched from the
  // home of its mark).
  std::size_t SlotOf(std::size_t k) const;
  std::size_t Find(const void* e, unsigned m) const;
  // Puts slot x at pos, moving the run from pos up by one slot.
  void PlaceAt(std::size_t pos, Slot x);
  // Adds e (mixed hash m, tag) at slot i, the end of the probe for m,
  // growing the table first when it is full.  When it throws (no memory, or
  // std::length_error for a table that would pass 2^31 elements), e is not
  // added.
  void InsertBefore(std::size_t i, void* e, unsigned m, unsigned tag);
  void EraseAt(std::size_t pos);
  void Grow();
  void Reset(std::size_t buckets);

  unsigned (*hash_)(const void*);
  int (*compare_)(const void*, const void*);
  std::size_t buckets_;
  std::size_t growAt_;  // largest count not needing more buckets
  Slots slots_;  // buckets_ homes, then the overflow area
  // The held elements and their marks (MarkOf), at places 1..count; place 0
  // is unused, so that a slot's reference is never 0.  Both have room for
  // growAt_ + 1 entries, so that no insertion short of a growth allocates.
  // A removal moves the last element into the hole and updates the one slot
  // that names it.
  // The two dense arrays share one block, the marks after the elements'
  // room: one allocation and one release per growth.  The block is
  // allocated as the slot arrays are (huge pages from 2 MiB on); the deleter
  // knows its byte size.  elems_ owns it; marks_ points into it.
  struct DenseFree {
    DenseFree() noexcept : bytes(0) {}
    explicit DenseFree(std::size_t n) noexcept : bytes(n) {}
    void operator()(void* p) const noexcept;
    std::size_t bytes;
  };
  using Elems = std::unique_ptr<void*[], DenseFree>;
  Elems elems_;
  unsigned* marks_ = nullptr;
  // A fresh dense block with room for the growth limit of `buckets`, holding
  // the first `held` entries of this table's; marks is set to its marks.
  void MakeDense(std::size_t buckets, std::size_t held, Elems& elems, unsigned*& marks) const;
};

#endif
