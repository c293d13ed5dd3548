// The schema reader on arbitrary bytes.  Every input either loads or fails
// with located errors leaving the schema as it was; a loaded schema's
// EXPRESS reads back to the same EXPRESS, and its own schema text saved,
// read and saved again is the same text.  The collector then reclaims
// everything made.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "FuzzSupport.h"

namespace {

std::string Str(const ZORQelI::string& s) { return static_cast<const char*>(s); }

void ExpressRoundTrip(ZORQelIMemModelerIMP* s);
void OwnRoundTrip(const ZORQelIModeler& m);

void One(const std::string& text) {
  ZORQelIMemWrapper& w = ZORQelIMemWrapper::Default();
  ZORQelIModeler m = w.NewModeler("Fuzz");
  m.MakeEntity("Held").CreateAttr("n", m.MakeInteger(), ZORQelI::Ifalse);
  const std::string before = Str(m.ToString());
  auto* s = ZORQelIMemModelerIMP::DownCast(m);
  if (s->LoadText(text, "fuzz.exp") != ZORQelI::Itrue) {
    CHECK(!s->Diagnostics().empty());
    bool error = false;
    for (const ZORQelIMemDiagnostic& d : s->Diagnostics()) {
      CHECK(d.line >= 1 && d.column >= 1);
      error = error || !d.warning;
    }
    CHECK(error);
    CHECK(Str(m.ToString()) == before);
    CHECK(m.GetNumberOfEntities() == 1);
    return;
  }
  // The library's own text may hold names that are no EXPRESS identifiers:
  // only schemas read from EXPRESS are written back as EXPRESS here.
  const bool own = text.compare(0, 7, "Schema ") == 0;
  if (!own) ExpressRoundTrip(s);
  OwnRoundTrip(m);
}

void ExpressRoundTrip(ZORQelIMemModelerIMP* s) {
  ZORQelIMemWrapper& w = ZORQelIMemWrapper::Default();
  // EXPRESS written, read, written: the same text.
  const std::string express = Str(s->ExpressText());
  std::vector<ZORQelIModeler> again;
  std::vector<ZORQelIMemDiagnostic> messages;
  if (w.LoadSchemasText(express, "written.exp", again, messages) != ZORQelI::Itrue) {
    std::fprintf(stderr, "%s\n---\n%s\n", messages.empty() ? "" : messages[0].Text().c_str(),
                 express.c_str());
    CHECK(!"written EXPRESS reads back");
  }
  CHECK(!again.empty());
  CHECK(Str(ZORQelIMemModelerIMP::DownCast(again[0])->ExpressText()) == express);
}

void OwnRoundTrip(const ZORQelIModeler& m) {
  ZORQelIMemWrapper& w = ZORQelIMemWrapper::Default();
  // The library's own text saved, read, saved: the same text.
  const std::string own = Str(m.ToString());
  ZORQelIModeler copy = w.NewModeler("Copy");
  auto* c = ZORQelIMemModelerIMP::DownCast(copy);
  if (c->LoadText(own, "own.txt") != ZORQelI::Itrue) {
    std::fprintf(stderr, "%s\n---\n%s\n", c->Diagnostics()[0].Text().c_str(), own.c_str());
    CHECK(!"own text reads back");
  }
  CHECK(Str(copy.ToString()) == own);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Measured after a first load, so that what the process makes once (the
  // provider, the library's own lasting objects) is counted in.
  static const ZORQelI::integer baseline = [] {
    One("SCHEMA warm; ENTITY e; x : LIST OF INTEGER; END_ENTITY; END_SCHEMA;");
    ZORQelIVariable::GarbageCollect();
    ZORQelIVariable::GarbageCollect();
    return ZORQelIVariable::GetInstancesCount__();
  }();
  One(std::string(reinterpret_cast<const char*>(data), size));
  // Nothing of the input outlives it.
  ZORQelIVariable::GarbageCollect();
  ZORQelIVariable::GarbageCollect();
  CHECK(ZORQelIVariable::GetInstancesCount__() == baseline);
  return 0;
}
