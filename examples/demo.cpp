// The library at work: handles over implementation objects of a client's own
// class, a checked down-cast, an exception printed in its fixed layout, a
// collection that reclaims what no handle reaches, and the collector status.
//
// Run with ZORQelITracerContext=<filter> in the environment to see the call
// trace of the operations whose declaration contains <filter>.
#include <iostream>

#include "QL0KRN.h"

namespace {

// A client implementation class: a named node that may point to another.
class DemoNodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(DemoNodeIMP, ZORQelIObjectIMP)
 public:
  explicit DemoNodeIMP(const char* name) : name(name) {}
  DemoNodeIMP(const DemoNodeIMP& o) : ZORQelIObjectIMP(o), name(o.name), next(o.next) {}
  ~DemoNodeIMP() override { std::cout << "  finalized " << static_cast<const char*>(name) << "\n"; }

  ZORQelIObjectIMP* Clone() const override { return new DemoNodeIMP(*this); }
  void Text(ZORQelIPrint& ot) const override {
    ot.Print(ZORQelI::string("node "));
    ot.Print(name);
  }
  // The collector contract: scan every reference, then the base.
  void GarbageCollectorMemberCheck() override {
    ZORQelIObjectIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(next);
  }

  ZORQelI::string name;
  ZORQelIObject next;  // a handle member: keeps its target alive
};

ZORQELI_DEFINE_IMP(DemoNodeIMP, ZORQelIObjectIMP)

}  // namespace

int main() {
  std::cout << "== handles ==\n";
  ZORQelI::integer base = ZORQelIVariable::GetInstancesCount__();
  ZORQelIObject a(new DemoNodeIMP("a"));
  {
    DemoNodeIMP* b = new DemoNodeIMP("b");
    DemoNodeIMP::DownCast(a)->next = b;  // a -> b
    ZORQelIObject(new DemoNodeIMP("garbage"));  // unreachable at once
  }
  std::cout << "a is " << static_cast<const char*>(a.ToString()) << ", objects made: "
            << ZORQelIVariable::GetInstancesCount__() - base << "\n";

  std::cout << "== a failed down-cast ==\n";
  try {
    ZORQelIDumbIMP::DownCast(a);
  } catch (ZORQelI::InvalidType& e) {
    e.Print(std::cout);
  }

  std::cout << "== collections ==\n";
  ZORQelIVariable::GarbageCollect();  // "garbage" goes; b's member handle becomes a member
  a = ZORQelIObject();                // drop a: a and b become unreachable
  ZORQelIVariable::GarbageCollect();
  std::cout << "objects left beyond the start: " << ZORQelIVariable::GetInstancesCount__() - base
            << "\n";
  std::cout << "== collector status (standard error) ==\n" << std::flush;
  ZORQelIObjectIMP::Status();
  ZORQelIVariable::holder[0].Status();
  std::cerr << std::endl;
  ZORQelIVariable::holder[1].Status();
  std::cerr << std::endl;
  return 0;
}
