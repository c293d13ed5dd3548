// ZORQelI::InvalidType: "InvalidType".
#ifndef ZORQelIInvalidType_h
#define ZORQelIInvalidType_h

#include "ZORQelIException.h"

namespace ZORQelI {

class QL0KRN_EXPORT InvalidType : public Exception {
  ZORQELI_ERROR_CLASS_MEMBERS(InvalidType)
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelI::InvalidType";

  // Message "InvalidType".
  InvalidType();
  ~InvalidType() override;
  // "qualified exception : <file> <line>: attempt to convert incompatible
  // object" and a line end (the message itself is not written).
  void Print(std::ostream& ot) const override;
};

}  // namespace ZORQelI

#endif
