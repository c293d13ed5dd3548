#include "ZORQelIInstances.h"

#include "ZORQelIInstance.h"
#include "ZORQelIInstancesIMP.h"
#include "ZORQelIType.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIInstances, ZORQelIWrapperObject, ZORQelIInstancesIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIInstances, ZORQelIInstancesIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIInstances, __VA_ARGS__)
#include "ZORQelIInstances.def"

// The makers with a value: the empty instance of the kind, then v stored in
// it.  Each frame's text is the maker's declaration and its line is fixed.
#define ZORQELI_INSTANCIATE_WITH_VALUE(Kind, Type, line)                                 \
  ZORQelIInstance ZORQelIInstances::Instanciate##Kind(Type v) const {                     \
    ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstances::Instanciate" #Kind "(" #Type   \
                       " v) const",                                                       \
                       line);                                                             \
    ZORQelIInstance made = Instanciate##Kind();                                           \
    made.Put##Kind(v);                                                                    \
    return made;                                                                          \
  }

ZORQELI_INSTANCIATE_WITH_VALUE(String, ZORQelI::string, 76)
ZORQELI_INSTANCIATE_WITH_VALUE(Boolean, ZORQelI::boolean, 83)
ZORQELI_INSTANCIATE_WITH_VALUE(Real, ZORQelI::real, 90)
ZORQELI_INSTANCIATE_WITH_VALUE(Integer, ZORQelI::integer, 97)
