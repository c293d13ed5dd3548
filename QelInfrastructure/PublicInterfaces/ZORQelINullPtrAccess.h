// ZORQelI::NullPtrAccess: "Null pointer access".
#ifndef ZORQelINullPtrAccess_h
#define ZORQelINullPtrAccess_h

#include "ZORQelIException.h"

namespace ZORQelI {

// Contract: made with new and raised through ZORQELI_RAISE; once thrown it
// belongs to the error component.  Raised by every operation that needs the
// object of an empty handle (ZORQelIObject.h), by the array when its
// storage cannot be allocated, and by providers where their headers say so.
class QL0KRN_EXPORT NullPtrAccess : public Exception {
  ZORQELI_ERROR_CLASS_MEMBERS(NullPtrAccess)
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelI::NullPtrAccess";

  // Message "Null pointer access".
  NullPtrAccess();
  // Identifier n, empty message.
  NullPtrAccess(unsigned int n);
  ~NullPtrAccess() override;
};

}  // namespace ZORQelI

#endif
