#include "ZORQelIExpressForm.h"

#include <utility>

#include "ZORQelIArray.h"
#include "ZORQelIAttr.h"
#include "ZORQelIEntity.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIInvalidType.h"
#include "ZORQelIModeler.h"
#include "ZORQelIType.h"
#include "ZORQelIWrapper.h"
#include "ZORQelIRaise.h"
#include "ZORQelIStringStream.h"
#include "ZORQelITracer.h"

ZORQelIExpressForm::ZORQelIExpressForm() : stream(nullptr), indentation(0) {
  ZORQELI_TRACE(" ZORQelIExpressForm::ZORQelIExpressForm()");
  stream = new ZORQelIStringStream();
}

ZORQelIExpressForm::~ZORQelIExpressForm() {
  ZORQELI_TRACE(" ZORQelIExpressForm::~ZORQelIExpressForm()");
  delete stream;
}

void ZORQelIExpressForm::Start() {
  ZORQELI_TRACE("void ZORQelIExpressForm::Start()");
  stream->Start();
}

ZORQelI::string ZORQelIExpressForm::Get() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIExpressForm::Get() const");
  return stream->Get();
}

ZORQelIStream& ZORQelIExpressForm::Nl() {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Nl()");
  stream->Nl();
  for (ZORQelI::integer i = 0; i < indentation; ++i) Print(ZORQelI::string(" "));
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::string s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::string s)");
  stream->Print(std::move(s));  // s is this call's own copy
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::character s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::character s)");
  stream->Print(s);
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::real s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::real s)");
  return ZORQelIPrint::Print(s);
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::integer s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::integer s)");
  return ZORQelIPrint::Print(s);
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::boolean s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::boolean s)");
  return ZORQelIPrint::Print(s);
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelI::Mint& X) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelI::Mint& X)");
  if (!X.IsSet()) return Print(ZORQelI::string("?"));
  return Print(static_cast<ZORQelI::integer>(X));
}

void ZORQelIExpressForm::Nest() {
  ZORQELI_TRACE("void ZORQelIExpressForm::Nest()");
  indentation += 4;
  Nl();
}

void ZORQelIExpressForm::Unnest() {
  ZORQELI_TRACE("void ZORQelIExpressForm::Unnest()");
  indentation -= 4;
  Nl();
}

void ZORQelIExpressForm::Nl2() {
  ZORQELI_TRACE("void ZORQelIExpressForm::Nl2()");
  Print(ZORQelI::string(";"));
  Nl();
}

void ZORQelIExpressForm::Print(ZORQelI::Types X) {
  ZORQELI_TRACE("void ZORQelIExpressForm::Print(ZORQelI::Types X)");
  static const char* const names[] = {"Void", nullptr, "Boolean", "Logical", "Integer", "Real",
                                      "String", "Binary", "Array", "List", "Set", "Bag"};
  if (X < 0 || X > ZORQelI::Ibag || names[X] == nullptr)
    ZORQELI_RAISE(ZORQelI::InvalidType(), ZORQELI_SOURCE(ZORQelIExpressForm), 232);
  Print(ZORQelI::string(names[X]));
}

void ZORQelIExpressForm::PrintFlags(ZORQelI::string text, ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIExpressForm::PrintFlags(ZORQelI::string text, ZORQelI::boolean v)");
  Print(text);
  Print(ZORQelI::string(" := "));
  Print(v);
  Nl2();
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIParamDesc&) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIParamDesc&)");
  return *this;
}

namespace {
ZORQelI::string S(const char* text) { return ZORQelI::string(text); }
}  // namespace

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIType& X) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIType& X)");
  if (X.IsValid() != ZORQelI::Itrue) return Print(S("Void"));
  if (X.IsAField() == ZORQelI::Itrue) return PrintField(X);
  if (X.IsAggr() != ZORQelI::Itrue) return Print(X.Name());
  return PrintAggregate(X);
}

ZORQelIExpressForm& ZORQelIExpressForm::PrintField(const ZORQelIType& X) {
  ZORQELI_TRACE("ZORQelIExpressForm& ZORQelIExpressForm::PrintField(const ZORQelIType& X)");
  Print(X.PrimitiveType());
  ZORQelI::Mint width = X.Width();
  if (width.IsSet()) {
    Print(S("("));
    Print(static_cast<ZORQelI::integer>(width));
    Print(S(")"));
  }
  if (X.IsFixed() == ZORQelI::Itrue) Print(S(" Fixed "));
  return *this;
}

ZORQelIExpressForm& ZORQelIExpressForm::PrintAggregate(const ZORQelIType& X) {
  ZORQELI_TRACE("ZORQelIExpressForm& ZORQelIExpressForm::PrintAggregate(const ZORQelIType& X)");
  Print(X.PrimitiveType());
  Print(S(" "));
  const ZORQelI::Mint low = X.LowerBound();
  const ZORQelI::Mint high = X.UpperBound();
  if (low.IsSet() || high.IsSet()) {
    Print(S("["));
    Print(low);
    Print(S(":"));
    Print(high);
    Print(S("]"));
  }
  Print(S("of "));
  if (X.IsUnique() == ZORQelI::Itrue) Print(S("unique "));
  if (X.IsOptional() == ZORQelI::Itrue) Print(S("optional "));
  Print(X.SubType());
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIAttr& X) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIAttr& X)");
  Print(X.Name());
  Print(S(" : "));
  Print(X.GetType());
  if (X.IsOptional() == ZORQelI::Itrue) Print(S(" Optional"));
  return *this;
}

ZORQelIExpressForm& ZORQelIExpressForm::PrintEntity(const ZORQelIEntity& ent) {
  ZORQELI_TRACE("ZORQelIExpressForm& ZORQelIExpressForm::PrintEntity(const ZORQelIEntity& ent)");
  Print(S("Entity "));
  Print(ent.Name());
  ZORQelIEntity super = ent.Super();
  if (super.IsValid() == ZORQelI::Itrue) Print(S("subtype of (  ") + super.Name() + " )");
  Nl2();
  Nest();
  for (int i = 0; i < ent.NumberOfAttributes(); ++i) {
    Print(ent.GetAttr(i));
    Nl2();
  }
  Unnest();
  Print(S("End_Entity (*"));
  Print(ent.Name());
  Print(S("*)"));
  Nl2();
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIModeler& M) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIModeler& M)");
  Print(S("Schema ") + M.Name());
  Nl2();
  Nest();
  const int entities = M.GetNumberOfEntities();
  for (int i = 0; i < entities; ++i) PrintEntity(M.GetEntity(i));
  Unnest();
  Print(S("End_Schema (*") + M.Name() + "*)");
  Nl2();
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIWrapper& X) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIWrapper& X)");
  Print(S("Wrapper "));
  Print(X.WrapperName());
  Nl2();
  Nest();
  PrintFlags(S("Instances"), X.HasInstances());
  PrintFlags(S("PersistantInstances"), X.HasPersistantInstances());
  PrintFlags(S("EditableDictionnary"), X.HasEditableDictionnary());
  PrintFlags(S("PersistantDictionnary"), X.HasPersistantDictionnary());
  PrintFlags(S("Expression"), X.HasExpression());
  Unnest();
  Print(S("End_Wrapper (*"));
  Print(X.WrapperName());
  Print(S("*)"));
  Nl2();
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstances& x) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstances& x)");
  for (ZORQelI::integer i = 0; i < x.Size(); ++i) PrintLong(x.Get(i));
  return *this;
}

void ZORQelIExpressForm::PrintLong(const ZORQelIInstance& X) {
  ZORQELI_TRACE("void ZORQelIExpressForm::PrintLong(const ZORQelIInstance& X)");
  Print(S("#"));
  Print(X.GetInstanceId());
  ZORQelIEntity entity = ZORQelIEntity::DownCast(X.GetType());
  Print(S("="));
  Print(entity.Name());
  // The attributes, own ones last-to-first, then each super entity's: read
  // backwards, they come in inheritance order.
  ZORQelIArray attributes;
  for (ZORQelIEntity e = entity; e.IsValid() == ZORQelI::Itrue; e = e.Super())
    for (int i = e.NumberOfAttributes() - 1; i >= 0; --i) attributes.Add(e.GetAttr(i));
  Print(S("("));
  for (ZORQelI::integer j = attributes.Size() - 1; j >= 0; --j) {
    ZORQelIAttr attribute = ZORQelIAttr::DownCast(attributes.Get(j));
    PrintInstance(X.GetAttr(attribute));
    if (j != 0) Print(S(","));
  }
  Print(S(")"));
  Nl2();
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstance& x) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstance& x)");
  return PrintInstance(x);
}

ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x)");
  if (x.IsValid() != ZORQelI::Itrue) return Print(S("$"));
  switch (x.GetType().PrimitiveType()) {
    case ZORQelI::Iinteger:
      return Print(x.GetInt());
    case ZORQelI::Ireal:
      return Print(x.GetReal());
    case ZORQelI::Istring:
      Print(S("'"));
      Print(x.GetString());
      return Print(S("'"));
    case ZORQelI::Ibinary:
      Print(S("\""));
      Print(x.GetString());
      return Print(S("\""));
    case ZORQelI::Iboolean:
      return Print(S(x.GetBoolean() == ZORQelI::Itrue ? ".T." : ".F."));
    case ZORQelI::Ientity:
      Print(S("#"));
      return Print(static_cast<ZORQelI::integer>(x.GetInstanceId()));
    default:
      break;
  }
  if (x.GetType().IsAggr() == ZORQelI::Itrue) {
    Print(S("("));
    const int n = x.Size();
    for (int i = 0; i < n; ++i) {
      if (i != 0) Print(S(","));
      Print(x.GetInstance(i));
    }
    Print(S(")"));
  }
  return *this;
}
