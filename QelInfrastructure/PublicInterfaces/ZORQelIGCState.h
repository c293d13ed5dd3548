// ZORQelIGCState: a scope that runs a collection on entry and on exit.
#ifndef ZORQelIGCState_h
#define ZORQelIGCState_h

#include "ZORQelI.h"

// Declared as a local:
//
//   {
//     ZORQelIGCState scope;   // collects, remembers the tables' total count
//     ...                     // work that makes garbage
//   }                         // collects again, then forgets the automatic
//                             // table's slots at and above the saved count
//
// The saved value is the sum of both tables' counts, but on exit it only
// bounds the automatic table (ZORQelIVariable::FlushInstancePool).
//
// Hazard: the slots forgotten on exit may still belong to live handles.  A
// stack handle made inside the scope and alive after it (one the function
// returns, or one declared after the scope object in the same block) is then
// no root: the collector may free its object while it is still used, an
// assignment to it raises ZORQelI::BoundError (ZORQelIGholder.h, ReplaceKey)
// while its slot lies above the table's count, and once a later handle has
// taken that slot over, the two handles overwrite each other's root.  Keep
// such handles out of the scope: declare them before it, or return objects
// from functions that hold no ZORQelIGCState.  Debug builds of the library
// abort with a message when a handle writes to a slot that another handle
// has taken over.
class QL0KRN_EXPORT ZORQelIGCState {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIGCState";

  ZORQelIGCState();
  ~ZORQelIGCState();
  ZORQelIGCState(const ZORQelIGCState&) = delete;
  ZORQelIGCState& operator=(const ZORQelIGCState&) = delete;

  ZORQelI::integer savedCount;
};

#endif
