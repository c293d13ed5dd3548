// ZORQelIIdentifierIMP: the implementation of ZORQelIIdentifier, a name with
// a cached hash code and value equality.
#ifndef ZORQelIIdentifierIMP_h
#define ZORQelIIdentifierIMP_h

#include "ZORQelI.h"
#include "ZORQelIObject.h"
#include "ZORQelIObjectIMP.h"
#include "internal/ZORQelIAccess.h"

class ZORQelIPrint;

// Invariant: hash == the hash of name as ComputeHash defines it; every change
// of name recomputes it, so HashCode() is a field read.
//
// The hash mixes at most eight characters, pairing the i-th character from
// the front with the i-th from the back (i < min(n, 8) / 2), each taken as a
// signed byte, with 32-bit wrap-around:
//   hash = ((hash + front[i]) * 16 + back[i]) * 16
// so "ab" -> 26400, "abc" -> 26416, "abcd" -> 6793264; a name of fewer than
// two characters hashes to 0, and in names of eight or more characters the
// first character is shifted out entirely.
//
// Equal: the same object, or an object of exactly this class (same
// descriptor) with the same hash and the same name.
//
// Contract: raises nothing.  Created with new and deleted by the collector;
// Name() returns a copy.
class QL0KRN_EXPORT ZORQelIIdentifierIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ZORQelIIdentifierIMP, ZORQelIObjectIMP)
 public:
  explicit ZORQelIIdentifierIMP(ZORQelI::string name);
  // Copies name and hash (no recomputation).
  ZORQelIIdentifierIMP(const ZORQelIIdentifierIMP& x);

  // A new identifier made by the copy constructor.
  ZORQelIObjectIMP* Clone() const override;
  // The name, without quotes or decoration.
  void Text(ZORQelIPrint& ot) const override;
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override;
  ZORQelI::integer HashCode() const override;

  // The length of the name in characters (not bytes).
  int Size();
  // Sets hash from name.
  void ComputeHash();
  // Sets the name and recomputes the hash.
  void Rename(ZORQelI::string name);
  ZORQelI::string Name() const;

 private:
  friend struct ZORQelIInternal::Access;  // the library's internal helpers
  ZORQelI::string name;
  ZORQelI::integer hash;
};

#endif
