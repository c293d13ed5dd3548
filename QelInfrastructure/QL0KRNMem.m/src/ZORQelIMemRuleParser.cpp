// ZORQelIMemRuleParser: EXPRESS expressions and statements to a syntax tree.
#include "ZORQelIMemRuleSyntax.h"

#include "ZORQelIMemUtf8.h"

#include <cstdlib>

using namespace ZORQelIMemExpress;

namespace ZORQelIMemRule {

namespace {

using ZORQelIMemUtf8::AppendUtf8;

}  // namespace

void Parser::Start(const std::string& text) {
  text_ = &text;
  tokens_.clear();
  at_ = 0;
  depth_ = 0;
  Message m;
  if (!ZORQelIMemExpressLexer(text).Run(tokens_, &m)) throw SyntaxError{m.pos, m.text};
  if (tokens_.empty() || tokens_.back().kind != Token::End) {
    Token end;
    end.kind = Token::End;
    end.begin = end.end = static_cast<std::uint32_t>(text.size());
    if (!tokens_.empty()) end.pos = tokens_.back().pos;
    tokens_.push_back(end);
  }
}

const Parser::Token& Parser::Peek(int k) const {
  std::size_t i = at_ + static_cast<std::size_t>(k);
  return i < tokens_.size() ? tokens_[i] : tokens_.back();
}

bool Parser::IsKw(Keyword k, int ahead) const {
  const Token& t = Peek(ahead);
  return t.kind == Token::Ident && t.keyword == k;
}

bool Parser::Accept(Token::Kind k) {
  if (Peek().kind != k) return false;
  ++at_;
  return true;
}

bool Parser::AcceptKw(Keyword k) {
  if (!IsKw(k)) return false;
  ++at_;
  return true;
}

void Parser::Fail(const std::string& why) const {
  const Token& t = Peek();
  std::string near = t.kind == Token::End ? std::string("the end")
                                          : "'" + text_->substr(t.begin, t.end - t.begin) + "'";
  throw SyntaxError{t.pos, why + " near " + near};
}

void Parser::Expect(Token::Kind k, const char* what) {
  if (!Accept(k)) Fail(std::string("expected ") + what);
}

void Parser::ExpectKw(Keyword k) {
  if (!AcceptKw(k)) Fail(std::string("expected ") + ZORQelIMemExpressLexer::KeywordText(k));
}

std::string Parser::Upper(const Token& t) const {
  std::string s = text_->substr(t.begin, t.end - t.begin);
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

std::string Parser::Ident() {
  if (Peek().kind != Token::Ident) Fail("expected a name");
  return Upper(tokens_[at_++]);
}

int Parser::New(Node::Kind k, Pos p) {
  tree_.nodes.emplace_back();
  tree_.nodes.back().kind = k;
  tree_.nodes.back().pos = p;
  return static_cast<int>(tree_.nodes.size()) - 1;
}

int Parser::List(const std::vector<int>& items, Node& into) {
  into.first = static_cast<int>(tree_.lists.size());
  into.count = static_cast<int>(items.size());
  tree_.lists.insert(tree_.lists.end(), items.begin(), items.end());
  return into.first;
}

void Parser::Enter() {
  if (++depth_ > kMaxDepth) Fail("nesting deeper than " + std::to_string(kMaxDepth) + " levels");
}

// --- expressions ------------------------------------------------------------------

int Parser::Expr() {
  Enter();
  int left = Simple();
  Node::Op op = Node::None;
  switch (Peek().kind) {
    case Token::Lt: op = Node::Lt; break;
    case Token::Gt: op = Node::Gt; break;
    case Token::Le: op = Node::Le; break;
    case Token::Ge: op = Node::Ge; break;
    case Token::Eq: op = Node::Eq; break;
    case Token::Ne: op = Node::Ne; break;
    case Token::InstEq: op = Node::InstEq; break;
    case Token::InstNe: op = Node::InstNe; break;
    case Token::Ident:
      if (IsKw(kIN)) op = Node::In;
      if (IsKw(kLIKE)) op = Node::Like;
      break;
    default: break;
  }
  if (op != Node::None) left = Join(op, left, &Parser::Simple);
  Leave();
  return left;
}

int Parser::Join(Node::Op op, int left, int (Parser::*operand)()) {
  Pos p = Peek().pos;
  ++at_;  // the operator
  int right = (this->*operand)();
  int n = New(Node::Binary, p);
  tree_.nodes[n].op = op;
  tree_.nodes[n].a = left;
  tree_.nodes[n].b = right;
  return n;
}

// The operators of one level of precedence: a token kind, or a keyword.
struct Parser::OpToken {
  Token::Kind kind;
  Keyword keyword;
  Node::Op op;
};

int Parser::Chain(int (Parser::*operand)(), const OpToken* ops, std::size_t count) {
  int left = (this->*operand)();
  for (;;) {
    Node::Op op = Node::None;
    for (std::size_t k = 0; k < count && op == Node::None; ++k) {
      const bool at = ops[k].keyword != kNone ? IsKw(ops[k].keyword) : Peek().kind == ops[k].kind;
      if (at) op = ops[k].op;
    }
    if (op == Node::None) return left;
    left = Join(op, left, operand);
  }
}

int Parser::Simple() {
  static const OpToken kAdding[] = {{Token::Plus, kNone, Node::Add},
                                    {Token::Minus, kNone, Node::Sub},
                                    {Token::Ident, kOR, Node::Or},
                                    {Token::Ident, kXOR, Node::Xor}};
  return Chain(&Parser::Term, kAdding, sizeof kAdding / sizeof kAdding[0]);
}

int Parser::Term() {
  static const OpToken kMultiplying[] = {{Token::Star, kNone, Node::Mul},
                                         {Token::Slash, kNone, Node::Div},
                                         {Token::Concat, kNone, Node::Concat},
                                         {Token::Ident, kDIV, Node::IntDiv},
                                         {Token::Ident, kMOD, Node::Mod},
                                         {Token::Ident, kAND, Node::And}};
  return Chain(&Parser::Factor, kMultiplying, sizeof kMultiplying / sizeof kMultiplying[0]);
}

int Parser::Factor() {
  int left = Unary();
  if (Peek().kind == Token::Power) left = Join(Node::Pow, left, &Parser::NestedFactor);
  return left;
}

int Parser::NestedFactor() {
  Enter();
  int right = Factor();  // ** groups to the right: the nesting is bounded
  Leave();
  return right;
}

int Parser::Unary() {
  Node::Op op = Node::None;
  if (Peek().kind == Token::Minus) op = Node::Neg;
  else if (Peek().kind == Token::Plus) op = Node::Plus;
  else if (IsKw(kNOT)) op = Node::Not;
  if (op == Node::None) return Primary();
  Pos p = Peek().pos;
  ++at_;
  Enter();
  int operand = Unary();
  Leave();
  int n = New(Node::Unary, p);
  tree_.nodes[n].op = op;
  tree_.nodes[n].a = operand;
  return n;
}

int Parser::Literal() {
  const Token& t = tokens_[at_++];
  std::string s = text_->substr(t.begin, t.end - t.begin);
  int n;
  switch (t.kind) {
    case Token::Integer:
      n = New(Node::Int, t.pos);
      tree_.nodes[n].integer = std::strtoll(s.c_str(), nullptr, 10);
      return n;
    case Token::Real:
      n = New(Node::Real, t.pos);
      tree_.nodes[n].real = std::strtod(s.c_str(), nullptr);
      return n;
    case Token::Binary:
      n = New(Node::Bin, t.pos);
      tree_.nodes[n].text = s.substr(1);
      return n;
    default: {
      n = New(Node::Str, t.pos);
      std::string v;
      if (s[0] == '"') {
        for (std::size_t i = 1; i + 8 <= s.size() - 1; i += 8) {
          AppendUtf8(v, std::strtoul(s.substr(i, 8).c_str(), nullptr, 16));
        }
      } else {
        for (std::size_t i = 1; i + 1 < s.size(); ++i) {
          v += s[i];
          if (s[i] == '\'') ++i;  // '' stands for one quote
        }
      }
      tree_.nodes[n].text = std::move(v);
      return n;
    }
  }
}

int Parser::Primary() {
  Enter();
  const Token& t = Peek();
  Pos p = t.pos;
  int n = -1;
  switch (t.kind) {
    case Token::Integer:
    case Token::Real:
    case Token::String:
    case Token::Binary:
      n = Literal();
      break;
    case Token::Question:
      ++at_;
      n = New(Node::Indet, p);
      break;
    case Token::LParen:
      ++at_;
      n = Expr();
      Expect(Token::RParen, "')'");
      break;
    case Token::LBracket: {
      ++at_;
      std::vector<int> items;
      if (!Accept(Token::RBracket)) {
        do {
          int item = Expr();
          if (Accept(Token::Colon)) {
            int r = New(Node::Repeat, tree_.nodes[item].pos);
            tree_.nodes[r].a = item;
            tree_.nodes[r].b = Expr();
            item = r;
          }
          items.push_back(item);
        } while (Accept(Token::Comma));
        Expect(Token::RBracket, "']'");
      }
      n = New(Node::AggInit, p);
      List(items, tree_.nodes[n]);
      break;
    }
    case Token::LBrace: {
      ++at_;
      int lo = Simple();
      bool strict1 = Peek().kind == Token::Lt;
      if (!Accept(Token::Lt) && !Accept(Token::Le)) Fail("expected '<' or '<=' in an interval");
      int item = Simple();
      bool strict2 = Peek().kind == Token::Lt;
      if (!Accept(Token::Lt) && !Accept(Token::Le)) Fail("expected '<' or '<=' in an interval");
      int hi = Simple();
      Expect(Token::RBrace, "'}'");
      n = New(Node::Interval, p);
      tree_.nodes[n].a = lo;
      tree_.nodes[n].b = item;
      tree_.nodes[n].c = hi;
      tree_.nodes[n].flags = static_cast<std::uint8_t>((strict1 ? 1 : 0) | (strict2 ? 2 : 0));
      break;
    }
    case Token::Ident:
      switch (t.keyword) {
        case kTRUE: case kFALSE: case kUNKNOWN:
          n = New(Node::Logical, p);
          tree_.nodes[n].flags = t.keyword == kTRUE ? 1 : t.keyword == kFALSE ? 0 : 2;
          ++at_;
          break;
        case kSELF:
          ++at_;
          n = New(Node::Self, p);
          break;
        case kQUERY: {
          ++at_;
          Expect(Token::LParen, "'('");
          std::string var = Ident();
          Expect(Token::LtStar, "'<*'");
          int source = Expr();
          Expect(Token::Bar, "'|'");
          int cond = Expr();
          Expect(Token::RParen, "')'");
          n = New(Node::Query, p);
          tree_.nodes[n].text = var;
          tree_.nodes[n].a = source;
          tree_.nodes[n].b = cond;
          break;
        }
        case kNone: {
          std::string name = Ident();
          if (Accept(Token::LParen)) {
            std::vector<int> args;
            if (!Accept(Token::RParen)) {
              do args.push_back(Expr());
              while (Accept(Token::Comma));
              Expect(Token::RParen, "')'");
            }
            n = New(Node::Call, p);
            tree_.nodes[n].text = name;
            List(args, tree_.nodes[n]);
          } else {
            n = New(Node::Name, p);
            tree_.nodes[n].text = name;
          }
          break;
        }
        default:
          Fail("expected an expression");
      }
      break;
    default:
      Fail("expected an expression");
  }
  n = Qualifiers(n);
  // Complex entity construction a || b.
  Leave();
  return n;
}

int Parser::Qualifiers(int base) {
  for (;;) {
    Pos p = Peek().pos;
    if (Accept(Token::Dot)) {
      int n = New(Node::Attr, p);
      tree_.nodes[n].text = Ident();
      tree_.nodes[n].a = base;
      base = n;
    } else if (Accept(Token::Backslash)) {
      int n = New(Node::Group, p);
      tree_.nodes[n].text = Ident();
      tree_.nodes[n].a = base;
      base = n;
    } else if (Accept(Token::LBracket)) {
      int lo = Expr();
      int hi = Accept(Token::Colon) ? Expr() : -1;
      Expect(Token::RBracket, "']'");
      int n = New(Node::Index, p);
      tree_.nodes[n].a = base;
      tree_.nodes[n].b = lo;
      tree_.nodes[n].c = hi;
      base = n;
    } else {
      return base;
    }
  }
}

// --- statements ---------------------------------------------------------------------

void Parser::Stmts(std::vector<int>& out, Keyword end1, Keyword end2) {
  while (!IsKw(end1) && (end2 == kNone || !IsKw(end2))) {
    if (Peek().kind == Token::End) Fail("unterminated statement list");
    out.push_back(Stmt());
  }
}

int Parser::Stmt() {
  Enter();
  const Token& t = Peek();
  Pos p = t.pos;
  int n = -1;
  if (Accept(Token::Semi)) {
    n = New(Node::SNull, p);
  } else if (t.kind != Token::Ident) {
    Fail("expected a statement");
  } else if (AcceptKw(kIF)) {
    int cond = Expr();
    ExpectKw(kTHEN);
    std::vector<int> body;
    Stmts(body, kELSE, kEND_IF);
    int split = static_cast<int>(body.size());
    if (AcceptKw(kELSE)) Stmts(body, kEND_IF);
    ExpectKw(kEND_IF);
    Expect(Token::Semi, "';'");
    n = New(Node::SIf, p);
    tree_.nodes[n].a = cond;
    tree_.nodes[n].split = split;
    List(body, tree_.nodes[n]);
  } else if (AcceptKw(kCASE)) {
    int sel = Expr();
    ExpectKw(kOF);
    std::vector<int> actions;
    int otherwise = -1;
    while (!IsKw(kEND_CASE)) {
      if (AcceptKw(kOTHERWISE)) {
        Expect(Token::Colon, "':'");
        otherwise = Stmt();
        continue;
      }
      Pos ap = Peek().pos;
      std::vector<int> labels;
      do labels.push_back(Expr());
      while (Accept(Token::Comma));
      Expect(Token::Colon, "':'");
      int action = New(Node::SCaseAction, ap);
      int body = Stmt();
      tree_.nodes[action].a = body;
      List(labels, tree_.nodes[action]);
      actions.push_back(action);
    }
    ExpectKw(kEND_CASE);
    Expect(Token::Semi, "';'");
    n = New(Node::SCase, p);
    tree_.nodes[n].a = sel;
    tree_.nodes[n].b = otherwise;
    List(actions, tree_.nodes[n]);
  } else if (AcceptKw(kBEGIN)) {
    std::vector<int> body;
    Stmts(body, kEND);
    ExpectKw(kEND);
    Expect(Token::Semi, "';'");
    n = New(Node::SCompound, p);
    List(body, tree_.nodes[n]);
  } else if (AcceptKw(kREPEAT)) {
    n = New(Node::SRepeat, p);
    if (Peek().kind == Token::Ident && Peek().keyword == kNone && Peek(1).kind == Token::Assign) {
      tree_.nodes[n].text = Ident();
      ++at_;
      int from = Expr();
      ExpectKw(kTO);
      int to = Expr();
      int by = AcceptKw(kBY) ? Expr() : -1;
      tree_.nodes[n].a = from;
      tree_.nodes[n].b = to;
      tree_.nodes[n].c = by;
    }
    if (AcceptKw(kWHILE)) {
      int w = Expr();
      tree_.nodes[n].d = w;
    }
    if (AcceptKw(kUNTIL)) {
      int u = Expr();
      tree_.nodes[n].e = u;
    }
    Body(n, kEND_REPEAT);
  } else if (AcceptKw(kRETURN)) {
    n = New(Node::SReturn, p);
    if (Accept(Token::LParen)) {
      int v = Expr();
      tree_.nodes[n].a = v;
      Expect(Token::RParen, "')'");
    }
    Expect(Token::Semi, "';'");
  } else if (AcceptKw(kESCAPE)) {
    Expect(Token::Semi, "';'");
    n = New(Node::SEscape, p);
  } else if (AcceptKw(kSKIP)) {
    Expect(Token::Semi, "';'");
    n = New(Node::SSkip, p);
  } else if (AcceptKw(kALIAS)) {
    n = New(Node::SAlias, p);
    tree_.nodes[n].text = Ident();
    ExpectKw(kFOR);
    int target = Primary();
    tree_.nodes[n].a = target;
    Body(n, kEND_ALIAS);
  } else {
    int target = Primary();
    if (Accept(Token::Assign)) {
      int value = Expr();
      n = New(Node::SAssign, p);
      tree_.nodes[n].a = target;
      tree_.nodes[n].b = value;
    } else {
      const Node& c = tree_.nodes[target];
      if (c.kind != Node::Call && c.kind != Node::Name) Fail("expected ':=' or a procedure call");
      n = New(Node::SCall, p);
      tree_.nodes[n].a = target;
    }
    Expect(Token::Semi, "';'");
  }
  Leave();
  return n;
}

// --- declarations ---------------------------------------------------------------------

void Parser::SkipType(bool& aggregate) {
  aggregate = IsKw(kSET) || IsKw(kBAG) || IsKw(kLIST) || IsKw(kARRAY) || IsKw(kAGGREGATE);
  int nest = 0;
  for (;;) {
    Token::Kind k = Peek().kind;
    if (k == Token::End) Fail("unterminated type");
    if (nest == 0 && (k == Token::Semi || k == Token::RParen || k == Token::Assign)) return;
    if (k == Token::LParen || k == Token::LBracket) ++nest;
    if (k == Token::RParen || k == Token::RBracket) --nest;
    ++at_;
  }
}

void Parser::Locals(std::vector<Variable>& out) {
  for (;;) {
    if (AcceptKw(kCONSTANT)) {
      while (!AcceptKw(kEND_CONSTANT)) out.push_back(Constant());
      Expect(Token::Semi, "';'");
    } else if (AcceptKw(kLOCAL)) {
      while (!AcceptKw(kEND_LOCAL)) {
        std::vector<Variable> names = NamesAndType();
        int init = Accept(Token::Assign) ? Expr() : -1;
        Expect(Token::Semi, "';'");
        for (Variable& v : names) {
          v.init = init;
          out.push_back(v);
        }
      }
      Expect(Token::Semi, "';'");
    } else if (IsKw(kFUNCTION) || IsKw(kPROCEDURE)) {
      bool procedure = IsKw(kPROCEDURE);
      ++at_;
      CallableDecl(procedure);
    } else if (IsKw(kENTITY) || IsKw(kTYPE) || IsKw(kSUBTYPE_CONSTRAINT)) {
      SkipDeclaration();
    } else {
      return;
    }
  }
}

Variable Parser::Constant() {
  Variable v;
  v.pos = Peek().pos;
  v.name = Ident();
  Expect(Token::Colon, "':'");
  SkipType(v.aggregate);
  Expect(Token::Assign, "':='");
  v.init = Expr();
  Expect(Token::Semi, "';'");
  return v;
}

void Parser::Body(int n, Keyword end) {
  Expect(Token::Semi, "';'");
  std::vector<int> body;
  Stmts(body, end);
  ExpectKw(end);
  Expect(Token::Semi, "';'");
  List(body, tree_.nodes[static_cast<std::size_t>(n)]);
}

std::vector<Variable> Parser::NamesAndType() {
  std::vector<Variable> names;
  do {
    Variable v;
    v.pos = Peek().pos;
    v.name = Ident();
    names.push_back(v);
  } while (Accept(Token::Comma));
  Expect(Token::Colon, "':'");
  bool aggregate = false;
  SkipType(aggregate);
  for (Variable& v : names) v.aggregate = aggregate;
  return names;
}

void Parser::SkipDeclaration() {
  Keyword end = IsKw(kENTITY) ? kEND_ENTITY : IsKw(kTYPE) ? kEND_TYPE : kEND_SUBTYPE_CONSTRAINT;
  while (!AcceptKw(end)) {
    if (Peek().kind == Token::End) Fail("unterminated declaration");
    ++at_;
  }
  Expect(Token::Semi, "';'");
}

void Parser::CallableDecl(bool procedure) {
  Enter();
  Callable f;
  f.procedure = procedure;
  f.pos = Peek().pos;
  f.name = Ident();
  if (Accept(Token::LParen)) {
    do {
      bool var = AcceptKw(kVAR);
      for (Variable& v : NamesAndType()) {
        f.params.push_back(v);
        f.varParams.push_back(var);
      }
    } while (Accept(Token::Semi));
    Expect(Token::RParen, "')'");
  }
  if (!procedure) {
    Expect(Token::Colon, "':'");
    bool aggregate = false;
    SkipType(aggregate);
  }
  Expect(Token::Semi, "';'");
  Locals(f.locals);
  Stmts(f.body, procedure ? kEND_PROCEDURE : kEND_FUNCTION);
  ++at_;
  Accept(Token::Semi);
  tree_.callables.push_back(std::move(f));
  Leave();
}

void Parser::RuleDecl() {
  GlobalRule r;
  r.pos = Peek().pos;
  r.name = Ident();
  ExpectKw(kFOR);
  Expect(Token::LParen, "'('");
  do r.entities.push_back(Ident());
  while (Accept(Token::Comma));
  Expect(Token::RParen, "')'");
  Expect(Token::Semi, "';'");
  Locals(r.locals);
  Stmts(r.body, kWHERE);
  ExpectKw(kWHERE);
  while (!IsKw(kEND_RULE)) {
    Where w;
    w.pos = Peek().pos;
    if (Peek().kind == Token::Ident && Peek(1).kind == Token::Colon) {
      w.label = text_->substr(Peek().begin, Peek().end - Peek().begin);
      at_ += 2;
    }
    std::uint32_t begin = Peek().begin;
    w.expr = Expr();
    w.text = text_->substr(begin, tokens_[at_ - 1].end - begin);
    Expect(Token::Semi, "';'");
    r.where.push_back(std::move(w));
  }
  tree_.rules.push_back(std::move(r));
}

void Parser::Declaration(const std::string& text) {
  Start(text);
  if (AcceptKw(kFUNCTION)) {
    CallableDecl(false);
  } else if (AcceptKw(kPROCEDURE)) {
    CallableDecl(true);
  } else if (AcceptKw(kRULE)) {
    RuleDecl();
  } else if (AcceptKw(kCONSTANT)) {
    while (!IsKw(kEND_CONSTANT) && Peek().kind != Token::End) tree_.constants.push_back(Constant());
  } else {
    Fail("expected FUNCTION, PROCEDURE, RULE or CONSTANT");
  }
}

int Parser::Expression(const std::string& text) {
  Start(text);
  int n = Expr();
  if (Peek().kind != Token::End) Fail("unexpected text after the expression");
  return n;
}

int Parser::DeriveExpression(const std::string& text) {
  Start(text);
  int nest = 0;
  while (!(nest == 0 && Peek().kind == Token::Assign)) {
    Token::Kind k = Peek().kind;
    if (k == Token::End) Fail("expected ':='");
    if (k == Token::LParen || k == Token::LBracket) ++nest;
    if (k == Token::RParen || k == Token::RBracket) --nest;
    ++at_;
  }
  ++at_;
  int n = Expr();
  if (Peek().kind != Token::End) Fail("unexpected text after the expression");
  return n;
}

int Parser::WhereExpression(const std::string& text, std::string& label) {
  Start(text);
  label.clear();
  if (Peek().kind == Token::Ident && Peek(1).kind == Token::Colon) {
    label = text.substr(Peek().begin, Peek().end - Peek().begin);
    at_ += 2;
  }
  int n = Expr();
  if (Peek().kind != Token::End) Fail("unexpected text after the expression");
  return n;
}

std::vector<int> Parser::UniqueExpressions(const std::string& text, std::string& label) {
  Start(text);
  label.clear();
  if (Peek().kind == Token::Ident && Peek(1).kind == Token::Colon) {
    label = text.substr(Peek().begin, Peek().end - Peek().begin);
    at_ += 2;
  }
  std::vector<int> out;
  do out.push_back(Primary());
  while (Accept(Token::Comma));
  if (Peek().kind != Token::End) Fail("unexpected text after the attributes");
  return out;
}

}  // namespace ZORQelIMemRule
