// ZORQelIMemSlot: release, scan and compare stored values.
#include "ZORQelIMemSlot.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "ZORQelIMemAggregateIMP.h"
#include "ZORQelIMemNesting.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemSlot";
}  // namespace

void ZORQelIMemSlot::Release(ZORQelIMemSlot& s, std::uint8_t& tag) {
  ZORQELI_TRACE("void ZORQelIMemSlot::Release(ZORQelIMemSlot& s, std::uint8_t& tag)");
  if (tag == String) {
    std::free(s.text);
  } else if (tag == Aggregate) {
    // The aggregate leaves its slot; whoever still holds it (a handle, a
    // cell) holds a free-standing aggregate from now on.
    static_cast<ZORQelIMemAggregateIMP*>(s.object)->SetHolder(nullptr);
  }
  s.object = nullptr;
  tag = Unset;
}

void ZORQelIMemSlot::Scan(const ZORQelIMemSlot* s, const std::uint8_t* tags, int n) {
  ZORQELI_TRACE("void ZORQelIMemSlot::Scan(const ZORQelIMemSlot* s, const std::uint8_t* tags, int n)");
  for (int i = 0; i < n; ++i) {
    if (tags[i] >= Reference) ZORQelIObjectIMP::GarbageCollectorScan(s[i].object);
  }
}

bool ZORQelIMemSlot::Same(const ZORQelIMemSlot& a, std::uint8_t ta, const ZORQelIMemSlot& b,
                          std::uint8_t tb) {
  ZORQELI_TRACE("bool ZORQelIMemSlot::Same(const ZORQelIMemSlot& a, std::uint8_t ta, const ZORQelIMemSlot& b, std::uint8_t tb)");
  if (IsText(ta) && IsText(tb)) return std::strcmp(TextOf(a, ta), TextOf(b, tb)) == 0;
  if (ta != tb || ta == Unset) return false;
  switch (ta) {
    case Boolean:
      return a.boolean == b.boolean;
    case Integer:
      return a.integer == b.integer;
    case Real:
      return a.real == b.real;
    case String:
    case Inline:
      return std::strcmp(TextOf(a, ta), TextOf(b, tb)) == 0;
    case Aggregate: {
      const auto* x = static_cast<const ZORQelIMemAggregateIMP*>(a.object);
      const auto* y = static_cast<const ZORQelIMemAggregateIMP*>(b.object);
      if (x == y) return true;
      ZORQelIMemInternal::RequireStackRoom("compared", kSource, __LINE__);
      const auto& xs = x->SlotVector();
      const auto& ys = y->SlotVector();
      if (xs.size() != ys.size()) return false;
      for (std::size_t i = 0; i < xs.size(); ++i) {
        if (!Same(xs[i], x->TagVector()[i], ys[i], y->TagVector()[i])) return false;
      }
      return true;
    }
    default:  // Reference, Object: the same object
      return a.object == b.object;
  }
}

void ZORQelIMemSlot::PutText(ZORQelIMemSlot& s, std::uint8_t& tag, const char* text) {
  ZORQELI_TRACE("void ZORQelIMemSlot::PutText(ZORQelIMemSlot& s, std::uint8_t& tag, const char* text)");
  std::size_t n = std::strlen(text) + 1;
  if (n <= sizeof s.inlined) {
    std::memcpy(s.inlined, text, n);
    tag = Inline;
    return;
  }
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, text, n);
  s.text = copy;
  tag = String;
}

void ZORQelIMemSlot::Free(ZORQelIMemSlot* s, const std::uint8_t* tags, int n) {
  ZORQELI_TRACE("void ZORQelIMemSlot::Free(ZORQelIMemSlot* s, const std::uint8_t* tags, int n)");
  for (int i = 0; i < n; ++i) {
    if (tags[i] == String) std::free(s[i].text);
  }
}
