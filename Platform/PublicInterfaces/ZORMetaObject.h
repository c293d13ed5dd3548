// Class identities of the component runtime and the class dictionary.
#ifndef ZORMetaObject_h
#define ZORMetaObject_h

#include <string>

#include "ZORGuid.h"
#include "ZORPlatformExport.h"

class ZORError;

// The registered identity of one class: its name, its class identifier, its
// super class.  Meta objects are created by the runtime (fct_FindMetaObject)
// and live until the process ends; nothing ever deletes one.
class ZOR_PLATFORM_EXPORT ZORMetaObject {
 public:
  const char* GetClassName() const { return name_.c_str(); }
  const char* GetKind() const { return kind_.c_str(); }

  // Whether this class is the named class or derives from it (walks the
  // super classes).  A null name is never matched.
  int IsAKindOf(const char* className) const;

  // The class identifier; null while the class has none.
  const _GUID* GetClassId() const { return hasClassId_ ? &classId_ : nullptr; }
  void SetClassId(const _GUID& id);

  // The super class.  A super class that would make the chain circular
  // (this class itself or one of its subclasses) is refused: the call then
  // changes nothing.
  const ZORMetaObject* GetSuperClass() const { return super_; }
  void SetSuperClass(const ZORMetaObject* super);

  // Registration status: registration (AddDictionary) sets it to 1
  // ("registered and ready").
  int GetStatus() const { return status_; }
  void SetStatus(int status) { status_ = status; }

  // How ZORError::Throw throws an object of this class: a function that
  // throws a copy of the object, as its own class.  Set by the error classes
  // when they register; null means "throw as ZORError".
  using Thrower = void (*)(const ZORError& e);
  Thrower GetThrower() const { return thrower_; }
  void SetThrower(Thrower t) { thrower_ = t; }

 private:
  friend ZORMetaObject* QueryMetaObject(const char* className);
  friend ZORMetaObject* fct_FindMetaObject(const char* className);
  friend void AddDictionary(const _GUID*, const _GUID*, const char*, const char*,
                            const char*, void*, const char*, void*);
  explicit ZORMetaObject(const char* className);
  ZORMetaObject(const ZORMetaObject&) = delete;
  ZORMetaObject& operator=(const ZORMetaObject&) = delete;

  std::string name_;
  std::string kind_;
  _GUID classId_{};
  bool hasClassId_ = false;
  bool inDictionary_ = false;
  int status_ = 0;
  const ZORMetaObject* super_ = nullptr;
  Thrower thrower_ = nullptr;
};

// The meta object entered in the dictionary under className, or null when
// the class is not (yet) in the dictionary.
//
// The dictionary and its lookups are safe to use from several threads; the
// setters of one meta object are not synchronised (a class registers itself
// once, from a single thread or under its own once-only initialisation).
ZOR_PLATFORM_EXPORT ZORMetaObject* QueryMetaObject(const char* className);

// The runtime's meta object for className, created on first request (not yet
// entered in the dictionary).  Never null for a non-null name; null for a
// null name.
ZOR_PLATFORM_EXPORT ZORMetaObject* fct_FindMetaObject(const char* className);

// A fresh class identifier, unique in this process and never equal to
// CLSID_ZORMetaClass.  Safe to call from several threads.
ZOR_PLATFORM_EXPORT void fct_CreateCLSID(_GUID* id);

// Enters the meta object named className in the dictionary: metaClass is the
// identifier of its meta class (CLSID_ZORMetaClass), classId its own class
// identifier (may be null: set it later with SetClassId), kind its kind (for
// example "MetaObject"), and sets its status to 1.  A class identifier it
// already has is kept when classId is null; a null className does nothing.
// The remaining arguments (module name, creator, interface name, user data)
// are accepted and ignored by this runtime.
ZOR_PLATFORM_EXPORT void AddDictionary(const _GUID* metaClass, const _GUID* classId,
                                       const char* className, const char* kind,
                                       const char* moduleName, void* creator,
                                       const char* interfaceName, void* userData);

#endif
