#include "ZORQelINullPtrAccess.h"

#include <ostream>

namespace ZORQelI {

ZORQELI_ERROR_CLASS_DEFINE(NullPtrAccess, "ZORQelI::NullPtrAccess", Exception::MetaObject())

NullPtrAccess::NullPtrAccess() : Exception(ZORUnicodeString("Null pointer access")) {}
NullPtrAccess::NullPtrAccess(unsigned int n) : Exception(n) {}
NullPtrAccess::~NullPtrAccess() = default;

}  // namespace ZORQelI
