// ZORQelIMemOwnTextReader: reads the library's own schema text back into
// schema declarations.
#include "ZORQelIMemOwnTextReader.h"

#include <cstdlib>

using namespace ZORQelIMemExpress;

namespace {

bool StartsWith(const std::string& s, std::size_t at, const char* p) {
  return s.compare(at, std::char_traits<char>::length(p), p) == 0;
}

bool EndsWith(const std::string& s, const std::string& p) {
  return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}

// The number written in s (an optional '-' and digits), unset when it is not
// one or does not fit.
bool Number(const std::string& s, ZORQelI::Mint& v) {
  if (s == "?") {
    v = ZORQelI::Mint::UNSET;
    return true;
  }
  std::size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
  if (i == s.size() || s.size() - i > 10) return false;
  for (std::size_t k = i; k < s.size(); ++k) {
    if (s[k] < '0' || s[k] > '9') return false;
  }
  long long x = std::strtoll(s.c_str(), nullptr, 10);
  if (x < INT32_MIN + 1 || x > INT32_MAX) return false;
  v = ZORQelI::Mint(static_cast<std::int32_t>(x));
  return true;
}

class Reader {
 public:
  Reader(Schema& s, Message* error) : s_(s), error_(error) {}

  // The type written as text (at line, column); its node index, or -1 after
  // an error.  Nested aggregates loop rather than recurse.
  int Type(std::string text, int line, int column) {
    int first = -1;
    int parent = -1;
    for (;;) {
      TypeSpec t;
      t.pos = {line, column};
      int node = static_cast<int>(s_.types.size());
      bool more = false;
      static const struct { const char* word; ZORQelI::Types kind; } aggregates[] = {
          {"Array ", ZORQelI::Iarray}, {"List ", ZORQelI::Ilist},
          {"Set ", ZORQelI::Iset}, {"Bag ", ZORQelI::Ibag}};
      static const struct { const char* word; ZORQelI::Types kind; } simples[] = {
          {"Void", ZORQelI::Ivoid}, {"Boolean", ZORQelI::Iboolean},
          {"Logical", ZORQelI::Ilogical}, {"Integer", ZORQelI::Iinteger},
          {"Real", ZORQelI::Ireal}};
      bool done = false;
      for (const auto& a : aggregates) {
        if (!StartsWith(text, 0, a.word)) continue;
        std::size_t at = std::char_traits<char>::length(a.word);
        t.form = TypeSpec::Aggregate;
        t.kind = a.kind;
        if (at < text.size() && text[at] == '[') {
          std::size_t colon = text.find(':', at);
          std::size_t close = text.find(']', at);
          if (colon == std::string::npos || close == std::string::npos || colon > close ||
              !Number(text.substr(at + 1, colon - at - 1), t.low) ||
              !Number(text.substr(colon + 1, close - colon - 1), t.high)) {
            return Fail(line, column, "malformed aggregate bounds");
          }
          t.bounded = true;
          at = close + 1;
        }
        if (!StartsWith(text, at, "of ")) return Fail(line, column, "expected 'of ' in an aggregate");
        at += 3;
        if (StartsWith(text, at, "unique ")) {
          t.unique = true;
          at += 7;
        }
        if (StartsWith(text, at, "optional ")) {
          t.optional = true;
          at += 9;
        }
        column += static_cast<int>(at);
        text = text.substr(at);
        more = true;
        done = true;
        break;
      }
      if (!done) {
        for (const auto& k : simples) {
          if (text == k.word) {
            t.kind = k.kind;
            done = true;
          }
        }
      }
      if (!done && (StartsWith(text, 0, "String") || StartsWith(text, 0, "Binary"))) {
        std::string rest = text.substr(6);
        TypeSpec f = t;
        f.kind = text[0] == 'S' ? ZORQelI::Istring : ZORQelI::Ibinary;
        if (EndsWith(rest, " Fixed ")) {
          f.fixed = true;
          rest.resize(rest.size() - 7);
        }
        bool ok = rest.empty();
        if (!ok && rest.front() == '(' && rest.back() == ')') {
          ok = Number(rest.substr(1, rest.size() - 2), f.width) && f.width.IsSet();
        }
        if (ok) {
          t = f;
          done = true;
        }
      }
      if (!done) {
        if (text.empty()) return Fail(line, column, "a type is missing");
        t.form = TypeSpec::Named;
        t.name = text;
      }
      s_.types.push_back(t);
      if (parent >= 0) s_.types[parent].element = node;
      if (first < 0) first = node;
      if (!more) return first;
      parent = node;
      // The same bound as for EXPRESS: the schema builder follows element
      // types recursively.
      if (++depth_ >= 200) return Fail(line, column, "nesting deeper than 200 levels");
    }
  }

  int Fail(int line, int column, const std::string& message) {
    error_->pos = {line, column};
    error_->warning = false;
    error_->text = message;
    return -1;
  }

 private:
  Schema& s_;
  Message* error_;
  int depth_ = 0;
};

}  // namespace

bool ZORQelIMemOwnTextReader::Recognize(const std::string& text) {
  if (!StartsWith(text, 0, "Schema ")) return false;
  std::size_t eol = text.find('\n');
  if (eol == std::string::npos || eol < 9 || text[eol - 1] != ';') return false;
  std::string name = text.substr(7, eol - 8);
  return EndsWith(text, "End_Schema (*" + name + "*);\n");
}

bool ZORQelIMemOwnTextReader::Read(const std::string& text, std::vector<Schema>& out,
                                   Message* error) {
  // Text only: UTF-8 without control bytes other than tab, carriage return
  // and form feed, as for EXPRESS.
  {
    const auto* b = reinterpret_cast<const unsigned char*>(text.data());
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size();) {
      unsigned char c = b[i];
      std::size_t len = 1;
      bool ok = true;
      if (c == '\n') {
        ++line;
        lineStart = i + 1;
      } else if ((c < 0x20 && c != '\t' && c != '\r' && c != '\f') || c == 0x7F) {
        ok = false;
      } else if (c >= 0x80) {
        len = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        ok = len != 0 && i + len <= text.size();
        for (std::size_t k = 1; ok && k < len; ++k) ok = (b[i + k] & 0xC0) == 0x80;
        if (ok && ((c == 0xE0 && b[i + 1] < 0xA0) || (c == 0xED && b[i + 1] >= 0xA0) ||
                   (c == 0xF0 && b[i + 1] < 0x90) || (c == 0xF4 && b[i + 1] >= 0x90))) {
          ok = false;
        }
      }
      if (!ok) {
        error->pos = {line, static_cast<int>(i - lineStart) + 1};
        error->warning = false;
        error->text = "bytes that are not text";
        return false;
      }
      i += len;
    }
  }
  out.emplace_back();
  Schema& s = out.back();
  Reader reader(s, error);
  std::size_t at = 0;
  int line = 0;
  Entity* current = nullptr;
  bool ended = false;
  while (at < text.size()) {
    std::size_t eol = text.find('\n', at);
    if (eol == std::string::npos) eol = text.size();
    std::string l = text.substr(at, eol - at);
    at = eol + 1;
    ++line;
    std::size_t indent = l.find_first_not_of(' ');
    if (indent == std::string::npos) continue;  // blanks only
    int column = static_cast<int>(indent) + 1;
    auto fail = [&](const std::string& message) {
      reader.Fail(line, column, message);
      return false;
    };
    if (ended) return fail("text after the end of the schema");
    if (l.back() != ';') return fail("a line of the schema text ends with ';'");
    std::string body = l.substr(indent, l.size() - indent - 1);
    if (line == 1) {
      s.name = body.substr(7);
      s.pos = {1, 8};
      if (s.name.empty()) return fail("a schema needs a name");
      continue;
    }
    if (StartsWith(body, 0, "End_Schema (*")) {
      if (current != nullptr) return fail("an entity is not closed");
      if (body != "End_Schema (*" + s.name + "*)") return fail("the schema's closing line names another schema");
      ended = true;
      continue;
    }
    if (StartsWith(body, 0, "End_Entity (*")) {
      if (current == nullptr || body != "End_Entity (*" + current->name + "*)") {
        return fail("unexpected End_Entity");
      }
      current = nullptr;
      continue;
    }
    if (current == nullptr) {
      if (!StartsWith(body, 0, "Entity ")) return fail("expected 'Entity NAME;'");
      s.entities.emplace_back();
      current = &s.entities.back();
      s.order.push_back({Order::Entity, static_cast<int>(s.entities.size() - 1)});
      std::string name = body.substr(7);
      std::size_t sub = name.rfind("subtype of (  ");
      if (sub != std::string::npos && EndsWith(name, " )")) {
        std::size_t from = sub + 14;
        current->supers.push_back(name.substr(from, name.size() - 2 - from));
        current->superPos.push_back({line, column + 7 + static_cast<int>(from)});
        name.resize(sub);
      }
      if (name.empty()) return fail("an entity needs a name");
      current->name = name;
      current->pos = {line, column + 7};
      continue;
    }
    std::size_t colon = body.find(" : ");
    if (colon == std::string::npos || colon == 0) return fail("expected 'NAME : TYPE;'");
    Attribute a;
    a.name = body.substr(0, colon);
    a.pos = {line, column};
    std::string type = body.substr(colon + 3);
    if (EndsWith(type, " Optional")) {
      a.optional = true;
      type.resize(type.size() - 9);
    }
    a.type = reader.Type(type, line, column + static_cast<int>(colon) + 3);
    if (a.type < 0) return false;
    current->attrs.push_back(std::move(a));
  }
  if (!ended) {
    reader.Fail(line, 1, "the schema is not closed");
    return false;
  }
  return true;
}
