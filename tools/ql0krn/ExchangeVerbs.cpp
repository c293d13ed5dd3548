// The exchange-file verbs of ql0krn.
#include "ExchangeVerbs.h"
#include "CheckVerb.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <unordered_set>

#include "QL0KRN.h"
#include "QL0KRNMem.h"

const char kExchangeHelp[] =
    "  stats [--lenient] SCHEMA DATA\n"
    "      Reads the exchange file DATA (ISO 10303-21) and prints\n"
    "          N instances\n"
    "      then one line NAME COUNT per entity present, sorted by name, names\n"
    "      in upper case (a complex instance counts under each of its names).\n"
    "  convert [--lenient] SCHEMA IN OUT\n"
    "      Reads IN and writes its instances to OUT as an exchange file.\n"
    "  print [--lenient] SCHEMA DATA\n"
    "      Reads DATA and prints the library's instance text.\n"
    "  check [--lenient] SCHEMA DATA\n"
    "      Reads DATA and evaluates the rules of its schema on it (WHERE rules\n"
    "      of entities and defined types, INVERSE cardinalities): one line\n"
    "          #ID=ENTITY: LABEL violated      (or: unsupported)\n"
    "      per finding, the reason of a failed or unsupported evaluation on\n"
    "      standard error, then\n"
    "          N instances, R rules evaluated, V violations, U unsupported\n"
    "      Exit status 0 when V and U are 0, else 1.\n"
    "      SCHEMA is an EXPRESS file, or a folder whose .exp files are searched\n"
    "      for the schema that DATA's FILE_SCHEMA names (case ignored).\n"
    "        --lenient  skip instances with errors (listed) instead of failing\n"
    "      Errors and warnings go to standard error as\n"
    "          FILE:LINE:COLUMN: error: #N: MESSAGE\n"
    "      Exit status: 0 when read without error, 1 on an error (with\n"
    "      --lenient the output is still made), 2 on a usage error.\n";

namespace {

int Usage(const std::string& verb, const std::string& message) {
  std::fprintf(stderr, "ql0krn: %s\n", message.c_str());
  const char* form = verb == "convert" ? "convert [--lenient] SCHEMA IN OUT"
                                       : verb == "stats" ? "stats [--lenient] SCHEMA DATA"
                                       : verb == "check" ? "check [--lenient] SCHEMA DATA"
                                                         : "print [--lenient] SCHEMA DATA";
  std::fprintf(stderr, "usage: ql0krn %s  (ql0krn --help)\n", form);
  return 2;
}

void Out(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void Report(const std::vector<ZORQelIMemDiagnostic>& messages) {
  for (const ZORQelIMemDiagnostic& d : messages) std::fprintf(stderr, "%s\n", d.Text().c_str());
}

bool ReadAll(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return static_cast<bool>(in) || in.eof();
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return s;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Whether the EXPRESS text declares SCHEMA name (case ignored); remarks are
// not looked into closely: a false hit only costs a load.
bool Declares(const std::string& text, const std::string& upperName) {
  const std::string up = Upper(text);
  std::size_t at = 0;
  while ((at = up.find("SCHEMA", at)) != std::string::npos) {
    const bool startOk = at == 0 || !(std::isalnum(static_cast<unsigned char>(up[at - 1])) || up[at - 1] == '_');
    std::size_t q = at + 6;
    at = q;
    if (!startOk || q >= up.size() || !std::isspace(static_cast<unsigned char>(up[q]))) continue;
    while (q < up.size() && std::isspace(static_cast<unsigned char>(up[q]))) ++q;
    std::size_t e = q;
    while (e < up.size() && (std::isalnum(static_cast<unsigned char>(up[e])) || up[e] == '_')) ++e;
    if (up.compare(q, e - q, upperName) == 0 && e - q == upperName.size()) return true;
  }
  return false;
}

// The schema for the data file: SCHEMA itself, or the .exp file of the folder
// that declares the FILE_SCHEMA name.  Reports its own errors.
bool FindSchema(const std::string& schemaPath, const std::string& data, ZORQelIModeler& out) {
  ZORQelI::string wanted;
  const bool named = ZORQelIMemExchangeReader::FileSchema(data.data(), data.size(), wanted);
  const std::string upperName = named ? Upper(static_cast<const char*>(wanted)) : std::string();
  std::vector<std::string> candidates;
  if (IsDirectory(schemaPath)) {
    if (!named) {
      std::fprintf(stderr, "ql0krn: the data file names no schema (FILE_SCHEMA) to look for in %s\n",
                   schemaPath.c_str());
      return false;
    }
    std::vector<std::string> files;
    if (DIR* dir = opendir(schemaPath.c_str())) {
      while (dirent* e = readdir(dir)) {
        std::string n = e->d_name;
        if (n.size() > 4 && Upper(n.substr(n.size() - 4)) == ".EXP") files.push_back(n);
      }
      closedir(dir);
    } else {
      std::fprintf(stderr, "ql0krn: cannot read the folder %s\n", schemaPath.c_str());
      return false;
    }
    std::sort(files.begin(), files.end());
    for (const std::string& n : files) {
      std::string path = schemaPath + "/" + n;
      std::string text;
      if (ReadAll(path, text) && Declares(text, upperName)) candidates.push_back(path);
    }
    if (candidates.empty()) {
      std::fprintf(stderr, "ql0krn: no EXPRESS file of %s declares schema %s\n", schemaPath.c_str(),
                   static_cast<const char*>(wanted));
      return false;
    }
  } else {
    candidates.push_back(schemaPath);
  }
  for (const std::string& path : candidates) {
    std::vector<ZORQelIModeler> schemas;
    std::vector<ZORQelIMemDiagnostic> messages;
    ZORQelI::boolean ok = ZORQelIMemWrapper::Default().LoadSchemas(path.c_str(), schemas, messages);
    Report(messages);
    if (ok != ZORQelI::Itrue) return false;
    for (ZORQelIModeler& m : schemas) {
      if (!named || Upper(static_cast<const char*>(m.Name())) == upperName) {
        out = m;
        return true;
      }
    }
    // A single schema file: the reader names both schemas in its refusal.
    if (candidates.size() == 1 && !schemas.empty() && !IsDirectory(schemaPath)) {
      out = schemas.front();
      return true;
    }
  }
  std::fprintf(stderr, "ql0krn: schema %s not found\n", static_cast<const char*>(wanted));
  return false;
}

void Progress(void*, std::size_t done, std::size_t total) {
  std::fprintf(stderr, "\rreading: %zu of %zu MiB", done >> 20, total >> 20);
  std::fflush(stderr);
}

}  // namespace

bool IsExchangeVerb(const std::string& verb) {
  return verb == "stats" || verb == "convert" || verb == "print" || verb == "check";
}

int ExchangeVerb(const std::string& verb, const std::vector<std::string>& args) {
  bool lenient = false;
  bool options = true;
  std::vector<std::string> positional;
  for (const std::string& a : args) {
    if (options && a == "--") {
      options = false;
    } else if (options && a == "--lenient") {
      lenient = true;
    } else if (options && a.size() > 1 && a[0] == '-') {
      return Usage(verb, "unknown option '" + a + "'");
    } else {
      positional.push_back(a);
    }
  }
  const std::size_t wanted = verb == "convert" ? 3 : 2;
  if (positional.size() != wanted) {
    return Usage(verb, verb + " takes " + std::to_string(wanted) + " arguments");
  }
  const std::string& dataPath = positional[1];
  std::string data;
  if (!ReadAll(dataPath, data)) {
    std::fprintf(stderr, "ql0krn: cannot read %s\n", dataPath.c_str());
    return 1;
  }
  ZORQelIModeler m;
  if (!FindSchema(positional[0], data, m)) return 1;
  ZORQelIMemExchangeOptions o;
  o.lenient = lenient;
  o.fileName = dataPath.c_str();
  const bool terminal = isatty(2) != 0;
  if (terminal && data.size() >= (std::size_t(64) << 20)) o.progress = &Progress;
  ZORQelIMemExchangeResult r = ZORQelIMemExchangeReader::Read(m, data.data(), data.size(), o);
  if (o.progress != nullptr) std::fprintf(stderr, "\r\033[K");
  Report(r.diagnostics);
  bool errors = false;
  for (const ZORQelIMemDiagnostic& d : r.diagnostics) errors = errors || !d.warning;
  if (!r.ok) return 1;
  std::string().swap(data);
  ZORQelIMemInstancesIMP* population = ZORQelIMemModelerIMP::DownCast(m)->Population();
  if (verb == "check") return CheckPopulation(m) != 0 || errors ? 1 : 0;
  if (verb == "stats") {
    std::map<std::string, std::size_t> counts;
    std::map<const ZORQelIMemEntityIMP*, std::vector<std::string>> names;
    for (ZORQelIMemEntityInstanceIMP* x : population->Members()) {
      auto it = names.find(x->Entity());
      if (it == names.end()) {
        // A complex instance: every entity of its family; else its own.
        std::vector<std::string> family;
        std::vector<ZORQelIMemEntityIMP*> todo{x->Entity()};
        std::unordered_set<ZORQelIMemEntityIMP*> seen{x->Entity()};
        bool complex = false;
        while (!todo.empty()) {
          ZORQelIMemEntityIMP* e = todo.back();
          todo.pop_back();
          family.push_back(Upper(static_cast<const char*>(e->Name())));
          std::vector<ZORQelIMemEntityIMP*> supers = e->Supers();
          complex = complex || supers.size() > 1;
          for (ZORQelIMemEntityIMP* s : supers) {
            if (seen.insert(s).second) todo.push_back(s);
          }
        }
        if (!complex) family.resize(1);
        it = names.emplace(x->Entity(), family).first;
      }
      for (const std::string& n : it->second) ++counts[n];
    }
    std::string out = std::to_string(population->Members().size()) + " instances\n";
    for (const auto& [name, count] : counts) out += name + " " + std::to_string(count) + "\n";
    Out(out);
  } else if (verb == "print") {
    Out(static_cast<const char*>(m.GetInstances().ToString()));
  } else {
    std::string error;
    if (!ZORQelIMemExchangeWriter::WriteFile(m, positional[2].c_str(), &r.header, &error)) {
      std::fprintf(stderr, "ql0krn: %s\n", error.c_str());
      return 1;
    }
  }
  std::fflush(stdout);
  return errors ? 1 : 0;
}
