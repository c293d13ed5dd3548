// ZORQelIInstanceCopy: the engine that copies attribute values between two
// lists of corresponding instances.
#ifndef ZORQelIInstanceCopy_h
#define ZORQelIInstanceCopy_h

#include "ZORQelI.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstanceListUnique.h"

// The instance at position i of `to` corresponds to the instance at position
// i of `from`.  For each attribute (the instance's own entity first, then up
// the chain of super entities):
//   - an array value is copied position by position (PutInstance), a list,
//     set or bag value by appending (Append), any other value with PutObject;
//   - a value that is an entity instance becomes the corresponding instance
//     of `to` (a null instance when the referenced instance is not in
//     `from`); a simple value is shared, not copied; an aggregate met as a
//     single value (nested aggregates) raises ZORQelI::NotYetImplemented.
// A plain value class; its four handles are ordinary roots while it exists.
class QL0KRN_EXPORT ZORQelIInstanceCopy {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIInstanceCopy";

  // Note the order: the target comes first.
  ZORQelIInstanceCopy(ZORQelIInstanceListUnique to, ZORQelIInstanceListUnique from);

  // CopyInstance(to.Get(pos), from.Get(pos)).
  void CopyInstance(integer pos);
  // Copies every attribute value of from into to (nothing when from is null).
  void CopyInstance(ZORQelIInstance to, ZORQelIInstance from);
  // Copies fromValue into toValue.
  void CopyValue();
  // The value to store in the target for the source value toCopy.
  ZORQelIInstance GetValue(ZORQelIInstance toCopy);

 private:
  ZORQelIInstanceListUnique from;
  ZORQelIInstanceListUnique to;
  ZORQelIInstance fromValue;  // the last source attribute value copied
  ZORQelIInstance toValue;    // the last target attribute value written
};

#endif
