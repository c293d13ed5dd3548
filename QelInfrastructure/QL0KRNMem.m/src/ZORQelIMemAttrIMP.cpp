// ZORQelIMemAttrIMP: an attribute of an entity of the in-memory provider.
#include "ZORQelIMemAttrIMP.h"

#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemModelerIMP.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemAttrIMP";
}

ZORQELI_DEFINE_IMP(ZORQelIMemAttrIMP, ZORQelIAttrIMP)

ZORQelIMemAttrIMP::ZORQelIMemAttrIMP(ZORQelIMemModelerIMP* modeler, ZORQelIMemEntityIMP* parent,
                                     ZORQelI::string name, ZORQelITypeIMP* type,
                                     ZORQelI::boolean optional)
    : modeler_(modeler), parent_(parent), type_(type), name_(name), optional_(optional) {
  ZORQELI_TRACE(" ZORQelIMemAttrIMP::ZORQelIMemAttrIMP(ZORQelIMemModelerIMP* modeler, ZORQelIMemEntityIMP* parent, ZORQelI::string name, ZORQelITypeIMP* type, ZORQelI::boolean optional)");
}

ZORQelIMemAttrIMP::ZORQelIMemAttrIMP(const ZORQelIMemAttrIMP& o)
    : ZORQelIAttrIMP(o),
      modeler_(o.modeler_),
      parent_(nullptr),
      type_(o.type_),
      name_(o.name_),
      optional_(o.optional_),
      in_(o.in_),
      out_(o.out_) {
  ZORQELI_TRACE(" ZORQelIMemAttrIMP::ZORQelIMemAttrIMP(const ZORQelIMemAttrIMP& o)");
}

ZORQelIMemAttrIMP::~ZORQelIMemAttrIMP() = default;

ZORQelIObjectIMP* ZORQelIMemAttrIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemAttrIMP::Clone() const");
  return new ZORQelIMemAttrIMP(*this);
}

void ZORQelIMemAttrIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelIAttr(const_cast<ZORQelIMemAttrIMP*>(this)));
}

void ZORQelIMemAttrIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::GarbageCollectorMemberCheck()");
  ZORQelIAttrIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(modeler_);
  GarbageCollectorScan(parent_);
  GarbageCollectorScan(type_);
}

ZORQelIWrapper& ZORQelIMemAttrIMP::Wrapper() const {
  ZORQELI_TRACE("ZORQelIWrapper& ZORQelIMemAttrIMP::Wrapper() const");
  return modeler_->Wrapper();
}

ZORQelI::string ZORQelIMemAttrIMP::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemAttrIMP::Name() const");
  return name_;
}

void ZORQelIMemAttrIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::Rename(ZORQelI::string x)");
  if (x == name_) return;
  if (x.GetLengthInChar() == 0) {
    ZORQelI::Throw(new ZORQelI::Exception(ZORQelI::string("an attribute needs a name")), kSource,
                   __LINE__);
  }
  if (parent_ != nullptr && parent_->NameTaken(x)) {
    ZORQelI::Throw(new ZORQelI::Exception("entity '" + parent_->Name() +
                                          "' already has or inherits or passes on an attribute "
                                          "named '" +
                                          x + "'"),
                   kSource, __LINE__);
  }
  name_ = x;
  if (parent_ != nullptr) modeler_->Notify(ZORQelIMemModelerIMP::Updated, parent_);
}

ZORQelI::boolean ZORQelIMemAttrIMP::IsIn() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemAttrIMP::IsIn() const");
  return in_;
}

ZORQelI::boolean ZORQelIMemAttrIMP::IsOut() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemAttrIMP::IsOut() const");
  return out_;
}

ZORQelI::boolean ZORQelIMemAttrIMP::IsOptional() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemAttrIMP::IsOptional() const");
  return optional_;
}

ZORQelIType ZORQelIMemAttrIMP::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemAttrIMP::GetType() const");
  return ZORQelIType(type_);
}

void ZORQelIMemAttrIMP::SetType(ZORQelIType t) {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::SetType(ZORQelIType t)");
  if (parent_ != nullptr) parent_->RequireUnfrozen("change an attribute type of");
  ZORQelITypeIMP* type = nullptr;
  if (t.IsValid() == ZORQelI::Itrue) {
    type = t.IMP();
    Wrapper().CheckWrapper(type);
  }
  type_ = type;
  if (parent_ != nullptr) modeler_->Notify(ZORQelIMemModelerIMP::Updated, parent_);
}

void ZORQelIMemAttrIMP::SetIn(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::SetIn(ZORQelI::boolean v)");
  in_ = v;
}

void ZORQelIMemAttrIMP::SetOut(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::SetOut(ZORQelI::boolean v)");
  out_ = v;
}

void ZORQelIMemAttrIMP::SetOptional(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::SetOptional(ZORQelI::boolean v)");
  optional_ = v;
  if (parent_ != nullptr) modeler_->Notify(ZORQelIMemModelerIMP::Updated, parent_);
}

const ZORQelIEntity ZORQelIMemAttrIMP::Parent() {
  ZORQELI_TRACE("const ZORQelIEntity ZORQelIMemAttrIMP::Parent()");
  return ZORQelIEntity(parent_);
}
