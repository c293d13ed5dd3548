#include "ZORQelIInstanceCopy.h"

#include "ZORQelIArray.h"
#include "ZORQelIAttr.h"
#include "ZORQelIEntity.h"
#include "ZORQelINotYetImplemented.h"
#include "ZORQelIRaise.h"
#include "ZORQelIType.h"
#include "ZORQelITracer.h"

ZORQelIInstanceCopy::ZORQelIInstanceCopy(ZORQelIInstanceListUnique to,
                                         ZORQelIInstanceListUnique from)
    : from(from), to(to) {
  ZORQELI_TRACE_LINE(
      " ZORQelIInstanceCopy::ZORQelIInstanceCopy(ZORQelIInstanceListUnique to, "
      "ZORQelIInstanceListUnique from)", 13);
}

void ZORQelIInstanceCopy::CopyInstance(integer pos) {
  ZORQELI_TRACE("void ZORQelIInstanceCopy::CopyInstance(integer pos)");
  CopyInstance(to.Get(pos), from.Get(pos));
}

void ZORQelIInstanceCopy::CopyInstance(ZORQelIInstance toInstance, ZORQelIInstance fromInstance) {
  ZORQELI_TRACE("void ZORQelIInstanceCopy::CopyInstance(ZORQelIInstance to, ZORQelIInstance from)");
  if (fromInstance.IsValid() != ZORQelI::Itrue) return;
  const ZORQelIEntity entity = ZORQelIEntity::DownCast(fromInstance.GetType());
  if (entity.IsValid() != ZORQelI::Itrue) return;
  // The instance's own entity first, then the others that own attributes of
  // it (up the Super() chain unless the entity says otherwise).
  const ZORQelIArray owners = entity.IMP()->AttributeOwners();
  for (ZORQelI::integer k = 0; k < owners.Size(); ++k) {
    const ZORQelIEntity e = ZORQelIEntity::DownCast(owners.Get(k));
    for (int i = 0; i < e.NumberOfAttributes(); ++i) {
      ZORQelIAttr attribute = e.GetAttr(i);
      fromValue = fromInstance.GetAttr(attribute);
      toValue = toInstance.GetAttr(attribute);
      CopyValue();
    }
  }
}

void ZORQelIInstanceCopy::CopyValue() {
  ZORQELI_TRACE("void ZORQelIInstanceCopy::CopyValue()");
  ZORQelIType type = fromValue.GetType();
  if (type.IsAggr() == ZORQelI::Itrue) {
    if (type.IsAnArray() == ZORQelI::Itrue) {
      for (int i = 0; i < fromValue.Size(); ++i)
        toValue.PutInstance(i, GetValue(fromValue.GetInstance(i)));
    } else {
      for (int i = 0; i < fromValue.Size(); ++i) toValue.Append(GetValue(fromValue.GetInstance(i)));
    }
  } else {
    toValue.PutObject(GetValue(fromValue));
  }
}

ZORQelIInstance ZORQelIInstanceCopy::GetValue(ZORQelIInstance toCopy) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstanceCopy::GetValue(ZORQelIInstance toCopy)");
  ZORQelIType type = toCopy.GetType();
  if (type.IsAggr() == ZORQelI::Itrue)
    ZORQELI_RAISE_AT(kCopyAggregate, ZORQelI::NotYetImplemented());
  if (type.IsAnEntity() == ZORQelI::Itrue) {
    ZORQelI::Mint pos = from.Look(toCopy);
    if (!pos.IsSet()) return ZORQelIInstance();
    return to.Get(pos);
  }
  return toCopy;
}
