// ZORQelIMemSlot: the compact storage of one value of the in-memory provider.
#ifndef ZORQelIMemSlot_h
#define ZORQelIMemSlot_h

#include <cstdint>

#include "QL0KRN.h"
#include "ZORQelIMemExport.h"

// One stored value in eight bytes.  What the bytes mean is told by a tag kept
// beside the slot (stores keep their tags in an array of their own, so a
// value costs nine bytes).  The tag, not the declared type, decides how a
// slot is read, released and scanned: a slot is always safe to release and
// scan whatever happened to its declared type since it was written.
//
// Ownership, by tag:
//   Inline     `inlined` holds a string's narrow rendering of at most seven
//              bytes and its NUL, in the slot itself (most names, codes and
//              labels: no allocation at all).
//   String     `text` is a malloc'd NUL-terminated copy of a longer narrow
//              rendering, owned by the slot and freed by Release.  The string
//              component never stores a NUL character, so either copy is
//              exact.
//   Reference  `object` is an entity instance referred to, not owned.
//   Aggregate  `object` is an aggregate instance owned by this slot (value
//              semantics: no other slot refers to it).
//   Object     `object` is any implementation object carried by a Void value.
// The three object tags are collector references: the store's member check
// passes every slot to Scan, which is what keeps their targets alive.
union QL0KRNMEM_EXPORT ZORQelIMemSlot {
  enum Tag : std::uint8_t {
    Unset = 0,
    Boolean,    // boolean and logical values
    Integer,
    Real,
    String,     // string and binary values, allocated
    Inline,     // string and binary values, in the slot
    Reference,
    Aggregate,
    Object
  };

  ZORQelI::integer integer;
  ZORQelI::real real;
  ZORQelI::boolean boolean;
  char* text;
  char inlined[8];
  ZORQelIObjectIMP* object;

  // An unset slot's bytes (read with the Unset tag).
  static ZORQelIMemSlot None() {
    ZORQelIMemSlot s;
    s.object = nullptr;
    return s;
  }
  // Frees what the slot owns and marks it Unset; an aggregate it owned
  // becomes free-standing.
  static void Release(ZORQelIMemSlot& s, std::uint8_t& tag);
  // The destructor's release of n slots: frees the texts only.  The objects
  // are not touched: a store is destroyed by the collector's sweep, which may
  // already have finalized them.
  static void Free(ZORQelIMemSlot* s, const std::uint8_t* tags, int n);
  // Marks the targets of the object tags among n slots.
  static void Scan(const ZORQelIMemSlot* s, const std::uint8_t* tags, int n);
  // Value equality of two slots: equal scalars and texts, the same referenced
  // or carried object, aggregates equal element by element.  An unset slot
  // equals nothing, not even another unset slot.
  static bool Same(const ZORQelIMemSlot& a, std::uint8_t ta, const ZORQelIMemSlot& b,
                   std::uint8_t tb);
  // Stores text as a detached value: Inline when it fits, else String.
  static void PutText(ZORQelIMemSlot& s, std::uint8_t& tag, const char* text);
  // The text of a slot tagged String or Inline.
  static const char* TextOf(const ZORQelIMemSlot& s, std::uint8_t tag) {
    return tag == Inline ? s.inlined : s.text;
  }
  static bool IsText(std::uint8_t tag) { return tag == String || tag == Inline; }
};

#endif
