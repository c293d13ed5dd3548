#include "ZORQelIGholder.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <new>

#include "ZORQelIBoundError.h"
#include "ZORQelIClass.h"
#include "ZORQelIDumbIMP.h"
#include "ZORQelIObjectIMP.h"
#include "ZORQelIRaise.h"
#include "ZORQelITracer.h"

// Made while the library is loaded, before any client code can register a
// handle (a shared library's initialisers run before those of its users).
ZORQelIObjectIMP* ZORQelIGholder::null =
    new ZORQelIDumbIMP(ZORQelIObjectIMP::LoadTimeTag());

namespace {
ZORQelIObjectIMP** AllocateSlots(ZORQelIObjectIMP** old, std::size_t slots) {
  void* p = std::realloc(old, slots * sizeof(ZORQelIObjectIMP*));
  if (p == nullptr) throw std::bad_alloc();
  return static_cast<ZORQelIObjectIMP**>(p);
}
}  // namespace

ZORQelIGholder::ZORQelIGholder() : table(nullptr), count(0), top(click) {
  ZORQELI_TRACE(" ZORQelIGholder::ZORQelIGholder()");
  table = AllocateSlots(nullptr, click);
}

ZORQelIGholder::~ZORQelIGholder() {
  ZORQELI_TRACE(" ZORQelIGholder::~ZORQelIGholder()");
  std::free(table);
}

void ZORQelIGholder::Grow() {
  table = AllocateSlots(table, static_cast<std::size_t>(top) + click);
  top += click;
}

void ZORQelIGholder::Allocate() {
  ZORQELI_TRACE("void ZORQelIGholder::Allocate()");
  Grow();
}

void ZORQelIGholder::Size(int t) {
  ZORQELI_TRACE("void ZORQelIGholder::Size(int top)");
  if (t >= 0 && t <= count) count = t;
}

int ZORQelIGholder::Add(ZORQelIObjectIMP* x) {
  ZORQELI_TRACE("int ZORQelIGholder::Add(ZORQelIObjectIMP* x)");
  while (count > 0 && table[count - 1] == nullptr) --count;
  if (count == top) Allocate();
  table[count++] = x;
  return count - 1;
}

void ZORQelIGholder::ReplaceKey(int key, ZORQelIObjectIMP* x) {
  ZORQELI_TRACE("void ZORQelIGholder::ReplaceKey(int key, ZORQelIObjectIMP* x)");
  if (key >= count)
    ZORQELI_RAISE(ZORQelI::BoundError(key, key, 0, count - 1), ZORQELI_SOURCE(ZORQelIGholder),
                  133);
  if (key >= 0) table[key] = x != nullptr ? x : null;
}

void ZORQelIGholder::Scanner() {
  ZORQELI_TRACE("void ZORQelIGholder::Scanner()");
  while (count > 0 && table[count - 1] == nullptr) --count;
  null->GarbageCollectorScan();
  // count (and table, which a registration may move) are read afresh: a
  // member check may register or free handles.  Holes left below live
  // slots by earlier work (handle members taken out, heap handles dead under
  // a live one) are passed over eight at a time, one cache line of slots,
  // without a test per slot.
  std::int32_t i = 0;
  while (i < count) {
    if ((i & 7) == 0 && i + 8 <= count) {
      ZORQelIObjectIMP* const* line = table + i;
      if (((reinterpret_cast<std::uintptr_t>(line[0]) | reinterpret_cast<std::uintptr_t>(line[1])) |
           (reinterpret_cast<std::uintptr_t>(line[2]) | reinterpret_cast<std::uintptr_t>(line[3])) |
           (reinterpret_cast<std::uintptr_t>(line[4]) | reinterpret_cast<std::uintptr_t>(line[5])) |
           (reinterpret_cast<std::uintptr_t>(line[6]) | reinterpret_cast<std::uintptr_t>(line[7]))) ==
          0) {
        i += 8;
        continue;
      }
    }
    ZORQelIObjectIMP* o = table[i];
    if (o != nullptr && o != null) o->GarbageCollectorScan();
    ++i;
  }
}

void ZORQelIGholder::Status() const {
  ZORQELI_TRACE("void ZORQelIGholder::Status() const");
  int holes = 0;
  for (std::int32_t i = 0; i < count; ++i)
    if (table[i] == nullptr) ++holes;
  std::cerr << __CLASSNAME__ << ".count = " << count << ";" << __CLASSNAME__
            << ".top = " << top << ";" << __CLASSNAME__ << ".hole() = " << holes << ";";
}

void ZORQelIGholder::Print(int ov) const {
  ZORQELI_TRACE("void ZORQelIGholder::Print(int ov) const");
  if (ov < 0 || ov >= count) {
    std::cout << ov << " out of bound [0.." << count << "[" << std::endl;
    return;
  }
  std::cout << "v[" << ov << "] = ";
  ZORQelIObjectIMP* o = table[ov];
  if (o == nullptr || o == null) {
    std::cout << "(nil)" << std::endl;
    return;
  }
  std::cout << static_cast<const char*>(o->Id().Name()) << std::endl;
  std::cout << static_cast<const char*>(o->ToString()) << std::endl;
}

void ZORQelIGholder::Dump() const {
  ZORQELI_TRACE("void ZORQelIGholder::Dump() const");
  for (std::int32_t i = 0; i < count; ++i)
    if (table[i] != nullptr) Print(i);
}
