#include "ZORQelIInvalidType.h"

#include <ostream>

namespace ZORQelI {

ZORQELI_ERROR_CLASS_DEFINE(InvalidType, "ZORQelI::InvalidType", Exception::MetaObject())

InvalidType::InvalidType() : Exception(ZORUnicodeString("InvalidType")) {}
InvalidType::~InvalidType() = default;

void InvalidType::Print(std::ostream& ot) const {
  ot << "qualified exception : ";
  PrintPosition(ot);
  ot << "attempt to convert incompatible object" << std::endl;
}

}  // namespace ZORQelI
