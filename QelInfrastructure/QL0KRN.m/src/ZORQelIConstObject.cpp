#include "ZORQelIConstObject.h"

#include <ostream>

namespace ZORQelI {

ZORQELI_ERROR_CLASS_DEFINE(ConstObject, "ZORQelI::ConstObject", Exception::MetaObject())

ConstObject::ConstObject() : Exception(ZORUnicodeString("Attempt to modify const object")) {}
ConstObject::~ConstObject() = default;

}  // namespace ZORQelI
