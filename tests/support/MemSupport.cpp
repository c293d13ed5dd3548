#include "MemSupport.h"

#include <cctype>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace qtest {

std::vector<ZORQelIModeler> LoadSchemas(const std::string& text, const char* file,
                                        std::vector<ZORQelIMemDiagnostic>* messages) {
  std::vector<ZORQelIModeler> schemas;
  std::vector<ZORQelIMemDiagnostic> local;
  std::vector<ZORQelIMemDiagnostic>& out = messages != nullptr ? *messages : local;
  const ZORQelI::boolean ok = ZORQelIMemWrapper::Default().LoadSchemasText(text, file, schemas, out);
  EXPECT_EQ(ZORQelI::Itrue, ok) << Messages(out);
  return schemas;
}

namespace {
std::string Upper(std::string v) {
  for (char& ch : v) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return v;
}
}  // namespace

ZORQelIModeler LoadSchemaNamed(const std::string& folder, const std::string& name) {
  const std::string key = Upper(name);
  std::vector<std::string> files;
  ListFiles(folder, &files);
  for (const std::string& f : files) {
    if (f.size() < 5 || Upper(f.substr(f.size() - 4)) != ".EXP") continue;
    const std::string body = ReadFile(folder + "/" + f);
    if (Upper(body).find("SCHEMA " + key) == std::string::npos) continue;
    std::vector<ZORQelIModeler> schemas;
    std::vector<ZORQelIMemDiagnostic> messages;
    if (ZORQelIMemWrapper::Default().LoadSchemasText(body, f.c_str(), schemas, messages) != ZORQelI::Itrue)
      continue;
    for (ZORQelIModeler& s : schemas)
      if (Upper(Str(s.Name())) == key) return s;
  }
  return ZORQelIModeler();
}

const char* const kExchangeTail = "ENDSEC;\nEND-ISO-10303-21;\n";

std::string ExchangeHead(const std::string& schema) {
  return "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\n"
         "FILE_NAME('','',(''),(''),'','','');\nFILE_SCHEMA(('" + schema + "'));\nENDSEC;\nDATA;\n";
}

std::string ExchangeFile(const std::string& schema, const std::string& data) {
  return ExchangeHead(schema) + data + kExchangeTail;
}

ZORQelIMemExchangeResult ReadExchange(ZORQelIModeler m, const std::string& text, bool lenient) {
  ZORQelIMemExchangeOptions o;
  o.lenient = lenient;
  o.fileName = "t.p21";
  return ZORQelIMemExchangeReader::Read(m, text.data(), text.size(), o);
}

std::string Messages(const std::vector<ZORQelIMemDiagnostic>& diagnostics) {
  std::string out;
  for (const ZORQelIMemDiagnostic& d : diagnostics) out += d.Text() + "\n";
  return out;
}

}  // namespace qtest
