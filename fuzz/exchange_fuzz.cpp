// The exchange-file reader on arbitrary bytes (the seed corpus holds valid
// files, which libFuzzer mutates).  Every input, read strictly and
// leniently, either fails with located errors leaving the population empty,
// or reads; what was read writes a file that reads back (strictly unless the
// lenient read found errors) and writes again to the same bytes.  The
// collector reclaims everything now and then.
//
// What was read is also printed by the EXPRESS form printer twice: by a
// plain ZORQelIExpressForm, which with tracing off (as here) takes its
// direct path, and by a subclass that overrides nothing, which the printer
// cannot tell from one that does and so prints piece by piece through its
// virtual text operations.  Both must give the same bytes, and raise alike.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "FuzzSupport.h"

namespace {

// The printer's general path: a subclass may see every piece through its
// own text operations, so the printer never takes its direct path for one.
class GeneralForm : public ZORQelIExpressForm {};

std::string Str(const ZORQelI::string& s) { return static_cast<const char*>(s); }

// The text one printer makes of the population: every line, then each
// instance's line and value text alone; the raise that stopped it, if any,
// ends the text.
std::string Printed(ZORQelIExpressForm& form, const ZORQelIInstances& population, bool nested) {
  std::string raised;
  try {
    if (nested) form.Nest();
    form.Print(population);
    for (ZORQelI::integer i = 0; i < population.Size(); ++i) {
      const ZORQelIInstance x = population.Get(i);
      form.PrintLong(x);
      form.PrintInstance(x);
      form.Print(x);
    }
  } catch (const ZORQelI::Exception& e) {
    raised = std::string("\nraised: ") + e.what();
  }
  return Str(form.Get()) + raised;
}

void SamePrintedText(const ZORQelIModeler& m, bool nested) {
  const ZORQelIInstances population = m.GetInstances();
  ZORQelIExpressForm direct;
  GeneralForm general;
  const std::string a = Printed(direct, population, nested);
  const std::string b = Printed(general, population, nested);
  if (a != b) std::fprintf(stderr, "direct:\n%s\n---\ngeneral:\n%s\n", a.c_str(), b.c_str());
  CHECK(a == b);
}

// The suite's sample schema, with one entity more: plain integer and
// reference attributes, and aggregates of strings, binaries and booleans,
// which the sample's entities hold only inside selects, if at all.
const std::string& SchemaText() {
  static const std::string text = [] {
    std::ifstream in(QL0KRN_EXCHANGE_SCHEMA, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string schema = s.str();
    const std::size_t end = schema.rfind("END_SCHEMA;");
    CHECK(end != std::string::npos);
    schema.insert(end,
                  "ENTITY record;\n"
                  "  n : INTEGER;\n"
                  "  target : OPTIONAL shape;\n"
                  "  texts : LIST [0:?] OF STRING;\n"
                  "  flags : LIST [0:?] OF BOOLEAN;\n"
                  "  blobs : LIST [0:?] OF BINARY;\n"
                  "END_ENTITY;\n\n");
    return schema;
  }();
  return text;
}

ZORQelIModeler Load() {
  std::vector<ZORQelIModeler> schemas;
  std::vector<ZORQelIMemDiagnostic> messages;
  CHECK(ZORQelIMemWrapper::Default().LoadSchemasText(SchemaText(), "sample.exp", schemas,
                                                     messages) == ZORQelI::Itrue);
  return schemas.at(0);
}

// Two schemas loaded once; their populations are emptied before each use
// (the instances taken out are garbage for the next collection).
ZORQelIModeler Fresh(int which) {
  static ZORQelIModeler schemas[2] = {Load(), Load()};
  ZORQelIInstances p = schemas[which].GetInstances();
  for (int i = p.Size() - 1; i >= 0; --i) p.Remove(i);
  return schemas[which];
}

void One(const char* data, std::size_t size, bool lenient) {
  ZORQelIModeler m = Fresh(0);
  ZORQelIMemExchangeOptions o;
  o.lenient = lenient;
  ZORQelIMemExchangeResult r = ZORQelIMemExchangeReader::Read(m, data, size, o);
  bool error = false;
  for (const ZORQelIMemDiagnostic& d : r.diagnostics) {
    CHECK(d.line >= 1 && d.column >= 1);
    error = error || !d.warning;
  }
  if (!r.ok) {
    CHECK(error);
    CHECK(m.GetInstances().Size() == 0);
    return;
  }
  CHECK(lenient || !error);
  CHECK(static_cast<std::size_t>(m.GetInstances().Size()) == r.instances);
  // A population that reads strictly reads the same leniently: it is
  // printed once.
  if (!lenient || error) SamePrintedText(m, (size & 1) != 0);
  std::string written;
  try {
    written = ZORQelIMemExchangeWriter::Write(m, &r.header);
  } catch (const ZORQelI::Exception&) {
    CHECK(false);
  }
  ZORQelIModeler back = Fresh(1);
  // A lenient read that found errors may have left mandatory attributes
  // unset (an unresolved reference, a '$'), which the file then gives as
  // '$': only a lenient read takes that back.
  ZORQelIMemExchangeOptions backOptions;
  backOptions.lenient = lenient && error;
  ZORQelIMemExchangeResult again =
      ZORQelIMemExchangeReader::Read(back, written.data(), written.size(), backOptions);
  if (!again.ok) {
    for (const ZORQelIMemDiagnostic& d : again.diagnostics) std::fprintf(stderr, "%s\n", d.Text().c_str());
    std::fprintf(stderr, "%s", written.c_str());
  }
  CHECK(again.ok);
  CHECK(again.instances == r.instances);
  CHECK(ZORQelIMemExchangeWriter::Write(back, &again.header) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static int runs = 0;
  {
    const char* text = reinterpret_cast<const char*>(data);
    One(text, size, false);
    One(text, size, true);
  }
  if (++runs % 16 == 0) ZORQelIVariable::GarbageCollect();
  return 0;
}
