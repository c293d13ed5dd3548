#include "ZORQelIInstanceListUniqueIMP.h"

#include "ZORQelIArray.h"
#include "ZORQelIInstanceCopy.h"
#include "ZORQelIInstanceListUnique.h"
#include "ZORQelIInstances.h"
#include "ZORQelIType.h"
#include "ZORQelITracer.h"

ZORQELI_DEFINE_IMP(ZORQelIInstanceListUniqueIMP, ZORQelIObjectIMP)

ZORQelIInstanceListUniqueIMP::ZORQelIInstanceListUniqueIMP() {
  ZORQELI_TRACE(" ZORQelIInstanceListUniqueIMP::ZORQelIInstanceListUniqueIMP()");
}

ZORQelIInstanceListUniqueIMP::ZORQelIInstanceListUniqueIMP(const ZORQelIInstanceListUniqueIMP& o)
    : ZORQelIObjectIMP(o), targetModeler(o.targetModeler), list(o.list) {
  ZORQELI_TRACE(
      " ZORQelIInstanceListUniqueIMP::ZORQelIInstanceListUniqueIMP(const "
      "ZORQelIInstanceListUniqueIMP& o)");
}

void ZORQelIInstanceListUniqueIMP::SetTargetModeler(ZORQelIModeler M) {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::SetTargetModeler(ZORQelIModeler M)");
  targetModeler = M;
}

void ZORQelIInstanceListUniqueIMP::Add(ZORQelIInstance a) {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::Add(ZORQelIInstance a)");
  list.Add(a);
}

void ZORQelIInstanceListUniqueIMP::Add(ZORQelIInstanceListUnique a) {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::Add(ZORQelIInstanceListUnique a)");
  const ZORQelI::integer n = a.Size();
  for (ZORQelI::integer i = 0; i < n; ++i) Add(a.Get(i));
}

ZORQelIInstance ZORQelIInstanceListUniqueIMP::Get(integer pos) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstanceListUniqueIMP::Get(integer pos) const");
  return ZORQelIInstance::DownCast(list.Get(pos));
}

ZORQelI::Mint ZORQelIInstanceListUniqueIMP::Look(ZORQelIInstance a) {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIInstanceListUniqueIMP::Look(ZORQelIInstance a)");
  // The array's search (hash code, then Equal), not the set's lookup.
  const ZORQelIArray& array = list;
  return array.Look(a);
}

void ZORQelIInstanceListUniqueIMP::Clear() {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::Clear()");
  list.RemoveAll();
}

ZORQelI::integer ZORQelIInstanceListUniqueIMP::Size() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstanceListUniqueIMP::Size() const");
  return list.Size();
}

void ZORQelIInstanceListUniqueIMP::Instanciate(ZORQelIInstance a) {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::Instanciate(ZORQelIInstance a)");
  ZORQelIInstances population = targetModeler.IsValid() == ZORQelI::Itrue
                                    ? targetModeler.GetInstances()
                                    : a.GetType().GetModeler().GetInstances();
  ZORQelI::string name = a.GetType().Name();
  Add(population.Instanciate(name));
}

void ZORQelIInstanceListUniqueIMP::Instanciate(ZORQelIInstanceListUnique source) {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::Instanciate(ZORQelIInstanceListUnique source)");
  if (source.Equal(ZORQelIInstanceListUnique(this)) == ZORQelI::Itrue) return;
  const ZORQelI::integer n = source.Size();
  for (ZORQelI::integer i = 0; i < n; ++i) Instanciate(source.Get(i));
}

void ZORQelIInstanceListUniqueIMP::CopyInstances(ZORQelIInstanceListUnique from) {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::CopyInstances(ZORQelIInstanceListUnique from)");
  ZORQelIInstanceListUnique self(this);
  if (from.Equal(self) == ZORQelI::Itrue) return;
  ZORQelIInstanceCopy engine(self, from);
  for (ZORQelI::integer pos = 0; pos < Size(); ++pos) engine.CopyInstance(pos);
}

void ZORQelIInstanceListUniqueIMP::Copy(ZORQelIInstanceListUnique os) {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::Copy(ZORQelIInstanceListUnique os)");
  Instanciate(os);
  CopyInstances(os);
}

void ZORQelIInstanceListUniqueIMP::Text(ZORQelIPrint& o) const {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::Text(ZORQelIPrint& o) const");
  list.Text(o);
}

ZORQelIObjectIMP* ZORQelIInstanceListUniqueIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIInstanceListUniqueIMP::Clone() const");
  return new ZORQelIInstanceListUniqueIMP(*this);
}

void ZORQelIInstanceListUniqueIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIInstanceListUniqueIMP::GarbageCollectorMemberCheck()");
  ZORQelIObjectIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(targetModeler);
  GarbageCollectorScan(list);
}
