// ZORQelIMemExpressLexer: splits ISO 10303-11 text into tokens.
#include "ZORQelIMemExpressLexer.h"

#include <cstring>

namespace ZORQelIMemExpress {
namespace {

const char* const kWords[kCount] = {
    "",
    "ABSTRACT", "AGGREGATE", "ALIAS", "AND", "ANDOR", "ARRAY", "AS", "BAG", "BASED_ON", "BEGIN",
    "BINARY", "BOOLEAN", "BY", "CASE", "CONSTANT", "DERIVE", "DIV", "ELSE", "END", "END_ALIAS",
    "END_CASE", "END_CONSTANT", "END_ENTITY", "END_FUNCTION", "END_IF", "END_LOCAL",
    "END_PROCEDURE", "END_REPEAT", "END_RULE", "END_SCHEMA", "END_SUBTYPE_CONSTRAINT", "END_TYPE",
    "ENTITY", "ENUMERATION", "ESCAPE", "EXTENSIBLE", "FALSE", "FIXED", "FOR", "FROM", "FUNCTION",
    "GENERIC", "GENERIC_ENTITY", "IF", "IN", "INTEGER", "INVERSE", "LIKE", "LIST", "LOCAL",
    "LOGICAL", "MOD", "NOT", "NUMBER", "OF", "ONEOF", "OPTIONAL", "OR", "OTHERWISE", "PROCEDURE",
    "QUERY", "REAL", "REFERENCE", "RENAMED", "REPEAT", "RETURN", "RULE", "SCHEMA", "SELECT",
    "SELF", "SET", "SKIP", "STRING", "SUBTYPE", "SUBTYPE_CONSTRAINT", "SUPERTYPE", "THEN", "TO",
    "TOTAL_OVER", "TRUE", "TYPE", "UNIQUE", "UNKNOWN", "UNTIL", "USE", "VAR", "WHERE", "WHILE",
    "WITH", "XOR"};

// Open-addressed table from upper-case spelling to keyword, built once.
struct KeywordTable {
  static constexpr unsigned kSize = 256;
  Keyword slot[kSize] = {};
  static unsigned Hash(const char* s, std::size_t n) {
    unsigned h = 2166136261u;
    for (std::size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(s[i])) * 16777619u;
    return h;
  }
  KeywordTable() {
    for (int k = 1; k < kCount; ++k) {
      unsigned h = Hash(kWords[k], std::strlen(kWords[k])) % kSize;
      while (slot[h] != kNone) h = (h + 1) % kSize;
      slot[h] = static_cast<Keyword>(k);
    }
  }
  Keyword Find(const char* upper, std::size_t n) const {
    unsigned h = Hash(upper, n) % kSize;
    while (slot[h] != kNone) {
      const char* w = kWords[slot[h]];
      if (std::strlen(w) == n && std::memcmp(w, upper, n) == 0) return slot[h];
      h = (h + 1) % kSize;
    }
    return kNone;
  }
};

const KeywordTable& Keywords() {
  static const KeywordTable table;
  return table;
}

bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Length of the UTF-8 sequence starting at p (at most n bytes available), 0
// when it is not one.
std::size_t Utf8Length(const unsigned char* p, std::size_t n) {
  unsigned char c = p[0];
  std::size_t len;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) len = 2;
  else if (c >= 0xE0 && c <= 0xEF) len = 3;
  else if (c >= 0xF0 && c <= 0xF4) len = 4;
  else return 0;
  if (len > n) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
  }
  if (c == 0xE0 && p[1] < 0xA0) return 0;  // overlong
  if (c == 0xED && p[1] >= 0xA0) return 0;  // surrogate
  if (c == 0xF0 && p[1] < 0x90) return 0;  // overlong
  if (c == 0xF4 && p[1] >= 0x90) return 0;  // beyond U+10FFFF
  return len;
}

}  // namespace

const char* ZORQelIMemExpressLexer::KeywordText(Keyword k) { return kWords[k]; }

bool ZORQelIMemExpressLexer::Run(std::vector<Token>& out, Message* error) {
  const auto* s = reinterpret_cast<const unsigned char*>(text_.data());
  const std::size_t n = text_.size();
  std::size_t i = 0;
  int line = 1;
  std::size_t lineStart = 0;
  out.clear();
  out.reserve(n / 3 + 16);
  auto fail = [&](std::size_t at, const std::string& message) {
    error->pos.line = line;
    error->pos.column = static_cast<int>(at - lineStart) + 1;
    error->warning = false;
    error->text = message;
    return false;
  };
  // Skips one character of a remark or string at i, keeping the line count;
  // false on a byte that is not text.
  auto textChar = [&]() {
    unsigned char c = s[i];
    if (c == '\n') {
      ++line;
      lineStart = ++i;
      return true;
    }
    if (c < 0x20 && c != '\t' && c != '\r' && c != '\f') return false;
    if (c == 0x7F) return false;
    std::size_t len = Utf8Length(s + i, n - i);
    if (len == 0) return false;
    i += len;
    return true;
  };
  while (i < n) {
    unsigned char c = s[i];
    if (c == '\n') {
      ++line;
      lineStart = ++i;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\f') {
      ++i;
      continue;
    }
    Token t;
    t.begin = static_cast<std::uint32_t>(i);
    t.pos.line = line;
    t.pos.column = static_cast<int>(i - lineStart) + 1;
    if (c == '(' && i + 1 < n && s[i + 1] == '*') {
      // An embedded remark; remarks nest.
      int depth = 1;
      i += 2;
      while (depth > 0) {
        if (i >= n) {
          error->pos = t.pos;
          error->warning = false;
          error->text = "unterminated remark";
          return false;
        }
        if (s[i] == '(' && i + 1 < n && s[i + 1] == '*') {
          ++depth;
          i += 2;
        } else if (s[i] == '*' && i + 1 < n && s[i + 1] == ')') {
          --depth;
          i += 2;
        } else if (!textChar()) {
          return fail(i, "bytes that are not text in a remark");
        }
      }
      continue;
    }
    if (c == '-' && i + 1 < n && s[i + 1] == '-') {
      i += 2;
      while (i < n && s[i] != '\n') {
        if (!textChar()) return fail(i, "bytes that are not text in a remark");
      }
      continue;
    }
    if (IsLetter(c)) {
      std::size_t j = i + 1;
      while (j < n && (IsLetter(s[j]) || IsDigit(s[j]) || s[j] == '_')) ++j;
      t.kind = Token::Ident;
      std::size_t len = j - i;
      if (len <= 22) {
        char upper[24];
        for (std::size_t k = 0; k < len; ++k) {
          unsigned char x = s[i + k];
          upper[k] = static_cast<char>((x >= 'a' && x <= 'z') ? x - 32 : x);
        }
        t.keyword = Keywords().Find(upper, len);
      }
      i = j;
    } else if (IsDigit(c)) {
      std::size_t j = i;
      while (j < n && IsDigit(s[j])) ++j;
      t.kind = Token::Integer;
      if (j < n && s[j] == '.' && !(j + 1 < n && IsLetter(s[j + 1]) && s[j + 1] != 'e' &&
                                    s[j + 1] != 'E')) {
        t.kind = Token::Real;
        ++j;
        while (j < n && IsDigit(s[j])) ++j;
      }
      if (t.kind == Token::Real && j < n && (s[j] == 'e' || s[j] == 'E')) {
        std::size_t k = j + 1;
        if (k < n && (s[k] == '+' || s[k] == '-')) ++k;
        if (k < n && IsDigit(s[k])) {
          while (k < n && IsDigit(s[k])) ++k;
          j = k;
        } else {
          return fail(j, "malformed real literal");
        }
      }
      i = j;
    } else if (c == '\'') {
      ++i;
      for (;;) {
        if (i >= n) {
          error->pos = t.pos;
          error->warning = false;
          error->text = "unterminated string literal";
          return false;
        }
        if (s[i] == '\'') {
          if (i + 1 < n && s[i + 1] == '\'') {
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (!textChar()) return fail(i, "bytes that are not text in a string literal");
      }
      t.kind = Token::String;
    } else if (c == '"') {
      ++i;
      std::size_t digits = 0;
      while (i < n && s[i] != '"') {
        unsigned char x = s[i];
        if (!(IsDigit(x) || (x >= 'A' && x <= 'F') || (x >= 'a' && x <= 'f'))) {
          return fail(i, "an encoded string literal holds hexadecimal digits only");
        }
        ++digits;
        ++i;
      }
      if (i >= n || digits % 8 != 0) {
        error->pos = t.pos;
        error->warning = false;
        error->text = i >= n ? "unterminated encoded string literal"
                             : "an encoded string literal holds groups of 8 digits";
        return false;
      }
      ++i;
      t.kind = Token::String;
    } else if (c == '%') {
      ++i;
      if (i >= n || (s[i] != '0' && s[i] != '1')) return fail(t.begin, "malformed binary literal");
      while (i < n && (s[i] == '0' || s[i] == '1')) ++i;
      t.kind = Token::Binary;
    } else {
      auto next = [&](std::size_t k) -> unsigned char { return i + k < n ? s[i + k] : 0; };
      std::size_t len = 1;
      switch (c) {
        case ';': t.kind = Token::Semi; break;
        case ',': t.kind = Token::Comma; break;
        case '.': t.kind = Token::Dot; break;
        case '(': t.kind = Token::LParen; break;
        case ')': t.kind = Token::RParen; break;
        case '[': t.kind = Token::LBracket; break;
        case ']': t.kind = Token::RBracket; break;
        case '{': t.kind = Token::LBrace; break;
        case '}': t.kind = Token::RBrace; break;
        case '=': t.kind = Token::Eq; break;
        case '+': t.kind = Token::Plus; break;
        case '-': t.kind = Token::Minus; break;
        case '/': t.kind = Token::Slash; break;
        case '\\': t.kind = Token::Backslash; break;
        case '?': t.kind = Token::Question; break;
        case '*':
          if (next(1) == '*') { t.kind = Token::Power; len = 2; }
          else t.kind = Token::Star;
          break;
        case '|':
          if (next(1) == '|') { t.kind = Token::Concat; len = 2; }
          else t.kind = Token::Bar;
          break;
        case '<':
          if (next(1) == '=') { t.kind = Token::Le; len = 2; }
          else if (next(1) == '>') { t.kind = Token::Ne; len = 2; }
          else if (next(1) == '*') { t.kind = Token::LtStar; len = 2; }
          else t.kind = Token::Lt;
          break;
        case '>':
          if (next(1) == '=') { t.kind = Token::Ge; len = 2; }
          else t.kind = Token::Gt;
          break;
        case ':':
          if (next(1) == '=' && next(2) == ':') { t.kind = Token::InstEq; len = 3; }
          else if (next(1) == '<' && next(2) == '>' && next(3) == ':') { t.kind = Token::InstNe; len = 4; }
          else if (next(1) == '=') { t.kind = Token::Assign; len = 2; }
          else t.kind = Token::Colon;
          break;
        default:
          if (c < 0x20 || c >= 0x7F) return fail(i, "bytes that are not text");
          return fail(i, std::string("unexpected character '") + static_cast<char>(c) + "'");
      }
      i += len;
    }
    t.end = static_cast<std::uint32_t>(i);
    out.push_back(t);
  }
  Token end;
  end.kind = Token::End;
  end.begin = end.end = static_cast<std::uint32_t>(n);
  end.pos.line = line;
  end.pos.column = static_cast<int>(n - lineStart) + 1;
  out.push_back(end);
  return true;
}

}  // namespace ZORQelIMemExpress
