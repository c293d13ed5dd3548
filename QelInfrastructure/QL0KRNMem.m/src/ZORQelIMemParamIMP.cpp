// ZORQelIMemParamIMP: what the parameters and the attributes of the in-memory
// provider share.
#include "ZORQelIMemParamIMP.h"

template <class Base>
ZORQelIMemParamIMP<Base>::ZORQelIMemParamIMP(ZORQelI::string name, ZORQelITypeIMP* type,
                                             ZORQelI::boolean in, ZORQelI::boolean out,
                                             ZORQelI::boolean optional)
    : type_(type), name_(name), in_(in), out_(out), optional_(optional) {
  ZORQELI_TRACE(" ZORQelIMemParamIMP::ZORQelIMemParamIMP(ZORQelI::string name, ZORQelITypeIMP* type, ZORQelI::boolean in, ZORQelI::boolean out, ZORQelI::boolean optional)");
}

template <class Base>
ZORQelIMemParamIMP<Base>::ZORQelIMemParamIMP(const ZORQelIMemParamIMP& o)
    : Base(o),
      type_(o.type_),
      name_(o.name_),
      in_(o.in_),
      out_(o.out_),
      optional_(o.optional_) {
  ZORQELI_TRACE(" ZORQelIMemParamIMP::ZORQelIMemParamIMP(const ZORQelIMemParamIMP& o)");
}

template <class Base>
ZORQelIMemParamIMP<Base>::~ZORQelIMemParamIMP() = default;

template <class Base>
void ZORQelIMemParamIMP<Base>::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemParamIMP::GarbageCollectorMemberCheck()");
  Base::GarbageCollectorMemberCheck();
  this->GarbageCollectorScan(type_);
}

template <class Base>
ZORQelI::string ZORQelIMemParamIMP<Base>::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemParamIMP::Name() const");
  return name_;
}

template <class Base>
ZORQelI::boolean ZORQelIMemParamIMP<Base>::IsIn() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemParamIMP::IsIn() const");
  return in_;
}

template <class Base>
ZORQelI::boolean ZORQelIMemParamIMP<Base>::IsOut() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemParamIMP::IsOut() const");
  return out_;
}

template <class Base>
ZORQelI::boolean ZORQelIMemParamIMP<Base>::IsOptional() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemParamIMP::IsOptional() const");
  return optional_;
}

template <class Base>
ZORQelIType ZORQelIMemParamIMP<Base>::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemParamIMP::GetType() const");
  return ZORQelIType(type_);
}

template <class Base>
void ZORQelIMemParamIMP<Base>::SetIn(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemParamIMP::SetIn(ZORQelI::boolean v)");
  in_ = v;
}

template <class Base>
void ZORQelIMemParamIMP<Base>::SetOut(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemParamIMP::SetOut(ZORQelI::boolean v)");
  out_ = v;
}

template <class Base>
ZORQelITypeIMP* ZORQelIMemParamIMP<Base>::CheckedType(ZORQelIType t) const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIMemParamIMP::CheckedType(ZORQelIType t) const");
  if (t.IsValid() != ZORQelI::Itrue) return nullptr;
  ZORQelITypeIMP* type = t.IMP();
  this->Wrapper().CheckWrapper(type);
  return type;
}

template class ZORQelIMemParamIMP<ZORQelIParamDescIMP>;
template class ZORQelIMemParamIMP<ZORQelIAttrIMP>;
