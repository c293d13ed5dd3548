#include "ZORQelIInstanceListUnique.h"

#include "ZORQelIInstanceListUniqueIMP.h"
#include "ZORQelITracer.h"

ZORQelIInstanceListUnique::ZORQelIInstanceListUnique()
    : ZORQelIObject(new ZORQelIInstanceListUniqueIMP()) {
  ZORQELI_TRACE(" ZORQelIInstanceListUnique::ZORQelIInstanceListUnique()");
}

ZORQELI_DEFINE_POINTER_CONSTRUCTOR(ZORQelIInstanceListUnique, ZORQelIObject,
                                   ZORQelIInstanceListUniqueIMP)
ZORQELI_DEFINE_SHARING_COPY_CONSTRUCTOR(ZORQelIInstanceListUnique, ZORQelIObject)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORQelIInstanceListUnique, ZORQelIInstanceListUniqueIMP)

const ZORQelIInstanceListUniqueIMP* ZORQelIInstanceListUnique::IMP() const {
  ZORQELI_TRACE(
      "const ZORQelIInstanceListUniqueIMP* ZORQelIInstanceListUnique::IMP() const");
  return static_cast<const ZORQelIInstanceListUniqueIMP*>(RefMe());
}

ZORQelIInstanceListUniqueIMP* ZORQelIInstanceListUnique::IMP() {
  ZORQELI_TRACE("ZORQelIInstanceListUniqueIMP* ZORQelIInstanceListUnique::IMP()");
  return static_cast<ZORQelIInstanceListUniqueIMP*>(RefMe());
}

void ZORQelIInstanceListUnique::SetTargetModeler(ZORQelIModeler a) {
  ZORQELI_TRACE("void ZORQelIInstanceListUnique::SetTargetModeler(ZORQelIModeler a)");
  IMP()->SetTargetModeler(a);
}

void ZORQelIInstanceListUnique::Add(ZORQelIInstance a) {
  ZORQELI_TRACE("void ZORQelIInstanceListUnique::Add(ZORQelIInstance a)");
  IMP()->Add(a);
}

void ZORQelIInstanceListUnique::Add(ZORQelIInstanceListUnique a) {
  ZORQELI_TRACE("void ZORQelIInstanceListUnique::Add(ZORQelIInstanceListUnique a)");
  IMP()->Add(a);
}

ZORQelIInstance ZORQelIInstanceListUnique::Get(integer pos) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstanceListUnique::Get(integer pos) const");
  return IMP()->Get(pos);
}

ZORQelI::Mint ZORQelIInstanceListUnique::Look(ZORQelIInstance a) {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIInstanceListUnique::Look(ZORQelIInstance a)");
  return IMP()->Look(a);
}

void ZORQelIInstanceListUnique::Clear() {
  ZORQELI_TRACE("void ZORQelIInstanceListUnique::Clear()");
  IMP()->Clear();
}

ZORQelI::integer ZORQelIInstanceListUnique::Size() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstanceListUnique::Size() const");
  return IMP()->Size();
}

void ZORQelIInstanceListUnique::Instanciate(ZORQelIInstance a) {
  ZORQELI_TRACE("void ZORQelIInstanceListUnique::Instanciate(ZORQelIInstance a)");
  IMP()->Instanciate(a);
}

void ZORQelIInstanceListUnique::Instanciate(ZORQelIInstanceListUnique from) {
  ZORQELI_TRACE("void ZORQelIInstanceListUnique::Instanciate(ZORQelIInstanceListUnique from)");
  IMP()->Instanciate(from);
}

void ZORQelIInstanceListUnique::CopyInstances(ZORQelIInstanceListUnique from) {
  ZORQELI_TRACE("void ZORQelIInstanceListUnique::CopyInstances(ZORQelIInstanceListUnique from)");
  IMP()->CopyInstances(from);
}

void ZORQelIInstanceListUnique::Copy(ZORQelIInstanceListUnique os) {
  ZORQELI_TRACE("void ZORQelIInstanceListUnique::Copy(ZORQelIInstanceListUnique os)");
  IMP()->Copy(os);
}
