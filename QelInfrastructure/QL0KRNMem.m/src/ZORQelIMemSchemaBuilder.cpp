// ZORQelIMemSchemaBuilder: reads a schema file and maps its schemas onto the
// in-memory dictionary.
#include "ZORQelIMemSchemaBuilder.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemExpressLexer.h"
#include "ZORQelIMemExpressParser.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemOwnTextReader.h"
#include "ZORQelIMemTypeIMP.h"
#include "ZORQelIMemWrapper.h"

using namespace ZORQelIMemExpress;

namespace {

// Enough to show what is wrong; the rest would mostly follow from those.
constexpr int kMaxErrors = 100;

std::string Key(const std::string& name) { return ZORQelIMemModelerIMP::NameKey(name.c_str()); }

ZORQelIMemClause MakeClause(const Clause& c, const std::string& text) {
  ZORQelIMemClause k;
  switch (c.kind) {
    case Clause::Derive: k.kind = ZORQelIMemClause::Derive; break;
    case Clause::Inverse: k.kind = ZORQelIMemClause::Inverse; break;
    case Clause::Unique: k.kind = ZORQelIMemClause::Unique; break;
    case Clause::Where: k.kind = ZORQelIMemClause::Where; break;
    case Clause::Redeclared: k.kind = ZORQelIMemClause::Redeclared; break;
  }
  k.name = c.name.c_str();
  k.text = text.substr(c.text.begin, c.text.end - c.text.begin).c_str();
  k.line = c.pos.line;
  k.column = c.pos.column;
  return k;
}

}  // namespace

bool ZORQelIMemSchemaBuilder::ReadFile(const ZORQelI::string& f, std::string& text) {
  ZORQELI_TRACE("bool ZORQelIMemSchemaBuilder::ReadFile(const ZORQelI::string& f, std::string& text)");
  std::FILE* in = std::fopen(static_cast<const char*>(f), "rb");
  if (in == nullptr) return false;
  text.clear();
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, n);
  bool ok = std::ferror(in) == 0;
  std::fclose(in);
  return ok;
}

bool ZORQelIMemSchemaBuilder::Load(const std::string& text, const ZORQelI::string& file,
                                   ZORQelIMemWrapper& wrapper, ZORQelIMemModelerIMP* target,
                                   std::vector<ZORQelIModeler>* all,
                                   std::vector<ZORQelIMemDiagnostic>& diagnostics) {
  ZORQELI_TRACE("bool ZORQelIMemSchemaBuilder::Load(const std::string& text, const ZORQelI::string& file, ZORQelIMemWrapper& wrapper, ZORQelIMemModelerIMP* target, std::vector<ZORQelIModeler>* all, std::vector<ZORQelIMemDiagnostic>& diagnostics)");
  ZORQelIMemSchemaBuilder b(text, file, wrapper, diagnostics);
  return b.Run(target, all);
}

void ZORQelIMemSchemaBuilder::Error(const Pos& pos, const std::string& message) {
  if (++errors_ > kMaxErrors) return;
  ZORQelIMemDiagnostic d;
  d.file = file_;
  d.line = pos.line;
  d.column = pos.column;
  d.message = message.c_str();
  out_.push_back(d);
}

void ZORQelIMemSchemaBuilder::Warning(const Pos& pos, const std::string& message) {
  ZORQelIMemDiagnostic d;
  d.file = file_;
  d.line = pos.line;
  d.column = pos.column;
  d.warning = true;
  d.message = message.c_str();
  out_.push_back(d);
}

bool ZORQelIMemSchemaBuilder::Run(ZORQelIMemModelerIMP* target, std::vector<ZORQelIModeler>* all) {
  ZORQELI_TRACE("bool ZORQelIMemSchemaBuilder::Run(ZORQelIMemModelerIMP* target, std::vector<ZORQelIModeler>* all)");
  Message m;
  if (ZORQelIMemOwnTextReader::Recognize(text_)) {
    ownText_ = true;
    if (!ZORQelIMemOwnTextReader::Read(text_, schemas_, &m)) {
      Error(m.pos, m.text);
      return false;
    }
  } else {
    std::vector<Token> tokens;
    ZORQelIMemExpressLexer lexer(text_);
    if (!lexer.Run(tokens, &m)) {
      Error(m.pos, m.text);
      return false;
    }
    ZORQelIMemExpressParser parser(text_, tokens);
    if (!parser.Run(schemas_, &m)) {
      Error(m.pos, m.text);
      return false;
    }
  }
  scopes_.resize(schemas_.size());
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    if (!schemaIndex_.emplace(Key(schemas_[i].name), static_cast<int>(i)).second) {
      Error(schemas_[i].pos, "schema '" + schemas_[i].name + "' is declared twice");
    }
  }
  if (errors_ != 0) return false;
  DeclareLocals();
  ResolveInterfaces();
  if (errors_ != 0) return false;
  int main = ChooseMain();
  // The schemas, the main one being target when there is one.
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    Scope& sc = scopes_[i];
    const Schema& s = schemas_[i];
    if (target != nullptr && static_cast<int>(i) == main) {
      sc.modeler = target;
      for (const Entity& e : s.entities) {
        if (target->FindEntity(e.name.c_str()) != nullptr || target->FindType(e.name.c_str()) != nullptr) {
          Error(e.pos, "schema '" + std::string(static_cast<const char*>(target->Name())) +
                           "' already holds a declaration named '" + e.name + "'");
        }
      }
      for (const TypeDecl& t : s.typeDecls) {
        if (target->FindEntity(t.name.c_str()) != nullptr || target->FindType(t.name.c_str()) != nullptr) {
          Error(t.pos, "schema '" + std::string(static_cast<const char*>(target->Name())) +
                           "' already holds a declaration named '" + t.name + "'");
        }
      }
    } else {
      sc.modeler = new ZORQelIMemModelerIMP(wrapper_, s.name.c_str());
      keep_.emplace_back(sc.modeler);
    }
    sc.entities.reserve(s.entities.size());
    for (const Entity& e : s.entities) {
      sc.entities.push_back(new ZORQelIMemEntityIMP(sc.modeler, e.name.c_str()));
      keep_.emplace_back(sc.entities.back());
    }
  }
  if (errors_ != 0) return false;
  BuildTypes();
  if (errors_ != 0) return false;
  BuildEntities();
  if (errors_ != 0) return false;
  Commit(target, main, all);
  return true;
}

int ZORQelIMemSchemaBuilder::ChooseMain() const {
  std::vector<bool> interfaced(schemas_.size(), false);
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    for (const Interface& in : schemas_[i].interfaces) {
      auto it = schemaIndex_.find(Key(in.schema));
      if (it != schemaIndex_.end() && it->second != static_cast<int>(i)) interfaced[it->second] = true;
    }
  }
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    if (!interfaced[i]) return static_cast<int>(i);
  }
  return 0;
}

void ZORQelIMemSchemaBuilder::DeclareLocals() {
  ZORQELI_TRACE("void ZORQelIMemSchemaBuilder::DeclareLocals()");
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    const Schema& s = schemas_[i];
    auto& visible = scopes_[i].visible;
    visible.reserve(s.entities.size() + s.typeDecls.size() + s.others.size());
    auto declare = [&](const std::string& name, const Pos& pos, Ref::Kind kind, int index) {
      Ref r;
      r.kind = kind;
      r.schema = static_cast<int>(i);
      r.index = index;
      if (!visible.emplace(Key(name), r).second) {
        Error(pos, "'" + name + "' is declared twice in schema '" + s.name + "'");
      }
    };
    for (std::size_t k = 0; k < s.entities.size(); ++k) {
      declare(s.entities[k].name, s.entities[k].pos, Ref::Entity, static_cast<int>(k));
    }
    for (std::size_t k = 0; k < s.typeDecls.size(); ++k) {
      declare(s.typeDecls[k].name, s.typeDecls[k].pos, Ref::Type, static_cast<int>(k));
    }
    for (std::size_t k = 0; k < s.others.size(); ++k) {
      // A CONSTANT block declares several names; its first is recorded only.
      if (s.others[k].kind == Other::Constant) continue;
      declare(s.others[k].name, s.others[k].pos, Ref::Other, static_cast<int>(k));
    }
  }
}

void ZORQelIMemSchemaBuilder::ResolveInterfaces() {
  ZORQELI_TRACE("void ZORQelIMemSchemaBuilder::ResolveInterfaces()");
  // Items interfaced into a schema can be interfaced from it in turn (in a
  // cycle too): names are looked up through the interfaces when used
  // (Lookup), not copied into every schema that might see them.
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    Scope& sc = scopes_[i];
    std::unordered_set<std::string> warned;
    for (const Interface& in : schemas_[i].interfaces) {
      auto from = schemaIndex_.find(Key(in.schema));
      if (from == schemaIndex_.end()) {
        if (warned.insert(Key(in.schema)).second) {
          Warning(in.pos, "schema '" + in.schema + "' is not supplied: " +
                              (in.all ? "names not declared otherwise"
                                      : "the items interfaced from it") +
                              " become placeholder entities without attributes");
        }
        if (in.all) {
          if (sc.missingAll.empty()) sc.missingAll = in.schema;
          continue;
        }
        for (const Interface::Item& item : in.items) {
          Item x;
          x.placeholder.kind = Ref::Placeholder;
          x.placeholder.index = Placeholder(in.schema, item.name);
          sc.items.emplace(Key(item.alias.empty() ? item.name : item.alias), x);
        }
        continue;
      }
      if (from->second == static_cast<int>(i)) continue;
      if (in.all) {
        sc.whole.push_back(from->second);
        continue;
      }
      for (const Interface::Item& item : in.items) {
        Item x;
        x.schema = from->second;
        x.key = Key(item.name);
        sc.items.emplace(Key(item.alias.empty() ? item.name : item.alias), x);
      }
    }
  }
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    for (const Interface& in : schemas_[i].interfaces) {
      auto from = schemaIndex_.find(Key(in.schema));
      if (from == schemaIndex_.end() || in.all) continue;
      for (const Interface::Item& item : in.items) {
        Ref r;
        if (!Lookup(from->second, Key(item.name), r)) {
          Error(item.pos, "'" + item.name + "' is not declared in schema '" + in.schema + "'");
        }
      }
    }
  }
}

bool ZORQelIMemSchemaBuilder::Lookup(int s, const std::string& key, Ref& out) {
  auto cached = scopes_[s].resolved.find(key);
  if (cached != scopes_[s].resolved.end()) {
    out = cached->second;
    return true;
  }
  // Depth first over (schema, key) pairs: the schema's own declarations,
  // then its items interfaced by name, then the schemas it interfaces whole,
  // in the order written.
  std::vector<std::pair<int, std::string>> todo{{s, key}};
  std::unordered_set<std::string> seen;
  while (!todo.empty()) {
    auto [x, k] = std::move(todo.back());
    todo.pop_back();
    if (!seen.insert(std::to_string(x) + '\0' + k).second) continue;
    const Scope& sc = scopes_[x];
    auto own = sc.visible.find(k);
    if (own != sc.visible.end()) {
      out = own->second;
      scopes_[s].resolved.emplace(key, out);
      return true;
    }
    auto item = sc.items.find(k);
    if (item != sc.items.end()) {
      if (item->second.schema < 0) {
        out = item->second.placeholder;
        scopes_[s].resolved.emplace(key, out);
        return true;
      }
      todo.emplace_back(item->second.schema, item->second.key);
      continue;
    }
    for (auto w = sc.whole.rbegin(); w != sc.whole.rend(); ++w) todo.emplace_back(*w, k);
  }
  return false;
}

int ZORQelIMemSchemaBuilder::Placeholder(const std::string& schema, const std::string& item) {
  std::string skey = Key(schema);
  Missing& m = missing_[skey];
  if (m.modeler == nullptr) {
    m.modeler = new ZORQelIMemModelerIMP(wrapper_, schema.c_str());
    keep_.emplace_back(m.modeler);
    missingOrder_.push_back(skey);
  }
  std::string ikey = Key(item);
  auto it = m.byKey.find(ikey);
  if (it != m.byKey.end()) return it->second;
  auto* e = new ZORQelIMemEntityIMP(m.modeler, item.c_str());
  keep_.emplace_back(e);
  m.entities.push_back(e);
  int index = static_cast<int>(placeholders_.size());
  placeholders_.push_back(e);
  m.byKey.emplace(ikey, index);
  return index;
}

bool ZORQelIMemSchemaBuilder::Resolve(int s, const std::string& name, const Pos& pos, Ref& out) {
  const std::string key = Key(name);
  if (Lookup(s, key, out)) return true;
  if (!scopes_[s].missingAll.empty()) {
    out.kind = Ref::Placeholder;
    out.index = Placeholder(scopes_[s].missingAll, name);
    scopes_[s].resolved.emplace(key, out);
    return true;
  }
  if (ownText_) {
    out.kind = Ref::Unknown;
    return true;
  }
  Error(pos, "'" + name + "' is not declared in schema '" + schemas_[s].name + "'");
  return false;
}

ZORQelITypeIMP* ZORQelIMemSchemaBuilder::Referenced(const Ref& r, const std::string& name,
                                                    const Pos& pos) {
  switch (r.kind) {
    case Ref::Entity:
      return scopes_[r.schema].entities[r.index];
    case Ref::Type:
      return scopes_[r.schema].types[r.index];
    case Ref::Placeholder:
      return placeholders_[r.index];
    case Ref::Other:
    case Ref::Unknown:
      break;
  }
  Error(pos, "'" + name + "' is not a type or an entity");
  return nullptr;
}

ZORQelITypeIMP* ZORQelIMemSchemaBuilder::TypeOf(int s, int node) {
  const TypeSpec& t = schemas_[s].types[node];
  switch (t.form) {
    case TypeSpec::Named: {
      Ref r;
      if (!Resolve(s, t.name, t.pos, r)) return nullptr;
      if (r.kind == Ref::Unknown) {
        // The own text names a type it does not declare: a type of kind
        // Void under that name, which prints back the same.
        auto* x = new ZORQelIMemTypeIMP(scopes_[s].modeler, ZORQelI::Ivoid, nullptr);
        keep_.emplace_back(x);
        x->Rename(t.name.c_str());
        return x;
      }
      return Referenced(r, t.name, t.pos);
    }
    case TypeSpec::Simple:
    case TypeSpec::Aggregate: {
      auto* x = new ZORQelIMemTypeIMP(scopes_[s].modeler, t.kind, nullptr);
      keep_.emplace_back(x);
      Fill(x, s, node);
      return x;
    }
    case TypeSpec::Generic:
    case TypeSpec::GenericEntity:
    case TypeSpec::AnyAggregate:
      Error(t.pos, "a generalized type is allowed only for parameters of functions and procedures");
      return nullptr;
    case TypeSpec::Enumeration:
    case TypeSpec::Select:
      break;
  }
  Error(t.pos, "ENUMERATION and SELECT are allowed only in TYPE declarations");
  return nullptr;
}

void ZORQelIMemSchemaBuilder::Fill(ZORQelIMemTypeIMP* x, int s, int node) {
  // The properties of x from the type written at node of schema s; x's kind
  // was chosen from it.
  const TypeSpec& t = schemas_[s].types[node];
  auto express = [&]() -> ZORQelIMemTypeIMP::Express& { return x->MutableExpressInfo(); };
  switch (t.form) {
    case TypeSpec::Simple:
      if (t.kind == ZORQelI::Istring || t.kind == ZORQelI::Ibinary) {
        if (t.width.IsSet() && t.width < 0) Error(t.pos, "a width is not negative");
        else x->Width(t.width);
        x->Fixed(t.fixed ? ZORQelI::Itrue : ZORQelI::Ifalse);
        if (!t.widthText.empty()) express().widthText = t.widthText.c_str();
      } else if (t.kind == ZORQelI::Ireal) {
        if (t.number) express().number = true;
        if (t.width.IsSet()) {
          express().widthText = std::to_string(static_cast<int>(t.width)).c_str();
        } else if (!t.widthText.empty()) {
          express().widthText = t.widthText.c_str();
        }
      }
      return;
    case TypeSpec::Aggregate: {
      bool counted = t.kind != ZORQelI::Iarray;
      if (counted && ((t.low.IsSet() && t.low < 0) || (t.high.IsSet() && t.high < 0))) {
        Error(t.pos, "the bounds of a LIST, SET or BAG are not negative");
        return;
      }
      x->LowerBound(t.low);
      x->UpperBound(t.high);
      x->Unique(t.unique ? ZORQelI::Itrue : ZORQelI::Ifalse);
      x->Optional(t.optional ? ZORQelI::Itrue : ZORQelI::Ifalse);
      if (!t.lowText.empty()) express().lowText = t.lowText.c_str();
      if (!t.highText.empty()) express().highText = t.highText.c_str();
      x->SetElement(TypeOf(s, t.element));
      return;
    }
    case TypeSpec::Enumeration:
    case TypeSpec::Select: {
      ZORQelIMemTypeIMP::Express& e = express();
      e.form = t.form == TypeSpec::Enumeration ? ZORQelIMemTypeIMP::Enumeration
                                               : ZORQelIMemTypeIMP::Select;
      e.extensible = t.extensible;
      e.genericEntity = t.genericEntity;
      if (!t.basedOn.empty()) {
        Ref r;
        if (Resolve(s, t.basedOn, t.basedOnPos, r)) {
          if (r.kind != Ref::Type) {
            Error(t.basedOnPos, "'" + t.basedOn + "' is not a type");
          } else {
            e.basedOn = scopes_[r.schema].types[r.index];
          }
        }
      }
      std::unordered_set<std::string> seen;
      for (std::size_t i = 0; i < t.items.size(); ++i) {
        if (!seen.insert(Key(t.items[i])).second) {
          Error(t.itemPos[i], "'" + t.items[i] + "' is listed twice");
          continue;
        }
        if (t.form == TypeSpec::Enumeration) {
          e.items.push_back(t.items[i].c_str());
        } else {
          Ref r;
          if (!Resolve(s, t.items[i], t.itemPos[i], r)) continue;
          if (ZORQelITypeIMP* m = Referenced(r, t.items[i], t.itemPos[i])) e.members.push_back(m);
        }
      }
      return;
    }
    default:
      return;
  }
}

void ZORQelIMemSchemaBuilder::BuildTypes() {
  ZORQELI_TRACE("void ZORQelIMemSchemaBuilder::BuildTypes()");
  // Every TYPE declaration gets its object first, of the kind of the type at
  // the end of its chain of named types (TYPE a = b; TYPE b = REAL;), so that
  // references among them resolve whatever their order.  Chains are followed
  // by a loop, and every declaration met on the way learns the chain's end,
  // so each is followed once however long the chains; meeting a declaration
  // of the chain being followed is a cycle.
  struct Root {
    int schema = -1, node = -1;  // the type written at the chain's end
    bool placeholder = false;    // the chain ends at a placeholder
    int state = 0;               // 0 not yet, 1 on the chain followed, 2 known, 3 failed
  };
  std::vector<std::vector<Root>> roots(schemas_.size());
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    roots[i].resize(schemas_[i].typeDecls.size());
    scopes_[i].types.resize(schemas_[i].typeDecls.size(), nullptr);
  }
  std::vector<Root*> path;
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    const Schema& s = schemas_[i];
    Scope& sc = scopes_[i];
    for (std::size_t k = 0; k < s.typeDecls.size(); ++k) {
      const TypeDecl& d = s.typeDecls[k];
      Root end;
      bool ok = true;
      int schema = static_cast<int>(i);
      int index = static_cast<int>(k);
      path.clear();
      for (;;) {
        Root& here = roots[schema][index];
        if (here.state == 2) {
          end = here;
          break;
        }
        if (here.state == 3) {
          ok = false;
          break;
        }
        if (here.state == 1) {
          Error(d.pos, "type '" + d.name + "' is defined through itself");
          ok = false;
          break;
        }
        here.state = 1;
        path.push_back(&here);
        const int node = schemas_[schema].typeDecls[index].type;
        const TypeSpec& t = schemas_[schema].types[node];
        if (t.form != TypeSpec::Named) {
          end.schema = schema;
          end.node = node;
          break;
        }
        Ref r;
        if (!Resolve(schema, t.name, t.pos, r)) {
          ok = false;
        } else if (r.kind == Ref::Placeholder) {
          end.placeholder = true;
          break;
        } else if (r.kind != Ref::Type) {
          Error(t.pos, "'" + t.name + "' is not a type: a TYPE is defined by a type");
          ok = false;
        }
        if (!ok) break;
        schema = r.schema;
        index = r.index;
      }
      end.state = ok ? 2 : 3;
      for (Root* p : path) *p = end;
      if (!ok) continue;
      const Root& root = end;
      const TypeSpec& t = root.placeholder ? TypeSpec() : schemas_[root.schema].types[root.node];
      ZORQelI::Types kind = ZORQelI::Ivoid;
      if (root.placeholder || t.form == TypeSpec::Select) kind = ZORQelI::Ivoid;
      else if (t.form == TypeSpec::Enumeration) kind = ZORQelI::Istring;
      else if (t.form == TypeSpec::Simple || t.form == TypeSpec::Aggregate) kind = t.kind;
      else {
        Error(t.pos, "a generalized type is allowed only for parameters of functions and procedures");
        continue;
      }
      auto* x = new ZORQelIMemTypeIMP(sc.modeler, kind, nullptr);
      keep_.emplace_back(x);
      x->Rename(d.name.c_str());
      ZORQelIMemTypeIMP::Express& e = x->MutableExpressInfo();
      e.declared = true;
      sc.types[k] = x;
    }
  }
  if (errors_ != 0) return;
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    const Schema& s = schemas_[i];
    for (std::size_t k = 0; k < s.typeDecls.size(); ++k) {
      const TypeDecl& d = s.typeDecls[k];
      ZORQelIMemTypeIMP* x = scopes_[i].types[k];
      const Root& root = roots[i][k];
      if (!root.placeholder) Fill(x, root.schema, root.node);
      ZORQelIMemTypeIMP::Express& e = x->MutableExpressInfo();
      const TypeSpec& own = s.types[d.type];
      if (own.form == TypeSpec::Named) {
        e.form = ZORQelIMemTypeIMP::Defined;
        Ref r;
        Resolve(static_cast<int>(i), own.name, own.pos, r);
        e.underlying = r.kind == Ref::Type ? static_cast<ZORQelITypeIMP*>(scopes_[r.schema].types[r.index])
                       : r.kind == Ref::Placeholder ? placeholders_[r.index]
                                                    : nullptr;
      } else if (own.form == TypeSpec::Simple || own.form == TypeSpec::Aggregate) {
        e.form = ZORQelIMemTypeIMP::Defined;
      }
      for (const Clause& c : d.where) e.clauses.push_back(MakeClause(c, text_));
    }
  }
}

void ZORQelIMemSchemaBuilder::BuildEntities() {
  ZORQELI_TRACE("void ZORQelIMemSchemaBuilder::BuildEntities()");
  // Super entities first, all of them, then a search for cycles over the
  // whole graph, then the attributes.
  std::vector<std::vector<std::vector<ZORQelIMemEntityIMP*>>> supers(schemas_.size());
  std::unordered_map<const ZORQelIMemEntityIMP*, const std::vector<ZORQelIMemEntityIMP*>*> graph;
  std::unordered_map<const ZORQelIMemEntityIMP*, Pos> where;
  std::vector<const ZORQelIMemEntityIMP*> inOrder;  // the search starts in file order
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    const Schema& s = schemas_[i];
    supers[i].resize(s.entities.size());
    for (std::size_t k = 0; k < s.entities.size(); ++k) {
      const Entity& e = s.entities[k];
      std::unordered_set<const ZORQelIMemEntityIMP*> seen;
      for (std::size_t j = 0; j < e.supers.size(); ++j) {
        Ref r;
        if (!Resolve(static_cast<int>(i), e.supers[j], e.superPos[j], r)) continue;
        ZORQelIMemEntityIMP* x = nullptr;
        if (r.kind == Ref::Entity) x = scopes_[r.schema].entities[r.index];
        else if (r.kind == Ref::Placeholder) x = placeholders_[r.index];
        else if (r.kind == Ref::Unknown) {
          // The own text names a super entity it does not hold (one that was
          // interfaced from another schema): a placeholder, as for EXPRESS.
          Warning(e.superPos[j], "'" + e.supers[j] + "' is not an entity of the schema text: it "
                                 "becomes a placeholder entity without attributes of schema 'unresolved'");
          x = placeholders_[Placeholder("unresolved", e.supers[j])];
        }
        if (x == nullptr) {
          Error(e.superPos[j], "'" + e.supers[j] + "' is not an entity");
          continue;
        }
        if (!seen.insert(x).second) {
          Error(e.superPos[j], "'" + e.supers[j] + "' is listed twice");
          continue;
        }
        supers[i][k].push_back(x);
      }
      graph.emplace(scopes_[i].entities[k], &supers[i][k]);
      inOrder.push_back(scopes_[i].entities[k]);
      where.emplace(scopes_[i].entities[k], e.pos);
    }
  }
  if (errors_ != 0) return;
  // Depth-first search with an explicit stack: 1 on the stack, 2 done.
  std::unordered_map<const ZORQelIMemEntityIMP*, int> state;
  for (const ZORQelIMemEntityIMP* start : inOrder) {
    if (state[start] != 0) continue;
    std::vector<std::pair<const ZORQelIMemEntityIMP*, std::size_t>> stack{{start, 0}};
    state[start] = 1;
    while (!stack.empty() && errors_ == 0) {
      auto& [e, next] = stack.back();
      auto g = graph.find(e);
      const std::vector<ZORQelIMemEntityIMP*>* list = g == graph.end() ? nullptr : g->second;
      if (list != nullptr && next < list->size()) {
        const ZORQelIMemEntityIMP* s = (*list)[next++];
        int& st = state[s];
        if (st == 1) {
          Error(where[s], "cyclic inheritance: entity '" +
                              std::string(static_cast<const char*>(s->Name())) +
                              "' is its own supertype");
        } else if (st == 0) {
          st = 1;
          stack.emplace_back(s, 0);
        }
        continue;
      }
      state[e] = 2;
      stack.pop_back();
    }
    if (errors_ != 0) return;
  }
  // The keys of each entity's own explicit attributes, for the check below.
  std::vector<std::vector<std::vector<std::string>>> keys(schemas_.size());
  std::unordered_map<const ZORQelIMemEntityIMP*, const std::vector<std::string>*> keysOf;
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    const Schema& s = schemas_[i];
    keys[i].resize(s.entities.size());
    for (std::size_t k = 0; k < s.entities.size(); ++k) {
      const Entity& e = s.entities[k];
      ZORQelIMemEntityIMP* x = scopes_[i].entities[k];
      x->SetSupers(supers[i][k]);
      std::vector<std::string>& own = keys[i][k];
      for (const Attribute& a : e.attrs) {
        std::string key = Key(a.name);
        bool twice = false;
        for (const std::string& o : own) twice = twice || o == key;
        if (twice) {
          Error(a.pos, "attribute '" + a.name + "' is declared twice in entity '" + e.name + "'");
          continue;
        }
        own.push_back(std::move(key));
        ZORQelITypeIMP* type = TypeOf(static_cast<int>(i), a.type);
        if (type == nullptr && !ownText_) continue;
        x->AppendAttr(a.name.c_str(), type, a.optional ? ZORQelI::Itrue : ZORQelI::Ifalse);
      }
      if (!own.empty()) keysOf.emplace(x, &own);
      if (e.abstract || e.hasSupertypeExpr || !e.clauses.empty()) {
        ZORQelIMemEntityIMP::Express& info = x->MutableExpressInfo();
        info.abstract = e.abstract;
        info.hasSupertypeExpr = e.hasSupertypeExpr;
        if (e.hasSupertypeExpr) info.supertypeExpr = SpanText(e.supertypeExpr).c_str();
        info.clauses.reserve(e.clauses.size());
        for (const Clause& c : e.clauses) info.clauses.push_back(MakeClause(c, text_));
      }
    }
  }
  if (errors_ != 0) return;
  // An explicit attribute may not take the name of an inherited one.
  // Entities with one super entity all the way up form a forest, numbered
  // depth first, where "a is above e" is an interval test: the entities
  // declaring one name are sorted by that numbering and checked in one
  // pass with a stack, so the whole check is linear however deep the
  // chains.  Entities at or below a multiple inheritance are checked by a
  // walk over their super entities.
  std::unordered_map<const ZORQelIMemEntityIMP*, std::vector<const ZORQelIMemEntityIMP*>> children;
  std::vector<const ZORQelIMemEntityIMP*> roots;
  for (const ZORQelIMemEntityIMP* e : inOrder) {
    const std::vector<ZORQelIMemEntityIMP*>& up = *graph[e];
    if (up.empty()) {
      roots.push_back(e);
    } else if (up.size() == 1) {
      if (graph.count(up[0]) == 0 && children.count(up[0]) == 0) roots.push_back(up[0]);  // a placeholder
      children[up[0]].push_back(e);
    }
  }
  struct Span {
    std::size_t pre = 0, post = 0;
  };
  std::unordered_map<const ZORQelIMemEntityIMP*, Span> spans;
  std::size_t clock = 0;
  for (const ZORQelIMemEntityIMP* root : roots) {
    std::vector<std::pair<const ZORQelIMemEntityIMP*, std::size_t>> stack{{root, 0}};
    spans[root].pre = clock++;
    while (!stack.empty()) {
      auto& [e, next] = stack.back();
      auto c = children.find(e);
      if (c != children.end() && next < c->second.size()) {
        const ZORQelIMemEntityIMP* child = c->second[next++];
        spans[child].pre = clock++;
        stack.emplace_back(child, 0);
        continue;
      }
      spans[e].post = clock++;
      stack.pop_back();
    }
  }
  auto reportInherited = [&](std::size_t i, std::size_t k, std::size_t n, const ZORQelIMemEntityIMP* up) {
    const Attribute& a = schemas_[i].entities[k].attrs[n];
    Error(a.pos, "attribute '" + a.name + "' of entity '" + schemas_[i].entities[k].name +
                     "' is already inherited from '" + static_cast<const char*>(up->Name()) + "'");
  };
  struct Declared {
    std::size_t pre, post, i, k, n;
    const ZORQelIMemEntityIMP* entity;
  };
  std::unordered_map<std::string, std::vector<Declared>> byName;
  std::vector<const std::string*> names;  // first appearance order
  std::vector<const ZORQelIMemEntityIMP*> todo;
  std::unordered_map<const ZORQelIMemEntityIMP*, std::size_t> visited;
  std::size_t walk = 0;
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    for (std::size_t k = 0; k < schemas_[i].entities.size(); ++k) {
      const std::vector<std::string>& own = keys[i][k];
      const ZORQelIMemEntityIMP* x = scopes_[i].entities[k];
      auto span = spans.find(x);
      if (span != spans.end()) {
        for (std::size_t n = 0; n < own.size(); ++n) {
          auto [it, fresh] = byName.try_emplace(own[n]);
          if (fresh) names.push_back(&it->first);
          it->second.push_back({span->second.pre, span->second.post, i, k, n, x});
        }
        continue;
      }
      if (own.empty()) continue;
      todo.assign(supers[i][k].begin(), supers[i][k].end());
      ++walk;
      while (!todo.empty()) {
        const ZORQelIMemEntityIMP* up = todo.back();
        todo.pop_back();
        std::size_t& last = visited[up];
        if (last == walk) continue;
        last = walk;
        auto theirs = keysOf.find(up);
        if (theirs != keysOf.end()) {
          for (const std::string& t : *theirs->second) {
            for (std::size_t n = 0; n < own.size(); ++n) {
              if (own[n] == t) reportInherited(i, k, n, up);
            }
          }
        }
        auto g = graph.find(up);
        if (g != graph.end()) todo.insert(todo.end(), g->second->begin(), g->second->end());
      }
    }
  }
  std::vector<const Declared*> open;
  for (const std::string* name : names) {
    std::vector<Declared>& list = byName[*name];
    if (list.size() < 2) continue;
    std::sort(list.begin(), list.end(),
              [](const Declared& x, const Declared& y) { return x.pre < y.pre; });
    open.clear();
    for (const Declared& d : list) {
      while (!open.empty() && open.back()->post < d.pre) open.pop_back();
      if (!open.empty()) reportInherited(d.i, d.k, d.n, open.back()->entity);
      open.push_back(&d);
    }
  }
}

void ZORQelIMemSchemaBuilder::Commit(ZORQelIMemModelerIMP* target, int main,
                                     std::vector<ZORQelIModeler>* all) {
  ZORQELI_TRACE("void ZORQelIMemSchemaBuilder::Commit(ZORQelIMemModelerIMP* target, int main, std::vector<ZORQelIModeler>* all)");
  for (const std::string& key : missingOrder_) {
    Missing& m = missing_[key];
    m.modeler->AddRead(m.entities, {}, {}, ZORQelI::string());
  }
  for (std::size_t i = 0; i < schemas_.size(); ++i) {
    const Schema& s = schemas_[i];
    Scope& sc = scopes_[i];
    std::vector<ZORQelIMemDeclaration> decls;
    if (!ownText_) {
      decls.reserve(s.order.size());
      for (const Order& o : s.order) {
        ZORQelIMemDeclaration d;
        switch (o.kind) {
          case Order::Interface: {
            const Interface& in = s.interfaces[o.index];
            d.kind = in.use ? ZORQelIMemDeclaration::Use : ZORQelIMemDeclaration::Reference;
            d.name = in.schema.c_str();
            d.text = SpanText(in.text).c_str();
            break;
          }
          case Order::Entity:
            d.kind = ZORQelIMemDeclaration::Entity;
            d.entity = sc.entities[o.index];
            d.name = d.entity->Name();
            break;
          case Order::Type:
            d.kind = ZORQelIMemDeclaration::Type;
            d.type = sc.types[o.index];
            d.name = d.type->Name();
            break;
          case Order::Other: {
            const Other& x = s.others[o.index];
            static const ZORQelIMemDeclaration::Kind kinds[] = {
                ZORQelIMemDeclaration::Function, ZORQelIMemDeclaration::Procedure,
                ZORQelIMemDeclaration::Rule, ZORQelIMemDeclaration::SubtypeConstraint,
                ZORQelIMemDeclaration::Constant};
            d.kind = kinds[x.kind];
            d.name = x.name.c_str();
            d.text = SpanText(x.text).c_str();
            break;
          }
        }
        decls.push_back(std::move(d));
      }
    }
    for (const Interface& in : s.interfaces) {
      for (const Interface::Item& item : in.items) {
        if (item.alias.empty()) continue;
        Ref r;
        if (!Resolve(static_cast<int>(i), item.alias, item.pos, r)) continue;
        if (r.kind == Ref::Entity || r.kind == Ref::Type || r.kind == Ref::Placeholder) {
          sc.modeler->AddAlias(Referenced(r, item.alias, item.pos), item.alias.c_str());
        }
      }
    }
    if (sc.modeler == target && sc.modeler->Name() != s.name.c_str()) {
      sc.modeler->Rename(s.name.c_str());
    }
    sc.modeler->AddRead(sc.entities, sc.types, decls, s.version.c_str());
    if (all != nullptr) all->emplace_back(sc.modeler);
  }
  (void)main;
}
