// The overrides that every dictionary object of the in-memory provider
// declares, written once.  Each class still defines them itself; only the
// declarations are shared, so a class reads: its constructors, then
//   ZORQELIMEM_OBJECT_MEMBERS(Class);
//   ZORQELIMEM_WRAPPER_OBJECT_MEMBERS;
// then its own operations.
#ifndef ZORQelIMemObjectMembers_h
#define ZORQelIMemObjectMembers_h

// From ZORQelIObjectIMP: the destructor, Clone (a new object owned by the
// collector), Text (the object's text form) and GarbageCollectorMemberCheck
// (scans the object's raw pointers to other implementation objects).
#define ZORQELIMEM_OBJECT_MEMBERS(Class)                                       \
  ~Class() override;                                                           \
  ZORQelIObjectIMP* Clone() const override;                                    \
  void Text(ZORQelIPrint& ot) const override;                                  \
  void GarbageCollectorMemberCheck() override

// From ZORQelIWrapperObjectIMP: the wrapper that owns the object, its name
// and its renaming (which raises ZORQelI::Exception on a name the class
// refuses).
#define ZORQELIMEM_WRAPPER_OBJECT_MEMBERS                                      \
  ZORQelIWrapper& Wrapper() const override;                                    \
  ZORQelI::string Name() const override;                                       \
  void Rename(ZORQelI::string x) override

#endif
