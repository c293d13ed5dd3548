// ZORQelIMemParamDescIMP: a parameter of a function or method of the
// in-memory provider.
#include "ZORQelIMemParamDescIMP.h"

#include "ZORQelIMemWrapper.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemParamDescIMP";
}

ZORQELI_DEFINE_IMP(ZORQelIMemParamDescIMP, ZORQelIParamDescIMP)

ZORQelIMemParamDescIMP::ZORQelIMemParamDescIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name,
                                               ZORQelI::boolean in, ZORQelI::boolean out,
                                               ZORQelITypeIMP* type)
    : wrapper_(&wrapper), type_(type), name_(name), in_(in), out_(out) {
  ZORQELI_TRACE(" ZORQelIMemParamDescIMP::ZORQelIMemParamDescIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name, ZORQelI::boolean in, ZORQelI::boolean out, ZORQelITypeIMP* type)");
}

ZORQelIMemParamDescIMP::ZORQelIMemParamDescIMP(const ZORQelIMemParamDescIMP& o)
    : ZORQelIParamDescIMP(o),
      wrapper_(o.wrapper_),
      type_(o.type_),
      name_(o.name_),
      in_(o.in_),
      out_(o.out_),
      optional_(o.optional_) {
  ZORQELI_TRACE(" ZORQelIMemParamDescIMP::ZORQelIMemParamDescIMP(const ZORQelIMemParamDescIMP& o)");
}

ZORQelIMemParamDescIMP::~ZORQelIMemParamDescIMP() = default;

ZORQelIObjectIMP* ZORQelIMemParamDescIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemParamDescIMP::Clone() const");
  return new ZORQelIMemParamDescIMP(*this);
}

void ZORQelIMemParamDescIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(name_);
  ot.Print(ZORQelI::string(" : "));
  ot.Print(ZORQelIType(type_));
  if (in_ == ZORQelI::Itrue) ot.Print(ZORQelI::string(" In"));
  if (out_ == ZORQelI::Itrue) ot.Print(ZORQelI::string(" Out"));
  if (optional_ == ZORQelI::Itrue) ot.Print(ZORQelI::string(" Optional"));
}

void ZORQelIMemParamDescIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::GarbageCollectorMemberCheck()");
  ZORQelIParamDescIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(type_);
}

ZORQelIWrapper& ZORQelIMemParamDescIMP::Wrapper() const {
  ZORQELI_TRACE("ZORQelIWrapper& ZORQelIMemParamDescIMP::Wrapper() const");
  return *wrapper_;
}

ZORQelI::string ZORQelIMemParamDescIMP::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemParamDescIMP::Name() const");
  return name_;
}

void ZORQelIMemParamDescIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::Rename(ZORQelI::string x)");
  if (x.GetLengthInChar() == 0) {
    ZORQelI::Throw(new ZORQelI::Exception(ZORQelI::string("a parameter needs a name")), kSource,
                   __LINE__);
  }
  name_ = x;
}

ZORQelI::boolean ZORQelIMemParamDescIMP::IsIn() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemParamDescIMP::IsIn() const");
  return in_;
}

ZORQelI::boolean ZORQelIMemParamDescIMP::IsOut() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemParamDescIMP::IsOut() const");
  return out_;
}

ZORQelI::boolean ZORQelIMemParamDescIMP::IsOptional() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemParamDescIMP::IsOptional() const");
  return optional_;
}

ZORQelIType ZORQelIMemParamDescIMP::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemParamDescIMP::GetType() const");
  return ZORQelIType(type_);
}

void ZORQelIMemParamDescIMP::SetType(ZORQelIType t) {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::SetType(ZORQelIType t)");
  ZORQelITypeIMP* type = nullptr;
  if (t.IsValid() == ZORQelI::Itrue) {
    type = t.IMP();
    wrapper_->CheckWrapper(type);
  }
  type_ = type;
}

void ZORQelIMemParamDescIMP::SetIn(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::SetIn(ZORQelI::boolean v)");
  in_ = v;
}

void ZORQelIMemParamDescIMP::SetOut(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::SetOut(ZORQelI::boolean v)");
  out_ = v;
}

void ZORQelIMemParamDescIMP::SetOptional(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemParamDescIMP::SetOptional(ZORQelI::boolean v)");
  optional_ = v;
}
