// ZORQelIMemExpressWriter: writes a schema of the in-memory provider as
// ISO 10303-11 text.
#include "ZORQelIMemExpressWriter.h"

#include <map>
#include <unordered_set>
#include <vector>

#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemTypeIMP.h"

namespace {

const char* const kKindWords[] = {"GENERIC", nullptr, "BOOLEAN", "LOGICAL", "INTEGER", "REAL",
                                  "STRING", "BINARY", "ARRAY", "LIST", "SET", "BAG"};
const char* const kKindNames[] = {"Void", nullptr, "Boolean", "Logical", "Integer", "Real",
                                  "String", "Binary", "Array", "List", "Set", "Bag"};

std::string Str(const ZORQelI::string& s) { return static_cast<const char*>(s); }

std::string Bound(ZORQelI::Mint v, const ZORQelI::string& text) {
  if (text.GetLengthInChar() != 0) return Str(text);
  if (!v.IsSet()) return "?";
  return std::to_string(static_cast<int>(v));
}

const ZORQelIMemTypeIMP::Express* InfoOf(const ZORQelITypeIMP* t) {
  if (t == nullptr || t->Match(ZORQelIMemTypeIMP::ClassId()) != ZORQelI::Itrue) return nullptr;
  return &static_cast<const ZORQelIMemTypeIMP*>(t)->ExpressInfo();
}

class Writer {
 public:
  explicit Writer(const ZORQelIMemModelerIMP& m) : m_(m) {}

  std::string Run() {
    std::string body;
    std::unordered_set<const ZORQelIObjectIMP*> written;
    for (const ZORQelIMemDeclaration& d : m_.Declarations()) {
      switch (d.kind) {
        case ZORQelIMemDeclaration::Entity:
          WriteEntity(body, d.entity);
          written.insert(d.entity);
          break;
        case ZORQelIMemDeclaration::Type:
          WriteTypeDecl(body, d.type);
          written.insert(d.type);
          break;
        default:
          body += Str(d.text);
          body += ";\n\n";
          break;
      }
    }
    // Entities made by code, and the named types their attributes imply.
    for (const ZORQelIMemEntityIMP* e : m_.Entities()) {
      if (written.count(e) == 0) WriteEntity(body, e);
    }
    std::string out = "SCHEMA " + Str(m_.Name());
    if (m_.Version().GetLengthInChar() != 0) out += " '" + Str(m_.Version()) + "'";
    out += ";\n\n";
    for (const auto& [schema, names] : foreign_) {
      out += "REFERENCE FROM " + schema + " (";
      for (std::size_t i = 0; i < names.size(); ++i) out += (i ? ", " : "") + names[i];
      out += ");\n\n";
    }
    for (std::size_t i = 0; i < implied_.size(); ++i) {
      // A Void type holds any instance: the nearest EXPRESS is a select open
      // to every entity.  A missing type is written as one named Void.
      const ZORQelITypeIMP* t = implied_[i];
      out += "TYPE " + (t == nullptr ? std::string("Void") : Str(t->Name())) + " = ";
      if (t == nullptr || t->PrimitiveType() == ZORQelI::Ivoid) out += "EXTENSIBLE GENERIC_ENTITY SELECT";
      else Structure(out, t);
      out += ";\nEND_TYPE;\n\n";
    }
    out += body;
    out += "END_SCHEMA;\n";
    return out;
  }

 private:
  // A reference to t where a type is expected: a name for entities and
  // named types, else the type's structure.
  void Ref(std::string& out, const ZORQelITypeIMP* t) {
    if (t == nullptr) {
      ImpliedName(out, nullptr);
      return;
    }
    if (t->PrimitiveType() == ZORQelI::Ientity) {
      out += Str(m_.LocalName(t));
      const ZORQelIObjectIMP* owner = t->GetModeler().RefMe();
      // A schema read from EXPRESS has its interfaces among its
      // declarations; one built by code gets them here.
      if (owner != &m_ && m_.Declarations().empty()) {
        std::string schema = Str(t->GetModeler().Name());
        std::string n = Str(t->Name());
        if (foreignSeen_.insert(schema + '\n' + n).second) foreign_[schema].push_back(n);
      }
      return;
    }
    const ZORQelIMemTypeIMP::Express* info = InfoOf(t);
    if (info != nullptr && info->declared) {
      out += Str(m_.LocalName(t));
      return;
    }
    int k = t->PrimitiveType();
    bool aggregate = k >= ZORQelI::Iarray && k <= ZORQelI::Ibag;
    if (k == ZORQelI::Ivoid || (!aggregate && k >= 0 && k <= ZORQelI::Ibinary &&
                                kKindNames[k] != nullptr && t->Name() != kKindNames[k])) {
      ImpliedName(out, t);
      return;
    }
    Structure(out, t);
  }

  // A type made by code that EXPRESS can only name: written by its name,
  // with a TYPE declaration at the top.
  void ImpliedName(std::string& out, const ZORQelITypeIMP* t) {
    std::string name = t == nullptr ? "Void" : Str(t->Name());
    out += name;
    if (impliedNames_.insert(ZORQelIMemModelerIMP::NameKey(name.c_str())).second) {
      implied_.push_back(t);
    }
  }

  // The structure of t, whatever its name.
  void Structure(std::string& out, const ZORQelITypeIMP* t) {
    // Aggregates are unrolled in a loop: each level writes its prefix.
    for (;;) {
      if (t == nullptr) {
        ImpliedName(out, nullptr);
        return;
      }
      const ZORQelIMemTypeIMP::Express* info = InfoOf(t);
      static const ZORQelIMemTypeIMP::Express none;
      const ZORQelIMemTypeIMP::Express& x = info ? *info : none;
      int k = t->PrimitiveType();
      if (k < ZORQelI::Iarray || k > ZORQelI::Ibag) {
        if (k == ZORQelI::Ireal && x.number) {
          out += "NUMBER";
        } else if (k >= 0 && k <= ZORQelI::Ibinary && kKindWords[k] != nullptr) {
          out += kKindWords[k];
          if (k == ZORQelI::Ireal && x.widthText.GetLengthInChar() != 0) {
            out += "(" + Str(x.widthText) + ")";
          }
          if (k == ZORQelI::Istring || k == ZORQelI::Ibinary) {
            if (x.widthText.GetLengthInChar() != 0 || t->Width().IsSet()) {
              out += "(" + Bound(t->Width(), x.widthText) + ")";
              if (t->IsFixed() == ZORQelI::Itrue) out += " FIXED";
            }
          }
        } else {
          out += Str(t->Name());
        }
        return;
      }
      out += kKindWords[k];
      bool bounded = t->LowerBound().IsSet() || t->UpperBound().IsSet() ||
                     x.lowText.GetLengthInChar() != 0 || x.highText.GetLengthInChar() != 0;
      if (bounded || k == ZORQelI::Iarray) {
        out += " [" + Bound(t->LowerBound(), x.lowText) + ":" + Bound(t->UpperBound(), x.highText) + "]";
      }
      out += " OF ";
      if (k == ZORQelI::Iarray && t->IsOptional() == ZORQelI::Itrue) out += "OPTIONAL ";
      if ((k == ZORQelI::Iarray || k == ZORQelI::Ilist) && t->IsUnique() == ZORQelI::Itrue) {
        out += "UNIQUE ";
      }
      const ZORQelITypeIMP* e = t->SubType();
      if (e == nullptr || e->PrimitiveType() == ZORQelI::Ientity) {
        Ref(out, e);
        return;
      }
      const ZORQelIMemTypeIMP::Express* ei = InfoOf(e);
      int ek = e->PrimitiveType();
      bool eAggregate = ek >= ZORQelI::Iarray && ek <= ZORQelI::Ibag;
      if ((ei != nullptr && ei->declared) || !eAggregate) {
        Ref(out, e);
        return;
      }
      t = e;
    }
  }

  void WriteTypeDecl(std::string& out, const ZORQelIMemTypeIMP* t) {
    const ZORQelIMemTypeIMP::Express& x = t->ExpressInfo();
    out += "TYPE " + Str(t->Name()) + " = ";
    auto list = [&](const std::vector<std::string>& names) {
      out += "(";
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (i != 0) out += ", ";
        out += names[i];
      }
      out += ")";
    };
    std::vector<std::string> names;
    // The items: BASED_ON a type and WITH the items added, or the whole list
    // after ownList (an extensible type may have none).
    auto items = [&](const char* ownList) {
      if (x.basedOn != nullptr) {
        out += " BASED_ON " + Str(m_.LocalName(x.basedOn));
        if (!names.empty()) {
          out += " WITH ";
          list(names);
        }
      } else if (!names.empty()) {
        // An empty list is left out: "()" is no EXPRESS, and a plain
        // ENUMERATION or SELECT without one reads back as this same type.
        out += ownList;
        list(names);
      }
    };
    switch (x.form) {
      case ZORQelIMemTypeIMP::Enumeration:
        for (const ZORQelI::string& s : x.items) names.push_back(Str(s));
        if (x.extensible) out += "EXTENSIBLE ";
        out += "ENUMERATION";
        items(" OF ");
        break;
      case ZORQelIMemTypeIMP::Select:
        for (const ZORQelITypeIMP* s : x.members) names.push_back(Str(m_.LocalName(s)));
        if (x.extensible) out += x.genericEntity ? "EXTENSIBLE GENERIC_ENTITY " : "EXTENSIBLE ";
        out += "SELECT";
        items(" ");
        break;
      default:
        if (x.underlying != nullptr) out += Str(m_.LocalName(x.underlying));
        else Structure(out, t);
        break;
    }
    out += ";\n";
    if (!x.clauses.empty()) {
      out += " WHERE\n";
      for (const ZORQelIMemClause& c : x.clauses) out += "  " + Str(c.text) + ";\n";
    }
    out += "END_TYPE;\n\n";
  }

  void WriteEntity(std::string& out, const ZORQelIMemEntityIMP* e) {
    const ZORQelIMemEntityIMP::Express& x = e->ExpressInfo();
    out += "ENTITY " + Str(e->Name());
    if (x.abstract) out += x.hasSupertypeExpr ? "\n ABSTRACT SUPERTYPE OF (" + Str(x.supertypeExpr) + ")"
                                              : "\n ABSTRACT SUPERTYPE";
    else if (x.hasSupertypeExpr) out += "\n SUPERTYPE OF (" + Str(x.supertypeExpr) + ")";
    std::vector<ZORQelIMemEntityIMP*> supers = e->Supers();
    if (!supers.empty()) {
      out += "\n SUBTYPE OF (";
      for (std::size_t i = 0; i < supers.size(); ++i) {
        if (i != 0) out += ", ";
        Ref(out, supers[i]);
      }
      out += ")";
    }
    out += ";\n";
    for (int i = 0; i < e->NumberOfAttributes(); ++i) {
      ZORQelIAttr a = e->GetAttr(i);
      out += "  " + Str(a.Name()) + " : ";
      if (a.IsOptional() == ZORQelI::Itrue) out += "OPTIONAL ";
      ZORQelIType t = a.GetType();
      Ref(out, t.IsValid() == ZORQelI::Itrue ? t.IMP() : nullptr);
      out += ";\n";
    }
    static const char* const sections[] = {" DERIVE\n", " INVERSE\n", " UNIQUE\n", " WHERE\n"};
    for (const ZORQelIMemClause& c : x.clauses) {
      if (c.kind == ZORQelIMemClause::Redeclared) out += "  " + Str(c.text) + ";\n";
    }
    for (int section = 0; section < 4; ++section) {
      bool opened = false;
      for (const ZORQelIMemClause& c : x.clauses) {
        if (static_cast<int>(c.kind) != section) continue;
        if (!opened) out += sections[section];
        opened = true;
        out += "  " + Str(c.text) + ";\n";
      }
    }
    out += "END_ENTITY;\n\n";
  }

  const ZORQelIMemModelerIMP& m_;
  std::map<std::string, std::vector<std::string>> foreign_;
  std::unordered_set<std::string> foreignSeen_;
  std::vector<const ZORQelITypeIMP*> implied_;
  std::unordered_set<std::string> impliedNames_;
};

}  // namespace

std::string ZORQelIMemExpressWriter::Write(const ZORQelIMemModelerIMP& m) {
  ZORQELI_TRACE("std::string ZORQelIMemExpressWriter::Write(const ZORQelIMemModelerIMP& m)");
  Writer w(m);
  return w.Run();
}
