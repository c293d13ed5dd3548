// The direct path of the EXPRESS form printer's instance text (see
// ZORQelIExpressFormDirect.h).
#include "ZORQelIExpressFormDirect.h"

#include "ZORQelIArray.h"
#include "ZORQelIEntityIMP.h"

void ZORQelIExpressFormDirect::Entity(const ZORQelIType& type) {
  if (entityIMP_ != nullptr && type.IsValid() == ZORQelI::Itrue && type.RefMe() == entityIMP_) {
    Put("=");
    Put(name_);
    return;
  }
  entityIMP_ = nullptr;
  entity_ = ZORQelIEntity::DownCast(type);
  Put("=");
  name_ = entity_.Name();
  Put(name_);
  // Own attributes last-to-first, then each owner's (ZORQelIEntityIMP::
  // AttributeOwners): reversed, they come in inheritance order.
  attributes_.clear();
  if (entity_.IsValid() == ZORQelI::Itrue) {
    const ZORQelIArray owners = entity_.IMP()->AttributeOwners();
    for (ZORQelI::integer k = 0; k < owners.Size(); ++k) {
      const ZORQelIEntity e = ZORQelIEntity::DownCast(owners.Get(k));
      for (int i = e.NumberOfAttributes() - 1; i >= 0; --i) attributes_.push_back(e.GetAttr(i));
    }
  }
  std::reverse(attributes_.begin(), attributes_.end());
  attributeIMPs_.clear();
  for (const ZORQelIAttr& attribute : attributes_) attributeIMPs_.push_back(attribute.RefMe());
  entityIMP_ = entity_.RefMe();
}

void ZORQelIExpressFormDirect::Line(const ZORQelIInstance& X) {
  Put("#");
  const ZORQelI::Mint id = X.GetInstanceId();
  if (id.IsSet())
    Integer(static_cast<ZORQelI::integer>(id));
  else
    Put("?");
  Entity(X.GetType());
  const ZORQelIObjectIMP* instance = X.RefMe();
  if (instanceClass_ == nullptr || typeid(*instance) != *instanceClass_) {
    reader_ = ZORQelIExpressFormValues::Find(*instance);
    instanceClass_ = &typeid(*instance);
  }
  Put("(");
  for (std::size_t k = 0; k < attributes_.size(); ++k) {
    if (k != 0) Put(",");
    if (reader_ == nullptr || !ReadValue(reader_, instance, k))
      FramedValue(X.GetAttr(attributes_[k]));
  }
  Put(")");
  EndStatement();
}

void ZORQelIExpressFormDirect::ValueText(const ZORQelIInstance& x) {
  if (x.IsValid() != ZORQelI::Itrue) return Put("$");
  ZORQelIInternal::CheckPrintNesting("aggregate values");
  const ZORQelIType type = x.GetType();
  switch (type.PrimitiveType()) {
    case ZORQelI::Iinteger:
      return Integer(x.GetInt());
    case ZORQelI::Ireal:
      return Real(x.GetReal());
    case ZORQelI::Istring:
      Put("'");
      Put(x.GetString());
      return Put("'");
    case ZORQelI::Ibinary:
      Put("\"");
      Put(x.GetString());
      return Put("\"");
    case ZORQelI::Iboolean:
      if (x.GetBoolean() == ZORQelI::Itrue)
        Put(".T.");
      else
        Put(".F.");
      return;
    case ZORQelI::Ientity:
      Put("#");
      return Integer(static_cast<ZORQelI::integer>(x.GetInstanceId()));
    default:
      break;
  }
  if (type.IsAggr() == ZORQelI::Itrue) {
    Put("(");
    const int n = x.Size();
    for (int i = 0; i < n; ++i) {
      if (i != 0) Put(",");
      Element(x.GetInstance(i));
    }
    Put(")");
  }
}
