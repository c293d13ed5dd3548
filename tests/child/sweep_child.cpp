// A sweep run on its own, outside any cycle, in a process that has made
// nothing but the library's own objects: nothing is marked, so every object
// is reclaimed except the placeholder of empty handles, which is kept
// whatever its mark.  The objects made here are of the placeholder's class
// and are made right after it, so the sweep meets them and the placeholder
// as one run of unmarked objects of one class.
//
// Writes the number of objects before, after making them and after the
// sweep, then whether an empty handle still answers; ends without running
// static destructors (the library's other objects, if any, are gone).
#include <cstdlib>
#include <iostream>

#include "QL0KRN.h"

int main(int argc, char** argv) {
  const int made = argc > 1 ? std::atoi(argv[1]) : 3;
  std::cout << ZORQelIObjectIMP::GetInstancesCount__();
  for (int i = 0; i < made; ++i) new ZORQelIDumbIMP();
  std::cout << ' ' << ZORQelIObjectIMP::GetInstancesCount__();
  ZORQelIObjectIMP::GarbageCollectCleaner();
  std::cout << ' ' << ZORQelIObjectIMP::GetInstancesCount__();
  {
    ZORQelIObject empty;
    std::cout << ' ' << (empty.IsValid() ? "valid" : "empty") << std::endl;
  }
  std::_Exit(0);
}
