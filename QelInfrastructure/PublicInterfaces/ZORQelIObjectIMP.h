// ZORQelIObjectIMP: base class of every implementation object.
#ifndef ZORQelIObjectIMP_h
#define ZORQelIObjectIMP_h

#include <cstdint>
#include <iosfwd>
#include <type_traits>

#include "ZORQelI.h"
#include "ZORQelIClass.h"
#include "ZORQelIGarbageableObjectListIMP.h"
#include "ZORQelITracer.h"
#include "internal/ZORQelIAccess.h"

class ZORQelIObject;
class ZORQelIGholder;
class ZORQelIPrint;

// Implementation objects carry all state and behaviour; clients hold them
// only through handles (ZORQelIObject and its subclasses).  Every
// implementation object is created with new and, from its construction, is
// on the collector's list (list_); only the collector deletes it, through
// Finalizer, once no root reaches it.  Deleting one any other way leaves a
// dangling link in list_.
//
// The collector contract, for implementers of subclasses: a class that
// refers to other implementation objects overrides GarbageCollectorMemberCheck
// to scan every reference it holds, then calls its base class's check:
//
//   class ZORMyPairIMP : public ZORQelIObjectIMP {
//     ZORQELI_DECLARE_IMP(ZORMyPairIMP, ZORQelIObjectIMP)
//    public:
//     void GarbageCollectorMemberCheck() override {
//       ZORQelIObjectIMP::GarbageCollectorMemberCheck();  // the base's members
//       GarbageCollectorScan(first);   // a handle member (ZORQelIObject&)
//       GarbageCollectorScan(raw);     // a raw ZORQelIObjectIMP* (may be null)
//     }
//     ...
//    private:
//     ZORQelIObject first;      // kept alive by the scan above
//     ZORQelIObjectIMP* raw;    // kept alive by the scan above
//   };
//
// A handle member is a root of the static table until its owner is first
// scanned; from then on it is found only through its owner.  A reference that
// no member check scans does not keep its target alive.
//
// A constructor that raises is safe: the base's destructor takes the
// half-built object back off list_.
//
// Copying an implementation object (copy constructor, Clone) makes a new
// object of the collector: it enters list_ unmarked and never takes over the
// source's collector fields; assignment leaves them alone too.
class QL0KRN_EXPORT ZORQelIObjectIMP {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIObjectIMP";
  // Every implementation object of the process (constant-initialised).
  static ZORQelIGarbageableObjectListIMP list_;

  ZORQelIObjectIMP();
  ZORQelIObjectIMP(const ZORQelIObjectIMP& o);
  ZORQelIObjectIMP& operator=(const ZORQelIObjectIMP& o);

  // --- The nine virtual operations, in slot order ---------------------------
  // A new object of the same class whose data are copies of this one's
  // (handle members copied as handles: copy and source share their targets).
  virtual ZORQelIObjectIMP* Clone() const = 0;
  // Does nothing beyond member destruction; does not unlink from list_ (an
  // object whose construction failed excepted, see below the class).
  virtual ~ZORQelIObjectIMP();
  // Writes the object's text form through the printer.
  virtual void Text(ZORQelIPrint& ot) const = 0;
  virtual ZORQelI::boolean IsValid() const;
  // The descriptor of the object's own class.
  virtual const ZORQelIClass& Id() const;
  // Identity by default.  An override must keep equal objects at equal hash
  // codes: containers compare hash codes first.
  virtual ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const;
  // The address as a signed 32-bit value, shifted right by 2 (arithmetic).
  virtual ZORQelI::integer HashCode() const;
  // Scans the object's references (see the contract above); scans nothing.
  virtual void GarbageCollectorMemberCheck();
  // Deletes the object through its virtual destructor.
  virtual void Finalizer();

  // --- Text ------------------------------------------------------------------
  // The object's text as an EXPRESS form printer renders it.
  ZORQelI::string ToString() const;
  // ToString() as a narrow string, no newline.
  void ToStream(std::ostream& ot) const;
  // ToStream to standard error, then a newline and a flush.
  void show_self();

  // --- Class identity --------------------------------------------------------
  static const ZORQelIClass& ClassId();
  // Whether this object's class is o or derives from o.
  ZORQelI::boolean Match(const ZORQelIClass& o) const;
  // Raises ZORQelI::InvalidType unless Match(o).
  void SafeMatch(const ZORQelIClass& o) const;
  // Null for an empty o; otherwise o's object after SafeMatch(x).
  static ZORQelIObjectIMP* Cast__(ZORQelIObject o, const ZORQelIClass& x);
  // A new descriptor (never freed).
  static const ZORQelIClass& NewClassId(const ZORQelIClass* superC, const char* name);
  static const ZORQelIClass& NewClassId(const ZORQelIClass& superC, const char* name);

  // Raises a ZORQelI::Exception whose text names file and reason and ends
  // with this object's own text (or "Recursion error" when this is reached
  // while another Raise is producing an object's text).
  [[noreturn]] void Raise(integer line, const char* file, const char* reason) const;

  // --- Collector ---------------------------------------------------------------
  ZORQelIObjectIMP* Next() const;
  void Next(ZORQelIObjectIMP* n);
  static ZORQelI::integer GetInstancesCount__();
  static void Status();
  // One full cycle: scan the static table, then the automatic table, then
  // sweep.
  static void GarbageCollect(ZORQelIGholder& va, ZORQelIGholder& vs);
  static void GarbageCollectCleaner();
  // Marks this object and, once per cycle, scans its members.  Inline
  // (internal/ZORQelIMarking.h): member checks call it for every reference
  // they hold.  Raises what the member checks it runs raise.
  void GarbageCollectorScan();
  // The same for m; null is ignored.
  static void GarbageCollectorScan(ZORQelIObjectIMP* m);
  // Member scan of a handle member: takes it out of its table, marks its
  // referent.  Inline (internal/ZORQelIMemberScan.h, which ZORQelIObject.h
  // includes): a handle already out of its table is scanned as a raw
  // reference in the member check itself.
  inline void GarbageCollectorScan(ZORQelIObject& m);
  // GarbageCollectorScan(m[i]) for i < count; null entries are ignored.
  static void GarbageCollectorScan(ZORQelIObjectIMP** m, int count);
  // Returns the mark and clears it.
  int TestAndSetGarbageCollectorHit();

 private:
  friend class ZORQelIGarbageableObjectListIMP;
  friend class ZORQelIGholder;
  struct LoadTimeTag {};
  // For the objects the library makes while it is loaded (no trace frame:
  // nothing may be traced before the client calls in).
  explicit ZORQelIObjectIMP(LoadTimeTag);
  friend class ZORQelIDumbIMP;

  // The library's internal helpers (the marker, the quiet paths), through
  // their one key.
  friend struct ZORQelIInternal::Access;

  static void Enlist(ZORQelIObjectIMP* o);
  // The destruction of an object the sweep did not finalize in place: one
  // that a finalizer of the client's deletes (the sweep learns that it was
  // deleted) or one whose construction failed, taken off list_.
  void Unlink();
  // The two scans with their frames (everything but the quiet path), out
  // of line so that the quiet path in a member check needs no stack frame.
  void ScanUnderFrame();
  static void ScanUnderFrame(ZORQelIObjectIMP* m);
  // The scan of a handle member still in its table (its first scan), or
  // with its frames: everything but the inline path.
  static void ScanHandle(ZORQelIObject& m);
  // A quiet scan of an object while the work list is this long or longer:
  // its mark is tested a few scans later, once its line has been fetched.
  static void Defer(ZORQelIObjectIMP* m);

  // 0 = unmarked in the current cycle, 1 = marked; 0 between cycles
  // (ZORQelIInternal::Marking::inPlace while the sweep deletes the object).
  ZORQelI::integer garbageCollectorHit;
  // The object's place in the marker's record of the list's order while one
  // is kept (set when the object or a sweep writes its entry): a hint only,
  // out of date once the record is rewritten or dropped.
  std::int32_t recordPlace = 0;
  // Link of list_ (or of the sweep's survivor list during a sweep).
  ZORQelIObjectIMP* next;
};

// The two scans every member check calls once per reference it holds are
// inline, in the member check (internal/ZORQelIMarking.h).
#include "internal/ZORQelIMarking.h"

// Inline, so that the sweep's deletion of an object costs one test beyond
// its class's own destructors: the sweep has already taken it off the list
// and marked it so.  Any other destruction goes through Unlink.
inline ZORQelIObjectIMP::~ZORQelIObjectIMP() {
  if (__builtin_expect(garbageCollectorHit != ZORQelIInternal::Marking::inPlace, 0)) Unlink();
}

// What ZORQELI_DEFINE_IMP records of a class (the operations it declares).
#include "internal/ZORQelIClassRecord.h"


// Per-class identity of an implementation class, written once.  Inside the
// class body:
//
//   class ZORMyViewIMP : public ZORQelIViewIMP {
//     ZORQELI_DECLARE_IMP(ZORMyViewIMP, ZORQelIViewIMP)
//    public:
//     ...
//   };
//
// and in the class's source file:
//
//   ZORQELI_DEFINE_IMP(ZORMyViewIMP, ZORQelIViewIMP)
//
// This declares and defines __CLASSNAME__ (the class name), the static
// ClassId() (the class's descriptor, created on first call below its super
// class's), the override of Id(), and the static checked DownCast from a
// handle.  DEFINE also records, when the program is loaded, which of the
// base's virtual operations the class declares itself (Equal, HashCode,
// IsValid, GarbageCollectorMemberCheck, Finalizer): the library skips the
// frames of its own operations only on objects of classes so recorded,
// whose every operation in question is known to be the library's.  Objects
// of a class that does not use the macros always take the traced path.  The macros keep the class's declared bases; DEFINE checks that
// Super really is a base of This.  Every implementation class must use them:
// a class without its own descriptor is seen by casts as its base class.
#define ZORQELI_DECLARE_IMP(This, Super)                                          \
 public:                                                                          \
  static constexpr const char* __CLASSNAME__ = #This;                             \
  static const ZORQelIClass& ClassId();                                           \
  const ZORQelIClass& Id() const override;                                        \
  [[maybe_unused]] static This* DownCast(ZORQelIObject o);                        \
                                                                                  \
 private:

#define ZORQELI_DEFINE_IMP(This, Super)                                           \
  static_assert(std::is_base_of<Super, This>::value,                              \
                #Super " must be a base class of " #This);                         \
  static_assert(std::is_base_of<ZORQelIObjectIMP, Super>::value,                  \
                #Super " must be an implementation class");                        \
  [[maybe_unused]] static const bool zorqeliRecorded_##This =                     \
      ZORQelIInternal::RecordClassOperations(                                     \
          typeid(This), typeid(Super),                                            \
          ZORQelIInternal::DeclaredOperations<This, Super>());                    \
  const ZORQelIClass& This::ClassId() {                                           \
    ZORQELI_TRACE("const ZORQelIClass& " #This "::ClassId()");                    \
    static const ZORQelIClass& descriptor =                                        \
        ZORQelIObjectIMP::NewClassId(Super::ClassId(), This::__CLASSNAME__);       \
    return descriptor;                                                            \
  }                                                                               \
  const ZORQelIClass& This::Id() const {                                          \
    ZORQELI_TRACE("const ZORQelIClass& " #This "::Id() const");                   \
    return ClassId();                                                             \
  }                                                                               \
  This* This::DownCast(ZORQelIObject o) {                                         \
    ZORQELI_TRACE(#This "* " #This "::DownCast(ZORQelIObject o)");                \
    return static_cast<This*>(ZORQelIObjectIMP::Cast__(o, ClassId()));            \
  }

#endif
