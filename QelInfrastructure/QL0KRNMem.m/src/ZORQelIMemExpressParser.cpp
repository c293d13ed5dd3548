// ZORQelIMemExpressParser: reads the schemas of an ISO 10303-11 text.
#include "ZORQelIMemExpressParser.h"

#include <cerrno>
#include <cstdlib>

namespace ZORQelIMemExpress {
namespace {

// A readable spelling of a token for messages.
std::string Describe(const std::string& text, const Token& t) {
  if (t.kind == Token::End) return "the end of the text";
  std::string s = text.substr(t.begin, t.end - t.begin > 40 ? 40 : t.end - t.begin);
  return "'" + s + "'";
}

bool IsSectionStart(const Token& t) {
  return t.kind == Token::Ident &&
         (t.keyword == kDERIVE || t.keyword == kINVERSE || t.keyword == kUNIQUE ||
          t.keyword == kWHERE || t.keyword == kEND_ENTITY);
}

// The value of an integer literal, unset when it does not fit.
ZORQelI::Mint IntegerValue(const std::string& digits, bool negative) {
  errno = 0;
  long long v = std::strtoll(digits.c_str(), nullptr, 10);
  if (errno != 0) return ZORQelI::Mint::UNSET;
  if (negative) v = -v;
  if (v <= INT32_MIN || v > INT32_MAX) return ZORQelI::Mint::UNSET;
  return ZORQelI::Mint(static_cast<std::int32_t>(v));
}

}  // namespace

ZORQelIMemExpressParser::DepthGuard::DepthGuard(ZORQelIMemExpressParser& p) : p_(p) {
  if (++p_.depth_ > kMaxDepth) {
    --p_.depth_;
    p_.Fail(p_.Cur(), "nesting deeper than " + std::to_string(kMaxDepth) + " levels");
  }
}

void ZORQelIMemExpressParser::Fail(const Token& at, const std::string& message) {
  error_->pos = at.pos;
  error_->warning = false;
  error_->text = message;
  throw Abort();
}

void ZORQelIMemExpressParser::Expected(const char* what) {
  Fail(Cur(), std::string("expected ") + what + ", found " + Describe(text_, Cur()));
}

const Token& ZORQelIMemExpressParser::Peek(int k) const {
  std::size_t q = p_ + static_cast<std::size_t>(k);
  return q < toks_.size() ? toks_[q] : toks_.back();
}

bool ZORQelIMemExpressParser::Accept(Token::Kind k) {
  if (toks_[p_].kind != k) return false;
  if (k != Token::End) ++p_;
  return true;
}

bool ZORQelIMemExpressParser::AcceptKw(Keyword k) {
  if (!IsKw(k)) return false;
  ++p_;
  return true;
}

void ZORQelIMemExpressParser::Expect(Token::Kind k, const char* what) {
  if (!Accept(k)) Expected(what);
}

void ZORQelIMemExpressParser::ExpectKw(Keyword k) {
  if (AcceptKw(k)) return;
  std::string what = ZORQelIMemExpressLexer::KeywordText(k);
  Expected(what.c_str());
}

std::string ZORQelIMemExpressParser::Name(const char* what) {
  const Token& t = Cur();
  if (t.kind != Token::Ident || t.keyword != kNone) Expected(what);
  ++p_;
  return Text(t);
}

bool ZORQelIMemExpressParser::Run(std::vector<Schema>& out, Message* error) {
  error_ = error;
  try {
    if (Is(Token::End)) Fail(Cur(), "no schema in the text");
    while (!Is(Token::End)) SchemaDecl(out);
  } catch (const Abort&) {
    return false;
  }
  return true;
}

void ZORQelIMemExpressParser::SchemaDecl(std::vector<Schema>& out) {
  if (!IsKw(kSCHEMA)) Expected("SCHEMA");
  ++p_;
  out.emplace_back();
  Schema& s = out.back();
  schema_ = &s;
  s.pos = Cur().pos;
  s.name = Name("a schema name");
  if (Is(Token::String)) {
    const Token& v = Cur();
    s.version = text_.substr(v.begin + 1, v.end - v.begin - 2);
    ++p_;
  }
  Expect(Token::Semi, "';'");
  for (;;) {
    if (AcceptKw(kEND_SCHEMA)) break;
    if (IsKw(kUSE) || IsKw(kREFERENCE)) {
      bool use = IsKw(kUSE);
      InterfaceSpec(s, use);
    } else if (IsKw(kCONSTANT)) {
      ConstantDecl(&s);
    } else if (IsKw(kRULE)) {
      RuleDecl(&s);
    } else if (!Declaration(&s)) {
      Expected("a declaration or END_SCHEMA");
    }
  }
  Expect(Token::Semi, "';'");
  schema_ = nullptr;
}

void ZORQelIMemExpressParser::InterfaceSpec(Schema& s, bool use) {
  Interface in;
  in.use = use;
  in.text.begin = Cur().begin;
  ++p_;
  ExpectKw(kFROM);
  in.pos = Cur().pos;
  in.schema = Name("a schema name");
  if (Accept(Token::LParen)) {
    in.all = false;
    do {
      Interface::Item item;
      item.pos = Cur().pos;
      item.name = Name("a name");
      if (AcceptKw(kAS)) item.alias = Name("a name");
      in.items.push_back(std::move(item));
    } while (Accept(Token::Comma));
    Expect(Token::RParen, "')' or ','");
  }
  in.text.end = toks_[p_ - 1].end;
  Expect(Token::Semi, "';'");
  s.order.push_back({Order::Interface, static_cast<int>(s.interfaces.size())});
  s.interfaces.push_back(std::move(in));
}

void ZORQelIMemExpressParser::ConstantDecl(Schema* s) {
  Other o;
  o.kind = Other::Constant;
  o.pos = Cur().pos;
  o.text.begin = Cur().begin;
  ExpectKw(kCONSTANT);
  Schema* keep = schema_;
  schema_ = nullptr;
  while (!IsKw(kEND_CONSTANT)) {
    std::string n = Name("a constant name or END_CONSTANT");
    if (o.name.empty()) o.name = n;
    Expect(Token::Colon, "':'");
    Type(false);
    Expect(Token::Assign, "':='");
    Expression();
    Expect(Token::Semi, "';'");
  }
  schema_ = keep;
  ++p_;
  o.text.end = toks_[p_ - 1].end;
  Expect(Token::Semi, "';'");
  if (s != nullptr) {
    s->order.push_back({Order::Other, static_cast<int>(s->others.size())});
    s->others.push_back(std::move(o));
  }
}

bool ZORQelIMemExpressParser::Declaration(Schema* s) {
  if (IsKw(kENTITY)) EntityDecl(s);
  else if (IsKw(kTYPE)) TypeDecl(s);
  else if (IsKw(kFUNCTION)) AlgorithmDecl(s, true);
  else if (IsKw(kPROCEDURE)) AlgorithmDecl(s, false);
  else if (IsKw(kSUBTYPE_CONSTRAINT)) SubtypeConstraintDecl(s);
  else return false;
  return true;
}

void ZORQelIMemExpressParser::AttributeRef(std::string* name, bool* redeclared) {
  // attribute_decl = attribute_id | SELF \ entity . attribute [RENAMED id]
  if (AcceptKw(kSELF)) {
    *redeclared = true;
    Expect(Token::Backslash, "'\\'");
    std::string e = Name("an entity name");
    Expect(Token::Dot, "'.'");
    std::string a = Name("an attribute name");
    *name = "SELF\\" + e + "." + a;
    if (AcceptKw(kRENAMED)) *name = Name("an attribute name");
  } else {
    *redeclared = false;
    *name = Name("an attribute name");
  }
}

void ZORQelIMemExpressParser::EntityDecl(Schema* s) {
  DepthGuard guard(*this);
  ++p_;
  Entity e;
  e.pos = Cur().pos;
  e.name = Name("an entity name");
  // Supertype and subtype declarations, in either edition's spelling.
  // `( supertype_expression )` after SUPERTYPE OF: its text is kept.
  auto supertypeOf = [&] {
    Expect(Token::LParen, "'('");
    e.hasSupertypeExpr = true;
    e.supertypeExpr.begin = Cur().begin;
    SupertypeExpr();
    e.supertypeExpr.end = toks_[p_ - 1].end;
    Expect(Token::RParen, "')'");
  };
  if (AcceptKw(kABSTRACT)) {
    e.abstract = true;
    if (!AcceptKw(kENTITY) && AcceptKw(kSUPERTYPE) && AcceptKw(kOF)) supertypeOf();
  } else if (AcceptKw(kSUPERTYPE)) {
    if (AcceptKw(kOF)) supertypeOf();
  }
  if (AcceptKw(kSUBTYPE)) {
    ExpectKw(kOF);
    NameList(e.supers, e.superPos, "an entity name");
  }
  Expect(Token::Semi, "';'");
  // Explicit attributes.
  while (!IsSectionStart(Cur())) {
    std::uint32_t begin = Cur().begin;
    std::vector<std::pair<std::string, Pos>> plain, redeclared;
    do {
      Pos pos = Cur().pos;
      std::string n;
      bool re = false;
      AttributeRef(&n, &re);
      (re ? redeclared : plain).emplace_back(std::move(n), pos);
    } while (Accept(Token::Comma));
    Expect(Token::Colon, "':' or ','");
    bool optional = AcceptKw(kOPTIONAL);
    int type = Type(false);
    std::uint32_t end = toks_[p_ - 1].end;
    Expect(Token::Semi, "';'");
    for (auto& [n, pos] : plain) {
      Attribute a;
      a.name = n;
      a.pos = pos;
      a.optional = optional;
      a.type = type;
      e.attrs.push_back(std::move(a));
    }
    for (auto& [n, pos] : redeclared) {
      Clause c;
      c.kind = Clause::Redeclared;
      c.name = n;
      c.pos = pos;
      c.text = {begin, end};
      e.clauses.push_back(std::move(c));
    }
  }
  // A clause section: clauses up to the next section, each kept with its
  // position and text; body reads one clause up to its ';'.
  auto section = [&](Keyword keyword, Clause::Kind kind, auto body) {
    if (!AcceptKw(keyword)) return;
    do {
      Clause c;
      c.kind = kind;
      c.pos = Cur().pos;
      c.text.begin = Cur().begin;
      body(c);
      c.text.end = toks_[p_ - 1].end;
      Expect(Token::Semi, "';'");
      e.clauses.push_back(std::move(c));
    } while (!IsSectionStart(Cur()));
  };
  section(kDERIVE, Clause::Derive, [&](Clause& c) {
    bool re = false;
    AttributeRef(&c.name, &re);
    Expect(Token::Colon, "':'");
    Type(false);
    Expect(Token::Assign, "':='");
    Expression();
  });
  section(kINVERSE, Clause::Inverse, [&](Clause& c) {
    bool re = false;
    AttributeRef(&c.name, &re);
    Expect(Token::Colon, "':'");
    if (IsKw(kSET) || IsKw(kBAG)) {
      ++p_;
      if (Is(Token::LBracket)) BoundSpec(nullptr);
      ExpectKw(kOF);
    }
    Name("an entity name");
    ExpectKw(kFOR);
    Name("an attribute name");
    if (Accept(Token::Dot)) Name("an attribute name");
  });
  section(kUNIQUE, Clause::Unique, [&](Clause& c) {
    RuleLabel(c);
    do {
      if (IsKw(kSELF)) {
        ++p_;
        Expect(Token::Backslash, "'\\'");
        Name("an entity name");
        Expect(Token::Dot, "'.'");
      }
      Name("an attribute name");
    } while (Accept(Token::Comma));
  });
  if (IsKw(kWHERE)) WhereClause(&e.clauses);
  EndOf(kEND_ENTITY);
  if (s != nullptr) {
    s->order.push_back({Order::Entity, static_cast<int>(s->entities.size())});
    s->entities.push_back(std::move(e));
  }
}

void ZORQelIMemExpressParser::WhereClause(std::vector<Clause>* out) {
  ExpectKw(kWHERE);
  do {
    Clause c;
    c.kind = Clause::Where;
    c.pos = Cur().pos;
    c.text.begin = Cur().begin;
    RuleLabel(c);
    Expression();
    c.text.end = toks_[p_ - 1].end;
    Expect(Token::Semi, "';'");
    if (out != nullptr) out->push_back(std::move(c));
  } while (!(Is(Token::Ident) && (Cur().keyword == kEND_ENTITY || Cur().keyword == kEND_TYPE ||
                                  Cur().keyword == kEND_RULE)) &&
           !Is(Token::End));
}

// `( name {, name} )`: each name and its position.
void ZORQelIMemExpressParser::NameList(std::vector<std::string>& names, std::vector<Pos>& positions,
                                       const char* what) {
  Expect(Token::LParen, "'('");
  do {
    positions.push_back(Cur().pos);
    names.push_back(Name(what));
  } while (Accept(Token::Comma));
  Expect(Token::RParen, "')' or ','");
}

// `label :` before a rule: the label is kept as the clause's name.
void ZORQelIMemExpressParser::RuleLabel(Clause& c) {
  if (Is(Token::Ident) && Cur().keyword == kNone && Peek().kind == Token::Colon) {
    c.name = Text(Cur());
    p_ += 2;
  }
}

void ZORQelIMemExpressParser::SupertypeExpr() {
  // supertype_expression = factor { ANDOR factor }; factor = term { AND term };
  // term = entity_ref | ONEOF ( supertype_expression { , ... } ) | ( supertype_expression )
  DepthGuard guard(*this);
  for (;;) {
    for (;;) {
      if (AcceptKw(kONEOF)) {
        Expect(Token::LParen, "'('");
        do SupertypeExpr();
        while (Accept(Token::Comma));
        Expect(Token::RParen, "')' or ','");
      } else if (Accept(Token::LParen)) {
        SupertypeExpr();
        Expect(Token::RParen, "')'");
      } else {
        Name("an entity name or ONEOF");
      }
      if (!AcceptKw(kAND)) break;
    }
    if (!AcceptKw(kANDOR)) break;
  }
}

void ZORQelIMemExpressParser::TypeDecl(Schema* s) {
  DepthGuard guard(*this);
  ++p_;
  ZORQelIMemExpress::TypeDecl t;
  t.pos = Cur().pos;
  t.name = Name("a type name");
  Expect(Token::Eq, "'='");
  TypeSpec node;
  node.pos = Cur().pos;
  t.type = UnderlyingType(node);
  Expect(Token::Semi, "';'");
  if (IsKw(kWHERE)) WhereClause(&t.where);
  EndOf(kEND_TYPE);
  if (s != nullptr) {
    s->order.push_back({Order::Type, static_cast<int>(s->typeDecls.size())});
    s->typeDecls.push_back(std::move(t));
  }
}

int ZORQelIMemExpressParser::UnderlyingType(TypeSpec& node) {
  bool extensible = AcceptKw(kEXTENSIBLE);
  bool generic = extensible && AcceptKw(kGENERIC_ENTITY);
  auto nameList = [&](TypeSpec& n) { NameList(n.items, n.itemPos, "a name"); };
  // The items when listHere, else BASED_ON a type and maybe WITH more items.
  auto itemsOrBasedOn = [&](bool listHere) {
    if (listHere) {
      nameList(node);
    } else if (AcceptKw(kBASED_ON)) {
      node.basedOnPos = Cur().pos;
      node.basedOn = Name("a type name");
      if (AcceptKw(kWITH)) nameList(node);
    }
    return NewType(node);
  };
  if (!generic && AcceptKw(kENUMERATION)) {
    node.form = TypeSpec::Enumeration;
    node.extensible = extensible;
    return itemsOrBasedOn(AcceptKw(kOF));
  }
  if (AcceptKw(kSELECT)) {
    node.form = TypeSpec::Select;
    node.extensible = extensible;
    node.genericEntity = generic;
    return itemsOrBasedOn(Is(Token::LParen));
  }
  if (extensible) Expected("ENUMERATION or SELECT");
  return Type(false);
}

int ZORQelIMemExpressParser::NewType(const TypeSpec& t) {
  if (schema_ == nullptr) return -1;
  schema_->types.push_back(t);
  return static_cast<int>(schema_->types.size() - 1);
}

void ZORQelIMemExpressParser::BoundSpec(TypeSpec* node) {
  Expect(Token::LBracket, "'['");
  for (int side = 0; side < 2; ++side) {
    std::size_t first = p_;
    Expression();
    std::size_t count = p_ - first;
    if (node != nullptr) {
      ZORQelI::Mint& v = side == 0 ? node->low : node->high;
      std::string& text = side == 0 ? node->lowText : node->highText;
      const Token& t = toks_[first];
      if (count == 1 && t.kind == Token::Question) {
        v = ZORQelI::Mint::UNSET;
      } else if (count == 1 && t.kind == Token::Integer) {
        v = IntegerValue(Text(t), false);
        if (!v.IsSet()) text = Text(t);
      } else if (count == 2 && t.kind == Token::Minus && toks_[first + 1].kind == Token::Integer) {
        v = IntegerValue(Text(toks_[first + 1]), true);
        if (!v.IsSet()) text = "-" + Text(toks_[first + 1]);
      } else {
        text = text_.substr(t.begin, toks_[p_ - 1].end - t.begin);
      }
    }
    if (side == 0) Expect(Token::Colon, "':'");
  }
  Expect(Token::RBracket, "']'");
  if (node != nullptr) node->bounded = true;
}

int ZORQelIMemExpressParser::Type(bool generalized) {
  DepthGuard guard(*this);
  TypeSpec node;
  node.pos = Cur().pos;
  const Token& t = Cur();
  if (t.kind != Token::Ident) Expected("a type");
  auto width = [&](TypeSpec& n) {
    if (!Accept(Token::LParen)) return;
    std::size_t first = p_;
    SimpleExpression();
    if (p_ - first == 1 && toks_[first].kind == Token::Integer) {
      n.width = IntegerValue(Text(toks_[first]), false);
      if (!n.width.IsSet()) n.widthText = Text(toks_[first]);
    } else {
      n.widthText = text_.substr(toks_[first].begin, toks_[p_ - 1].end - toks_[first].begin);
    }
    Expect(Token::RParen, "')'");
  };
  switch (t.keyword) {
    case kARRAY:
    case kLIST:
    case kSET:
    case kBAG: {
      ++p_;
      node.form = TypeSpec::Aggregate;
      node.kind = t.keyword == kARRAY ? ZORQelI::Iarray
                  : t.keyword == kLIST ? ZORQelI::Ilist
                  : t.keyword == kSET  ? ZORQelI::Iset
                                       : ZORQelI::Ibag;
      if (Is(Token::LBracket)) BoundSpec(&node);
      else if (t.keyword == kARRAY && !generalized) Expected("the bounds of an ARRAY");
      ExpectKw(kOF);
      if (t.keyword == kARRAY && AcceptKw(kOPTIONAL)) node.optional = true;
      if ((t.keyword == kARRAY || t.keyword == kLIST) && AcceptKw(kUNIQUE)) node.unique = true;
      node.element = Type(generalized);
      return NewType(node);
    }
    case kAGGREGATE:
      if (!generalized) Expected("a type");
      ++p_;
      if (Accept(Token::Colon)) Name("a type label");
      ExpectKw(kOF);
      node.form = TypeSpec::AnyAggregate;
      node.element = Type(true);
      return NewType(node);
    case kGENERIC:
    case kGENERIC_ENTITY:
      if (!generalized) Expected("a type");
      ++p_;
      node.form = t.keyword == kGENERIC ? TypeSpec::Generic : TypeSpec::GenericEntity;
      if (Accept(Token::Colon)) Name("a type label");
      return NewType(node);
    case kBINARY:
    case kSTRING:
      ++p_;
      node.kind = t.keyword == kBINARY ? ZORQelI::Ibinary : ZORQelI::Istring;
      width(node);
      if (node.width.IsSet() || !node.widthText.empty()) node.fixed = AcceptKw(kFIXED);
      return NewType(node);
    case kREAL:
      ++p_;
      node.kind = ZORQelI::Ireal;
      width(node);
      return NewType(node);
    case kNUMBER:
      ++p_;
      node.kind = ZORQelI::Ireal;
      node.number = true;
      return NewType(node);
    case kINTEGER:
      ++p_;
      node.kind = ZORQelI::Iinteger;
      return NewType(node);
    case kBOOLEAN:
      ++p_;
      node.kind = ZORQelI::Iboolean;
      return NewType(node);
    case kLOGICAL:
      ++p_;
      node.kind = ZORQelI::Ilogical;
      return NewType(node);
    case kNone:
      node.form = TypeSpec::Named;
      node.name = Text(t);
      ++p_;
      return NewType(node);
    default:
      Expected("a type");
  }
}

// The head every FUNCTION, PROCEDURE, RULE and SUBTYPE_CONSTRAINT shares: its
// keyword (the current token) and its name.  The kept text starts at the
// keyword.
Other ZORQelIMemExpressParser::OtherHead(Other::Kind kind, const char* what) {
  Other o;
  o.kind = kind;
  o.text.begin = Cur().begin;
  ++p_;
  o.pos = Cur().pos;
  o.name = Name(what);
  return o;
}

// The tail they share: the END_ keyword, whose end closes the kept text, its
// ';', and the declaration appended to the schema in source order (s is null
// for a declaration nested in an algorithm, which is checked but not kept).
void ZORQelIMemExpressParser::OtherTail(Schema* s, Other& o, Keyword endKeyword) {
  ExpectKw(endKeyword);
  o.text.end = toks_[p_ - 1].end;
  Expect(Token::Semi, "';'");
  if (s != nullptr) {
    s->order.push_back({Order::Other, static_cast<int>(s->others.size())});
    s->others.push_back(std::move(o));
  }
}

// `( [VAR] a, b : type ; ... )`, when present: a procedure's parameters may be
// VAR, a function's may not.
void ZORQelIMemExpressParser::FormalParameters(bool allowVar) {
  if (!Accept(Token::LParen)) return;
  do {
    if (allowVar) AcceptKw(kVAR);
    do Name("a parameter name");
    while (Accept(Token::Comma));
    Expect(Token::Colon, "':' or ','");
    Type(true);
  } while (Accept(Token::Semi));
  Expect(Token::RParen, "')' or ';'");
}

// FUNCTION (with its result type) or PROCEDURE (whose parameters may be VAR).
void ZORQelIMemExpressParser::AlgorithmDecl(Schema* s, bool function) {
  DepthGuard guard(*this);
  Other o = function ? OtherHead(Other::Function, "a function name")
                     : OtherHead(Other::Procedure, "a procedure name");
  const Keyword end = function ? kEND_FUNCTION : kEND_PROCEDURE;
  // An algorithm's own declarations and types belong to no schema.
  Schema* keep = schema_;
  schema_ = nullptr;
  FormalParameters(!function);
  if (function) {
    Expect(Token::Colon, "':'");
    Type(true);
  }
  Expect(Token::Semi, "';'");
  AlgorithmHead();
  Statements(end);
  schema_ = keep;
  OtherTail(s, o, end);
}

void ZORQelIMemExpressParser::RuleDecl(Schema* s) {
  DepthGuard guard(*this);
  Other o = OtherHead(Other::Rule, "a rule name");
  Schema* keep = schema_;
  schema_ = nullptr;
  ExpectKw(kFOR);
  Expect(Token::LParen, "'('");
  do Name("an entity name");
  while (Accept(Token::Comma));
  Expect(Token::RParen, "')' or ','");
  Expect(Token::Semi, "';'");
  AlgorithmHead();
  Statements(kWHERE, kEND_RULE);
  if (IsKw(kWHERE)) WhereClause(nullptr);
  schema_ = keep;
  OtherTail(s, o, kEND_RULE);
}

void ZORQelIMemExpressParser::SubtypeConstraintDecl(Schema* s) {
  DepthGuard guard(*this);
  Other o = OtherHead(Other::SubtypeConstraint, "a constraint name");
  ExpectKw(kFOR);
  Name("an entity name");
  Expect(Token::Semi, "';'");
  if (AcceptKw(kABSTRACT)) {
    ExpectKw(kSUPERTYPE);
    Expect(Token::Semi, "';'");
  }
  if (AcceptKw(kTOTAL_OVER)) {
    Expect(Token::LParen, "'('");
    do Name("an entity name");
    while (Accept(Token::Comma));
    Expect(Token::RParen, "')' or ','");
    Expect(Token::Semi, "';'");
  }
  if (!IsKw(kEND_SUBTYPE_CONSTRAINT)) {
    SupertypeExpr();
    Expect(Token::Semi, "';'");
  }
  OtherTail(s, o, kEND_SUBTYPE_CONSTRAINT);
}

void ZORQelIMemExpressParser::AlgorithmHead() {
  // { declaration } [ constant_decl ] [ local_decl ]; nested declarations are
  // checked, not kept (schema_ is null here).
  while (Declaration(nullptr)) {
  }
  if (IsKw(kCONSTANT)) ConstantDecl(nullptr);
  if (AcceptKw(kLOCAL)) {
    while (!AcceptKw(kEND_LOCAL)) {
      do Name("a variable name or END_LOCAL");
      while (Accept(Token::Comma));
      Expect(Token::Colon, "':' or ','");
      Type(true);
      if (Accept(Token::Assign)) Expression();
      Expect(Token::Semi, "';'");
    }
    Expect(Token::Semi, "';'");
  }
}

void ZORQelIMemExpressParser::Statements(Keyword end1, Keyword end2) {
  while (!IsKw(end1) && (end2 == kNone || !IsKw(end2))) {
    if (Is(Token::End)) Expected(ZORQelIMemExpressLexer::KeywordText(end1));
    Statement();
  }
}

void ZORQelIMemExpressParser::Statement() {
  DepthGuard guard(*this);
  const Token& t = Cur();
  if (Accept(Token::Semi)) return;  // null statement
  if (t.kind != Token::Ident) Expected("a statement");
  switch (t.keyword) {
    case kALIAS:
      ++p_;
      Name("an alias name");
      ExpectKw(kFOR);
      if (!AcceptKw(kSELF)) Name("a reference");
      Qualifiers();
      Expect(Token::Semi, "';'");
      Block(kEND_ALIAS);
      return;
    case kCASE:
      ++p_;
      Expression();
      ExpectKw(kOF);
      while (!IsKw(kOTHERWISE) && !IsKw(kEND_CASE)) {
        do Expression();
        while (Accept(Token::Comma));
        Expect(Token::Colon, "':' or ','");
        Statement();
      }
      if (AcceptKw(kOTHERWISE)) {
        Expect(Token::Colon, "':'");
        Statement();
      }
      EndOf(kEND_CASE);
      return;
    case kBEGIN:
      ++p_;
      Block(kEND);
      return;
    case kESCAPE:
    case kSKIP:
      ++p_;
      Expect(Token::Semi, "';'");
      return;
    case kIF:
      ++p_;
      Expression();
      ExpectKw(kTHEN);
      Statements(kELSE, kEND_IF);
      if (AcceptKw(kELSE)) Statements(kEND_IF);
      EndOf(kEND_IF);
      return;
    case kREPEAT:
      ++p_;
      if (Is(Token::Ident) && Cur().keyword == kNone) {
        ++p_;
        Expect(Token::Assign, "':='");
        Expression();
        ExpectKw(kTO);
        Expression();
        if (AcceptKw(kBY)) Expression();
      }
      if (AcceptKw(kWHILE)) Expression();
      if (AcceptKw(kUNTIL)) Expression();
      Expect(Token::Semi, "';'");
      Block(kEND_REPEAT);
      return;
    case kRETURN:
      ++p_;
      if (Accept(Token::LParen)) {
        Expression();
        Expect(Token::RParen, "')'");
      }
      Expect(Token::Semi, "';'");
      return;
    case kSELF:
    case kNone:
      // An assignment or a procedure call.
      Reference();
      if (Accept(Token::Assign)) Expression();
      Expect(Token::Semi, "';'");
      return;
    default:
      Expected("a statement");
  }
}

// A name or SELF, called when parameters follow, then its qualifiers.
void ZORQelIMemExpressParser::Reference() {
  ++p_;
  if (Is(Token::LParen)) ActualParameters();
  Qualifiers();
}

void ZORQelIMemExpressParser::ActualParameters() {
  Expect(Token::LParen, "'('");
  if (Accept(Token::RParen)) return;
  do Expression();
  while (Accept(Token::Comma));
  Expect(Token::RParen, "')' or ','");
}

void ZORQelIMemExpressParser::Qualifiers() {
  for (;;) {
    if (Accept(Token::Dot) || Accept(Token::Backslash)) {
      if (!Is(Token::Ident)) Expected("a name");
      ++p_;
    } else if (Accept(Token::LBracket)) {
      Expression();
      if (Accept(Token::Colon)) Expression();
      Expect(Token::RBracket, "']'");
    } else {
      return;
    }
  }
}

void ZORQelIMemExpressParser::Expression() {
  DepthGuard guard(*this);
  SimpleExpression();
  switch (Cur().kind) {
    case Token::Lt:
    case Token::Gt:
    case Token::Le:
    case Token::Ge:
    case Token::Ne:
    case Token::Eq:
    case Token::InstEq:
    case Token::InstNe:
      ++p_;
      SimpleExpression();
      return;
    case Token::Ident:
      if (Cur().keyword == kIN || Cur().keyword == kLIKE) {
        ++p_;
        SimpleExpression();
      }
      return;
    default:
      return;
  }
}

bool ZORQelIMemExpressParser::AcceptOperator(bool (*isOperator)(const Token& t)) {
  if (!isOperator(Cur())) return false;
  ++p_;
  return true;
}

void ZORQelIMemExpressParser::EndOf(Keyword end) {
  ExpectKw(end);
  Expect(Token::Semi, "';'");
}

void ZORQelIMemExpressParser::Block(Keyword end) {
  Statements(end);
  EndOf(end);
}

void ZORQelIMemExpressParser::SimpleExpression() {
  // term { (+ | - | OR | XOR) term }
  do Term();
  while (AcceptOperator([](const Token& t) {
    return t.kind == Token::Plus || t.kind == Token::Minus ||
           (t.kind == Token::Ident && (t.keyword == kOR || t.keyword == kXOR));
  }));
}

void ZORQelIMemExpressParser::Term() {
  // factor { (* | / | || | DIV | MOD | AND) factor }
  do Factor();
  while (AcceptOperator([](const Token& t) {
    return t.kind == Token::Star || t.kind == Token::Slash || t.kind == Token::Concat ||
           (t.kind == Token::Ident && (t.keyword == kDIV || t.keyword == kMOD || t.keyword == kAND));
  }));
}

void ZORQelIMemExpressParser::Factor() {
  SimpleFactor();
  if (Accept(Token::Power)) SimpleFactor();
}

void ZORQelIMemExpressParser::SimpleFactor() {
  DepthGuard guard(*this);
  const Token& t = Cur();
  switch (t.kind) {
    case Token::LBracket:  // aggregate initializer
      ++p_;
      if (!Accept(Token::RBracket)) {
        do {
          Expression();
          if (Accept(Token::Colon)) Expression();  // repetition
        } while (Accept(Token::Comma));
        Expect(Token::RBracket, "']' or ','");
      }
      Qualifiers();
      return;
    case Token::LBrace:  // interval
      ++p_;
      SimpleExpression();
      if (!Accept(Token::Lt) && !Accept(Token::Le)) Expected("'<' or '<='");
      SimpleExpression();
      if (!Accept(Token::Lt) && !Accept(Token::Le)) Expected("'<' or '<='");
      SimpleExpression();
      Expect(Token::RBrace, "'}'");
      return;
    case Token::Plus:
    case Token::Minus:
      ++p_;
      SimpleFactor();
      return;
    case Token::LParen:
      ++p_;
      Expression();
      Expect(Token::RParen, "')'");
      Qualifiers();
      return;
    case Token::Integer:
    case Token::Real:
    case Token::String:
    case Token::Binary:
    case Token::Question:
      ++p_;
      Qualifiers();  // a string may be indexed
      return;
    case Token::Ident:
      switch (t.keyword) {
        case kNOT:
          ++p_;
          SimpleFactor();
          return;
        case kTRUE:
        case kFALSE:
        case kUNKNOWN:
          ++p_;
          return;
        case kQUERY:
          ++p_;
          Expect(Token::LParen, "'('");
          Name("a variable name");
          Expect(Token::LtStar, "'<*'");
          SimpleExpression();
          Expect(Token::Bar, "'|'");
          Expression();
          Expect(Token::RParen, "')'");
          Qualifiers();
          return;
        case kSELF:
        case kNone:
          Reference();
          return;
        default:
          Expected("an expression");
      }
    default:
      Expected("an expression");
  }
}

}  // namespace ZORQelIMemExpress
