#include "ZORQelIInstanceListUnique.h"

#include "ZORQelIInstanceListUniqueIMP.h"
#include "ZORQelITracer.h"

ZORQelIInstanceListUnique::ZORQelIInstanceListUnique()
    : ZORQelIObject(new ZORQelIInstanceListUniqueIMP()) {
  ZORQELI_TRACE(" ZORQelIInstanceListUnique::ZORQelIInstanceListUnique()");
}

ZORQELI_DEFINE_POINTER_CONSTRUCTOR(ZORQelIInstanceListUnique, ZORQelIObject, ZORQelIInstanceListUniqueIMP)
// (One line each: a call spread over lines reports another line per compiler.)
ZORQELI_DEFINE_SHARING_COPY_CONSTRUCTOR(ZORQelIInstanceListUnique, ZORQelIObject)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORQelIInstanceListUnique, ZORQelIInstanceListUniqueIMP)

const ZORQelIInstanceListUniqueIMP* ZORQelIInstanceListUnique::IMP() const {
  ZORQELI_TRACE_LINE(
      "const ZORQelIInstanceListUniqueIMP* ZORQelIInstanceListUnique::IMP() const", 17);
  return static_cast<const ZORQelIInstanceListUniqueIMP*>(RefMe());
}

ZORQelIInstanceListUniqueIMP* ZORQelIInstanceListUnique::IMP() {
  ZORQELI_TRACE("ZORQelIInstanceListUniqueIMP* ZORQelIInstanceListUnique::IMP()");
  return static_cast<ZORQelIInstanceListUniqueIMP*>(RefMe());
}

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIInstanceListUnique, __VA_ARGS__)
#include "ZORQelIInstanceListUnique.def"
