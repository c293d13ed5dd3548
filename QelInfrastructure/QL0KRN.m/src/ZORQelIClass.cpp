#include "ZORQelIClass.h"

#include "ZORQelIException.h"
#include "ZORQelIRaise.h"
#include "ZORQelITracer.h"

ZORQelIClass::ZORQelIClass(const ZORQelIClass* superClass_, const char* name)
    : superClass(superClass_), name(name) {
  ZORQELI_TRACE(" ZORQelIClass::ZORQelIClass(const ZORQelIClass* superClass_, const char* name)");
  if (superClass_ == this) {
    superClass = nullptr;
    ZORQELI_RAISE_AT(kHierarchyLoop,
                     ZORQelI::Exception(ZORQelI::string("Hierarchy loop in ") + Text()));
  }
}

ZORQelI::boolean ZORQelIClass::IsAKindOf(const ZORQelIClass* hierarchy) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIClass::IsAKindOf(const ZORQelIClass* hierarchy) const");
  for (const ZORQelIClass* d = hierarchy; d != nullptr; d = d->superClass)
    if (d == this) return ZORQelI::Itrue;
  return ZORQelI::Ifalse;
}

ZORQelI::string ZORQelIClass::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIClass::Name() const");
  return ZORQelI::string(name);
}

ZORQelI::string ZORQelIClass::Text() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIClass::Text() const");
  ZORQelI::string text(name);
  for (const ZORQelIClass* s = superClass; s != nullptr; s = s->superClass) {
    text += ZORQelI::string(" subtype of ");
    text += ZORQelI::string(s->name);
  }
  return text;
}
