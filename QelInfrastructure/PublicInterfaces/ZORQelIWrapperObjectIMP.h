// ZORQelIWrapperObjectIMP: the implementation base of every dictionary and
// behaviour object.
#ifndef ZORQelIWrapperObjectIMP_h
#define ZORQelIWrapperObjectIMP_h

#include "ZORQelI.h"
#include "ZORQelIObjectIMP.h"
#include "ZORQelITracer.h"

class ZORQelIWrapper;
class ZORQelIWrapperObject;

// The per-class boilerplate of the abstract implementation classes of the
// dictionary, written once.  Inside the class body:
//
//   class QL0KRN_EXPORT ZORQelITypeIMP : public ZORQelIWrapperObjectIMP {
//     ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelITypeIMP, ZORQelIWrapperObjectIMP)
//    public:
//     ...
//   };
//
// and in the class's source: ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelITypeIMP,
// ZORQelIWrapperObjectIMP).
//
// Besides the class identity of ZORQELI_DECLARE_IMP it gives the class a
// traced default constructor and a traced copy constructor (the one a
// concrete subclass's Clone reaches through its own copy constructor), and an
// explicitly defaulted copy assignment, which keeps the base's rule that the
// collector fields are never copied.  None of these classes has data.
#define ZORQELI_DECLARE_ABSTRACT_IMP(This, Super)                                 \
  ZORQELI_DECLARE_IMP(This, Super)                                                \
 public:                                                                          \
  This();                                                                         \
  This(const This& o);                                                            \
  This& operator=(const This& o) = default;                                       \
                                                                                  \
 private:

#define ZORQELI_DEFINE_ABSTRACT_IMP(This, Super)                                  \
  ZORQELI_DEFINE_IMP(This, Super)                                                 \
  This::This() : Super() { ZORQELI_TRACE(" " #This "::" #This "()"); }            \
  This::This(const This& o) : Super(o) {                                          \
    ZORQELI_TRACE(" " #This "::" #This "(const " #This "& o)");                   \
  }

// A dictionary object belongs to one wrapper (its provider), has a name and
// can be renamed.  Derived classes add their own virtual operations after
// these three; Clone and Text stay abstract.
//
// The wrapper is held by reference by the concrete class: the provider keeps
// it alive as long as any of its objects can be reached.
//
// The contract of every dictionary and behaviour implementation class (this
// one and those derived from it):
//  - Raises: the library's part raises nothing of its own beyond what a
//    header says; what an operation of a concrete class raises is the
//    provider's to document (the in-memory provider: its ZORQelIMem*IMP.h).
//  - Ownership: an object is created with new and deleted only by the
//    collector, through Finalizer, once nothing reaches it; a concrete class
//    that holds handles or implementation pointers scans them in
//    GarbageCollectorMemberCheck.  Handle results are new handles of the
//    caller's.
//  - Validity: a pointer to an implementation object is valid while a handle
//    or a scanned member reaches the object.
class QL0KRN_EXPORT ZORQelIWrapperObjectIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIWrapperObjectIMP, ZORQelIObjectIMP)
 public:
  // --- Virtual operations, after the nine of ZORQelIObjectIMP ---------------
  // The wrapper the object belongs to.
  virtual ZORQelIWrapper& Wrapper() const = 0;
  virtual ZORQelI::string Name() const = 0;
  virtual void Rename(ZORQelI::string x) = 0;

  // Whether e belongs to this object's wrapper (its Owns decides).
  ZORQelI::boolean SameWrapper(ZORQelIWrapperObjectIMP* e) const;
  // The same for e's object; an empty e raises ZORQelI::NullPtrAccess.
  ZORQelI::boolean SameWrapper(ZORQelIWrapperObject& e) const;
};

// Only headers that define no class derived from a dictionary class may be
// included here and in ZORQelIWrapperObject.h: every dictionary header
// includes these two first, before its own class is defined.
#include "ZORQelIWrapper.h"
#include "ZORQelIWrapperObject.h"

#endif
