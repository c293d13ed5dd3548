#include "ZORBaseUnknown.h"

#include <cstring>

#include "ZORMetaObject.h"

ZORBaseUnknown::ZORBaseUnknown() : refCount_(0), impl_(nullptr) {}

// A copy is a new object: its reference count starts afresh.
ZORBaseUnknown::ZORBaseUnknown(const ZORBaseUnknown& o) : refCount_(0), impl_(o.impl_) {}

// The reference count belongs to the object, not to its value.
ZORBaseUnknown& ZORBaseUnknown::operator=(const ZORBaseUnknown& o) {
  impl_ = o.impl_;
  return *this;
}

ZORBaseUnknown::~ZORBaseUnknown() = default;

long ZORBaseUnknown::QueryInterface(const _GUID& /*iid*/, void** out) {
  if (out) *out = nullptr;
  return -1;
}

unsigned long ZORBaseUnknown::AddRef() { return ++refCount_; }

unsigned long ZORBaseUnknown::Release() {
  if (refCount_ > 0) --refCount_;
  return refCount_;
}

const ZORMetaObject* ZORBaseUnknown::GetMetaObject() const { return nullptr; }

// The name and kind queries follow GetMetaObject, so a class that overrides
// only GetMetaObject answers them correctly.
const char* ZORBaseUnknown::IsA() const {
  const ZORMetaObject* m = GetMetaObject();
  return m ? m->GetClassName() : "ZORBaseUnknown";
}

int ZORBaseUnknown::IsAKindOf(const char* className) const {
  if (!className) return 0;
  if (std::strcmp(className, "ZORBaseUnknown") == 0) return 1;  // every object is
  const ZORMetaObject* m = GetMetaObject();
  return m ? m->IsAKindOf(className) : 0;
}

int ZORBaseUnknown::IsNull() const { return 0; }

int ZORBaseUnknown::IsEqual(const ZORBaseUnknown* o) const { return o == this; }

void ZORBaseUnknown::SetImpl(ZORBaseUnknown* impl) { impl_ = impl; }

ZORBaseUnknown* ZORBaseUnknown::QueryInterface(const char* className) const {
  return IsAKindOf(className) ? const_cast<ZORBaseUnknown*>(this) : nullptr;
}
