// ZORQelI::NotYetImplemented: "Not yet implemented".
#ifndef ZORQelINotYetImplemented_h
#define ZORQelINotYetImplemented_h

#include "ZORQelIException.h"

namespace ZORQelI {

class QL0KRN_EXPORT NotYetImplemented : public Exception {
  ZORQELI_ERROR_CLASS_MEMBERS(NotYetImplemented)
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelI::NotYetImplemented";

  // Message "Not yet implemented".
  NotYetImplemented();
  ~NotYetImplemented() override;
};

}  // namespace ZORQelI

#endif
