// Collector diagnostics in a process of their own, where the holder tables
// hold exactly what this program put in them.
//
//   inspector_child early    counters, dump, collection and inspector before
//                            the process has made any handle
//   inspector_child debug    the inspector on the tables below
//   inspector_child dump     ZORQelIVariable::Dump() of the tables below
//   inspector_child status   the status lines of the list and both tables
//
// The tables (made by `debug`, `dump` and `status`):
//   automatic: 0 free, 1 leaf 1, 2 empty handle, 3 leaf 3
//   static:    0 leaf 7, 1 leaf 9
// After the inspector returns, "returned" is written to standard output.
#include <cstring>
#include <iostream>
#include <optional>

#include "QL0KRN.h"

namespace {

class LeafIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(LeafIMP, ZORQelIObjectIMP)
 public:
  explicit LeafIMP(int n) : n(n) {}
  ZORQelIObjectIMP* Clone() const override { return new LeafIMP(*this); }
  void Text(ZORQelIPrint& ot) const override {
    ot.Print(ZORQelI::string("leaf "));
    ot.Print(static_cast<ZORQelI::integer>(n));
  }
  int n;
};
ZORQELI_DEFINE_IMP(LeafIMP, ZORQelIObjectIMP)

int Early() {
  std::cout << "instances " << ZORQelIVariable::GetInstancesCount__() << "\n";
  std::cout << "collect " << ZORQelIVariable::GarbageCollect() << "\n" << std::flush;
  ZORQelIVariable::Dump();
  ZORQelIVariable::Debugger();
  std::cout << "returned\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* mode = argv[1];
  if (std::strcmp(mode, "early") == 0) return Early();

  ZORQelIObject* staticSeven = new ZORQelIObject(new LeafIMP(7));  // static table, slot 0
  std::optional<ZORQelIObject> freed;
  freed.emplace(new LeafIMP(0));  // automatic table, slot 0
  ZORQelIObject one(new LeafIMP(1));
  ZORQelIObject empty;
  ZORQelIObject three(new LeafIMP(3));
  freed.reset();  // automatic slot 0 becomes a hole below the top
  ZORQelIObject* staticNine = new ZORQelIObject(new LeafIMP(9));  // static table, slot 1

  if (std::strcmp(mode, "debug") == 0) {
    ZORQelIVariable::Debugger();
    std::cout << "returned\n";
  } else if (std::strcmp(mode, "dump") == 0) {
    ZORQelIVariable::Dump();
  } else if (std::strcmp(mode, "status") == 0) {
    ZORQelIObjectIMP::Status();
    ZORQelIVariable::holder[0].Status();
    std::cerr << "|";
    ZORQelIVariable::holder[1].Status();
  } else {
    return 2;
  }
  delete staticNine;
  delete staticSeven;
  return 0;
}
