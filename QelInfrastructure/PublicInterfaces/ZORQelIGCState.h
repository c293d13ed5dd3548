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
