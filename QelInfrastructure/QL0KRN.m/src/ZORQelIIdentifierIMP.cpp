#include "ZORQelIIdentifierIMP.h"

#include <cstdint>

#include "ZORQelIPrint.h"
#include "ZORQelITracer.h"

ZORQELI_DEFINE_IMP(ZORQelIIdentifierIMP, ZORQelIObjectIMP)

ZORQelIIdentifierIMP::ZORQelIIdentifierIMP(ZORQelI::string n) : name(n), hash(0) {
  ZORQELI_TRACE(" ZORQelIIdentifierIMP::ZORQelIIdentifierIMP(ZORQelI::string name)");
  ComputeHash();
}

ZORQelIIdentifierIMP::ZORQelIIdentifierIMP(const ZORQelIIdentifierIMP& x)
    : ZORQelIObjectIMP(x), name(x.name), hash(x.hash) {
  ZORQELI_TRACE(" ZORQelIIdentifierIMP::ZORQelIIdentifierIMP(const ZORQelIIdentifierIMP& x)");
}

ZORQelIObjectIMP* ZORQelIIdentifierIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIIdentifierIMP::Clone() const");
  return new ZORQelIIdentifierIMP(*this);
}

void ZORQelIIdentifierIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIIdentifierIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(name);
}

ZORQelI::boolean ZORQelIIdentifierIMP::Equal(ZORQelIObjectIMP* o) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIIdentifierIMP::Equal(ZORQelIObjectIMP* o) const");
  if (o == this) return ZORQelI::Itrue;
  if (o == nullptr) return ZORQelI::Ifalse;
  // Same descriptor first: only then is o an identifier whose name can be
  // read.
  if (&o->Id() != &Id() || o->HashCode() != hash) return ZORQelI::Ifalse;
  return static_cast<const ZORQelIIdentifierIMP*>(o)->name == name ? ZORQelI::Itrue
                                                                    : ZORQelI::Ifalse;
}

ZORQelI::integer ZORQelIIdentifierIMP::HashCode() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIIdentifierIMP::HashCode() const");
  return hash;
}

int ZORQelIIdentifierIMP::Size() {
  ZORQELI_TRACE("int ZORQelIIdentifierIMP::Size()");
  return static_cast<int>(name.GetLengthInChar());
}

void ZORQelIIdentifierIMP::ComputeHash() {
  ZORQELI_TRACE("void ZORQelIIdentifierIMP::ComputeHash()");
  const int n = Size();
  const int pairs = (n < 8 ? n : 8) / 2;
  // Unsigned arithmetic: the 32-bit wrap-around is defined.
  std::uint32_t h = 0;
  for (int i = 0; i < pairs; ++i) {
    h += static_cast<std::uint32_t>(static_cast<std::int8_t>(static_cast<char>(name[i])));
    h *= 16;
    h += static_cast<std::uint32_t>(
        static_cast<std::int8_t>(static_cast<char>(name[n - 1 - i])));
    h *= 16;
  }
  hash = static_cast<ZORQelI::integer>(h);
}

void ZORQelIIdentifierIMP::Rename(ZORQelI::string n) {
  ZORQELI_TRACE("void ZORQelIIdentifierIMP::Rename(ZORQelI::string name)");
  name = n;
  ComputeHash();
}

ZORQelI::string ZORQelIIdentifierIMP::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIIdentifierIMP::Name() const");
  return name;
}
