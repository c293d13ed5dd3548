// Private to the provider: the definitions of the trivial object operations
// that most of its dictionary classes share word for word.  Each expands to
// the same traced function a class would otherwise write out: the trace text
// is the operation's declaration, built from the class name.
#ifndef ZORQelIMemObjectDefinitions_h
#define ZORQelIMemObjectDefinitions_h

#include "ZORQelITracer.h"

// A defaulted destructor and Clone as a copy by the copy constructor.
#define ZORQELIMEM_DEFINE_COPY_CLONE(Class)                                    \
  Class::~Class() = default;                                                   \
                                                                               \
  ZORQelIObjectIMP* Class::Clone() const {                                     \
    ZORQELI_TRACE("ZORQelIObjectIMP* " #Class "::Clone() const");              \
    return new Class(*this);                                                   \
  }

// Wrapper() answering the expression wrapper (a ZORQelIWrapper&).
#define ZORQELIMEM_DEFINE_WRAPPER(Class, wrapper)                              \
  ZORQelIWrapper& Class::Wrapper() const {                                     \
    ZORQELI_TRACE("ZORQelIWrapper& " #Class "::Wrapper() const");              \
    return wrapper;                                                            \
  }

// Name() answering the expression name (a ZORQelI::string).
#define ZORQELIMEM_DEFINE_NAME(Class, name)                                    \
  ZORQelI::string Class::Name() const {                                        \
    ZORQELI_TRACE("ZORQelI::string " #Class "::Name() const");                 \
    return name;                                                               \
  }

#endif
