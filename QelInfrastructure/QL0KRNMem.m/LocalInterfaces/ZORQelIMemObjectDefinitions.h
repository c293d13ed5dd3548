// Private to the provider: the definitions of the trivial object operations
// that most of its dictionary classes share word for word.  Each expands to
// the same traced function a class would otherwise write out: the trace text
// is the operation's declaration, built from the class name, and `line` is
// the line the frame reported when each class wrote the operation out in its
// own source (a macro's frames would otherwise all report the line of the
// macro's use, which no longer says where the operation is written).
#ifndef ZORQelIMemObjectDefinitions_h
#define ZORQelIMemObjectDefinitions_h

#include "ZORQelITracer.h"

// A defaulted destructor and Clone as a copy by the copy constructor.
#define ZORQELIMEM_DEFINE_COPY_CLONE(Class, line)                              \
  Class::~Class() = default;                                                   \
                                                                               \
  ZORQelIObjectIMP* Class::Clone() const {                                     \
    ZORQELI_TRACE_LINE("ZORQelIObjectIMP* " #Class "::Clone() const", line);   \
    return new Class(*this);                                                   \
  }

// Wrapper() answering the expression wrapper (a ZORQelIWrapper&).
#define ZORQELIMEM_DEFINE_WRAPPER(Class, line, wrapper)                        \
  ZORQelIWrapper& Class::Wrapper() const {                                     \
    ZORQELI_TRACE_LINE("ZORQelIWrapper& " #Class "::Wrapper() const", line);   \
    return wrapper;                                                            \
  }

// Name() answering the expression name (a ZORQelI::string).
#define ZORQELIMEM_DEFINE_NAME(Class, line, name)                              \
  ZORQelI::string Class::Name() const {                                        \
    ZORQELI_TRACE_LINE("ZORQelI::string " #Class "::Name() const", line);      \
    return name;                                                               \
  }

#endif
