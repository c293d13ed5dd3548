// ZORQelIInstanceListUnique: handle of a duplicate-free list of instances.
#ifndef ZORQelIInstanceListUnique_h
#define ZORQelIInstanceListUnique_h

#include "ZORQelI.h"
#include "ZORQelIInstance.h"
#include "ZORQelIModeler.h"
#include "ZORQelIObject.h"

class ZORQelIInstanceListUniqueIMP;

// Copying the handle shares the list.  The default constructor makes a new,
// empty list.  Typical deep copy of a population's instances into another
// schema:
//
//   ZORQelIInstanceListUnique source;
//   for (int i = 0; i < population.Size(); ++i) source.Add(population.Get(i));
//   ZORQelIInstanceListUnique copy;
//   copy.SetTargetModeler(otherSchema);
//   copy.Copy(source);   // references among the copies are mapped
//
// Contract: that of every handle (ZORQelIObject.h).  Get raises
// ZORQelI::BoundError outside 0 .. Size()-1; Copy and CopyInstances raise what
// the deep copy raises (ZORQelIInstanceCopy.h: ZORQelI::NotYetImplemented for
// an aggregate value) and what the target population raises.  The list keeps
// its instances and its target modeler alive while it is reached.
class QL0KRN_EXPORT ZORQelIInstanceListUnique : public ZORQelIObject {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIInstanceListUnique";

  ZORQelIInstanceListUnique();
  ZORQelIInstanceListUnique(ZORQelIInstanceListUniqueIMP* x);
  ZORQelIInstanceListUnique(const ZORQelIInstanceListUnique& x);
  ZORQelIInstanceListUnique& operator=(const ZORQelIInstanceListUnique& x) = default;

  // The forwarding operations, one row each in ZORQelIInstanceListUnique.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIInstanceListUnique.def"

  const ZORQelIInstanceListUniqueIMP* IMP() const;
  ZORQelIInstanceListUniqueIMP* IMP();
  static ZORQelIInstanceListUnique DownCast(ZORQelIObject o);
};

#endif
