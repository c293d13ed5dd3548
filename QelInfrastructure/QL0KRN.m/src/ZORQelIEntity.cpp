#include "ZORQelIEntity.h"

#include "ZORQelIAttr.h"
#include "ZORQelIEntityIMP.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIEntity, ZORQelIType, ZORQelIEntityIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIEntity, ZORQelIEntityIMP)

int ZORQelIEntity::NumberOfAttributes() const {
  ZORQELI_TRACE("int ZORQelIEntity::NumberOfAttributes() const");
  return IMP()->NumberOfAttributes();
}

ZORQelIAttr ZORQelIEntity::CreateAttr(ZORQelI::string name, ZORQelIType tp, ZORQelI::boolean optional) {
  ZORQELI_TRACE("ZORQelIAttr ZORQelIEntity::CreateAttr(ZORQelI::string name, ZORQelIType tp, ZORQelI::boolean optional)");
  return IMP()->CreateAttr(name, tp, optional);
}

ZORQelIAttr ZORQelIEntity::GetAttr(ZORQelI::string member) const {
  ZORQELI_TRACE("ZORQelIAttr ZORQelIEntity::GetAttr(ZORQelI::string member) const");
  return IMP()->GetAttr(member);
}

ZORQelIAttr ZORQelIEntity::GetAttr(int nth) const {
  ZORQELI_TRACE("ZORQelIAttr ZORQelIEntity::GetAttr(int nth) const");
  return IMP()->GetAttr(nth);
}

ZORQelI::Mint ZORQelIEntity::GetAttrIndex(ZORQelI::string member) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIEntity::GetAttrIndex(ZORQelI::string member) const");
  return IMP()->GetAttrIndex(member);
}

ZORQelI::boolean ZORQelIEntity::RemoveAttr(ZORQelI::string name) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIEntity::RemoveAttr(ZORQelI::string name)");
  return IMP()->RemoveAttr(name);
}

ZORQelI::boolean ZORQelIEntity::RemoveAttr(int pos) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIEntity::RemoveAttr(int pos)");
  return IMP()->RemoveAttr(pos);
}

ZORQelIEntity ZORQelIEntity::Super() const {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIEntity::Super() const");
  return IMP()->Super();
}

void ZORQelIEntity::Super(ZORQelIEntity ent) {
  ZORQELI_TRACE("void ZORQelIEntity::Super(ZORQelIEntity ent)");
  IMP()->Super(ent);
}
