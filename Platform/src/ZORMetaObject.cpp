#include "ZORMetaObject.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

// Name -> meta object.  Built on first use and never destroyed: classes
// register from static initialisers of any library and may be looked up
// from static destructors, so no construction or destruction order between
// translation units can matter.  Meta objects are owned here for the whole
// life of the process.
struct Dictionary {
  std::mutex lock;
  std::unordered_map<std::string, ZORMetaObject*> byName;
};

Dictionary& TheDictionary() {
  static Dictionary* d = new Dictionary;
  return *d;
}

}  // namespace

ZORMetaObject::ZORMetaObject(const char* className) : name_(className) {}

int ZORMetaObject::IsAKindOf(const char* className) const {
  if (!className) return 0;
  for (const ZORMetaObject* m = this; m; m = m->super_)
    if (m->name_ == className) return 1;
  return 0;
}

void ZORMetaObject::SetClassId(const _GUID& id) {
  classId_ = id;
  hasClassId_ = true;
}

void ZORMetaObject::SetSuperClass(const ZORMetaObject* super) {
  // The super chain is acyclic as long as no link makes it so; checking here
  // keeps IsAKindOf a finite walk.
  for (const ZORMetaObject* m = super; m; m = m->super_)
    if (m == this) return;
  super_ = super;
}

ZORMetaObject* QueryMetaObject(const char* className) {
  if (!className) return nullptr;
  Dictionary& d = TheDictionary();
  std::lock_guard<std::mutex> g(d.lock);
  const auto it = d.byName.find(className);
  return it != d.byName.end() && it->second->inDictionary_ ? it->second : nullptr;
}

ZORMetaObject* fct_FindMetaObject(const char* className) {
  if (!className) return nullptr;
  Dictionary& d = TheDictionary();
  std::lock_guard<std::mutex> g(d.lock);
  ZORMetaObject*& slot = d.byName[className];
  if (!slot) slot = new ZORMetaObject(className);
  return slot;
}

void fct_CreateCLSID(_GUID* id) {
  if (!id) return;
  static std::atomic<std::uint64_t> next{1};
  const std::uint64_t n = next.fetch_add(1, std::memory_order_relaxed);
  // A fixed tag in Data4 that differs from CLSID_ZORMetaClass's, and the
  // serial number spread over the other fields.
  id->Data1 = static_cast<std::uint32_t>(n);
  id->Data2 = static_cast<std::uint16_t>(n >> 32);
  id->Data3 = static_cast<std::uint16_t>(n >> 48);
  static const std::uint8_t tag[8] = {0x5a, 0x4f, 0x52, 0x43, 0x4c, 0x53, 0x49, 0x44};
  std::memcpy(id->Data4, tag, sizeof tag);
}

void AddDictionary(const _GUID* /*metaClass*/, const _GUID* classId, const char* className,
                   const char* kind, const char* /*moduleName*/, void* /*creator*/,
                   const char* /*interfaceName*/, void* /*userData*/) {
  if (!className) return;
  ZORMetaObject* m = fct_FindMetaObject(className);
  Dictionary& d = TheDictionary();
  std::lock_guard<std::mutex> g(d.lock);
  if (classId) m->SetClassId(*classId);
  m->kind_ = kind ? kind : "";
  m->status_ = 1;
  m->inDictionary_ = true;
}
