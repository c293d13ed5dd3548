// ZORQelIObject: base class of every handle.
#ifndef ZORQelIObject_h
#define ZORQelIObject_h

#include <iosfwd>

#include "ZORQelI.h"
#include "ZORQelIObjectIMP.h"
#include "ZORQelITracer.h"
#include "ZORQelIVariable.h"

class ZORQelIPrint;

// A handle: a small value that refers to at most one implementation object.
// Handles are copied, passed and returned by value, assigned and compared
// freely; every live handle is a root of the collector (ZORQelIVariable), so
// the object it refers to stays alive at least as long as the handle.  A
// handle that refers to nothing is "empty"; every operation that needs the
// object raises ZORQelI::NullPtrAccess on an empty handle.  IsValid never
// raises; Equal raises only when this handle is empty and o is not (two
// empty handles are Equal, and an empty o is passed to the object's Equal).
//
// Handles add no data and no virtual operation beyond the destructor.  The
// constructors register the handle inline; copying and destroying a handle
// costs one registration and one release, plus two frames when tracing can
// be observed (ZORQELI_TRACE_EMPTY).
class QL0KRN_EXPORT ZORQelIObject : public ZORQelIVariable {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIObject";

  // An empty handle.
  QL0KRN_ALWAYS_INLINE ZORQelIObject() : ZORQelIVariable(nullptr, InHandleConstructor()) {
    ZORQELI_TRACE_EMPTY(" ZORQelIObject::ZORQelIObject()");
  }
  // Refers to X (X may be null).
  QL0KRN_ALWAYS_INLINE ZORQelIObject(ZORQelIObjectIMP* X)
      : ZORQelIVariable(X, InHandleConstructor()) {
    ZORQELI_TRACE_EMPTY(" ZORQelIObject::ZORQelIObject(ZORQelIObjectIMP* X)");
  }
  // Refers to X's implementation object.
  QL0KRN_ALWAYS_INLINE ZORQelIObject(const ZORQelIObject& X)
      : ZORQelIVariable(X.objectIMP, InHandleConstructor()) {
    ZORQELI_TRACE_EMPTY(" ZORQelIObject::ZORQelIObject(const ZORQelIObject& X)");
  }
  const ZORQelIObject& operator=(const ZORQelIObject& o);
  const ZORQelIObject& operator=(const ZORQelIObjectIMP* o);

  // Ifalse for an empty handle (nothing raised); else the object's IsValid().
  ZORQelI::boolean IsValid() const;
  // The implementation object; raises ZORQelI::NullPtrAccess when empty.
  const ZORQelIObjectIMP* RefMe() const {
    ZORQELI_TRACE_LINE("const ZORQelIObjectIMP* ZORQelIObject::RefMe() const", 75);
    if (__builtin_expect(objectIMP == nullptr, 0)) RaiseEmpty(75);
    return objectIMP;
  }
  ZORQelIObjectIMP* RefMe() {
    ZORQELI_TRACE_LINE("ZORQelIObjectIMP* ZORQelIObject::RefMe()", 93);
    if (__builtin_expect(objectIMP == nullptr, 0)) RaiseEmpty(93);
    return objectIMP;
  }
  // Gives this handle a private copy (Clone) of its object; returns it.
  ZORQelIObjectIMP* SpecializeMe();

  ZORQelI::string ToString() const;
  ZORQelI::string Text() const;
  void ToStream(std::ostream& ot) const;
  void Text(ZORQelIPrint& ot) const;
  // Itrue when both refer to the same object (two empty handles included);
  // otherwise the object's Equal with o's object (null when o is empty).  An
  // empty handle compared with a non-empty o raises ZORQelI::NullPtrAccess:
  // test IsValid() first, or compare the other way round.
  ZORQelI::boolean Equal(ZORQelIObject o) const;
  ZORQelI::integer HashCode() const;

 private:
  friend struct ZORQelIInternal::Access;  // the library's internal helpers
  [[noreturn]] static void RaiseEmpty(int line);
  // A handle on X registered without a constructor frame, for the library's
  // paths that run only when no frame can be observed.
  QL0KRN_ALWAYS_INLINE static ZORQelIObject Unframed(ZORQelIObjectIMP* X) {
    return ZORQelIObject(X, InHandleConstructor());
  }
  QL0KRN_ALWAYS_INLINE ZORQelIObject(ZORQelIObjectIMP* X, InHandleConstructor t)
      : ZORQelIVariable(X, t) {}
};

// The contract every handle family shares; each family's header adds what is
// its own:
//  - Raises: an operation that needs the object raises ZORQelI::NullPtrAccess
//    on an empty handle before anything else ("QelInfrastructure/QL0KRN.m/src/
//    ZORQelIObject" line 75 from a const operation, 93 otherwise).  A
//    forwarding operation (a row of the family's .def file) then raises what
//    the implementation's operation of the same name raises: the library's
//    implementation headers say what theirs raise, a provider's headers say
//    it for the provider's classes.  The library catches nothing.
//  - Ownership: a handle owns its registration as a root and nothing else.
//    The object belongs to the collector, which deletes it once no handle and
//    no scanned member reaches it.  A handle result is a new handle of its
//    own; an object given to an operation that stores it is kept alive by the
//    object that stores it, as long as that one is reached.
//  - Validity: an object lives at least as long as a handle on it, across
//    collections.  A raw implementation pointer (RefMe, IMP, SpecializeMe) is
//    valid only while a handle or a scanned member reaches the object: keep a
//    handle, not the pointer, across a collection.  Strings are returned by
//    value and stay valid on their own.

// The handle family boilerplate, written once.  A family Xxx is a handle
// class and an implementation class; inside the handle class's body:
//
//   class QL0KRN_EXPORT ZORQelIType : public ZORQelIWrapperObject {
//     ZORQELI_DECLARE_HANDLE(ZORQelIType, ZORQelITypeIMP)
//     ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIType)      // families that have it
//    public:
//     ...
//   };
//
// and in the family's source file:
//
//   ZORQELI_DEFINE_HANDLE(ZORQelIType, ZORQelIWrapperObject, ZORQelITypeIMP)
//   ZORQELI_DEFINE_EMPTY_CONSTRUCTOR(ZORQelIType, ZORQelIWrapperObject)
//   ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORQelIType, ZORQelITypeIMP)
//   ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIType, ZORQelITypeIMP)
//
// DECLARE_HANDLE declares __CLASSNAME__, the three constructors, the copy
// assignment (ZORQelIObject's, which moves the root registration along), IMP()
// and DownCast.  DEFINE_HANDLE defines the constructor from an implementation
// pointer, the copy constructor (sharing the object) and IMP(); a family
// whose default constructor makes a fresh object, or whose copy constructor
// copies, defines those itself instead of using the shorthand macros.
#define ZORQELI_DECLARE_HANDLE(This, Imp)                                         \
 public:                                                                          \
  static constexpr const char* __CLASSNAME__ = #This;                             \
  This();                                                                         \
  This(Imp* x);                                                                   \
  This(const This& x);                                                            \
  This& operator=(const This& x) = default;                                       \
  Imp* IMP() const;                                                               \
  static This DownCast(ZORQelIObject o);                                          \
                                                                                  \
 private:

#define ZORQELI_DECLARE_CAST_ANYWAY(This)                                         \
 public:                                                                          \
  static This CastAnyway(ZORQelIObject o);                                        \
                                                                                  \
 private:

#define ZORQELI_DEFINE_POINTER_CONSTRUCTOR(This, Base, Imp)                       \
  This::This(Imp* x) : Base(x) { ZORQELI_TRACE_EMPTY(" " #This "::" #This "(" #Imp "* x)"); }

#define ZORQELI_DEFINE_SHARING_COPY_CONSTRUCTOR(This, Base)                       \
  This::This(const This& x) : Base(x) {                                           \
    ZORQELI_TRACE_EMPTY(" " #This "::" #This "(const " #This "& x)");             \
  }

#define ZORQELI_DEFINE_EMPTY_CONSTRUCTOR(This, Base)                              \
  This::This() : Base() { ZORQELI_TRACE_EMPTY(" " #This "::" #This "()"); }

#define ZORQELI_DEFINE_IMP_ACCESSOR(This, Imp)                                    \
  Imp* This::IMP() const {                                                        \
    ZORQELI_TRACE(#Imp "* " #This "::IMP() const");                              \
    return static_cast<Imp*>(const_cast<ZORQelIObjectIMP*>(RefMe()));             \
  }

#define ZORQELI_DEFINE_HANDLE(This, Base, Imp)                                    \
  ZORQELI_DEFINE_POINTER_CONSTRUCTOR(This, Base, Imp)                             \
  ZORQELI_DEFINE_SHARING_COPY_CONSTRUCTOR(This, Base)                             \
  ZORQELI_DEFINE_IMP_ACCESSOR(This, Imp)

// Forwarding operations.  Most operations of a handle call IMP() and then the
// implementation's operation of the same name with the same arguments.  A
// family lists those in its .def file, one row each:
//
//   // Number of the entity's own attributes.
//   ZORQELI_FORWARD(int, NumberOfAttributes, (), (), const, 19)
//   ZORQELI_FORWARD(void, Super, (ZORQelIEntity ent), (ent), , 48)
//
// The columns are the result type, the name, the parameter list, the
// argument list (the parameter names, in order), `const` or nothing, and the
// source line the operation's trace frame reports.  The header includes the
// .def inside the class body with ZORQELI_FORWARD defined as
// ZORQELI_DECLARE_FORWARDER; the family's source includes it with
// ZORQELI_DEFINE_FORWARDER:
//
//   #define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIEntity, __VA_ARGS__)
//   #include "ZORQelIEntity.def"
//
// The trace text is the row's own tokens, so it always reads as the
// declaration does: "int ZORQelIEntity::NumberOfAttributes() const".  The
// lines of the rows that existed when the forwarders were written by hand are
// the lines those reported, kept so that traces and stack dumps read as they
// did; a new row gives its own line in the .def file.  An operation that does
// more than forward is written out in the family's source as usual.
#define ZORQELI_FORWARD_TEXT(This, Result, Name, Params, Const)                   \
  #Result " " #This "::" #Name #Params ZORQELI_FORWARD_CONST_TEXT_##Const
#define ZORQELI_FORWARD_CONST_TEXT_const " const"
#define ZORQELI_FORWARD_CONST_TEXT_

#define ZORQELI_DECLARE_FORWARDER(Result, Name, Params, Args, Const, Line)        \
  Result Name Params Const;

#define ZORQELI_DEFINE_FORWARDER(This, Result, Name, Params, Args, Const, Line)   \
  Result This::Name Params Const {                                                \
    ZORQELI_TRACE_LINE(ZORQELI_FORWARD_TEXT(This, Result, Name, Params, Const), Line); \
    return IMP()->Name Args;                                                      \
  }

// A writer of a family whose writes chain: a ZORQELI_FORWARD_CHAIN row, which
// declares and traces like a ZORQELI_FORWARD row, forwards the same way and
// then returns a handle on this same object (the implementation's operation
// returns nothing).
#define ZORQELI_DEFINE_CHAINING_FORWARDER(This, Result, Name, Params, Args, Const, Line) \
  Result This::Name Params Const {                                                \
    ZORQELI_TRACE_LINE(ZORQELI_FORWARD_TEXT(This, Result, Name, Params, Const), Line); \
    IMP()->Name Args;                                                             \
    return *this;                                                                 \
  }

// Lenient down-cast: an empty o gives an empty handle; an object of another
// class raises ZORQelI::InvalidType.
#define ZORQELI_DEFINE_LENIENT_DOWNCAST(This, Imp)                                \
  This This::DownCast(ZORQelIObject o) {                                          \
    ZORQELI_TRACE(#This " " #This "::DownCast(ZORQelIObject o)");                 \
    return This(Imp::DownCast(o));                                                \
  }

// Strict down-cast: an empty o raises ZORQelI::NullPtrAccess; an object of
// another class raises ZORQelI::InvalidType.
#define ZORQELI_DEFINE_STRICT_DOWNCAST(This, Imp)                                 \
  This This::DownCast(ZORQelIObject o) {                                          \
    ZORQELI_TRACE(#This " " #This "::DownCast(ZORQelIObject o)");                 \
    ZORQelIObjectIMP* p = o.RefMe();                                              \
    p->SafeMatch(Imp::ClassId());                                                 \
    return This(static_cast<Imp*>(p));                                            \
  }

// CastAnyway: an empty o raises ZORQelI::NullPtrAccess; an object of another
// class gives an empty handle and raises nothing.
#define ZORQELI_DEFINE_CAST_ANYWAY(This, Imp)                                     \
  This This::CastAnyway(ZORQelIObject o) {                                        \
    ZORQELI_TRACE(#This " " #This "::CastAnyway(ZORQelIObject o)");               \
    ZORQelIObjectIMP* p = o.RefMe();                                              \
    if (p->Match(Imp::ClassId()) == ZORQelI::Itrue) return This(static_cast<Imp*>(p)); \
    return This();                                                                \
  }

// The collector's inline scan of a handle member (reads the fields above).
#include "internal/ZORQelIMemberScan.h"

#endif
