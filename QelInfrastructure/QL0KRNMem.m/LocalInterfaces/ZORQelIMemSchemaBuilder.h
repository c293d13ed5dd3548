// ZORQelIMemSchemaBuilder: reads a schema file and maps its schemas onto the
// in-memory dictionary.
#ifndef ZORQelIMemSchemaBuilder_h
#define ZORQelIMemSchemaBuilder_h

#include <string>
#include <unordered_map>
#include <vector>

#include "QL0KRN.h"
#include "ZORQelIMemDiagnostic.h"
#include "ZORQelIMemExpressSyntax.h"

class ZORQelIMemEntityIMP;
class ZORQelIMemModelerIMP;
class ZORQelIMemTypeIMP;
class ZORQelIMemWrapper;

// One use per file read.  Everything is made first and checked on the whole
// file; the schemas are changed only once no error was found, so a failed
// read leaves them as they were (the objects it made are left to the
// collector).  The mapping is described in ZORQelIMemModelerIMP.h.
class ZORQelIMemSchemaBuilder {
 public:
  // The whole content of the file f; false when it cannot be read.
  static bool ReadFile(const ZORQelI::string& f, std::string& text);

  // Reads text (named file in messages).  target: the schema Load was
  // called on, which receives the file's main schema (see
  // ZORQelIMemModelerIMP.h), or null; all, when given, receives every schema
  // of the file in file order (target included).  Appends the errors and
  // warnings to diagnostics; true when there was no error.
  static bool Load(const std::string& text, const ZORQelI::string& file, ZORQelIMemWrapper& wrapper,
                   ZORQelIMemModelerIMP* target, std::vector<ZORQelIModeler>* all,
                   std::vector<ZORQelIMemDiagnostic>& diagnostics);

 private:
  struct Ref {
    // Unknown: a name of the library's own text that is no entity (that
    // text does not say what a named type is).
    enum Kind { Entity, Type, Other, Placeholder, Unknown };
    Kind kind = Entity;
    int schema = 0;
    int index = 0;
  };
  // An item a schema interfaces by name (USE FROM s (a AS b) gives b).
  struct Item {
    int schema = -1;     // the source schema, -1 when the file lacks it
    std::string key;     // the item's key in its source
    Ref placeholder;     // for a missing source
  };
  struct Scope {
    ZORQelIMemModelerIMP* modeler = nullptr;
    // The schema's own declarations, by key.
    std::unordered_map<std::string, Ref> visible;
    // Items interfaced by name, by local key.
    std::unordered_map<std::string, Item> items;
    // Schemas interfaced whole (USE FROM s; REFERENCE FROM s;).
    std::vector<int> whole;
    // Names resolved so far.
    std::unordered_map<std::string, Ref> resolved;
    // A USE or REFERENCE of every item of a schema the file does not hold:
    // names not found otherwise become its placeholders.
    std::string missingAll;
    std::vector<ZORQelIMemEntityIMP*> entities;  // by declaration index
    std::vector<ZORQelIMemTypeIMP*> types;       // by declaration index
  };
  ZORQelIMemSchemaBuilder(const std::string& text, const ZORQelI::string& file,
                          ZORQelIMemWrapper& wrapper, std::vector<ZORQelIMemDiagnostic>& out)
      : text_(text), file_(file), wrapper_(wrapper), out_(out) {}

  bool Run(ZORQelIMemModelerIMP* target, std::vector<ZORQelIModeler>* all);
  void Error(const ZORQelIMemExpress::Pos& pos, const std::string& message);
  void Warning(const ZORQelIMemExpress::Pos& pos, const std::string& message);
  int ChooseMain() const;
  void DeclareLocals();
  void ResolveInterfaces();
  // What key names in schema s through its declarations and interfaces,
  // searched depth first without recursion; false when nothing.
  bool Lookup(int s, const std::string& key, Ref& out);
  // The entity, type or placeholder name stands for in schema s; false
  // (with an error) when it is neither declared nor interfaced.
  bool Resolve(int s, const std::string& name, const ZORQelIMemExpress::Pos& pos, Ref& out);
  // The index in placeholders_ of the placeholder for item of the missing
  // schema, made on first use.
  int Placeholder(const std::string& schema, const std::string& item);
  // The object a reference to a type or an entity stands for; null (with an
  // error) for other declarations.
  ZORQelITypeIMP* Referenced(const Ref& r, const std::string& name,
                             const ZORQelIMemExpress::Pos& pos);
  // A new type for the type written at node of schema s (a named one gives
  // the referenced object).  Null after an error.
  ZORQelITypeIMP* TypeOf(int s, int node);
  void Fill(ZORQelIMemTypeIMP* t, int s, int node);
  void BuildTypes();
  void BuildEntities();
  void Commit(ZORQelIMemModelerIMP* target, int main, std::vector<ZORQelIModeler>* all);
  std::string SpanText(const ZORQelIMemExpress::Span& s) const {
    return text_.substr(s.begin, s.end - s.begin);
  }

  const std::string& text_;
  ZORQelI::string file_;
  ZORQelIMemWrapper& wrapper_;
  std::vector<ZORQelIMemDiagnostic>& out_;
  bool ownText_ = false;
  int errors_ = 0;
  std::vector<ZORQelIMemExpress::Schema> schemas_;
  std::vector<Scope> scopes_;
  std::unordered_map<std::string, int> schemaIndex_;
  // Placeholders: per missing schema, its schema and its entities by key.
  struct Missing {
    ZORQelIMemModelerIMP* modeler = nullptr;
    std::vector<ZORQelIMemEntityIMP*> entities;
    std::unordered_map<std::string, int> byKey;  // index in placeholders_
  };
  std::vector<ZORQelIMemEntityIMP*> placeholders_;
  std::unordered_map<std::string, Missing> missing_;
  std::vector<std::string> missingOrder_;
  // Roots for everything made while the read is under way.
  std::vector<ZORQelIObject> keep_;
};

#endif
