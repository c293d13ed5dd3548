// ZORQelI::ConstObject: "Attempt to modify const object".
#ifndef ZORQelIConstObject_h
#define ZORQelIConstObject_h

#include "ZORQelIException.h"

namespace ZORQelI {

// Contract: made with new and raised through ZORQELI_RAISE; once thrown it
// belongs to the error component.  The library itself raises it nowhere.
class QL0KRN_EXPORT ConstObject : public Exception {
  ZORQELI_ERROR_CLASS_MEMBERS(ConstObject)
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelI::ConstObject";

  // Message "Attempt to modify const object".
  ConstObject();
  ~ConstObject() override;
};

}  // namespace ZORQelI

#endif
