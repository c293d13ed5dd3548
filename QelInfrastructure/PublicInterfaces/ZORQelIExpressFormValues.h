// ZORQelIExpressFormValues: a provider's reader of its entity instances'
// attribute values, through which the EXPRESS form printer prints them
// without handles.
#ifndef ZORQelIExpressFormValues_h
#define ZORQelIExpressFormValues_h

#include <typeinfo>

#include "ZORQelI.h"
#include "ZORQelIExport.h"

class ZORQelIObjectIMP;

// Printing a population reads every attribute value of every instance.
// Through the handles each value costs a value instance from the provider
// and half a dozen handle operations, several times the cost of writing its
// text.  Any provider may register a reader for its entity instance class;
// when the printer takes its direct path (a plain ZORQelIExpressForm, the
// call trace off) it asks the reader first for each value, and reads through
// the handles whatever the reader declines.  A provider that registers
// nothing prints exactly as one that declines every value.
//
// A reader's contract.  For instance X and attribute A, it either declines
// (returns false, raising nothing and changing nothing) or describes the
// value v = X.GetAttr(A) exactly as the handle operations would report it:
//   Unset      v.IsValid() is Ifalse
//   Integer    v.GetType().PrimitiveType() is Iinteger; `integer` is v.GetInt()
//   Real       Ireal; `real` is v.GetReal()
//   String     Istring; `text` is the narrow rendering of v.GetString()
//   Binary     Ibinary; likewise
//   Boolean    Iboolean; `boolean` is v.GetBoolean()
//   Reference  Ientity; `integer` is v.GetInstanceId() (its raw value)
// It declines every value of another kind and every value whose operations
// would raise, so that the printer's general path meets the same values and
// the same raises.  The reader runs under the printer's PrintInstance trace
// frame; it must not call back into the printer.
namespace ZORQelIExpressFormValues {

struct Value {
  enum Kind { Unset, Integer, Real, String, Binary, Boolean, Reference };
  Kind kind;
  ZORQelI::integer integer;
  ZORQelI::real real;
  ZORQelI::boolean boolean;
  // NUL-terminated, owned by the instance; valid until the instance changes
  // (the printer copies it at once).
  const char* text;
};

// `position` is where A stands among X's attributes in inheritance order
// (the root super entity's first, the instance's own entity's last): a hint
// for a provider whose storage follows that order.  X and A are never null.
using Reader = bool (*)(const ZORQelIObjectIMP* instance, const ZORQelIObjectIMP* attribute,
                        int position, Value& value);

// Registers the reader of the instances whose most-derived class is `type`
// (instances of a subclass are not covered: register the subclass too); a
// later registration for the same class replaces the earlier one, and a null
// reader makes the printer read that class through the handles again.
// Registering keeps a reference to `type` and the function for the life of
// the process.  Raises only std::bad_alloc (nothing registered then).  Like
// the rest of the library, not to be called from two threads at once, nor
// while a printer runs.
QL0KRN_EXPORT void Register(const std::type_info& type, Reader reader);

}  // namespace ZORQelIExpressFormValues

#endif
