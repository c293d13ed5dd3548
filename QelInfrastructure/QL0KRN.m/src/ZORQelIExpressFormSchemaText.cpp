// The schema text of the EXPRESS form printer: types, attributes, entities,
// schemas and wrappers, each a block or a piece of its text.
#include "ZORQelIAttr.h"
#include "ZORQelIEntity.h"
#include "ZORQelIExpressForm.h"
#include "ZORQelIExpressFormText.h"
#include "ZORQelIInvalidType.h"
#include "ZORQelIModeler.h"
#include "ZORQelITracer.h"
#include "ZORQelIType.h"
#include "ZORQelIWrapper.h"

using ZORQelIInternal::Piece;

namespace {
// The end of an entity's or a wrapper's block: "End_Entity (*NAME*);", say,
// back at the block's indentation.  The name is asked for between the
// pieces, where the printer has always asked for it (its frames trace there).
template <class NameOf>
void EndBlock(ZORQelIExpressForm& printer, const char* end, NameOf name) {
  printer.Unnest();
  printer.Print(Piece(end));
  printer.Print(name());
  printer.Print(Piece("*)"));
  printer.Nl2();
}
}  // namespace

void ZORQelIExpressForm::Print(ZORQelI::Types X) {
  ZORQELI_TRACE_LINE("void ZORQelIExpressForm::Print(ZORQelI::Types X)", 106);
  // The library's one table of kind names; a kind without a name (1, the
  // entity kind, values outside the enumeration) raises and prints nothing.
  const char* name = ZORQelI::KindName(X);
  if (name == nullptr) ZORQELI_RAISE_AT(kKindText, ZORQelI::InvalidType());
  Print(ZORQelI::string(name));
}

void ZORQelIExpressForm::PrintFlags(ZORQelI::string text, ZORQelI::boolean v) {
  ZORQELI_TRACE_LINE(
      "void ZORQelIExpressForm::PrintFlags(ZORQelI::string text, ZORQelI::boolean v)", 115);
  Print(text);
  Print(ZORQelI::string(" := "));
  Print(v);
  Nl2();
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIParamDesc&) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIParamDesc&)", 123);
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIType& X) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIType& X)", 143);
  if (X.IsValid() != ZORQelI::Itrue) return Print(Piece("Void"));
  if (X.IsAField() == ZORQelI::Itrue) return PrintField(X);
  if (X.IsAggr() != ZORQelI::Itrue) return Print(X.Name());
  return PrintAggregate(X);
}

ZORQelIExpressForm& ZORQelIExpressForm::PrintField(const ZORQelIType& X) {
  ZORQELI_TRACE_LINE("ZORQelIExpressForm& ZORQelIExpressForm::PrintField(const ZORQelIType& X)",
                     151);
  Print(X.PrimitiveType());
  ZORQelI::Mint width = X.Width();
  if (width.IsSet()) {
    Print(Piece("("));
    Print(static_cast<ZORQelI::integer>(width));
    Print(Piece(")"));
  }
  if (X.IsFixed() == ZORQelI::Itrue) Print(Piece(" Fixed "));
  return *this;
}

ZORQelIExpressForm& ZORQelIExpressForm::PrintAggregate(const ZORQelIType& X) {
  ZORQELI_TRACE_LINE("ZORQelIExpressForm& ZORQelIExpressForm::PrintAggregate(const ZORQelIType& X)",
                     164);
  ZORQelIInternal::CheckPrintNesting("aggregate types");
  Print(X.PrimitiveType());
  Print(Piece(" "));
  const ZORQelI::Mint low = X.LowerBound();
  const ZORQelI::Mint high = X.UpperBound();
  if (low.IsSet() || high.IsSet()) {
    Print(Piece("["));
    Print(low);
    Print(Piece(":"));
    Print(high);
    Print(Piece("]"));
  }
  Print(Piece("of "));
  if (X.IsUnique() == ZORQelI::Itrue) Print(Piece("unique "));
  if (X.IsOptional() == ZORQelI::Itrue) Print(Piece("optional "));
  Print(X.SubType());
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIAttr& X) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIAttr& X)", 185);
  Print(X.Name());
  Print(Piece(" : "));
  Print(X.GetType());
  if (X.IsOptional() == ZORQelI::Itrue) Print(Piece(" Optional"));
  return *this;
}

ZORQelIExpressForm& ZORQelIExpressForm::PrintEntity(const ZORQelIEntity& ent) {
  ZORQELI_TRACE_LINE(
      "ZORQelIExpressForm& ZORQelIExpressForm::PrintEntity(const ZORQelIEntity& ent)", 194);
  Print(Piece("Entity "));
  Print(ent.Name());
  ZORQelIEntity super = ent.Super();
  if (super.IsValid() == ZORQelI::Itrue) Print(Piece("subtype of (  ") + super.Name() + " )");
  Nl2();
  Nest();
  for (int i = 0; i < ent.NumberOfAttributes(); ++i) {
    Print(ent.GetAttr(i));
    Nl2();
  }
  EndBlock(*this, "End_Entity (*", [&ent] { return ent.Name(); });
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIModeler& M) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIModeler& M)", 214);
  Print(Piece("Schema ") + M.Name());
  Nl2();
  Nest();
  const int entities = M.GetNumberOfEntities();
  for (int i = 0; i < entities; ++i) PrintEntity(M.GetEntity(i));
  Unnest();
  Print(Piece("End_Schema (*") + M.Name() + "*)");
  Nl2();
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIWrapper& X) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIWrapper& X)", 227);
  Print(Piece("Wrapper "));
  Print(X.WrapperName());
  Nl2();
  Nest();
  PrintFlags(Piece("Instances"), X.HasInstances());
  PrintFlags(Piece("PersistantInstances"), X.HasPersistantInstances());
  PrintFlags(Piece("EditableDictionnary"), X.HasEditableDictionnary());
  PrintFlags(Piece("PersistantDictionnary"), X.HasPersistantDictionnary());
  PrintFlags(Piece("Expression"), X.HasExpression());
  EndBlock(*this, "End_Wrapper (*", [&X] { return X.WrapperName(); });
  return *this;
}
