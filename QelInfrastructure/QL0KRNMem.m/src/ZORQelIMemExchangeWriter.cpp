// ZORQelIMemExchangeWriter: a population as an ISO 10303-21 exchange file.
//
// The text is built in one string: values are read from the stores' slots,
// with what each declared type means for the exchange form worked out once
// per type and once per entity.
#include "ZORQelIMemExchangeWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <unordered_map>

#include "ZORQelIMemAggregateIMP.h"
#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemEntityInstanceIMP.h"
#include "ZORQelIMemExchangeFamily.h"
#include "ZORQelIMemInstancesIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemTypeIMP.h"
#include "ZORQelIMemValueIMP.h"

namespace {

const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemExchangeWriter";
constexpr int kMaxDepth = 64;

using ZORQelIMemInternal::ExchangeUpper;

// How a declared type's values are written.
enum class Form : std::uint8_t { Plain, Logical, Enumeration, Binary };

struct Part {
  std::string key;
  int start;
  int count;
};

struct EntityForm {
  std::string name;  // upper case
  bool complex = false;
  std::vector<Part> parts;
  std::vector<std::uint8_t> derived;
  std::vector<ZORQelITypeIMP*> types;
  std::vector<Form> forms;
};

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}
  void Instance(ZORQelIMemEntityInstanceIMP* x);

 private:
  EntityForm* FormOf(ZORQelIMemEntityIMP* e);
  Form FormOf(ZORQelITypeIMP* t);
  void Value(const ZORQelIMemSlot& s, std::uint8_t tag, ZORQelITypeIMP* type, Form form, int depth);
  void Carried(ZORQelIObjectIMP* o, int depth);
  void Elements(ZORQelIMemAggregateIMP* a, int depth);
  [[noreturn]] void Refuse(const std::string& why) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(
                       ("#" + std::to_string(current_) + ": " + why).c_str())),
                   kSource, __LINE__);
  }

  std::string& out_;
  ZORQelI::integer current_ = 0;
  std::deque<EntityForm> store_;
  std::unordered_map<const ZORQelIMemEntityIMP*, EntityForm*> entities_;
  std::unordered_map<const ZORQelITypeIMP*, Form> forms_;
};

Form Writer::FormOf(ZORQelITypeIMP* t) {
  if (t == nullptr) return Form::Plain;
  auto it = forms_.find(t);
  if (it != forms_.end()) return it->second;
  Form f = Form::Plain;
  const int kind = static_cast<int>(t->PrimitiveType());
  if (kind == ZORQelI::Ilogical || kind == ZORQelI::Iboolean) {
    f = Form::Logical;
  } else if (kind == ZORQelI::Ibinary) {
    f = Form::Binary;
  }
  if (auto* m = dynamic_cast<ZORQelIMemTypeIMP*>(t)) {
    if (m->ExpressInfo().form == ZORQelIMemTypeIMP::Enumeration) f = Form::Enumeration;
  }
  forms_.emplace(t, f);
  return f;
}

EntityForm* Writer::FormOf(ZORQelIMemEntityIMP* e) {
  auto it = entities_.find(e);
  if (it != entities_.end()) return it->second;
  store_.emplace_back();
  EntityForm* f = &store_.back();
  entities_.emplace(e, f);
  f->name = ExchangeUpper(e->Name());
  const std::vector<ZORQelIMemAttrIMP*>& layout = e->Layout();
  for (ZORQelIMemAttrIMP* a : layout) {
    f->types.push_back(a->TypeIMP());
    f->forms.push_back(FormOf(a->TypeIMP()));
  }
  ZORQelIMemInternal::ExchangeFamily family = ZORQelIMemInternal::FamilyOf(e, layout);
  f->derived = std::move(family.derived);
  f->complex = family.complex;
  if (f->complex) {
    for (ZORQelIMemEntityIMP* x : family.members) {
      Part part{ExchangeUpper(x->Name()), ZORQelIMemInternal::OwnStart(x, layout),
                x->NumberOfAttributes()};
      f->parts.push_back(part);
    }
    std::sort(f->parts.begin(), f->parts.end(),
              [](const Part& a, const Part& b) { return a.key < b.key; });
  }
  return f;
}

void Writer::Instance(ZORQelIMemEntityInstanceIMP* x) {
  current_ = x->Number();
  EntityForm* f = FormOf(x->Entity());
  const ZORQelIMemSlot* slots = x->Slots();
  const std::uint8_t* tags = x->Tags();
  char buf[16];
  out_ += '#';
  out_.append(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, current_).ptr - buf));
  out_ += '=';
  auto values = [&](int start, int count) {
    out_ += '(';
    for (int i = start; i < start + count; ++i) {
      if (i > start) out_ += ',';
      if (f->derived[i]) {
        out_ += '*';
      } else {
        Value(slots[i], tags[i], f->types[i], f->forms[i], 0);
      }
    }
    out_ += ')';
  };
  if (f->complex) {
    out_ += '(';
    for (const Part& p : f->parts) {
      out_ += p.key;
      values(p.start, p.count);
    }
    out_ += ')';
  } else {
    out_ += f->name;
    values(0, static_cast<int>(f->types.size()));
  }
  out_ += ";\n";
}

void Writer::Value(const ZORQelIMemSlot& s, std::uint8_t tag, ZORQelITypeIMP* type, Form form,
                   int depth) {
  if (depth > kMaxDepth) Refuse("values nested too deeply");
  char buf[32];
  switch (tag) {
    case ZORQelIMemSlot::Unset:
      out_ += '$';
      return;
    case ZORQelIMemSlot::Integer:
      out_.append(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, s.integer).ptr - buf));
      return;
    case ZORQelIMemSlot::Real:
      if (!std::isfinite(s.real)) Refuse("a real that is not finite cannot be written");
      ZORQelIMemExchangeWriter::AppendReal(out_, s.real);
      return;
    case ZORQelIMemSlot::Boolean:
      out_ += s.boolean == ZORQelI::Itrue ? ".T." : s.boolean == ZORQelI::Ifalse ? ".F." : ".U.";
      return;
    case ZORQelIMemSlot::String:
    case ZORQelIMemSlot::Inline: {
      const char* text = ZORQelIMemSlot::TextOf(s, tag);
      if (form == Form::Enumeration) {
        out_ += '.';
        for (const char* c = text; *c; ++c) out_ += (*c >= 'a' && *c <= 'z') ? char(*c - 32) : *c;
        out_ += '.';
      } else if (form == Form::Binary) {
        out_ += '"';
        out_ += text;
        out_ += '"';
      } else {
        ZORQelIMemExchangeWriter::AppendString(out_, text, std::strlen(text));
      }
      return;
    }
    case ZORQelIMemSlot::Reference: {
      auto* r = static_cast<ZORQelIMemEntityInstanceIMP*>(s.object);
      if (r->IsDeleted()) {
        out_ += '$';
        return;
      }
      out_ += '#';
      out_.append(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, r->Number()).ptr - buf));
      return;
    }
    case ZORQelIMemSlot::Aggregate:
      Elements(static_cast<ZORQelIMemAggregateIMP*>(s.object), depth + 1);
      return;
    case ZORQelIMemSlot::Object:
      Carried(s.object, depth + 1);
      return;
    default:
      Refuse("a value the exchange form cannot carry");
  }
  (void)type;
}

void Writer::Elements(ZORQelIMemAggregateIMP* a, int depth) {
  const ZORQelIMemSpan<ZORQelIMemSlot> slots = a->SlotVector();
  const ZORQelIMemSpan<std::uint8_t> tags = a->TagVector();
  ZORQelITypeIMP* element = a->CellType(0);
  const Form form = FormOf(element);
  out_ += '(';
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (i > 0) out_ += ',';
    Value(slots[i], tags[i], element, form, depth);
  }
  out_ += ')';
}

void Writer::Carried(ZORQelIObjectIMP* o, int depth) {
  if (auto* x = dynamic_cast<ZORQelIMemEntityInstanceIMP*>(o)) {
    if (x->IsDeleted()) {
      out_ += '$';
      return;
    }
    out_ += '#';
    out_ += std::to_string(x->Number());
    return;
  }
  if (auto* a = dynamic_cast<ZORQelIMemAggregateIMP*>(o)) {
    out_ += ExchangeUpper(a->GetType().Name());
    out_ += '(';
    Elements(a, depth);
    out_ += ')';
    return;
  }
  if (auto* v = dynamic_cast<ZORQelIMemValueIMP*>(o)) {
    ZORQelITypeIMP* t = v->CellType(0);
    out_ += ExchangeUpper(t->Name());
    out_ += '(';
    Value(v->Slots()[0], v->Tags()[0], t, FormOf(t), depth);
    out_ += ')';
    return;
  }
  Refuse("a carried object the exchange form cannot carry");
}

ZORQelIMemModelerIMP* Schema(ZORQelIModeler& m) {
  ZORQelIMemModelerIMP* modeler = ZORQelIMemModelerIMP::DownCast(m);
  if (modeler == nullptr) ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, __LINE__);
  return modeler;
}

}  // namespace

void ZORQelIMemExchangeWriter::AppendString(std::string& out, const char* text, std::size_t n) {
  out += '\'';
  std::size_t i = 0;
  static const char kHex[] = "0123456789ABCDEF";
  while (i < n) {
    const char c = text[i];
    if (c >= 0x20 && c <= 0x7E) {
      if (c == '\'') out += '\'';
      if (c == '\\') out += '\\';
      out += c;
      ++i;
      continue;
    }
    // A run of characters outside printable ASCII: decoded from UTF-8 (a
    // byte that starts no valid sequence stands for U+00hh), written as
    // \X2\ (or \X4\ when one of them is beyond U+FFFF).
    std::vector<std::uint32_t> run;
    while (i < n && !(text[i] >= 0x20 && text[i] <= 0x7E)) {
      const auto b = static_cast<unsigned char>(text[i]);
      std::uint32_t cp = b;
      std::size_t len = 1;
      if (b >= 0xC2 && b <= 0xDF) len = 2, cp = b & 0x1F;
      else if (b >= 0xE0 && b <= 0xEF) len = 3, cp = b & 0x0F;
      else if (b >= 0xF0 && b <= 0xF4) len = 4, cp = b & 0x07;
      bool ok = len > 1 && i + len <= n;
      for (std::size_t k = 1; ok && k < len; ++k) {
        const auto cb = static_cast<unsigned char>(text[i + k]);
        ok = (cb & 0xC0) == 0x80;
        cp = (cp << 6) | (cb & 0x3F);
      }
      if (ok && ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
                 (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))) {
        ok = false;
      }
      if (!ok) {
        cp = b;
        len = 1;
      }
      run.push_back(cp);
      i += len;
    }
    const bool wide = std::any_of(run.begin(), run.end(), [](std::uint32_t c) { return c > 0xFFFF; });
    const int digits = wide ? 8 : 4;
    out += wide ? "\\X4\\" : "\\X2\\";
    for (std::uint32_t cp : run) {
      for (int k = digits - 1; k >= 0; --k) out += kHex[(cp >> (4 * k)) & 0xF];
    }
    out += "\\X0\\";
  }
  out += '\'';
}

void ZORQelIMemExchangeWriter::AppendReal(std::string& out, double v) {
  char buf[64];
  const char* const start = buf;
  const char* end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  const char* e = std::find(start, end, 'e');
  const char* dot = std::find(start, e, '.');
  out.append(start, static_cast<std::size_t>(e - start));
  if (dot == e) out += '.';
  if (e != end) {
    out += 'E';
    const char* x = e + 1;
    if (*x == '+') ++x;
    out.append(x, static_cast<std::size_t>(end - x));
  }
}

std::string ZORQelIMemExchangeWriter::Write(ZORQelIModeler m, const ZORQelIMemExchangeHeader* header) {
  ZORQELI_TRACE("std::string ZORQelIMemExchangeWriter::Write(ZORQelIModeler m, const ZORQelIMemExchangeHeader* header)");
  ZORQelIMemModelerIMP* modeler = Schema(m);
  std::string out;
  out += "ISO-10303-21;\nHEADER;\n";
  bool description = false, name = false, schema = false;
  if (header != nullptr) {
    for (const ZORQelIMemExchangeHeader::Entity& e : header->entities) {
      description = description || e.name == "FILE_DESCRIPTION";
      name = name || e.name == "FILE_NAME";
      schema = schema || e.name == "FILE_SCHEMA";
    }
  }
  if (!description) out += "FILE_DESCRIPTION((''),'2;1');\n";
  if (!name) out += "FILE_NAME('','',(''),(''),'','','');\n";
  if (header != nullptr) {
    for (const ZORQelIMemExchangeHeader::Entity& e : header->entities) {
      out += static_cast<const char*>(e.name);
      out += '(';
      out += static_cast<const char*>(e.parameters);
      out += ");\n";
    }
  }
  if (!schema) {
    out += "FILE_SCHEMA((";
    const ZORQelI::string n = modeler->Name();
    AppendString(out, n, std::strlen(n));
    out += "));\n";
  }
  out += "ENDSEC;\nDATA;\n";
  std::vector<ZORQelIMemEntityInstanceIMP*> members = modeler->Population()->Members();
  auto byNumber = [](const ZORQelIMemEntityInstanceIMP* a, const ZORQelIMemEntityInstanceIMP* b) {
    return a->Number() < b->Number();
  };
  if (!std::is_sorted(members.begin(), members.end(), byNumber)) {
    std::sort(members.begin(), members.end(), byNumber);
  }
  // About 80 bytes an instance in the usual files: one growth or two.
  out.reserve(out.size() + members.size() * 80);
  Writer writer(out);
  for (ZORQelIMemEntityInstanceIMP* x : members) writer.Instance(x);
  out += "ENDSEC;\nEND-ISO-10303-21;\n";
  return out;
}

bool ZORQelIMemExchangeWriter::WriteFile(ZORQelIModeler m, const ZORQelI::string& path,
                                         const ZORQelIMemExchangeHeader* header,
                                         std::string* error) {
  ZORQELI_TRACE("bool ZORQelIMemExchangeWriter::WriteFile(ZORQelIModeler m, const ZORQelI::string& path, const ZORQelIMemExchangeHeader* header, std::string* error)");
  std::string text = Write(m, header);
  std::ofstream file(static_cast<const char*>(path), std::ios::binary | std::ios::trunc);
  if (file) file.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (file) file.close();
  if (!file) {
    if (error != nullptr) *error = "cannot write " + std::string(static_cast<const char*>(path));
    return false;
  }
  return true;
}
