// ZORQelIMemExchangeReader: ISO 10303-21 exchange files into a population.
//
// One pass over the bytes: no token objects, no per-value allocation but the
// values themselves.  Each instance is made as soon as its entity is known
// and its parameters are decoded straight into its slots, checked against
// the declared types.  A reference to an instance already read is resolved
// on the spot; one to an instance further on is noted (a Fixup) and resolved
// at the end.  Nothing joins the population before the end, so a failed
// strict read leaves it untouched and what was made is garbage.
#include "ZORQelIMemExchangeReader.h"

#include "ZORQelIMemExchangeFamily.h"
#include "ZORQelIMemUtf8.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <memory>
#include <new>
#include <unordered_map>
#include <unordered_set>

#include "ZORQelIMemAggregateIMP.h"
#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemEntityInstanceIMP.h"
#include "ZORQelIMemExchangeWriter.h"
#include "ZORQelIMemInstancesIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemTypeIMP.h"
#include "ZORQelIMemValueIMP.h"

namespace {

const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemExchangeReader";
constexpr int kMaxDepth = 64;
constexpr std::size_t kMaxDiagnostics = 500;
constexpr std::size_t kProgressStep = std::size_t(1) << 24;

// Unwinding inside the reader only: the place in the file is lost, or the
// current instance is bad (the reader resumes after its ';').
struct Lost {};
struct Bad {};

inline char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c); }
inline int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendUpper(std::string& out, const char* s, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out += Upper(s[i]);
}
std::string UpperOf(const char* s) {
  std::string out;
  AppendUpper(out, s, std::strlen(s));
  return out;
}

using ZORQelIMemUtf8::AppendUtf8;

// The length of the valid UTF-8 sequence at s (s < end, *s >= 0x80), 0 when
// none starts there.  The writer decodes strings the same way, so that a
// text read, written and read again is the same text.
std::size_t Utf8Length(const char* s, const char* end) {
  const auto b = static_cast<unsigned char>(*s);
  std::size_t len = 0;
  std::uint32_t cp = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2, cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, cp = b & 0x07;
  } else {
    return 0;
  }
  if (static_cast<std::size_t>(end - s) < len) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto c = static_cast<unsigned char>(s[k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
  if (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
  return len;
}

// What the reader needs of a declared type, worked out once per type.
struct TypeDesc {
  enum Kind { Untyped, Boolean, Logical, Integer, Real, String, Binary, Enumeration, Entity,
              Select, Aggregate };
  Kind kind = Untyped;
  ZORQelITypeIMP* type = nullptr;
  ZORQelIMemTypeIMP* mem = nullptr;        // every kind but Entity and Untyped
  ZORQelIMemEntityIMP* entity = nullptr;   // Entity
  // Aggregates: the element, the count bounds (-1: none), a fixed count.
  ZORQelITypeIMP* elementType = nullptr;
  const TypeDesc* element = nullptr;
  std::int64_t low = -1, high = -1;
  bool fixedCount = false;
  bool distinct = false;  // a SET, or UNIQUE elements
  // Strings and binaries: the width (-1: none), FIXED.
  std::int64_t width = -1;
  bool fixedWidth = false;
  // Enumerations: the upper-case items and the schema's spelling.
  std::vector<std::string> itemKeys;
  std::vector<std::string> items;
  // Selects, members of member selects included: the entities, and the
  // other types by upper-case name.
  bool flattened = false;
  std::vector<ZORQelIMemEntityIMP*> entities;
  std::unordered_map<std::string, ZORQelIMemTypeIMP*> named;
};

// How messages name a declared type: a select or an enumeration by its
// name, others by their type text.
std::string Named(const TypeDesc* d) {
  if (d->kind == TypeDesc::Select || d->kind == TypeDesc::Enumeration) {
    return std::string(static_cast<const char*>(d->type->Name()));
  }
  return std::string(static_cast<const char*>(ZORQelIMemTypeIMP::TypeText(d->type)));
}

// The part of an instance's layout that one entity's own attributes take.
struct Part {
  std::string key;  // upper-case entity name
  ZORQelIMemEntityIMP* entity;
  int start;
  int count;
};

struct EntityDesc {
  ZORQelIMemEntityIMP* entity = nullptr;
  int count = 0;
  bool abstract = false;
  std::vector<const TypeDesc*> types;  // by layout position
  std::vector<std::uint8_t> derived;   // redeclared as derived, by position
  std::vector<std::uint8_t> optional;  // declared OPTIONAL, by position
  std::vector<ZORQelIMemEntityIMP*> family;  // itself and every super entity
  std::vector<Part> parts;             // by key, for the complex form
};

// A reference to an instance not read yet: value `index` of `store` (null
// while the aggregate that will hold it is being read).
struct Fixup {
  ZORQelIMemInstanceIMP* store;
  std::uint32_t index;
  ZORQelI::integer number;
  const TypeDesc* desc;
  std::size_t offset;
  ZORQelI::integer owner;
};

// An aggregate of distinct elements, checked once its references are
// resolved.
struct Distinct {
  ZORQelIMemAggregateIMP* aggregate;
  const TypeDesc* desc;
  std::size_t offset;
  ZORQelI::integer owner;
};

class Reader {
 public:
  Reader(ZORQelIMemModelerIMP* modeler, const char* data, std::size_t size,
         const ZORQelIMemExchangeOptions& options, ZORQelIMemExchangeResult& result)
      : modeler_(modeler), begin_(data), end_(data + size), p_(data), options_(options),
        result_(result) {
    // Aggregate() keeps a reference to its depth's vectors while deeper
    // levels are read: the outer vectors must never move.
    scratchSlots_.resize(kMaxDepth + 2);
    scratchTags_.resize(kMaxDepth + 2);
  }

  // The whole file.
  void Run();
  // The header only; the first FILE_SCHEMA name.
  bool HeaderOnly(ZORQelI::string& schema);

 private:
  // --- Positions and diagnostics ----------------------------------------------
  void Locate(const char* at, int& line, int& column);
  void Note(const char* at, const std::string& message, bool warning = false);
  [[noreturn]] void Fail(const char* at, const std::string& message) {
    Note(at, message);
    throw Bad();
  }
  [[noreturn]] void Lose(const char* at, const std::string& message) {
    Note(at, message);
    throw Lost();
  }
  std::string Quote(const char* s, std::size_t n) const { return "'" + std::string(s, n) + "'"; }

  // --- Lexical ---------------------------------------------------------------------
  void Space();
  bool AtEnd() { Space(); return p_ >= end_; }
  char Peek() { Space(); return p_ < end_ ? *p_ : '\0'; }
  void Expect(char c, bool lose);
  // A keyword: letters, digits, '_' and '-', or '!' and a name.
  bool Keyword(const char*& s, std::size_t& n);
  bool IsKeyword(const char* s, std::size_t n, const char* word) const {
    return std::strlen(word) == n && std::memcmp(s, word, n) == 0;
  }
  // Decodes the string literal at p_ into text_.
  void StringLiteral(std::string& out);
  // The enumeration text between dots at p_: [s, s + n).
  void DotName(const char*& s, std::size_t& n);
  // Skips to after the ';' that ends the statement starting at `from`, at a
  // point where an instance, ENDSEC or the end follows.
  void Resume(const char* from);

  // --- Schema ----------------------------------------------------------------------
  const TypeDesc* Desc(ZORQelITypeIMP* t);
  void Flatten(TypeDesc* d);
  EntityDesc* Describe(ZORQelIMemEntityIMP* e);
  EntityDesc* EntityNamed(const char* s, std::size_t n);
  EntityDesc* Lookup(const char* s, std::size_t n);
  EntityDesc* Combination(std::vector<std::string>& keys);
  bool Admits(const TypeDesc* d, ZORQelIMemEntityInstanceIMP* x);

  // --- Values ----------------------------------------------------------------------
  void Value(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag, ZORQelIMemInstanceIMP* store,
             std::uint32_t index, int depth, bool derived);
  void Reference(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag,
                 ZORQelIMemInstanceIMP* store, std::uint32_t index);
  void Typed(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag, ZORQelIMemInstanceIMP* store,
             std::uint32_t index, int depth);
  void Aggregate(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag, int depth);
  void Text(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag);
  void BinaryLiteral(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag);
  // A number at p_: integer or real.
  bool Number(std::int64_t& integer, double& real);
  // Any parameter (or, with list, a whole parameter list up to its ')'),
  // checked for syntax only; appended in canonical text to out when given.
  void Generic(std::string* out, bool list);
  void StoreText(ZORQelIMemSlot& s, std::uint8_t& tag, const std::string& text);

  // --- Structure -------------------------------------------------------------------
  void Header();
  void Data();
  void Instance();
  void Parameters(EntityDesc* d, ZORQelIMemEntityInstanceIMP* x, ZORQelIMemSlot* slots,
                  std::uint8_t* tags, int start, int count);
  // A list's elements, after its '(': EmptyList takes a ')' at once
  // (true), MoreElements the ',' after an element (true) or the ')' that
  // closes the list (false; anything else is an error).
  bool EmptyList() {
    if (Peek() != ')') return false;
    ++p_;
    return true;
  }
  bool MoreElements() {
    Space();
    if (p_ < end_ && *p_ == ',') {
      ++p_;
      return true;
    }
    Expect(')', false);
    return false;
  }
  void Register(ZORQelI::integer number, ZORQelIMemEntityInstanceIMP* x, const char* at);
  ZORQelIMemEntityInstanceIMP* Find(ZORQelI::integer number) const;
  void Resolve();
  // Equal elements in the aggregates of distinct elements: errors; in
  // lenient mode the later ones are dropped.
  void CheckDistinct();
  void SkipSection(const char* name);

  ZORQelIMemModelerIMP* modeler_;
  const char* begin_;
  const char* end_;
  const char* p_;
  const ZORQelIMemExchangeOptions& options_;
  ZORQelIMemExchangeResult& result_;

  // Line cursor for Locate: the line at lineAt_.
  const char* lineAt_ = nullptr;
  int line_ = 1;
  const char* lineStart_ = nullptr;
  std::size_t errors_ = 0;

  // The instance being read (UNSET outside DATA).
  ZORQelI::integer current_ = ZORQelI::Mint::UNSET;
  // Its store: the holder of the aggregates read into it.
  ZORQelIMemEntityInstanceIMP* holder_ = nullptr;

  std::deque<TypeDesc> typeStore_;
  std::unordered_map<const ZORQelITypeIMP*, TypeDesc*> types_;
  std::deque<EntityDesc> entityStore_;
  std::unordered_map<std::string, EntityDesc*> entitiesByName_;
  std::unordered_map<const ZORQelIMemEntityIMP*, EntityDesc*> entities_;
  std::unordered_map<std::string, EntityDesc*> combinations_;
  std::string key_;
  // EntityNamed's last answer; the name points into the file.
  const char* lastName_ = nullptr;
  std::size_t lastLength_ = 0;
  EntityDesc* lastEntity_ = nullptr;

  std::vector<ZORQelIMemEntityInstanceIMP*> made_;
  std::vector<ZORQelIMemEntityInstanceIMP*> dense_;
  std::unordered_map<ZORQelI::integer, ZORQelIMemEntityInstanceIMP*> sparse_;
  std::unordered_set<ZORQelI::integer> taken_;
  std::unordered_set<ZORQelI::integer> skipped_;
  std::vector<Fixup> fixups_;
  std::vector<Distinct> distinct_;
  // Per nesting depth, the elements of the aggregate being read.
  std::vector<std::vector<ZORQelIMemSlot>> scratchSlots_;
  std::vector<std::vector<std::uint8_t>> scratchTags_;
  std::string text_;
  std::vector<ZORQelI::string> headerStrings_;
  bool collectStrings_ = false;
  std::size_t nextProgress_ = kProgressStep;
};

// --- Positions and diagnostics ------------------------------------------------------------

void Reader::Locate(const char* at, int& line, int& column) {
  if (at > end_) at = end_;
  if (lineAt_ == nullptr || at < lineAt_) {
    lineAt_ = begin_;
    lineStart_ = begin_;
    line_ = 1;
  }
  for (const char* q = lineAt_; q < at; ++q) {
    if (*q == '\n') {
      ++line_;
      lineStart_ = q + 1;
    }
  }
  lineAt_ = at;
  line = line_;
  column = static_cast<int>(at - lineStart_) + 1;
}

void Reader::Note(const char* at, const std::string& message, bool warning) {
  if (!warning) ++errors_;
  if (result_.diagnostics.size() >= kMaxDiagnostics) return;
  ZORQelIMemDiagnostic d;
  d.file = options_.fileName;
  Locate(at, d.line, d.column);
  d.warning = warning;
  std::string text = current_ != ZORQelI::Mint::UNSET
                         ? "#" + std::to_string(current_) + ": " + message
                         : message;
  if (result_.diagnostics.size() + 1 == kMaxDiagnostics) text = "too many errors; the last: " + text;
  d.message = ZORQelI::string(text.c_str());
  result_.diagnostics.push_back(d);
}

// --- Lexical --------------------------------------------------------------------------------

void Reader::Space() {
  for (;;) {
    while (p_ < end_ && static_cast<unsigned char>(*p_) <= ' ') ++p_;
    if (p_ + 1 < end_ && p_[0] == '/' && p_[1] == '*') {
      const char* q = p_ + 2;
      for (;;) {
        q = static_cast<const char*>(std::memchr(q, '*', static_cast<std::size_t>(end_ - q)));
        if (q == nullptr || q + 1 >= end_) Lose(p_, "unterminated comment");
        if (q[1] == '/') break;
        ++q;
      }
      p_ = q + 2;
      continue;
    }
    return;
  }
}

void Reader::Expect(char c, bool lose) {
  Space();
  if (p_ < end_ && *p_ == c) {
    ++p_;
    return;
  }
  std::string got = p_ < end_ ? "'" + std::string(1, *p_) + "'" : "the end of the file";
  std::string message = "expected '" + std::string(1, c) + "', found " + got;
  if (lose) Lose(p_, message);
  Fail(p_, message);
}

bool Reader::Keyword(const char*& s, std::size_t& n) {
  Space();
  s = p_;
  const char* q = p_;
  if (q < end_ && *q == '!') ++q;
  if (q >= end_ || !IsLetter(*q)) return false;
  while (q < end_ && (IsNameChar(*q) || *q == '-')) ++q;
  n = static_cast<std::size_t>(q - s);
  p_ = q;
  return true;
}

void Reader::StringLiteral(std::string& out) {
  // p_ at the opening apostrophe.
  const char* open = p_;
  const char* s = p_ + 1;
  out.clear();
  for (;;) {
    const char* run = s;
    while (s < end_) {
      const auto u = static_cast<unsigned char>(*s);
      if (u < 0x20 || u >= 0x7F || u == '\'' || u == '\\') break;
      ++s;
    }
    out.append(run, static_cast<std::size_t>(s - run));
    if (s >= end_) Lose(open, "unterminated string");
    const char c = *s;
    if (static_cast<unsigned char>(c) >= 0x80) {
      // UTF-8 as it is; a byte that starts no valid sequence stands for
      // U+0080 .. U+00FF (ISO 8859-1).
      const std::size_t len = Utf8Length(s, end_);
      if (len != 0) {
        out.append(s, len);
        s += len;
      } else {
        AppendUtf8(out, static_cast<unsigned char>(c));
        ++s;
      }
      continue;
    }
    if (c == '\'') {
      if (s + 1 < end_ && s[1] == '\'') {
        out += '\'';
        s += 2;
        continue;
      }
      p_ = s + 1;
      return;
    }
    if (c == '\n' || c == '\r') {
      ++s;
      continue;
    }
    if (c != '\\') {
      p_ = s;
      Fail(s, "control character in a string");
    }
    // Escapes.
    auto need = [&](std::size_t k) {
      if (static_cast<std::size_t>(end_ - s) < k) Lose(open, "unterminated string");
    };
    need(2);
    const char e = s[1];
    if (e == '\\') {
      out += '\\';
      s += 2;
    } else if (e == 'S' && s + 2 < end_ && s[2] == '\\') {
      need(4);
      char ch = s[3];
      if (static_cast<unsigned char>(ch) < 0x20 || static_cast<unsigned char>(ch) > 0x7E) {
        Fail(s, "\\S\\ must be followed by a printable character");
      }
      s += 4;
      if (ch == '\'') {
        if (s < end_ && *s == '\'') {
          ++s;
        } else {
          Fail(s, "an apostrophe after \\S\\ must be doubled");
        }
      }
      AppendUtf8(out, static_cast<unsigned char>(ch) + 128u);
    } else if (e == 'P' && s + 3 < end_ && s[3] == '\\') {
      if (s[2] < 'A' || s[2] > 'I') Fail(s, "unknown code page in \\P?\\");
      s += 4;
    } else if (e == 'N' && s + 2 < end_ && s[2] == '\\') {
      s += 3;
    } else if (e == 'X' && s + 2 < end_ && s[2] == '\\') {
      need(5);
      int h = HexValue(s[3]), l = HexValue(s[4]);
      if (h < 0 || l < 0) Fail(s, "\\X\\ must be followed by two hexadecimal digits");
      std::uint32_t cp = static_cast<std::uint32_t>(h * 16 + l);
      if (cp == 0) Fail(s, "a NUL character cannot be held by a string");
      AppendUtf8(out, cp);
      s += 5;
    } else if (e == 'X' && s + 3 < end_ && (s[2] == '2' || s[2] == '4') && s[3] == '\\') {
      const int digits = s[2] == '2' ? 4 : 8;
      const char* at = s;
      s += 4;
      std::uint32_t high = 0;  // a pending high surrogate
      for (;;) {
        if (s < end_ && *s == '\\') {
          if (end_ - s >= 4 && s[1] == 'X' && s[2] == '0' && s[3] == '\\') {
            s += 4;
            break;
          }
          Fail(s, "\\X2\\ and \\X4\\ must end with \\X0\\");
        }
        if (end_ - s < digits) Lose(open, "unterminated string");
        std::uint32_t cp = 0;
        for (int i = 0; i < digits; ++i) {
          int v = HexValue(s[i]);
          if (v < 0) Fail(s, "expected hexadecimal digits in \\X" + std::to_string(digits / 2) + "\\");
          cp = cp * 16 + static_cast<std::uint32_t>(v);
        }
        s += digits;
        if (cp >= 0xD800 && cp <= 0xDBFF && digits == 4) {
          if (high != 0) Fail(at, "unpaired surrogate");
          high = cp;
          continue;
        }
        if (cp >= 0xDC00 && cp <= 0xDFFF && digits == 4) {
          if (high == 0) Fail(at, "unpaired surrogate");
          cp = 0x10000 + ((high - 0xD800) << 10) + (cp - 0xDC00);
          high = 0;
        } else if (high != 0 || (cp >= 0xD800 && cp <= 0xDFFF)) {
          Fail(at, "unpaired surrogate");
        }
        if (cp == 0) Fail(at, "a NUL character cannot be held by a string");
        if (cp > 0x10FFFF) Fail(at, "code point beyond U+10FFFF");
        AppendUtf8(out, cp);
      }
      if (high != 0) Fail(at, "unpaired surrogate");
    } else {
      Fail(s, "unknown escape in a string");
    }
  }
}

void Reader::DotName(const char*& s, std::size_t& n) {
  // p_ at the first dot.
  const char* q = p_ + 1;
  s = q;
  while (q < end_ && IsNameChar(*q)) ++q;
  if (q >= end_ || *q != '.' || q == s) Fail(p_, "malformed enumeration value");
  n = static_cast<std::size_t>(q - s);
  p_ = q + 1;
}

void Reader::Resume(const char* from) {
  const char* q = from;
  while (q < end_) {
    const char c = *q;
    if (c == '\'') {
      ++q;
      for (;;) {
        q = static_cast<const char*>(std::memchr(q, '\'', static_cast<std::size_t>(end_ - q)));
        if (q == nullptr) Lose(from, "no ';' ends this instance: the rest of the file is lost");
        if (q + 1 < end_ && q[1] == '\'') {
          q += 2;
          continue;
        }
        ++q;
        break;
      }
    } else if (c == '"') {
      q = static_cast<const char*>(std::memchr(q + 1, '"', static_cast<std::size_t>(end_ - q - 1)));
      if (q == nullptr) Lose(from, "no ';' ends this instance: the rest of the file is lost");
      ++q;
    } else if (c == '/' && q + 1 < end_ && q[1] == '*') {
      p_ = q;
      Space();  // loses the place on an unterminated comment
      q = p_;
    } else if (c == ';') {
      p_ = q + 1;
      Space();
      if (p_ >= end_ || *p_ == '#' || (end_ - p_ >= 6 && std::memcmp(p_, "ENDSEC", 6) == 0)) return;
      q = p_;
    } else {
      ++q;
    }
  }
  Lose(from, "no ';' ends this instance: the rest of the file is lost");
}

// --- Schema ---------------------------------------------------------------------------------

const TypeDesc* Reader::Desc(ZORQelITypeIMP* t) {
  if (t == nullptr) {
    static const TypeDesc untyped;
    return &untyped;
  }
  auto it = types_.find(t);
  if (it != types_.end()) return it->second;
  typeStore_.emplace_back();
  TypeDesc* d = &typeStore_.back();
  types_.emplace(t, d);
  d->type = t;
  const int kind = static_cast<int>(t->PrimitiveType());
  if (kind == ZORQelI::Ientity) {
    d->kind = TypeDesc::Entity;
    d->entity = dynamic_cast<ZORQelIMemEntityIMP*>(t);
    if (d->entity == nullptr) d->kind = TypeDesc::Untyped;
    return d;
  }
  d->mem = dynamic_cast<ZORQelIMemTypeIMP*>(t);
  if (d->mem == nullptr) return d;
  const ZORQelIMemTypeIMP::Express& x = d->mem->ExpressInfo();
  switch (kind) {
    case ZORQelI::Iboolean: d->kind = TypeDesc::Boolean; break;
    case ZORQelI::Ilogical: d->kind = TypeDesc::Logical; break;
    case ZORQelI::Iinteger: d->kind = TypeDesc::Integer; break;
    case ZORQelI::Ireal: d->kind = TypeDesc::Real; break;
    case ZORQelI::Istring:
    case ZORQelI::Ibinary:
      if (x.form == ZORQelIMemTypeIMP::Enumeration) {
        d->kind = TypeDesc::Enumeration;
        for (const ZORQelI::string& item : x.items) {
          d->items.emplace_back(static_cast<const char*>(item));
          d->itemKeys.push_back(UpperOf(item));
        }
      } else {
        d->kind = kind == ZORQelI::Istring ? TypeDesc::String : TypeDesc::Binary;
        ZORQelI::Mint w = d->mem->Width();
        if (w.IsSet()) d->width = static_cast<std::int32_t>(w);
        d->fixedWidth = d->mem->IsFixed() == ZORQelI::Itrue;
      }
      break;
    case ZORQelI::Ivoid: d->kind = x.form == ZORQelIMemTypeIMP::Select ? TypeDesc::Select
                                                                       : TypeDesc::Untyped; break;
    case ZORQelI::Iarray:
    case ZORQelI::Ilist:
    case ZORQelI::Iset:
    case ZORQelI::Ibag: {
      d->kind = TypeDesc::Aggregate;
      d->elementType = d->mem->SubType();
      d->distinct = kind == ZORQelI::Iset || d->mem->IsUnique() == ZORQelI::Itrue;
      ZORQelI::Mint low = d->mem->LowerBound(), high = d->mem->UpperBound();
      if (kind == ZORQelI::Iarray) {
        if (low.IsSet() && high.IsSet()) {
          d->fixedCount = true;
          d->low = d->high = static_cast<std::int64_t>(high) - low + 1;
          if (d->low < 0) d->low = d->high = 0;
        }
      } else {
        if (low.IsSet()) d->low = static_cast<std::int32_t>(low);
        if (high.IsSet()) d->high = static_cast<std::int32_t>(high);
      }
      break;
    }
    default: break;
  }
  return d;
}

void Reader::Flatten(TypeDesc* d) {
  // Members of member selects too, without recursion; a select met twice is
  // walked once.
  d->flattened = true;
  std::vector<ZORQelITypeIMP*> todo{d->type};
  std::unordered_set<ZORQelITypeIMP*> seen{d->type};
  while (!todo.empty()) {
    ZORQelITypeIMP* t = todo.back();
    todo.pop_back();
    auto* m = dynamic_cast<ZORQelIMemTypeIMP*>(t);
    if (m == nullptr) continue;
    for (ZORQelITypeIMP* member : m->ExpressInfo().members) {
      if (member == nullptr || !seen.insert(member).second) continue;
      if (auto* e = dynamic_cast<ZORQelIMemEntityIMP*>(member)) {
        d->entities.push_back(e);
        continue;
      }
      auto* mt = dynamic_cast<ZORQelIMemTypeIMP*>(member);
      if (mt == nullptr) continue;
      if (mt->ExpressInfo().form == ZORQelIMemTypeIMP::Select) {
        todo.push_back(mt);
      } else {
        d->named.emplace(UpperOf(mt->Name()), mt);
      }
    }
  }
}

bool Reader::Admits(const TypeDesc* d, ZORQelIMemEntityInstanceIMP* x) {
  ZORQelIMemEntityIMP* e = x->Entity();
  if (d->kind == TypeDesc::Entity) return e->Inherits(d->entity);
  if (d->kind == TypeDesc::Select) {
    if (!d->flattened) Flatten(const_cast<TypeDesc*>(d));
    for (ZORQelIMemEntityIMP* m : d->entities) {
      if (e->Inherits(m)) return true;
    }
    return false;
  }
  return d->kind == TypeDesc::Untyped;
}

EntityDesc* Reader::Describe(ZORQelIMemEntityIMP* e) {
  auto it = entities_.find(e);
  if (it != entities_.end()) return it->second;
  entityStore_.emplace_back();
  EntityDesc* d = &entityStore_.back();
  entities_.emplace(e, d);
  d->entity = e;
  const std::vector<ZORQelIMemAttrIMP*>& layout = e->Freeze();
  d->count = static_cast<int>(layout.size());
  d->abstract = e->ExpressInfo().abstract;
  for (ZORQelIMemAttrIMP* a : layout) {
    d->types.push_back(Desc(a->TypeIMP()));
    d->optional.push_back(a->IsOptional() == ZORQelI::Itrue ? 1 : 0);
  }
  ZORQelIMemInternal::ExchangeFamily family = ZORQelIMemInternal::FamilyOf(e, layout);
  d->family = std::move(family.members);
  d->derived = std::move(family.derived);
  // Where each entity's own attributes start in the layout.
  for (ZORQelIMemEntityIMP* x : d->family) {
    Part part{UpperOf(x->Name()), x, ZORQelIMemInternal::OwnStart(x, layout),
              x->NumberOfAttributes()};
    d->parts.push_back(part);
  }
  std::sort(d->parts.begin(), d->parts.end(),
            [](const Part& a, const Part& b) { return a.key < b.key; });
  return d;
}

EntityDesc* Reader::EntityNamed(const char* s, std::size_t n) {
  // Files often hold runs of one entity: the last name is compared first.
  if (n == lastLength_ && lastName_ != nullptr && std::memcmp(s, lastName_, n) == 0) {
    return lastEntity_;
  }
  lastName_ = s;
  lastLength_ = n;
  lastEntity_ = Lookup(s, n);
  return lastEntity_;
}

EntityDesc* Reader::Lookup(const char* s, std::size_t n) {
  key_.clear();
  AppendUpper(key_, s, n);
  auto it = entitiesByName_.find(key_);
  if (it != entitiesByName_.end()) return it->second;
  ZORQelIMemEntityIMP* e = modeler_->FindEntity(ZORQelI::string(key_.c_str()));
  EntityDesc* d = e != nullptr ? Describe(e) : nullptr;
  entitiesByName_.emplace(key_, d);
  return d;
}

EntityDesc* Reader::Combination(std::vector<std::string>& keys) {
  std::sort(keys.begin(), keys.end());
  std::string joined;
  for (const std::string& k : keys) joined += k + ",";
  auto it = combinations_.find(joined);
  if (it != combinations_.end()) return it->second;
  EntityDesc* found = nullptr;
  for (const std::string& k : keys) {
    EntityDesc* d = Lookup(k.data(), k.size());
    if (d == nullptr || d->family.size() != keys.size()) continue;
    bool all = true;
    for (const Part& p : d->parts) all = all && std::binary_search(keys.begin(), keys.end(), p.key);
    if (all) {
      found = d;
      break;
    }
  }
  combinations_.emplace(joined, found);
  return found;
}

// --- Values ---------------------------------------------------------------------------------

void Reader::StoreText(ZORQelIMemSlot& s, std::uint8_t& tag, const std::string& text) {
  const std::size_t n = text.size() + 1;
  if (n <= sizeof s.inlined) {
    std::memcpy(s.inlined, text.c_str(), n);
    tag = ZORQelIMemSlot::Inline;
    return;
  }
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, text.c_str(), n);
  s.text = copy;
  tag = ZORQelIMemSlot::String;
}

bool Reader::Number(std::int64_t& integer, double& real) {
  const char* s = p_;
  const char* q = s;
  if (q < end_ && (*q == '+' || *q == '-')) ++q;
  const char* digits = q;
  while (q < end_ && IsDigit(*q)) ++q;
  if (q == digits) Fail(s, "malformed number");
  bool isReal = false;
  if (q < end_ && *q == '.') {
    isReal = true;
    ++q;
    while (q < end_ && IsDigit(*q)) ++q;
    if (q < end_ && (*q == 'E' || *q == 'e')) {
      ++q;
      if (q < end_ && (*q == '+' || *q == '-')) ++q;
      const char* ed = q;
      while (q < end_ && IsDigit(*q)) ++q;
      if (q == ed) Fail(s, "malformed real: no digits in the exponent");
    }
  }
  if (!isReal) {
    std::int64_t v = 0;
    for (const char* c = digits; c < q; ++c) {
      v = v * 10 + (*c - '0');
      if (v > (std::int64_t(1) << 40)) Fail(s, "integer out of range");
    }
    integer = *s == '-' ? -v : v;
    real = static_cast<double>(integer);
    p_ = q;
    return false;
  }
  const char* from = *s == '+' ? s + 1 : s;
  auto r = std::from_chars(from, q, real);
  if (r.ec != std::errc() || r.ptr != q) Fail(s, "real out of range");
  p_ = q;
  return true;
}

void Reader::Text(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag) {
  const char* at = p_;
  StringLiteral(text_);
  if (d->width >= 0 || d->fixedWidth) {
    std::int64_t chars = 0;
    for (char c : text_) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (d->width >= 0 && (chars > d->width || (d->fixedWidth && chars != d->width))) {
      Fail(at, "string of " + std::to_string(chars) + " characters for " +
                   Named(d));
    }
  }
  StoreText(s, tag, text_);
}

void Reader::BinaryLiteral(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag) {
  const char* at = p_;
  const char* q = p_ + 1;
  text_.clear();
  while (q < end_ && *q != '"') {
    if (HexValue(*q) < 0) Fail(q, "binary digits must be hexadecimal");
    text_ += Upper(*q);
    ++q;
  }
  if (q >= end_) Lose(at, "unterminated binary");
  p_ = q + 1;
  if (text_.empty() || text_[0] > '3' || (text_.size() == 1 && text_[0] != '0')) {
    Fail(at, "malformed binary: the first digit counts the unused bits (0 to 3)");
  }
  if (d != nullptr && d->width >= 0) {
    std::int64_t bits = static_cast<std::int64_t>(text_.size() - 1) * 4 - (text_[0] - '0');
    if (bits > d->width || (d->fixedWidth && bits != d->width)) {
      Fail(at, "binary of " + std::to_string(bits) + " bits for " +
                   Named(d));
    }
  }
  StoreText(s, tag, text_);
}

void Reader::Reference(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag,
                       ZORQelIMemInstanceIMP* store, std::uint32_t index) {
  const char* at = p_;
  const char* q = p_ + 1;
  std::int64_t n = 0;
  const char* digits = q;
  while (q < end_ && IsDigit(*q)) {
    n = n * 10 + (*q - '0');
    if (n >= INT32_MAX) Fail(at, "instance number out of range");
    ++q;
  }
  if (q == digits) Fail(at, "'#' must be followed by an instance number");
  p_ = q;
  if (d->kind != TypeDesc::Entity && d->kind != TypeDesc::Select) {
    Fail(at, "a reference where " + Named(d) +
                 " is expected");
  }
  const auto number = static_cast<ZORQelI::integer>(n);
  ZORQelIMemEntityInstanceIMP* x = Find(number);
  if (x == nullptr) {
    fixups_.push_back(Fixup{store, index, number, d, static_cast<std::size_t>(at - begin_), current_});
    s.object = nullptr;
    tag = ZORQelIMemSlot::Unset;
    return;
  }
  if (!Admits(d, x)) {
    Fail(at, "#" + std::to_string(number) + " is " + std::string(x->Entity()->Name()) +
                 ", not " + Named(d));
  }
  s.object = x;
  tag = d->kind == TypeDesc::Entity ? ZORQelIMemSlot::Reference : ZORQelIMemSlot::Object;
}

void Reader::Typed(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag,
                   ZORQelIMemInstanceIMP* store, std::uint32_t index, int depth) {
  const char* at = p_;
  const char* name;
  std::size_t n;
  if (!Keyword(name, n)) Fail(at, "expected a type name");
  if (d->kind != TypeDesc::Select) {
    Fail(at, "typed value " + std::string(name, n) + "(...) where " +
                 Named(d) + " is expected");
  }
  if (!d->flattened) Flatten(const_cast<TypeDesc*>(d));
  key_.clear();
  AppendUpper(key_, name, n);
  auto it = d->named.find(key_);
  if (it == d->named.end()) {
    Fail(at, Quote(name, n) + " is no member of the select " + std::string(d->type->Name()));
  }
  const TypeDesc* inner = Desc(it->second);
  Expect('(', false);
  ZORQelIMemSlot v = ZORQelIMemSlot::None();
  std::uint8_t vtag = ZORQelIMemSlot::Unset;
  Value(inner, v, vtag, store, index, depth + 1, false);
  try {
    Expect(')', false);
  } catch (...) {
    ZORQelIMemSlot::Release(v, vtag);  // a text owned by nobody yet
    throw;
  }
  if (vtag == ZORQelIMemSlot::Aggregate) {
    // The aggregate itself is the carried value, owned by no slot.
    static_cast<ZORQelIMemAggregateIMP*>(v.object)->SetHolder(nullptr);
    s.object = v.object;
    tag = ZORQelIMemSlot::Object;
    return;
  }
  if (vtag == ZORQelIMemSlot::Unset || vtag == ZORQelIMemSlot::Reference ||
      vtag == ZORQelIMemSlot::Object) {
    ZORQelIMemSlot::Release(v, vtag);
    Fail(at, "a typed value must carry a simple value or a list");
  }
  auto* value = new ZORQelIMemValueIMP(it->second);
  value->Store(0, v, vtag, false);
  s.object = value;
  tag = ZORQelIMemSlot::Object;
}

void Reader::Aggregate(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag, int depth) {
  const char* at = p_;
  ++p_;  // '('
  std::vector<ZORQelIMemSlot>& slots = scratchSlots_[depth];
  std::vector<std::uint8_t>& tags = scratchTags_[depth];
  slots.clear();
  tags.clear();
  if (d->element == nullptr) const_cast<TypeDesc*>(d)->element = Desc(d->elementType);
  const TypeDesc* element = d->element;
  const std::size_t mark = fixups_.size();
  try {
    if (!EmptyList()) {
      do {
        ZORQelIMemSlot v = ZORQelIMemSlot::None();
        std::uint8_t vtag = ZORQelIMemSlot::Unset;
        Value(element, v, vtag, nullptr, static_cast<std::uint32_t>(slots.size()), depth + 1, false);
        slots.push_back(v);
        tags.push_back(vtag);
      } while (MoreElements());
    }
    const auto count = static_cast<std::int64_t>(slots.size());
    if ((d->low >= 0 && count < d->low) || (d->high >= 0 && count > d->high)) {
      Fail(at, std::to_string(count) + " elements for " +
                   Named(d));
    }
  } catch (...) {
    for (std::size_t i = 0; i < slots.size(); ++i) ZORQelIMemSlot::Release(slots[i], tags[i]);
    slots.clear();
    tags.clear();
    throw;
  }
  ZORQelIMemAggregateIMP* a = ZORQelIMemAggregateIMP::MakeFilled(
      d->mem, holder_, slots.data(), tags.data(), static_cast<int>(slots.size()));
  slots.clear();
  tags.clear();
  for (std::size_t i = mark; i < fixups_.size(); ++i) {
    if (fixups_[i].store == nullptr) fixups_[i].store = a;
  }
  if (d->distinct && a->SlotVector().size() > 1) {
    distinct_.push_back(Distinct{a, d, static_cast<std::size_t>(at - begin_), current_});
  }
  s.object = a;
  tag = ZORQelIMemSlot::Aggregate;
}

void Reader::Value(const TypeDesc* d, ZORQelIMemSlot& s, std::uint8_t& tag,
                   ZORQelIMemInstanceIMP* store, std::uint32_t index, int depth, bool derived) {
  Space();
  if (p_ >= end_) Lose(p_, "the file ends inside an instance");
  if (depth > kMaxDepth) Fail(p_, "values nested too deeply");
  const char c = *p_;
  if (c == '$') {
    ++p_;
    return;
  }
  if (c == '*') {
    if (!derived) Fail(p_, "'*' stands only for an attribute redeclared as derived");
    ++p_;
    return;
  }
  if (derived) {
    // Any value is read, then dropped: the attribute is derived.
    Generic(nullptr, false);
    return;
  }
  auto wrong = [&](const char* what) {
    Fail(p_, std::string(what) + " where " + Named(d) +
                 " is expected");
  };
  switch (d->kind) {
    case TypeDesc::Integer: {
      if (c != '-' && c != '+' && !IsDigit(c)) wrong("not an integer");
      const char* at = p_;
      std::int64_t i;
      double r;
      if (Number(i, r)) Fail(at, "a real where an integer is expected");
      if (i < INT32_MIN || i > INT32_MAX) Fail(at, "integer out of range");
      s.integer = static_cast<ZORQelI::integer>(i);
      tag = ZORQelIMemSlot::Integer;
      return;
    }
    case TypeDesc::Real: {
      if (c != '-' && c != '+' && !IsDigit(c)) wrong("not a real");
      std::int64_t i;
      double r;
      Number(i, r);
      s.real = r;
      tag = ZORQelIMemSlot::Real;
      return;
    }
    case TypeDesc::Boolean:
    case TypeDesc::Logical: {
      if (c != '.') wrong("not a logical");
      const char* at = p_;
      const char* name;
      std::size_t n;
      DotName(name, n);
      char v = n == 1 ? Upper(name[0]) : '?';
      if (v == 'T' || v == 'F' || (v == 'U' && d->kind == TypeDesc::Logical)) {
        s.object = nullptr;
        s.boolean = v == 'T' ? ZORQelI::Itrue : v == 'F' ? ZORQelI::Ifalse : ZORQelI::boolean(2);
        tag = ZORQelIMemSlot::Boolean;
        return;
      }
      Fail(at, "." + std::string(name, n) + ". is no value of " +
                   Named(d));
    }
    case TypeDesc::String:
      if (c != '\'') wrong("not a string");
      Text(d, s, tag);
      return;
    case TypeDesc::Binary:
      if (c != '"') wrong("not a binary");
      BinaryLiteral(d, s, tag);
      return;
    case TypeDesc::Enumeration: {
      if (c != '.') wrong("not an enumeration item");
      const char* at = p_;
      const char* name;
      std::size_t n;
      DotName(name, n);
      for (std::size_t i = 0; i < d->itemKeys.size(); ++i) {
        const std::string& k = d->itemKeys[i];
        if (k.size() != n) continue;
        std::size_t j = 0;
        while (j < n && Upper(name[j]) == k[j]) ++j;
        if (j == n) {
          StoreText(s, tag, d->items[i]);
          return;
        }
      }
      Fail(at, "." + std::string(name, n) + ". is no item of " + std::string(d->type->Name()));
    }
    case TypeDesc::Entity:
      if (c != '#') wrong("not a reference");
      Reference(d, s, tag, store, index);
      return;
    case TypeDesc::Select:
      if (c == '#') {
        Reference(d, s, tag, store, index);
        return;
      }
      if (!IsLetter(c)) wrong("an untyped value");
      Typed(d, s, tag, store, index, depth);
      return;
    case TypeDesc::Aggregate:
      if (c != '(') wrong("not a list");
      if (d->mem == nullptr) wrong("a list");
      Aggregate(d, s, tag, depth);
      return;
    case TypeDesc::Untyped:
      Generic(nullptr, false);
      return;
  }
}

void Reader::Generic(std::string* out, bool list) {
  // Iterative: the nesting of a hostile file costs a counter, not stack.
  int depth = list ? 1 : 0;
  bool typedOpen = false;
  for (;;) {
    Space();
    if (p_ >= end_) Lose(p_, "the file ends inside a parameter list");
    const char c = *p_;
    if (c == ')') {
      if (depth == 0) return;
      --depth;
      ++p_;
      if (depth == 0 && list) return;
      if (out) *out += ')';
      if (depth == 0) return;
      continue;
    }
    if (c == ',') {
      if (depth == 0) return;
      ++p_;
      if (out) *out += ',';
      continue;
    }
    const bool atTop = depth == 0;
    if (c == '(') {
      ++depth;
      ++p_;
      if (out) *out += '(';
      typedOpen = false;
      continue;
    }
    if (typedOpen) Fail(p_, "expected '(' after a type name");
    if (c == '\'') {
      StringLiteral(text_);
      if (collectStrings_) headerStrings_.emplace_back(text_.c_str());
      if (out) ZORQelIMemExchangeWriter::AppendString(*out, text_.data(), text_.size());
    } else if (c == '"') {
      ZORQelIMemSlot s = ZORQelIMemSlot::None();
      std::uint8_t tag = ZORQelIMemSlot::Unset;
      BinaryLiteral(nullptr, s, tag);
      ZORQelIMemSlot::Release(s, tag);
      if (out) *out += '"' + text_ + '"';
    } else if (c == '$' || c == '*') {
      ++p_;
      if (out) *out += c;
    } else if (c == '.') {
      const char* name;
      std::size_t n;
      DotName(name, n);
      if (out) {
        *out += '.';
        AppendUpper(*out, name, n);
        *out += '.';
      }
    } else if (c == '#') {
      const char* q = p_ + 1;
      while (q < end_ && IsNameChar(*q)) ++q;
      if (q == p_ + 1) Fail(p_, "'#' must be followed by an instance number");
      if (out) out->append(p_, static_cast<std::size_t>(q - p_));
      p_ = q;
    } else if (c == '-' || c == '+' || IsDigit(c)) {
      const char* from = p_;
      std::int64_t i;
      double r;
      Number(i, r);
      if (out) out->append(from, static_cast<std::size_t>(p_ - from));
    } else if (IsLetter(c) || c == '!') {
      const char* name;
      std::size_t n;
      if (!Keyword(name, n)) Fail(p_, "'!' must be followed by a name");
      if (out) AppendUpper(*out, name, n);
      typedOpen = true;
      continue;
    } else {
      Fail(p_, "unexpected '" + std::string(1, c) + "' in a parameter");
    }
    if (atTop && !list) return;
  }
}

// --- Structure ------------------------------------------------------------------------------

ZORQelIMemEntityInstanceIMP* Reader::Find(ZORQelI::integer number) const {
  if (number >= 0 && static_cast<std::size_t>(number) < dense_.size()) return dense_[number];
  if (sparse_.empty()) return nullptr;
  auto it = sparse_.find(number);
  return it != sparse_.end() ? it->second : nullptr;
}

void Reader::Register(ZORQelI::integer number, ZORQelIMemEntityInstanceIMP* x, const char* at) {
  const auto n = static_cast<std::size_t>(number);
  if (n < dense_.size() || n <= 8 * made_.size() + (std::size_t(1) << 20)) {
    if (n >= dense_.size()) dense_.resize(std::max(n + 1, dense_.size() * 2), nullptr);
    if (dense_[n] != nullptr) Fail(at, "instance number used twice");
    dense_[n] = x;
  } else if (!sparse_.emplace(number, x).second) {
    Fail(at, "instance number used twice");
  }
}

void Reader::Parameters(EntityDesc* d, ZORQelIMemEntityInstanceIMP* x, ZORQelIMemSlot* slots,
                        std::uint8_t* tags, int start, int count) {
  Expect('(', false);
  int i = 0;
  if (!EmptyList()) {
    do {
      if (i >= count) {
        Fail(p_, "too many parameters for " + std::string(d->entity->Name()) + " (" +
                     std::to_string(count) + " expected)");
      }
      const int at = start + i;
      if (Peek() == '$' && d->optional[at] == 0 && d->derived[at] == 0) {
        // An error in both modes, but not one that spoils the instance: the
        // attribute stays unset, as an unresolved reference leaves it, so a
        // lenient read keeps what the instance does give.
        Note(p_, "'$' for " + std::string(d->entity->Freeze()[static_cast<std::size_t>(at)]->Name()) +
                     " of " + std::string(d->entity->Name()) + ", which is not OPTIONAL");
      }
      Value(d->types[at], slots[at], tags[at], x, static_cast<std::uint32_t>(at), 1,
            d->derived[at] != 0);
      ++i;
    } while (MoreElements());
  }
  if (i != count) {
    Fail(p_ - 1, std::to_string(i) + " parameters for " + std::string(d->entity->Name()) + " (" +
                     std::to_string(count) + " expected)");
  }
}

void Reader::Instance() {
  const char* start = p_;
  const char* q = p_ + 1;
  std::int64_t n = 0;
  while (q < end_ && IsDigit(*q)) {
    n = n * 10 + (*q - '0');
    if (n >= INT32_MAX) n = INT32_MAX;
    ++q;
  }
  if (q == p_ + 1) Fail(start, "'#' must be followed by an instance number");
  p_ = q;
  current_ = static_cast<ZORQelI::integer>(n);
  if (n >= INT32_MAX) Fail(start, "instance number out of range");
  Expect('=', false);
  Space();
  const std::size_t mark = fixups_.size();
  ZORQelIMemEntityInstanceIMP* x = nullptr;
  ZORQelIMemSlot* slots = nullptr;
  std::uint8_t* tags = nullptr;
  EntityDesc* d = nullptr;
  try {
    if (p_ < end_ && *p_ == '(') {
      // Complex: (A(...)B(...)...).  The names first, to find the entity,
      // then the partial values.
      ++p_;
      const char* partsAt = p_;
      std::vector<std::string> keys;
      for (;;) {
        const char* name;
        std::size_t len;
        if (Peek() == ')') break;
        const char* at = p_;
        if (!Keyword(name, len)) Fail(p_, "expected an entity name in a complex instance");
        keys.emplace_back();
        AppendUpper(keys.back(), name, len);
        if (EntityNamed(name, len) == nullptr) {
          Fail(at, "schema " + std::string(modeler_->Name()) + " has no entity " + Quote(name, len));
        }
        Space();
        if (p_ >= end_ || *p_ != '(') Fail(p_, "expected '(' after " + Quote(name, len));
        Generic(nullptr, false);
      }
      std::vector<std::string> sorted = keys;
      std::sort(sorted.begin(), sorted.end());
      if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        Fail(start, "an entity is named twice in a complex instance");
      }
      d = Combination(sorted);
      if (d == nullptr) {
        std::string names;
        for (const std::string& k : sorted) names += (names.empty() ? "" : ", ") + k;
        Fail(start, "no entity of schema " + std::string(modeler_->Name()) + " is made of exactly " +
                        names);
      }
      if (d->abstract) Fail(start, "entity " + std::string(d->entity->Name()) + " is abstract");
      x = ZORQelIMemEntityInstanceIMP::Make(d->entity, current_);
      holder_ = x;
      slots = x->Slots();
      tags = x->Tags();
      p_ = partsAt;
      for (std::size_t k = 0; k < keys.size(); ++k) {
        const char* name;
        std::size_t len;
        Keyword(name, len);
        const Part& part = *std::lower_bound(
            d->parts.begin(), d->parts.end(), keys[k],
            [](const Part& a, const std::string& b) { return a.key < b; });
        Parameters(d, x, slots, tags, part.start, part.count);
      }
      Expect(')', false);
    } else {
      const char* at = p_;
      const char* name;
      std::size_t len;
      if (!Keyword(name, len)) Fail(p_, "expected an entity name");
      d = EntityNamed(name, len);
      if (d == nullptr) {
        Fail(at, "schema " + std::string(modeler_->Name()) + " has no entity " + Quote(name, len));
      }
      if (d->abstract) Fail(at, "entity " + std::string(d->entity->Name()) + " is abstract");
      x = ZORQelIMemEntityInstanceIMP::Make(d->entity, current_);
      holder_ = x;
      slots = x->Slots();
      tags = x->Tags();
      Parameters(d, x, slots, tags, 0, d->count);
    }
    Expect(';', false);
    if (taken_.count(current_) != 0) {
      Fail(start, "instance number held by an instance of the population");
    }
    Register(current_, x, start);
    made_.push_back(x);
  } catch (const Bad&) {
    if (x != nullptr) {
      for (int i = 0; i < d->count; ++i) ZORQelIMemSlot::Release(slots[i], tags[i]);
    }
    fixups_.resize(mark);
    throw;
  } catch (const ZORError& e) {
    // A refusal of the provider (an entity too large for an instance,
    // inverted array bounds): this instance only.
    if (x != nullptr) {
      for (int i = 0; i < d->count; ++i) ZORQelIMemSlot::Release(slots[i], tags[i]);
    }
    fixups_.resize(mark);
    const ZORQelI::Exception* qe = dynamic_cast<const ZORQelI::Exception*>(&e);
    Fail(start, qe != nullptr ? std::string(qe->Message()) : std::string("refused by the schema"));
  }
}

void Reader::Header() {
  Space();
  static const char kMagic[] = "ISO-10303-21";
  const char* name;
  std::size_t n;
  if (!Keyword(name, n) || !IsKeyword(name, n, kMagic)) {
    Lose(begin_, "not an exchange file: it must start with ISO-10303-21;");
  }
  Expect(';', true);
  if (!Keyword(name, n) || !IsKeyword(name, n, "HEADER")) Lose(p_, "expected HEADER;");
  Expect(';', true);
  bool schema = false;
  for (;;) {
    const char* at = p_;
    if (!Keyword(name, n)) Lose(p_, "expected a header entity or ENDSEC");
    if (IsKeyword(name, n, "ENDSEC")) {
      Expect(';', true);
      break;
    }
    ZORQelIMemExchangeHeader::Entity entity;
    std::string keyword;
    AppendUpper(keyword, name, n);
    entity.name = ZORQelI::string(keyword.c_str());
    const bool isSchema = keyword == "FILE_SCHEMA";
    collectStrings_ = isSchema;
    headerStrings_.clear();
    std::string params;
    try {
      Expect('(', true);
      Generic(&params, true);
      Expect(';', true);
    } catch (const Bad&) {
      throw Lost();  // the header must be read whole
    }
    collectStrings_ = false;
    entity.parameters = ZORQelI::string(params.c_str());
    result_.header.entities.push_back(entity);
    if (isSchema) {
      if (schema) Lose(at, "FILE_SCHEMA given twice");
      schema = true;
      for (const ZORQelI::string& s : headerStrings_) {
        std::string v(static_cast<const char*>(s));
        std::size_t brace = v.find('{');
        if (brace != std::string::npos) v.erase(brace);
        while (!v.empty() && v.back() == ' ') v.pop_back();
        while (!v.empty() && v.front() == ' ') v.erase(0, 1);
        result_.header.schemas.emplace_back(v.c_str());
      }
    }
  }
  if (!schema) Lose(p_, "the header has no FILE_SCHEMA");
}

bool Reader::HeaderOnly(ZORQelI::string& schema) {
  try {
    Header();
  } catch (const Lost&) {
    return false;
  } catch (const Bad&) {
    return false;
  }
  if (result_.header.schemas.empty()) return false;
  schema = result_.header.schemas.front();
  return true;
}

void Reader::SkipSection(const char* name) {
  const char* at = p_;
  Note(at, std::string(name) + " section skipped", true);
  for (;;) {
    Space();
    if (end_ - p_ >= 6 && std::memcmp(p_, "ENDSEC", 6) == 0) {
      p_ += 6;
      Expect(';', true);
      return;
    }
    if (p_ >= end_) Lose(at, "the file ends inside the " + std::string(name) + " section");
    Resume(p_);
  }
}

void Reader::Data() {
  // After "DATA": optional parameters, then ';'.
  if (Peek() == '(') {
    ++p_;
    try {
      Generic(nullptr, true);
    } catch (const Bad&) {
      throw Lost();
    }
  }
  Expect(';', true);
  for (;;) {
    Space();
    if (p_ >= end_) Lose(p_, "the file ends inside a DATA section (ENDSEC; missing)");
    if (*p_ == '#') {
      const char* start = p_;
      try {
        Instance();
      } catch (const Bad&) {
        if (options_.lenient) {
          result_.skipped.push_back(current_);
          skipped_.insert(current_);
        }
        Resume(start);
      }
      current_ = ZORQelI::Mint::UNSET;
      const auto done = static_cast<std::size_t>(p_ - begin_);
      if (options_.progress != nullptr && done >= nextProgress_) {
        nextProgress_ = done + kProgressStep;
        options_.progress(options_.progressContext, done, static_cast<std::size_t>(end_ - begin_));
      }
      continue;
    }
    const char* at = p_;
    const char* name;
    std::size_t n;
    if (Keyword(name, n) && IsKeyword(name, n, "ENDSEC")) {
      Expect(';', true);
      return;
    }
    Lose(at, "expected an instance or ENDSEC");
  }
}

void Reader::Resolve() {
  for (const Fixup& f : fixups_) {
    ZORQelIMemEntityInstanceIMP* x = Find(f.number);
    const char* at = begin_ + f.offset;
    current_ = f.owner;
    try {
      if (x == nullptr) {
        Fail(at, "#" + std::to_string(f.number) +
                     (skipped_.count(f.number) != 0 ? " was skipped" : " is not in the file"));
      }
      if (!Admits(f.desc, x)) {
        Fail(at, "#" + std::to_string(f.number) + " is " + std::string(x->Entity()->Name()) +
                     ", not " + Named(f.desc));
      }
    } catch (const Bad&) {
      continue;  // the value stays unset
    }
    ZORQelIMemSlot* slots = f.store->Slots();
    std::uint8_t* tags = f.store->Tags();
    slots[f.index].object = x;
    tags[f.index] = f.desc->kind == TypeDesc::Entity ? ZORQelIMemSlot::Reference
                                                     : ZORQelIMemSlot::Object;
  }
  current_ = ZORQelI::Mint::UNSET;
}

void Reader::CheckDistinct() {
  std::unordered_set<std::uint64_t> seen[ZORQelIMemSlot::Object + 1];
  std::unordered_set<std::string> texts;
  for (const Distinct& x : distinct_) {
    for (auto& set : seen) set.clear();
    texts.clear();
    ZORQelIMemAggregateIMP* a = x.aggregate;
    std::vector<int> repeated;
    const ZORQelIMemSpan<ZORQelIMemSlot> slots = a->SlotVector();
    const ZORQelIMemSpan<std::uint8_t> tags = a->TagVector();
    for (std::size_t i = 0; i < slots.size(); ++i) {
      const std::uint8_t tag = tags[i];
      bool fresh = true;
      if (tag == ZORQelIMemSlot::Unset) continue;  // unset elements are never equal
      if (ZORQelIMemSlot::IsText(tag)) {
        fresh = texts.insert(ZORQelIMemSlot::TextOf(slots[i], tag)).second;
      } else if (tag == ZORQelIMemSlot::Aggregate) {
        for (std::size_t j = 0; fresh && j < i; ++j) {
          fresh = !ZORQelIMemSlot::Same(slots[i], tag, slots[j], tags[j]);
        }
      } else if (tag <= ZORQelIMemSlot::Object) {
        std::uint64_t bits = 0;
        if (tag == ZORQelIMemSlot::Integer) {
          bits = static_cast<std::uint32_t>(slots[i].integer);
        } else if (tag == ZORQelIMemSlot::Boolean) {
          bits = slots[i].boolean;
        } else {
          std::memcpy(&bits, &slots[i], sizeof bits);
        }
        fresh = seen[tag].insert(bits).second;
      }
      if (!fresh) repeated.push_back(static_cast<int>(i));
    }
    if (repeated.empty()) continue;
    current_ = x.owner;
    Note(begin_ + x.offset, "element " + std::to_string(repeated.front() + 1) + " of " +
                                Named(x.desc) + " repeats an earlier one" +
                                (options_.lenient ? " (repeats dropped)" : ""));
    if (options_.lenient) {
      for (auto it = repeated.rbegin(); it != repeated.rend(); ++it) a->RemoveCell(*it);
    }
  }
  current_ = ZORQelI::Mint::UNSET;
}

void Reader::Run() {
  ZORQelIMemInstancesIMP* population = modeler_->Population();
  const int members = population->Size();
  for (int i = 0; i < members; ++i) {
    ZORQelIMemInstanceIMP* m = ZORQelIMemInstanceIMP::Of(population->Get(i));
    if (m != nullptr && m->Referent() != nullptr) taken_.insert(m->Referent()->Number());
  }
  try {
    Header();
    const std::string mine = UpperOf(modeler_->Name());
    bool match = false;
    std::string named;
    for (const ZORQelI::string& s : result_.header.schemas) {
      match = match || UpperOf(s) == mine;
      named += (named.empty() ? "'" : ", '") + std::string(static_cast<const char*>(s)) + "'";
    }
    if (!match) {
      Lose(begin_, "FILE_SCHEMA names " + (named.empty() ? std::string("no schema") : named) +
                       ", but the schema is '" + std::string(modeler_->Name()) + "'");
    }
    bool data = false;
    for (;;) {
      const char* name;
      std::size_t n;
      if (AtEnd()) Lose(p_, "END-ISO-10303-21; missing");
      if (!Keyword(name, n)) Lose(p_, "expected a section or END-ISO-10303-21;");
      if (IsKeyword(name, n, "DATA")) {
        data = true;
        Data();
      } else if (IsKeyword(name, n, "ANCHOR") || IsKeyword(name, n, "REFERENCE") ||
                 IsKeyword(name, n, "SIGNATURE")) {
        Expect(';', true);
        SkipSection(std::string(name, n).c_str());
      } else if (IsKeyword(name, n, "END-ISO-10303-21")) {
        Expect(';', true);
        break;
      } else {
        Lose(name, "unknown section " + Quote(name, n));
      }
    }
    if (!data) Note(p_, "the file has no DATA section", true);
    Resolve();
    CheckDistinct();
  } catch (const Lost&) {
    result_.ok = false;
    return;
  }
  if (errors_ != 0 && !options_.lenient) {
    result_.ok = false;
    return;
  }
  if (!std::is_sorted(made_.begin(), made_.end(),
                      [](const ZORQelIMemEntityInstanceIMP* a, const ZORQelIMemEntityInstanceIMP* b) {
                        return a->Number() < b->Number();
                      })) {
    std::sort(made_.begin(), made_.end(),
              [](const ZORQelIMemEntityInstanceIMP* a, const ZORQelIMemEntityInstanceIMP* b) {
                return a->Number() < b->Number();
              });
  }
  population->AdoptRead(made_);
  result_.instances = made_.size();
  result_.ok = true;
}

ZORQelIMemModelerIMP* Schema(ZORQelIModeler& m) {
  ZORQelIMemModelerIMP* modeler = ZORQelIMemModelerIMP::DownCast(m);
  if (modeler == nullptr) ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, __LINE__);
  return modeler;
}

}  // namespace

ZORQelIMemExchangeResult ZORQelIMemExchangeReader::Read(ZORQelIModeler m, const char* data,
                                                        std::size_t size,
                                                        const ZORQelIMemExchangeOptions& options) {
  ZORQELI_TRACE("ZORQelIMemExchangeResult ZORQelIMemExchangeReader::Read(ZORQelIModeler m, const char* data, std::size_t size, const ZORQelIMemExchangeOptions& options)");
  ZORQelIMemModelerIMP* modeler = Schema(m);
  ZORQelIMemExchangeResult result;
  Reader reader(modeler, data, size, options, result);
  reader.Run();
  return result;
}

ZORQelIMemExchangeResult ZORQelIMemExchangeReader::ReadFile(ZORQelIModeler m,
                                                            const ZORQelI::string& path,
                                                            const ZORQelIMemExchangeOptions& options) {
  ZORQELI_TRACE("ZORQelIMemExchangeResult ZORQelIMemExchangeReader::ReadFile(ZORQelIModeler m, const ZORQelI::string& path, const ZORQelIMemExchangeOptions& options)");
  Schema(m);
  std::ifstream in(static_cast<const char*>(path), std::ios::binary);
  std::string bytes;
  bool ok = static_cast<bool>(in);
  if (ok) {
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    ok = size >= 0;
    if (ok) {
      bytes.resize(static_cast<std::size_t>(size));
      in.read(&bytes[0], size);
      ok = static_cast<bool>(in) || size == 0;
    }
  }
  if (!ok) {
    ZORQelIMemExchangeResult result;
    ZORQelIMemDiagnostic d;
    d.file = path;
    d.message = "cannot read the file";
    result.diagnostics.push_back(d);
    return result;
  }
  ZORQelIMemExchangeOptions named = options;
  if (named.fileName == "<exchange>") named.fileName = path;
  return Read(m, bytes.data(), bytes.size(), named);
}

bool ZORQelIMemExchangeReader::FileSchema(const char* data, std::size_t size, ZORQelI::string& name) {
  ZORQELI_TRACE("bool ZORQelIMemExchangeReader::FileSchema(const char* data, std::size_t size, ZORQelI::string& name)");
  ZORQelIMemExchangeOptions options;
  ZORQelIMemExchangeResult result;
  Reader reader(nullptr, data, size, options, result);
  return reader.HeaderOnly(name);
}
