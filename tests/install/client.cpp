// An installed-package client: one handle, one collection, the stack-room
// test (inline code of the public headers reading their internal/ part).
#include <iostream>

#include "QL0KRN.h"

int main() {
  ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();
  {
    ZORQelIObject empty;
    if (empty.IsValid() != ZORQelI::Ifalse) return 1;
  }
  // main's frame is far from the end of the stack.
  if (ZORQelI::StackNearlyExhausted()) return 1;
  ZORQelIVariable::GarbageCollect();
  ZORQelI::integer left = ZORQelIVariable::GetInstancesCount__() - before;
  std::cout << "client ok " << left << "\n";
  return left == 0 ? 0 : 1;
}
