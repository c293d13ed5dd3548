// The EXPRESS form printer: its stream, its basic operations and its line
// discipline.  The rest of the printer lives in sources of its own:
//   ZORQelIExpressFormSchemaText.cpp    types, attributes, entities, schemas
//                                       and wrappers (the schema text);
//   ZORQelIExpressFormInstanceText.cpp  instance lines and value text;
//   ZORQelIExpressFormDirect.cpp        the direct path of the instance text;
//   ZORQelIExpressFormValues.cpp        the providers' value readers.
// The trace frames of all of them report the lines they reported when the
// printer was this one source (ZORQelIExpressFormText.h).
#include "ZORQelIExpressForm.h"

#include <utility>

#include "ZORQelIStringStream.h"
#include "ZORQelITracer.h"

ZORQelIExpressForm::ZORQelIExpressForm() : stream(nullptr), indentation(0) {
  ZORQELI_TRACE_LINE(" ZORQelIExpressForm::ZORQelIExpressForm()", 28);
  stream = new ZORQelIStringStream();
}

ZORQelIExpressForm::~ZORQelIExpressForm() {
  ZORQELI_TRACE_LINE(" ZORQelIExpressForm::~ZORQelIExpressForm()", 33);
  delete stream;
}

void ZORQelIExpressForm::Start() {
  ZORQELI_TRACE_LINE("void ZORQelIExpressForm::Start()", 38);
  stream->Start();
}

ZORQelI::string ZORQelIExpressForm::Get() const {
  ZORQELI_TRACE_LINE("ZORQelI::string ZORQelIExpressForm::Get() const", 43);
  return stream->Get();
}

ZORQelIStream& ZORQelIExpressForm::Nl() {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Nl()", 48);
  stream->Nl();
  for (ZORQelI::integer i = 0; i < indentation; ++i) Print(ZORQelI::string(" "));
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::string s) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::string s)", 55);
  stream->Print(std::move(s));  // s is this call's own copy
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::character s) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::character s)", 61);
  stream->Print(s);
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::real s) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::real s)", 67);
  return ZORQelIPrint::Print(s);
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::integer s) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::integer s)", 72);
  return ZORQelIPrint::Print(s);
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::boolean s) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::boolean s)", 77);
  return ZORQelIPrint::Print(s);
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelI::Mint& X) {
  ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelI::Mint& X)", 82);
  if (!X.IsSet()) return Print(ZORQelI::string("?"));
  return Print(static_cast<ZORQelI::integer>(X));
}

void ZORQelIExpressForm::Nest() {
  ZORQELI_TRACE_LINE("void ZORQelIExpressForm::Nest()", 88);
  indentation += 4;
  Nl();
}

void ZORQelIExpressForm::Unnest() {
  ZORQELI_TRACE_LINE("void ZORQelIExpressForm::Unnest()", 94);
  indentation -= 4;
  Nl();
}

void ZORQelIExpressForm::Nl2() {
  ZORQELI_TRACE_LINE("void ZORQelIExpressForm::Nl2()", 100);
  Print(ZORQelI::string(";"));
  Nl();
}
