// ZORQelI::NotYetImplemented: "Not yet implemented".
#ifndef ZORQelINotYetImplemented_h
#define ZORQelINotYetImplemented_h

#include "ZORQelIException.h"

namespace ZORQelI {

// Contract: made with new and raised through ZORQELI_RAISE; once thrown it
// belongs to the error component.  Raised by the deep copy on an aggregate
// value (ZORQelIInstanceCopy.h) and by providers for what they leave out.
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
