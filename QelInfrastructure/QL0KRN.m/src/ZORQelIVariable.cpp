#include "ZORQelIVariable.h"

#include <pthread.h>

#include <cstdlib>
#include <iostream>
#include <limits>
#include <new>

#include "ZORQelICheck.h"
#include "ZORQelIObjectIMP.h"
#include "ZORQelITracer.h"

namespace ZORQelIInternal {

__thread StackBounds threadStack __attribute__((tls_model("initial-exec"))) = {0, 0};

bool OnStackSlow(const void* p) {
  StackBounds& s = threadStack;
  if (s.size == 0) {
    // The real bounds of this thread's stack: a fixed window around the
    // current frame could take a heap block or another thread's stack lying
    // next to this one for a local.
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
      void* addr = nullptr;
      std::size_t size = 0;
      if (pthread_attr_getstack(&attr, &addr, &size) == 0 && size != 0) {
        s.low = reinterpret_cast<std::uintptr_t>(addr);
        s.size = size;
      }
      pthread_attr_destroy(&attr);
    }
  }
  if (s.size != 0) return reinterpret_cast<std::uintptr_t>(p) - s.low < s.size;
  // No bounds to be had: the fixed window of ZORQelIVariable::stackSize words
  // around a local of this call.
  char local = 0;
  std::intptr_t words = (reinterpret_cast<std::intptr_t>(p) -
                         reinterpret_cast<std::intptr_t>(&local)) / 4;
  if (words < 0) words = -words;
  return words < ZORQelIVariable::stackSize;
}

}  // namespace ZORQelIInternal

ZORQelIGholder* ZORQelIVariable::holder = nullptr;

ZORQelIGholder* ZORQelIVariable::Holders() {
  if (holder == nullptr) {
    // Two tables in raw storage, each built by its constructor; never freed.
    void* raw = ::operator new(2 * sizeof(ZORQelIGholder));
    ZORQelIGholder* tables = static_cast<ZORQelIGholder*>(raw);
    new (&tables[0]) ZORQelIGholder();
    new (&tables[1]) ZORQelIGholder();
    tables[0].tracked_ = false;  // see ZORQelIGholder.h
    holder = tables;
  }
  return holder;
}

#if ZORQELI_DCHECK_IS_ON
namespace {
// Invariant 1 of a registered variable, as far as the table still counts its
// slot: the slot holds the variable's object (or the placeholder).  A slot
// forgotten by a ZORQelIGCState scope (or FlushInstancePool) and taken over
// by a later handle holds that handle's object instead: the variable
// outlived the scope that forgot it, and writing to the slot now would
// overwrite the other handle's root.
void CheckOwnSlot(std::int32_t key, const ZORQelIObjectIMP* objectIMP) {
  if (key == ZORQelIGholder::MEMBER) return;
  const ZORQelIGholder& table = ZORQelIVariable::holder[key & 1];
  const std::int32_t slot = key >> 1;
  ZORQELI_DCHECK(slot >= table.count ||
                     table.table[slot] == (objectIMP != nullptr ? objectIMP : ZORQelIGholder::null),
                 "a handle outlived the ZORQelIGCState scope (or FlushInstancePool) that forgot "
                 "its slot, and another handle has taken that slot over");
}
}  // namespace
#endif

std::int32_t ZORQelIVariable::RegisterSlow(ZORQelIObjectIMP* x) {
  ZORQelIGholder* h = Holders();
  if (ZORQelIInternal::OnStackSlow(this)) return h[0].Push<false>(x) * 2;
  return h[1].Push<true>(x) * 2 + 1;
}

ZORQelIGholder& ZORQelIVariable::Holder() {
  ZORQELI_TRACE("ZORQelIGholder& ZORQelIVariable::Holder()");
  return Holders()[key & 1];
}

int ZORQelIVariable::CheckIfOnStack() const {
  ZORQELI_TRACE("int ZORQelIVariable::CheckIfOnStack() const");
  return OnCurrentStack(this) ? 0 : 1;
}

void ZORQelIVariable::SetObjectIMP(ZORQelIObjectIMP* X) {
  ZORQELI_TRACE("void ZORQelIVariable::SetObjectIMP(ZORQelIObjectIMP* X)");
#if ZORQELI_DCHECK_IS_ON
  CheckOwnSlot(key, objectIMP);
#endif
  objectIMP = X;
  Holder().ReplaceKey(key >> 1, X);
}

void ZORQelIVariable::DefineAsMember() {
  ZORQELI_TRACE("void ZORQelIVariable::DefineAsMember()");
  if (key == ZORQelIGholder::MEMBER) return;
#if ZORQELI_DCHECK_IS_ON
  CheckOwnSlot(key, objectIMP);
#endif
  Holders()[key & 1].table[key >> 1] = nullptr;
  key = ZORQelIGholder::MEMBER;
}

void ZORQelIVariable::GarbageCollectorScan() {
  ZORQELI_TRACE("void ZORQelIVariable::GarbageCollectorScan()");
  DefineAsMember();
  ZORQelIObjectIMP::GarbageCollectorScan(objectIMP);
}

ZORQelI::integer ZORQelIVariable::GarbageCollect() {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIVariable::GarbageCollect()");
  ZORQelIGholder* h = Holders();
  ZORQelIObjectIMP::GarbageCollect(h[0], h[1]);
  return h[0].count + h[1].count;
}

void ZORQelIVariable::FlushInstancePool(ZORQelI::integer top) {
  ZORQELI_TRACE("void ZORQelIVariable::FlushInstancePool(integer top)");
  Holders()[0].Size(top);
}

ZORQelI::integer ZORQelIVariable::GetInstancesCount__() {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIVariable::GetInstancesCount__()");
  return ZORQelIObjectIMP::GetInstancesCount__();
}

void ZORQelIVariable::Dump() {
  ZORQELI_TRACE("void ZORQelIVariable::Dump()");
  ZORQelIGholder* h = Holders();
  std::cerr << "automatic object table content" << std::endl;
  h[0].Dump();
  std::cerr << "static object table content" << std::endl;
  h[1].Dump();
}

void ZORQelIVariable::Debugger() {
  ZORQELI_TRACE("void ZORQelIVariable::Debugger()");
  ZORQelIGholder* h = Holders();
  ZORQelIGholder* current = &h[0];
  int index = 0;
  for (;;) {
    std::cout << "(gcdb) :" << std::flush;
    char command = 0;
    // End of input: leave as if 'c' had been typed.
    if (!(std::cin >> command)) {
      std::cin.clear();
      return;
    }
    switch (command) {
      case 'a':
        current = &h[0];
        break;
      case 's':
        current = &h[1];
        break;
      case 'n': {
        // A negative index ('p' with a negative number) searches from slot
        // 0: there are no slots below it to read.
        int i = index < 0 ? 0 : index;
        while (i < current->count && current->table[i] == nullptr) ++i;
        if (i < current->count)
          index = i;
        else if (index < current->count)
          index = current->count;
        break;
      }
      case 'p': {
        std::cout << "key value: " << std::flush;
        int value = 0;
        if (std::cin >> value) {
          index = value;
        } else if (std::cin.eof()) {
          std::cin.clear();
          return;
        } else {
          // Not a number: keep the index, drop the rest of the line.
          std::cin.clear();
          std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        }
        break;
      }
      case 'd':
        Dump();
        continue;
      case 'c':
        return;
      case 'q':
        std::exit(1);
      default:
        break;
    }
    current->Print(index);
    // 'p' can set the index to the largest int: it stays there rather than
    // overflow, and keeps printing the out-of-bound line.
    if (index < std::numeric_limits<int>::max()) ++index;
  }
}
