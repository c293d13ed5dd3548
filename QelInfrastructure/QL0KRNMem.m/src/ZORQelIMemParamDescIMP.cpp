// ZORQelIMemParamDescIMP: a parameter of a function or method of the
// in-memory provider.
#include "ZORQelIMemParamDescIMP.h"

#include "ZORQelIMemWrapper.h"
#include "ZORQelIMemObjectDefinitions.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemParamDescIMP";
}

ZORQELI_DEFINE_IMP(ZORQelIMemParamDescIMP, ZORQelIParamDescIMP)

ZORQelIMemParamDescIMP::ZORQelIMemParamDescIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name,
                                               ZORQelI::boolean in, ZORQelI::boolean out,
                                               ZORQelITypeIMP* type)
    : ZORQelIMemParamIMP(name, type, in, out, ZORQelI::Ifalse), wrapper_(&wrapper) {
  ZORQELI_TRACE(" ZORQelIMemParamDescIMP::ZORQelIMemParamDescIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name, ZORQelI::boolean in, ZORQelI::boolean out, ZORQelITypeIMP* type)");
}

ZORQelIMemParamDescIMP::ZORQelIMemParamDescIMP(const ZORQelIMemParamDescIMP& o)
    : ZORQelIMemParamIMP(o), wrapper_(o.wrapper_) {
  ZORQELI_TRACE(" ZORQelIMemParamDescIMP::ZORQelIMemParamDescIMP(const ZORQelIMemParamDescIMP& o)");
}

ZORQELIMEM_DEFINE_COPY_CLONE(ZORQelIMemParamDescIMP, 28)

void ZORQelIMemParamDescIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(name_);
  ot.Print(ZORQelI::string(" : "));
  ot.Print(ZORQelIType(type_));
  if (in_ == ZORQelI::Itrue) ot.Print(ZORQelI::string(" In"));
  if (out_ == ZORQelI::Itrue) ot.Print(ZORQelI::string(" Out"));
  if (optional_ == ZORQelI::Itrue) ot.Print(ZORQelI::string(" Optional"));
}

ZORQELIMEM_DEFINE_WRAPPER(ZORQelIMemParamDescIMP, 43, *wrapper_)

void ZORQelIMemParamDescIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::Rename(ZORQelI::string x)");
  if (x.GetLengthInChar() == 0) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("a parameter needs a name")), kSource,
                  __LINE__);
  }
  name_ = x;
}

void ZORQelIMemParamDescIMP::SetType(ZORQelIType t) {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::SetType(ZORQelIType t)");
  type_ = CheckedType(t);
}

void ZORQelIMemParamDescIMP::SetOptional(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::SetOptional(ZORQelI::boolean v)");
  optional_ = v;
}
