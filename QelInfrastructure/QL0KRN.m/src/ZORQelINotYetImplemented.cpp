#include "ZORQelINotYetImplemented.h"

#include <ostream>

namespace ZORQelI {

ZORQELI_ERROR_CLASS_DEFINE(NotYetImplemented, "ZORQelI::NotYetImplemented", Exception::MetaObject())

NotYetImplemented::NotYetImplemented() : Exception(ZORUnicodeString("Not yet implemented")) {}
NotYetImplemented::~NotYetImplemented() = default;

}  // namespace ZORQelI
