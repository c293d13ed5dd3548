// The registry of the providers' value readers of the EXPRESS form printer
// (ZORQelIExpressFormValues.h).
#include "ZORQelIExpressFormValues.h"

#include <typeinfo>
#include <utility>
#include <vector>

#include "ZORQelIExpressFormDirect.h"
#include "ZORQelITracer.h"

namespace {

// The registered readers: a handful at most (one per provider class), so a
// linear search.  Never destroyed, so readers stay usable during the
// process's exit.
std::vector<std::pair<const std::type_info*, ZORQelIExpressFormValues::Reader>>& Readers() {
  static auto* readers =
      new std::vector<std::pair<const std::type_info*, ZORQelIExpressFormValues::Reader>>();
  return *readers;
}

}  // namespace

void ZORQelIExpressFormValues::Register(const std::type_info& type, Reader reader) {
  ZORQELI_TRACE_LINE(
      "void ZORQelIExpressFormValues::Register(const std::type_info& type, Reader reader)", 285);
  for (auto& entry : Readers()) {
    if (*entry.first == type) {
      entry.second = reader;
      return;
    }
  }
  Readers().emplace_back(&type, reader);
}

ZORQelIExpressFormValues::Reader ZORQelIExpressFormValues::Find(const ZORQelIObjectIMP& instance) {
  ZORQELI_TRACE_LINE("Reader ZORQelIExpressFormValues::Find(const ZORQelIObjectIMP& instance)",
                     296);
  const std::type_info& type = typeid(instance);
  for (const auto& entry : Readers()) {
    if (*entry.first == type) return entry.second;
  }
  return nullptr;
}
