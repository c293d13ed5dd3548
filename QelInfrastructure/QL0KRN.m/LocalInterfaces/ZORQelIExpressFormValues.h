// ZORQelIExpressFormValues: attribute values of a provider's entity
// instances, read by the EXPRESS form printer without handles.
//
// Not a public header: it joins the library and the in-memory provider
// shipped with it (QL0KRNMem), which registers a reader for its entity
// instances.
#ifndef ZORQelIExpressFormValues_h
#define ZORQelIExpressFormValues_h

#include <typeinfo>

#include "ZORQelI.h"
#include "ZORQelIExport.h"

class ZORQelIObjectIMP;

// Printing a population reads every attribute value of every instance.
// Through the handles each value costs a value instance from the provider
// and half a dozen handle operations, several times the cost of writing its
// text.  A provider may register a reader for its entity instance class; the
// printer's direct path (ZORQelIExpressForm.cpp) asks it first for each
// value and reads through the handles whatever it declines.
//
// A reader's contract.  For instance X and attribute A, it either declines
// (returns false, raising nothing and changing nothing) or describes the
// value v = X.GetAttr(A) exactly as the handle operations would report it:
//   Unset      v.IsValid() is Ifalse
//   Integer    v.GetType().PrimitiveType() is 4; `integer` is v.GetInt()
//   Real       kind 5; `real` is v.GetReal()
//   String     kind 6; `text` is the narrow rendering of v.GetString()
//   Binary     kind 7; likewise
//   Boolean    kind 2; `boolean` is v.GetBoolean()
//   Reference  kind 12; `integer` is v.GetInstanceId() (its raw value)
// It declines every value of another kind and every value whose operations
// would raise, so that the printer's general path meets the same values and
// the same raises as before.
namespace ZORQelIExpressFormValues {

struct Value {
  enum Kind { Unset, Integer, Real, String, Binary, Boolean, Reference };
  Kind kind;
  ZORQelI::integer integer;
  ZORQelI::real real;
  ZORQelI::boolean boolean;
  // NUL-terminated; valid until the instance changes.
  const char* text;
};

// `position` is where A stands among X's attributes in inheritance order
// (the root super entity's first, the instance's own entity's last): a hint
// for a provider whose storage follows that order.
using Reader = bool (*)(const ZORQelIObjectIMP* instance, const ZORQelIObjectIMP* attribute,
                        int position, Value& value);

// Registers the reader of the instances whose most-derived class is `type`;
// a later registration for the same class replaces the earlier one.  Like
// the rest of the library, not to be called from two threads at once.
QL0KRN_EXPORT void Register(const std::type_info& type, Reader reader);

// The reader registered for the most-derived class of `instance`, or null.
Reader Find(const ZORQelIObjectIMP& instance);

}  // namespace ZORQelIExpressFormValues

#endif
