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
  // The answer is the array's search (hash code, then Equal, from position
  // 0).  Elements enter only through Add, so the list's set holds exactly
  // the array's elements, each once: the set finds the one held element
  // equal to a (or tells that there is none) in constant time, and the
  // position map gives its place.
  a.RefMe();  // an empty a raises, as the search would
  ZORQelIObject held = list.Look(a);
  if (held.IsValid() != ZORQelI::Itrue && held.Equal(ZORQelIObject()) == ZORQelI::Itrue)
    return ZORQelI::Mint::UNSET;
  ZORQelI::Mint position = PositionOf(held.RefMe());
  if (position.IsSet()) return position;
  const ZORQelIArray& array = list;  // not found by position: the plain search
  return array.Look(a);
}

ZORQelI::Mint ZORQelIInstanceListUniqueIMP::PositionOf(ZORQelIObjectIMP* held) {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIInstanceListUniqueIMP::PositionOf(ZORQelIObjectIMP* held)");
  const ZORQelIArray& array = list;
  for (int attempt = 0; attempt < 2; ++attempt) {
    auto found = positions.find(held);
    if (found != positions.end() && found->second < array.Size() &&
        array.Get(found->second).Equal(ZORQelIObject(held)) == ZORQelI::Itrue &&
        array.Get(found->second).RefMe() == held)
      return found->second;
    if (attempt == 1) break;
    // The list changed since the map was made: make it again.
    positions.clear();
    const ZORQelI::integer n = array.Size();
    positions.reserve(static_cast<std::size_t>(n));
    for (ZORQelI::integer i = n - 1; i >= 0; --i) positions[array.Get(i).RefMe()] = i;
  }
  return ZORQelI::Mint::UNSET;
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
