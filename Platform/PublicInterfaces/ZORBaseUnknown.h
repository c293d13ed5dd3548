// Base class of the component runtime.
#ifndef ZORBaseUnknown_h
#define ZORBaseUnknown_h

#include "ZORGuid.h"
#include "ZORPlatformExport.h"

class ZORMetaObject;

// Every component object derives from ZORBaseUnknown.  The virtual
// operations are declared in a fixed order (the slot order that derived
// components rely on); this runtime gives them simple, well-defined defaults.
class ZOR_PLATFORM_EXPORT ZORBaseUnknown {
 public:
  ZORBaseUnknown();
  ZORBaseUnknown(const ZORBaseUnknown& o);
  ZORBaseUnknown& operator=(const ZORBaseUnknown& o);

  // 1: no interface is offered through identifiers: *out = null, result -1.
  virtual long QueryInterface(const _GUID& iid, void** out);
  // 2, 3: a reference count.  Release never deletes the object: lifetime is
  // the owner's business in this runtime.  Both return the new count.
  virtual unsigned long AddRef();
  virtual unsigned long Release();
  // 4
  virtual ~ZORBaseUnknown();
  // 5: the registered class identity; null for the base itself.
  virtual const ZORMetaObject* GetMetaObject() const;
  // 6: the name of the registered class ("ZORBaseUnknown" for the base).
  virtual const char* IsA() const;
  // 7: whether the class is, or derives from, the named class.
  virtual int IsAKindOf(const char* className) const;
  // 8: whether this object stands for nothing (never, in this runtime).
  virtual int IsNull() const;
  // 9: identity.
  virtual int IsEqual(const ZORBaseUnknown* o) const;
  // 10: delegation target; stored, not used by the runtime.
  virtual void SetImpl(ZORBaseUnknown* impl);
  // 11: this object when it is a kind of the named class, else null.
  virtual ZORBaseUnknown* QueryInterface(const char* className) const;

 private:
  unsigned long refCount_;
  ZORBaseUnknown* impl_;
};

#endif
