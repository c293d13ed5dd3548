// ZORQelIMemExpressParser: reads the schemas of an ISO 10303-11 text.
#ifndef ZORQelIMemExpressParser_h
#define ZORQelIMemExpressParser_h

#include <string>
#include <vector>

#include "ZORQelIMemExpressLexer.h"
#include "ZORQelIMemExpressSyntax.h"

namespace ZORQelIMemExpress {

// Recursive descent over the token array, the recursion bounded by kMaxDepth
// nested constructs (types, expressions, statements, nested declarations):
// deeper text is refused with an error rather than exhausting the stack.
// Expressions and statements (in FUNCTION, PROCEDURE, RULE, DERIVE, WHERE,
// bounds, constants) are checked against the grammar and kept as source
// ranges.  The first error stops the parse.
class ZORQelIMemExpressParser {
 public:
  static constexpr int kMaxDepth = 200;

  ZORQelIMemExpressParser(const std::string& text, const std::vector<Token>& tokens)
      : text_(text), toks_(tokens) {}
  // Reads one or more schemas up to the end of the text.  False, with *error
  // filled, on the first error.
  bool Run(std::vector<Schema>& out, Message* error);

 private:
  struct Abort {};
  [[noreturn]] void Fail(const Token& at, const std::string& message);
  [[noreturn]] void Expected(const char* what);

  const Token& Cur() const { return toks_[p_]; }
  const Token& Peek(int k = 1) const;
  bool Is(Token::Kind k) const { return toks_[p_].kind == k; }
  bool IsKw(Keyword k) const { return toks_[p_].kind == Token::Ident && toks_[p_].keyword == k; }
  bool Accept(Token::Kind k);
  bool AcceptKw(Keyword k);
  // Steps over the current token when isOperator says it is one.
  bool AcceptOperator(bool (*isOperator)(const Token& t));
  void Expect(Token::Kind k, const char* what);
  void ExpectKw(Keyword k);
  // An identifier that is not a reserved word; its spelling.
  std::string Name(const char* what);
  std::string Text(const Token& t) const { return text_.substr(t.begin, t.end - t.begin); }

  // Declarations.
  void SchemaDecl(std::vector<Schema>& out);
  void InterfaceSpec(Schema& s, bool use);
  void ConstantDecl(Schema* s);
  bool Declaration(Schema* s);
  void EntityDecl(Schema* s);
  void SupertypeExpr();
  void TypeDecl(Schema* s);
  void AlgorithmDecl(Schema* s, bool function);
  void RuleDecl(Schema* s);
  void SubtypeConstraintDecl(Schema* s);
  Other OtherHead(Other::Kind kind, const char* what);
  void OtherTail(Schema* s, Other& o, Keyword endKeyword);
  void FormalParameters(bool allowVar);
  void AlgorithmHead();
  void RuleLabel(Clause& c);
  void NameList(std::vector<std::string>& names, std::vector<Pos>& positions, const char* what);
  void WhereClause(std::vector<Clause>* out);
  void AttributeRef(std::string* name, bool* redeclared);

  // Types: index of a new node in schema_->types (or -1 when not kept).
  int Type(bool generalized);
  int UnderlyingType(TypeSpec& node);
  void BoundSpec(TypeSpec* node);
  int NewType(const TypeSpec& t);

  // Expressions and statements.
  void Expression();
  void SimpleExpression();
  void Term();
  void Factor();
  void SimpleFactor();
  void Qualifiers();
  void Reference();
  void ActualParameters();
  void Statement();
  void Statements(Keyword end1, Keyword end2 = kNone);
  // `END_x ;`, and the statements up to it followed by it.
  void EndOf(Keyword end);
  void Block(Keyword end);

  struct DepthGuard {
    explicit DepthGuard(ZORQelIMemExpressParser& p);
    ~DepthGuard() { --p_.depth_; }
    ZORQelIMemExpressParser& p_;
  };

  const std::string& text_;
  const std::vector<Token>& toks_;
  std::size_t p_ = 0;
  int depth_ = 0;
  // The schema being read; null inside nested declarations, whose types are
  // checked but not kept.
  Schema* schema_ = nullptr;
  Message* error_ = nullptr;
};

}  // namespace ZORQelIMemExpress

#endif
