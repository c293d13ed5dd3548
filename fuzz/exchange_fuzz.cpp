// The exchange-file reader on arbitrary bytes (the seed corpus holds valid
// files, which libFuzzer mutates).  Every input, read strictly and
// leniently, either fails with located errors leaving the population empty,
// or reads; what was read writes a file that reads back (strictly unless the
// lenient read found errors) and writes again to the same bytes.  The
// collector reclaims everything now and then.
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

#define CHECK(c)                                                                  \
  do {                                                                            \
    if (!(c)) {                                                                   \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #c); \
      std::abort();                                                               \
    }                                                                             \
  } while (0)

namespace {

const std::string& SchemaText() {
  static const std::string text = [] {
    std::ifstream in(QL0KRN_EXCHANGE_SCHEMA, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
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
