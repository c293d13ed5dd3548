// ZORQelIMemExpressLexer: splits ISO 10303-11 text into tokens.
#ifndef ZORQelIMemExpressLexer_h
#define ZORQelIMemExpressLexer_h

#include <cstdint>
#include <string>
#include <vector>

#include "ZORQelIMemExpressSyntax.h"

namespace ZORQelIMemExpress {

// Reserved words that steer the grammar.  Built-in functions, procedures and
// constants are read as identifiers: they only ever appear where a call or a
// reference may.
enum Keyword : std::uint8_t {
  kNone,
  kABSTRACT, kAGGREGATE, kALIAS, kAND, kANDOR, kARRAY, kAS, kBAG, kBASED_ON, kBEGIN, kBINARY,
  kBOOLEAN, kBY, kCASE, kCONSTANT, kDERIVE, kDIV, kELSE, kEND, kEND_ALIAS, kEND_CASE,
  kEND_CONSTANT, kEND_ENTITY, kEND_FUNCTION, kEND_IF, kEND_LOCAL, kEND_PROCEDURE, kEND_REPEAT,
  kEND_RULE, kEND_SCHEMA, kEND_SUBTYPE_CONSTRAINT, kEND_TYPE, kENTITY, kENUMERATION, kESCAPE,
  kEXTENSIBLE, kFALSE, kFIXED, kFOR, kFROM, kFUNCTION, kGENERIC, kGENERIC_ENTITY, kIF, kIN,
  kINTEGER, kINVERSE, kLIKE, kLIST, kLOCAL, kLOGICAL, kMOD, kNOT, kNUMBER, kOF, kONEOF,
  kOPTIONAL, kOR, kOTHERWISE, kPROCEDURE, kQUERY, kREAL, kREFERENCE, kRENAMED, kREPEAT, kRETURN,
  kRULE, kSCHEMA, kSELECT, kSELF, kSET, kSKIP, kSTRING, kSUBTYPE, kSUBTYPE_CONSTRAINT,
  kSUPERTYPE, kTHEN, kTO, kTOTAL_OVER, kTRUE, kTYPE, kUNIQUE, kUNKNOWN, kUNTIL, kUSE, kVAR,
  kWHERE, kWHILE, kWITH, kXOR,
  kCount
};

struct Token {
  enum Kind : std::uint8_t {
    End, Ident, Integer, Real, String, Binary,
    // punctuation
    Semi, Colon, Comma, Dot, LParen, RParen, LBracket, RBracket, LBrace, RBrace,
    Eq, Lt, Gt, Le, Ge, Ne, Assign, InstEq, InstNe, Plus, Minus, Star, Slash, Power,
    Concat, Backslash, Question, Bar, LtStar
  };
  Kind kind = End;
  Keyword keyword = kNone;  // for Ident
  std::uint32_t begin = 0, end = 0;
  Pos pos;
};

// Tokenizes the whole text at once.  Remarks ((* *), which may nest, and --
// to the end of the line) are skipped.  Bytes outside printable ASCII are
// accepted only inside remarks and string literals; a NUL or another control
// byte anywhere, or text that is not UTF-8, is an error.
class ZORQelIMemExpressLexer {
 public:
  explicit ZORQelIMemExpressLexer(const std::string& text) : text_(text) {}
  // False, with *error filled, on the first lexical error.
  bool Run(std::vector<Token>& out, Message* error);
  // The upper-case spelling of a reserved word.
  static const char* KeywordText(Keyword k);

 private:
  const std::string& text_;
};

}  // namespace ZORQelIMemExpress

#endif
