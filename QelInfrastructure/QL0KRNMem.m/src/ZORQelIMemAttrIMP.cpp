// ZORQelIMemAttrIMP: an attribute of an entity of the in-memory provider.
#include "ZORQelIMemAttrIMP.h"

#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemObjectDefinitions.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemAttrIMP";
}

ZORQELI_DEFINE_IMP(ZORQelIMemAttrIMP, ZORQelIAttrIMP)

ZORQelIMemAttrIMP::ZORQelIMemAttrIMP(ZORQelIMemModelerIMP* modeler, ZORQelIMemEntityIMP* parent,
                                     ZORQelI::string name, ZORQelITypeIMP* type,
                                     ZORQelI::boolean optional)
    : ZORQelIMemParamIMP(name, type, ZORQelI::Itrue, ZORQelI::Ifalse, optional),
      modeler_(modeler),
      parent_(parent) {
  ZORQELI_TRACE(" ZORQelIMemAttrIMP::ZORQelIMemAttrIMP(ZORQelIMemModelerIMP* modeler, ZORQelIMemEntityIMP* parent, ZORQelI::string name, ZORQelITypeIMP* type, ZORQelI::boolean optional)");
}

ZORQelIMemAttrIMP::ZORQelIMemAttrIMP(const ZORQelIMemAttrIMP& o)
    : ZORQelIMemParamIMP(o), modeler_(o.modeler_), parent_(nullptr) {
  ZORQELI_TRACE(" ZORQelIMemAttrIMP::ZORQelIMemAttrIMP(const ZORQelIMemAttrIMP& o)");
}

ZORQELIMEM_DEFINE_COPY_CLONE(ZORQelIMemAttrIMP, 30)

void ZORQelIMemAttrIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelIAttr(const_cast<ZORQelIMemAttrIMP*>(this)));
}

void ZORQelIMemAttrIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::GarbageCollectorMemberCheck()");
  ZORQelIMemParamIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(modeler_);
  GarbageCollectorScan(parent_);
}

ZORQELIMEM_DEFINE_WRAPPER(ZORQelIMemAttrIMP, 47, modeler_->Wrapper())

void ZORQelIMemAttrIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::Rename(ZORQelI::string x)");
  if (x == name_) return;
  if (x.GetLengthInChar() == 0) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("an attribute needs a name")), kSource,
                  __LINE__);
  }
  if (parent_ != nullptr && parent_->NameTaken(x)) {
    ZORQELI_RAISE(ZORQelI::Exception("entity '" + parent_->Name() +
                                     "' already has or inherits or passes on an attribute "
                                     "named '" +
                                     x + "'"),
                  kSource, __LINE__);
  }
  name_ = x;
  if (parent_ != nullptr) modeler_->Notify(ZORQelIMemModelerIMP::Updated, parent_);
}

void ZORQelIMemAttrIMP::SetType(ZORQelIType t) {
  ZORQELI_TRACE("void ZORQelIMemAttrIMP::SetType(ZORQelIType t)");
  if (parent_ != nullptr) parent_->RequireUnfrozen("change an attribute type of");
  type_ = CheckedType(t);
  if (parent_ != nullptr) modeler_->Notify(ZORQelIMemModelerIMP::Updated, parent_);
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
