// ZORQelI::InvalidType: "InvalidType".
#ifndef ZORQelIInvalidType_h
#define ZORQelIInvalidType_h

#include "ZORQelIException.h"

namespace ZORQelI {

// Contract: made with new and raised through ZORQELI_RAISE; once thrown it
// belongs to the error component.  Raised by the casts on an object of
// another class, and by the dictionary where its headers say so.
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
