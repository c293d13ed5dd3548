#include "ZORHashTabZORQelIObjectIMP.h"

#include "ZORQelIObjectIMP.h"

int ZORHashTabZORQelIObjectIMP::Compare(const void* a, const void* b) {
  // Equal takes a non-const argument; the table's elements are not const.
  const ZORQelIObjectIMP* held = static_cast<const ZORQelIObjectIMP*>(a);
  ZORQelIObjectIMP* other = static_cast<ZORQelIObjectIMP*>(const_cast<void*>(b));
  return held->Equal(other) == ZORQelI::Itrue ? 0 : 1;
}

ZORHashTabZORQelIObjectIMP::ZORHashTabZORQelIObjectIMP(int size)
    : table(new ZORHashTable(&Hash, &Compare, size < 2 ? 109 : size)) {}

ZORHashTabZORQelIObjectIMP* ZORHashTabZORQelIObjectIMP::Allocate(int size) {
  return new ZORHashTabZORQelIObjectIMP(size);
}

ZORHashTabZORQelIObjectIMP::ZORHashTabZORQelIObjectIMP(const ZORHashTabZORQelIObjectIMP& x)
    : ZORCollecRoot(x), table(new ZORHashTable(*x.table)) {}

ZORHashTabZORQelIObjectIMP& ZORHashTabZORQelIObjectIMP::operator=(
    const ZORHashTabZORQelIObjectIMP& x) {
  if (this != &x) *table = *x.table;
  return *this;
}

ZORHashTabZORQelIObjectIMP::~ZORHashTabZORQelIObjectIMP() { delete table; }

template <class F>
int ZORHashTabZORQelIObjectIMP::Apply(F call, ZORQelIObjectIMP* start,
                                      ZORQelIObjectIMP** visited, int* result) const {
  if (visited != nullptr) *visited = nullptr;
  if (result != nullptr) *result = 0;
  int a = 1, b = 0;
  void* e = start != nullptr ? table->LocatePosition(start, a, b) : table->Next(a, b);
  int calls = 0;
  while (e != nullptr) {
    ZORQelIObjectIMP* element = static_cast<ZORQelIObjectIMP*>(e);
    if (visited != nullptr) *visited = element;
    const int r = call(element);
    ++calls;
    if (result != nullptr) *result = r;
    if (r != 0) break;
    e = table->Next(a, b);
  }
  return calls;
}

int ZORHashTabZORQelIObjectIMP::ApplyMemberFunct(int (ZORQelIObjectIMP::*f)(),
                                                 ZORQelIObjectIMP* start,
                                                 ZORQelIObjectIMP** visited, int* result) const {
  return Apply([f](ZORQelIObjectIMP* e) { return (e->*f)(); }, start, visited, result);
}

int ZORHashTabZORQelIObjectIMP::ApplyMemberFunctConst(int (ZORQelIObjectIMP::*f)() const,
                                                      ZORQelIObjectIMP* start,
                                                      ZORQelIObjectIMP** visited,
                                                      int* result) const {
  return Apply([f](ZORQelIObjectIMP* e) { return (e->*f)(); }, start, visited, result);
}

void ZORHashTabZORQelIObjectIMP::ApplyDelete() {
  // Emptied first: the destructors must not find themselves still held (the
  // table's functions would call into deleted objects).
  ZORHashTable doomed(*table);
  table->RemoveAll();
  int a = 1, b = 0;
  for (void* e = doomed.Next(a, b); e != nullptr; e = doomed.Next(a, b))
    delete static_cast<ZORQelIObjectIMP*>(e);
}
