// ZORQelI::NullPtrAccess: "Null pointer access".
#ifndef ZORQelINullPtrAccess_h
#define ZORQelINullPtrAccess_h

#include "ZORQelIException.h"

namespace ZORQelI {

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
