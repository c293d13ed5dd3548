// ql0krn: command-line access to the libraries:
//   ql0krn schema [--print | --express] FILE...
//   ql0krn stats|convert|print [--lenient] SCHEMA DATA... (ExchangeVerbs)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "ExchangeVerbs.h"

namespace {

const char kHelp[] =
    "usage: ql0krn VERB [OPTIONS] ARGUMENTS\n"
    "       ql0krn --help\n"
    "\n"
    "Verbs:\n"
    "  schema [--print | --express] FILE...\n"
    "      Loads every schema of every FILE (ISO 10303-11 EXPRESS, or the\n"
    "      library's own schema text) and prints, for each schema, one line\n"
    "          schema NAME: E entities, T types\n"
    "      where E counts its ENTITY declarations and T its TYPE declarations\n"
    "      (0 for the library's own text).\n"
    "        --print    follow each line with the library's schema text\n"
    "        --express  follow each line with the schema as EXPRESS\n"
    "      Errors and warnings go to standard error as\n"
    "          FILE:LINE:COLUMN: error: MESSAGE\n"
    "      Exit status: 0 when every file loaded, 1 when a file had an error,\n"
    "      2 on a usage error.\n";
const char kOptionsHelp[] =
    "\n"
    "Options:\n"
    "  --help     print this text and exit\n";

void Help() {
  std::fputs(kHelp, stdout);
  std::fputs(kExchangeHelp, stdout);
  std::fputs(kOptionsHelp, stdout);
}

int Usage(const std::string& message) {
  std::fprintf(stderr, "ql0krn: %s\n", message.c_str());
  std::fprintf(stderr, "usage: ql0krn schema [--print | --express] FILE...  (ql0krn --help)\n");
  return 2;
}

void Out(const char* text) { std::fwrite(text, 1, std::strlen(text), stdout); }

int Schema(const std::vector<std::string>& args) {
  enum { Counts, Print, Express } mode = Counts;
  std::vector<std::string> files;
  bool options = true;
  for (const std::string& a : args) {
    if (options && a == "--") {
      options = false;
    } else if (options && (a == "--print" || a == "--express")) {
      if (mode != Counts) return Usage("give --print or --express once");
      mode = a == "--print" ? Print : Express;
    } else if (options && (a == "--help" || a == "-h")) {
      Help();
      return 0;
    } else if (options && a.size() > 1 && a[0] == '-') {
      return Usage("unknown option '" + a + "'");
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) return Usage("schema needs at least one FILE");
  int status = 0;
  for (const std::string& f : files) {
    std::vector<ZORQelIModeler> schemas;
    std::vector<ZORQelIMemDiagnostic> messages;
    ZORQelI::boolean ok =
        ZORQelIMemWrapper::Default().LoadSchemas(f.c_str(), schemas, messages);
    for (const ZORQelIMemDiagnostic& d : messages) {
      std::fprintf(stderr, "%s\n", d.Text().c_str());
    }
    if (ok != ZORQelI::Itrue) {
      status = 1;
      continue;
    }
    for (ZORQelIModeler& m : schemas) {
      auto* imp = ZORQelIMemModelerIMP::DownCast(m);
      std::string line = "schema " + std::string(static_cast<const char*>(m.Name())) + ": " +
                         std::to_string(m.GetNumberOfEntities()) + " entities, " +
                         std::to_string(imp->Types().size()) + " types\n";
      Out(line.c_str());
      if (mode == Print) Out(static_cast<const char*>(m.ToString()));
      if (mode == Express) Out(static_cast<const char*>(imp->ExpressText()));
    }
    std::fflush(stdout);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("a verb is needed");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    Help();
    return 0;
  }
  if (args[0] == "schema") return Schema({args.begin() + 1, args.end()});
  if (IsExchangeVerb(args[0])) return ExchangeVerb(args[0], {args.begin() + 1, args.end()});
  return Usage("unknown verb '" + args[0] + "'");
}
