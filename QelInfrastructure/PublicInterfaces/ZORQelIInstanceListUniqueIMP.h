// ZORQelIInstanceListUniqueIMP: a duplicate-free, ordered list of instances
// bound to an optional target modeler.
#ifndef ZORQelIInstanceListUniqueIMP_h
#define ZORQelIInstanceListUniqueIMP_h

#include <unordered_map>

#include "ZORQelI.h"
#include "ZORQelIInstance.h"
#include "ZORQelIListUnique.h"
#include "ZORQelIModeler.h"
#include "ZORQelIObjectIMP.h"

class ZORQelIInstanceListUnique;

// Holds instances in insertion order, each once (equality as the unique list
// decides it: hash code, then Equal).  Instanciate populates the list with
// fresh, empty instances of the same types as another list's, in the target
// modeler's population (or, without a target, in each source instance's own
// modeler); CopyInstances then copies the other list's attribute values into
// them by position, mapping references between source instances to the
// corresponding new instances (ZORQelIInstanceCopy).
//
// Both fields are handle members, scanned by the member check.
//
// Contract: Get raises ZORQelI::BoundError outside 0 .. Size()-1; an empty
// instance given to Add or Look raises ZORQelI::NullPtrAccess; Copy and
// CopyInstances raise what the deep copy raises (ZORQelIInstanceCopy.h).
// Created with new and deleted by the collector like every implementation
// object; the handles it returns are new handles of the caller's.
class QL0KRN_EXPORT ZORQelIInstanceListUniqueIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ZORQelIInstanceListUniqueIMP, ZORQelIObjectIMP)
 public:
  // An empty list (capacity 10, 109 buckets) and no target modeler.
  ZORQelIInstanceListUniqueIMP();
  ZORQelIInstanceListUniqueIMP(const ZORQelIInstanceListUniqueIMP& o);

  void SetTargetModeler(ZORQelIModeler M);
  // Adds a unless an equal instance is held already.
  void Add(ZORQelIInstance a);
  // Adds a's instances in order (a's size read once).
  void Add(ZORQelIInstanceListUnique a);
  // The instance at pos; ZORQelI::BoundError outside 0 .. Size()-1.
  ZORQelIInstance Get(integer pos) const;
  // The position of the first held instance equal to a, or UNSET.
  ZORQelI::Mint Look(ZORQelIInstance a);
  // Empties the list; the target modeler stays.
  void Clear();
  ZORQelI::integer Size() const;
  // Adds a new, empty instance of a's type.
  void Instanciate(ZORQelIInstance a);
  // Instanciate for each of source's instances (nothing when source is this
  // list).
  void Instanciate(ZORQelIInstanceListUnique source);
  // Copies from's attribute values into this list's instances, position by
  // position (nothing when from is this list).
  void CopyInstances(ZORQelIInstanceListUnique from);
  // Instanciate(os), then CopyInstances(os): meant for an empty list.
  void Copy(ZORQelIInstanceListUnique os);

  // "(" the instances separated by "," ")".
  void Text(ZORQelIPrint& o) const override;
  // A new list implementation sharing this one's list and target modeler.
  ZORQelIObjectIMP* Clone() const override;
  void GarbageCollectorMemberCheck() override;

 private:
  // The position of a held object, from a map of the held objects'
  // positions (rebuilt when the list has changed under it), so that the deep
  // copy's look-ups are not each a walk of the list.  UNSET when absent.
  ZORQelI::Mint PositionOf(ZORQelIObjectIMP* held);

  ZORQelIModeler targetModeler;  // kept alive by the member check
  ZORQelIListUnique list;        // kept alive by the member check
  // Positions of the held objects (a cache: every hit is checked against
  // the list, which clones may share and change).  Raw keys: the list keeps
  // them alive.
  std::unordered_map<const ZORQelIObjectIMP*, ZORQelI::integer> positions;
};

#endif
