// ZORQelIMemRuleSyntax: the syntax tree of EXPRESS expressions, statements,
// functions, procedures and global rules, built from the source text the
// schema reader keeps, and the parser that builds it.
#ifndef ZORQelIMemRuleSyntax_h
#define ZORQelIMemRuleSyntax_h

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ZORQelIMemExpressLexer.h"

namespace ZORQelIMemRule {

using ZORQelIMemExpress::Pos;

// One node.  Nodes live in Tree::nodes and refer to each other by index
// (-1: absent); a node's list of children is the range [first, first+count)
// of Tree::lists.  Freeing a tree costs no recursion however deep it is.
struct Node {
  enum Kind : std::uint8_t {
    // expressions
    Int, Real, Str, Bin, Logical, Indet, Self, Name, Unary, Binary, Attr, Group, Index, Call,
    AggInit, Repeat, Interval, Query,
    // statements
    SNull, SAssign, SIf, SCase, SCaseAction, SCompound, SRepeat, SReturn, SEscape, SSkip,
    SAlias, SCall
  };
  enum Op : std::uint8_t {
    None, Neg, Plus, Not,
    Add, Sub, Mul, Div, IntDiv, Mod, Pow, And, Or, Xor, Concat,
    Lt, Gt, Le, Ge, Eq, Ne, InstEq, InstNe, In, Like
  };
  Kind kind = SNull;
  Op op = None;
  // Interval: whether each bound is strict (<).  Logical: 0 F, 1 T, 2 U.
  std::uint8_t flags = 0;
  int a = -1, b = -1, c = -1, d = -1, e = -1;
  int first = 0, count = 0;  // children: Call args, AggInit items, bodies
  int split = 0;             // SIf: the THEN part is the first `split` children
  std::int64_t integer = 0;
  double real = 0;
  std::string text;  // Name, Attr, Group, Call, Query, SAlias, SRepeat: upper-case name; Str: value
  Pos pos;
};

// A formal parameter or local variable.
struct Variable {
  std::string name;  // upper case
  int init = -1;     // a local's initial value
  // The declared type's outer form: 0 other, 1 a SET, BAG, LIST or ARRAY.
  bool aggregate = false;
  Pos pos;
};

// A FUNCTION or PROCEDURE (nested ones are listed on their own).
struct Callable {
  std::string name;
  bool procedure = false;
  std::vector<Variable> params;
  std::vector<bool> varParams;  // PROCEDURE: VAR parameters
  std::vector<Variable> locals;
  std::vector<int> body;
  Pos pos;
};

// A labelled expression: a WHERE rule.
struct Where {
  std::string label;  // as written
  int expr = -1;
  std::string text;   // the source text of the expression
  Pos pos;
};

// A global RULE.
struct GlobalRule {
  std::string name;
  std::vector<std::string> entities;  // FOR ( ... ), upper case
  std::vector<Variable> locals;
  std::vector<int> body;
  std::vector<Where> where;
  Pos pos;
};

struct Tree {
  std::vector<Node> nodes;
  std::vector<int> lists;
  std::vector<Callable> callables;
  std::vector<GlobalRule> rules;
  std::vector<Variable> constants;  // schema CONSTANT blocks, in order
};

// A failure to parse: the place (in the parsed text's own lines) and why.
struct SyntaxError {
  Pos pos;
  std::string text;
};

// Parses pieces of EXPRESS source into one tree.  Nesting deeper than
// kMaxDepth is refused with a located error, so hostile input cannot
// exhaust the stack.
class Parser {
 public:
  static constexpr int kMaxDepth = 200;
  explicit Parser(Tree& tree) : tree_(tree) {}
  // One expression filling the whole of text; its root node.  Raises
  // SyntaxError.
  int Expression(const std::string& text);
  // A declaration kept as text: FUNCTION, PROCEDURE or RULE.  Raises
  // SyntaxError.
  void Declaration(const std::string& text);
  // The expression of a DERIVE clause ("name : type := expr").
  int DeriveExpression(const std::string& text);
  // A WHERE clause "[label :] expr": its label (empty when none) and root.
  int WhereExpression(const std::string& text, std::string& label);
  // A UNIQUE clause "[label :] ref, ref ...": its label and the roots.
  std::vector<int> UniqueExpressions(const std::string& text, std::string& label);

 private:
  using Token = ZORQelIMemExpress::Token;
  void Start(const std::string& text);
  const Token& Peek(int k = 0) const;
  bool IsKw(ZORQelIMemExpress::Keyword k, int ahead = 0) const;
  bool Accept(Token::Kind k);
  bool AcceptKw(ZORQelIMemExpress::Keyword k);
  void Expect(Token::Kind k, const char* what);
  void ExpectKw(ZORQelIMemExpress::Keyword k);
  [[noreturn]] void Fail(const std::string& why) const;
  std::string Ident();
  std::string Upper(const Token& t) const;
  int New(Node::Kind k, Pos p);
  int List(const std::vector<int>& items, Node& into);
  void Enter();
  void Leave() { --depth_; }

  int Expr();
  // The binary node of op joining left and the operand after the operator
  // token at hand, parsed by operand.
  int Join(Node::Op op, int left, int (Parser::*operand)());
  struct OpToken;
  // Operands parsed by operand joined, left to right, by the operators of ops.
  int Chain(int (Parser::*operand)(), const OpToken* ops, std::size_t count);
  int Simple();
  int Term();
  int Factor();
  int NestedFactor();  // the right operand of **
  int Unary();
  int Primary();
  int Qualifiers(int base);
  int Literal();
  int Stmt();
  void Stmts(std::vector<int>& out, ZORQelIMemExpress::Keyword end1,
             ZORQelIMemExpress::Keyword end2 = ZORQelIMemExpress::kNone);
  void SkipType(bool& aggregate);
  void Locals(std::vector<Variable>& out);
  // "; statements END_X ;" after a REPEAT or ALIAS head: node n's children.
  void Body(int n, ZORQelIMemExpress::Keyword end);
  // "name : type := expr ;" of a CONSTANT block.
  Variable Constant();
  // "a, b, c : type": the names, each marked with the type's outer form.
  std::vector<Variable> NamesAndType();
  void CallableDecl(bool procedure);
  void RuleDecl();
  void SkipDeclaration();

  Tree& tree_;
  const std::string* text_ = nullptr;
  std::vector<Token> tokens_;
  std::size_t at_ = 0;
  int depth_ = 0;
};

}  // namespace ZORQelIMemRule

#endif
