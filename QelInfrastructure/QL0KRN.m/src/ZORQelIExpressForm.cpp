#include "ZORQelIExpressForm.h"

#include "ZORQelIInvalidType.h"
#include "ZORQelINotYetImplemented.h"
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
  stream->Print(s);
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

// The dictionary texts are written with the dictionary model.
#define ZORQELI_EXPRESS_PENDING \
  ZORQELI_RAISE(ZORQelI::NotYetImplemented(), ZORQELI_SOURCE(ZORQelIExpressForm), __LINE__)

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIType&) { ZORQELI_EXPRESS_PENDING; }
ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIModeler&) { ZORQELI_EXPRESS_PENDING; }
ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIParamDesc&) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIParamDesc&)");
  return *this;
}
ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIAttr&) { ZORQELI_EXPRESS_PENDING; }
ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstance&) { ZORQELI_EXPRESS_PENDING; }
ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstances&) { ZORQELI_EXPRESS_PENDING; }
ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIWrapper&) { ZORQELI_EXPRESS_PENDING; }
ZORQelIExpressForm& ZORQelIExpressForm::PrintAggregate(const ZORQelIType&) {
  ZORQELI_EXPRESS_PENDING;
}
ZORQelIExpressForm& ZORQelIExpressForm::PrintField(const ZORQelIType&) { ZORQELI_EXPRESS_PENDING; }
ZORQelIExpressForm& ZORQelIExpressForm::PrintEntity(const ZORQelIEntity&) {
  ZORQELI_EXPRESS_PENDING;
}
void ZORQelIExpressForm::PrintLong(const ZORQelIInstance&) { ZORQELI_EXPRESS_PENDING; }
ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance&) {
  ZORQELI_EXPRESS_PENDING;
}
