// The instance text of the EXPRESS form printer: one line per entity
// instance, the value text of instances and values.  Each operation takes
// the direct path (ZORQelIExpressFormDirect.h) when nobody can tell the
// difference, and otherwise goes piece by piece through the printer's own
// virtual text operations, as written below each direct branch.
#include "ZORQelIArray.h"
#include "ZORQelIAttr.h"
#include "ZORQelIEntity.h"
#include "ZORQelIEntityIMP.h"
#include "ZORQelIExpressForm.h"
#include "ZORQelIExpressFormDirect.h"
#include "ZORQelIExpressFormText.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIStringStream.h"
#include "ZORQelITracer.h"

using ZORQelIInternal::Piece;

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstances& x) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstances& x)", 563);
  if (ZORQelIExpressFormDirect::Applies(*this)) {
    ZORQelIExpressFormDirect direct(stream->buffer, indentation);
    for (ZORQelI::integer i = 0; i < x.Size(); ++i) direct.FramedLine(x.Get(i));
    return *this;
  }
  for (ZORQelI::integer i = 0; i < x.Size(); ++i) PrintLong(x.Get(i));
  return *this;
}

void ZORQelIExpressForm::PrintLong(const ZORQelIInstance& X) {
  ZORQELI_TRACE_LINE("void ZORQelIExpressForm::PrintLong(const ZORQelIInstance& X)", 574);
  if (ZORQelIExpressFormDirect::Applies(*this))
    return ZORQelIExpressFormDirect(stream->buffer, indentation).Line(X);
  Print(Piece("#"));
  Print(X.GetInstanceId());
  ZORQelIEntity entity = ZORQelIEntity::DownCast(X.GetType());
  Print(Piece("="));
  Print(entity.Name());
  // The attributes, own ones last-to-first, then each owner's (ZORQelIEntityIMP::
  // AttributeOwners): read backwards, they come in inheritance order.
  ZORQelIArray attributes;
  if (entity.IsValid() == ZORQelI::Itrue) {
    const ZORQelIArray owners = entity.IMP()->AttributeOwners();
    for (ZORQelI::integer k = 0; k < owners.Size(); ++k) {
      const ZORQelIEntity e = ZORQelIEntity::DownCast(owners.Get(k));
      for (int i = e.NumberOfAttributes() - 1; i >= 0; --i) attributes.Add(e.GetAttr(i));
    }
  }
  Print(Piece("("));
  for (ZORQelI::integer j = attributes.Size() - 1; j >= 0; --j) {
    ZORQelIAttr attribute = ZORQelIAttr::DownCast(attributes.Get(j));
    PrintInstance(X.GetAttr(attribute));
    if (j != 0) Print(Piece(","));
  }
  Print(Piece(")"));
  Nl2();
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstance& x) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstance& x)", 602);
  return PrintInstance(x);
}

ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x)",
                     607);
  if (ZORQelIExpressFormDirect::Applies(*this)) {
    ZORQelIExpressFormDirect(stream->buffer, indentation).ValueText(x);
    return *this;
  }
  if (x.IsValid() != ZORQelI::Itrue) return Print(Piece("$"));
  ZORQelIInternal::CheckPrintNesting("aggregate values");
  switch (x.GetType().PrimitiveType()) {
    case ZORQelI::Iinteger:
      return Print(x.GetInt());
    case ZORQelI::Ireal:
      return Print(x.GetReal());
    case ZORQelI::Istring:
      Print(Piece("'"));
      Print(x.GetString());
      return Print(Piece("'"));
    case ZORQelI::Ibinary:
      Print(Piece("\""));
      Print(x.GetString());
      return Print(Piece("\""));
    case ZORQelI::Iboolean:
      return Print(Piece(x.GetBoolean() == ZORQelI::Itrue ? ".T." : ".F."));
    case ZORQelI::Ientity:
      Print(Piece("#"));
      return Print(static_cast<ZORQelI::integer>(x.GetInstanceId()));
    default:
      break;
  }
  if (x.GetType().IsAggr() == ZORQelI::Itrue) {
    Print(Piece("("));
    const int n = x.Size();
    for (int i = 0; i < n; ++i) {
      if (i != 0) Print(Piece(","));
      Print(x.GetInstance(i));
    }
    Print(Piece(")"));
  }
  return *this;
}
