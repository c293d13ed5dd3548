// ZORQelIMemRuleEngine: the evaluator of EXPRESS expressions and statements
// over a population of the in-memory provider, and the checks of a schema's
// rules built on it.
#include "ZORQelIMemRuleEngine.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>

#include "ZORQelIMemAggregateIMP.h"
#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemEntityInstanceIMP.h"
#include "ZORQelIMemInstancesIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemRuleSyntax.h"
#include "ZORQelIMemTypeIMP.h"
#include "ZORQelIMemValueIMP.h"

using namespace ZORQelIMemRule;

namespace ZORQelIMemRuleEval {

std::string Up(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// Values are made, copied and dropped at every step of an evaluation: they
// stay five words.
static_assert(sizeof(Value) <= 5 * sizeof(std::uint64_t), "a value is five words at most");

void Shared::Drop(Shared* s) {
  if (--s->refs != 0) return;
  switch (s->what) {
    case TextBlock: Chars::Free(static_cast<Chars*>(s)); return;
    case Aggregate: delete static_cast<Agg*>(s); return;
    case Constructed: delete static_cast<Made*>(s); return;
  }
}

Ref Chars::Make(const char* s, std::size_t n) {
  void* memory = ::operator new(sizeof(Chars) + n + 1);
  auto* c = new (memory) Chars();
  c->size = n;
  char* data = reinterpret_cast<char*>(c + 1);
  if (n != 0) std::memcpy(data, s, n);
  data[n] = 0;
  return Ref(c);
}

void Chars::Free(Chars* c) {
  c->~Chars();
  ::operator delete(c);
}

Value Value::S(const char* s, std::size_t size, Kind kind) {
  Value v;
  v.p = Chars::Make(s, size);
  v.k = kind;
  v.str = static_cast<const Chars*>(v.p.get())->Data();
  v.n = static_cast<std::uint32_t>(size);
  return v;
}

Value Value::Borrow(const char* s, std::size_t size, Kind kind) {
  Value v;
  v.k = kind;
  v.str = s;
  v.n = static_cast<std::uint32_t>(size);
  return v;
}

Value Value::NewAgg(int kind) {
  auto* a = new Agg();
  a->kind = kind;
  return Of(Ref(a), Aggregate);
}

}  // namespace ZORQelIMemRuleEval

using namespace ZORQelIMemRuleEval;


namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemRuleEngine";
constexpr int kMaxEvalDepth = 1000;
// Loop rounds one rule evaluation may take: a REPEAT to 2**31 is refused
// rather than run for minutes.
constexpr std::uint64_t kMaxSteps = 1000000;
// The longest string a value holds (its length is kept in 32 bits).
constexpr std::size_t kMaxText = 0xFFFFFFFFu;

[[noreturn]] void Refuse(const std::string& why, int line) {
  ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(why.c_str())), kSource, line);
  std::abort();  // Throw does not return
}

// The built-in functions, by code (NodeCache::index of a call).
const char* const kBuiltins[] = {"ABS", "ACOS", "ASIN", "ATAN", "BLENGTH", "COS", "EXISTS", "EXP", "FORMAT", "HIBOUND", "HIINDEX", "LENGTH", "LOBOUND", "LOG", "LOG10", "LOG2", "LOINDEX", "NVL", "ODD", "ROLESOF", "SIN", "SIZEOF", "SQRT", "TAN", "TYPEOF", "USEDIN", "VALUE", "VALUE_IN", "VALUE_UNIQUE"};
enum BuiltinCode : int { bABS, bACOS, bASIN, bATAN, bBLENGTH, bCOS, bEXISTS, bEXP, bFORMAT, bHIBOUND, bHIINDEX, bLENGTH, bLOBOUND, bLOG, bLOG10, bLOG2, bLOINDEX, bNVL, bODD, bROLESOF, bSIN, bSIZEOF, bSQRT, bTAN, bTYPEOF, bUSEDIN, bVALUE, bVALUE_IN, bVALUE_UNIQUE, bCount };
static_assert(sizeof kBuiltins / sizeof kBuiltins[0] == bCount, "one name a code");

// o as the final class T, or null: comparing the exact type is cheaper than
// a cast that searches the class hierarchy, and the same for a final class.
template <class T, class O>
T* Exact(O* o) {
  static_assert(std::is_final<T>::value, "an exact type test needs a final class");
  return o != nullptr && typeid(*o) == typeid(T) ? static_cast<T*>(o) : nullptr;
}

struct DepthGuard {
  int& d;
  explicit DepthGuard(int& depth) : d(depth) { ++d; }
  ~DepthGuard() { --d; }
};

std::int64_t MintOr(ZORQelI::Mint v, std::int64_t dflt) { return v.IsSet() ? std::int64_t(v) : dflt; }

// FORMAT(n, f): the symbolic formats "[+][-][0]w[.d]I|F|E" (I an integer in
// w places, F fixed with d decimals, E one digit, d decimals and a signed
// exponent of at least two digits; + shows the sign, - aligns left, 0 pads
// with zeros) and the pictures of '#' digits with at most one '.' (as
// many places, and decimals as #s after the point).  A number wider than
// its format is written whole; d is 6 when left out; w has at most three
// digits.  A real given an I format is rounded to the nearest integer.  0 done, 1 a real beyond the integers, 2 a format of
// neither kind.
int FormatNumber(bool integer, std::int64_t i, double r, const std::string& f, std::string& out) {
  std::string spec = "%";
  std::size_t k = 0;
  bool plus = false, minus = false, zero = false;
  for (; k < f.size() && (f[k] == '+' || f[k] == '-' || f[k] == '0'); ++k) {
    bool& flag = f[k] == '+' ? plus : f[k] == '-' ? minus : zero;
    if (flag) return 2;
    flag = true;
  }
  long width = -1, decimals = -1;
  char kind = 0;
  auto number = [&](long& into) {
    std::size_t start = k;
    into = 0;
    for (; k < f.size() && f[k] >= '0' && f[k] <= '9' && k - start < 3; ++k) into = into * 10 + (f[k] - '0');
    return k > start && (k >= f.size() || f[k] < '0' || f[k] > '9');
  };
  const bool symbolic = number(width) && (k >= f.size() || f[k] != '.' || (++k, number(decimals))) &&
                        k + 1 == f.size() && (f[k] == 'I' || f[k] == 'F' || f[k] == 'E' ||
                                              f[k] == 'i' || f[k] == 'f' || f[k] == 'e');
  if (symbolic) {
    kind = static_cast<char>(std::toupper(static_cast<unsigned char>(f[k])));
    if (kind == 'I' && decimals >= 0) return 2;
  } else {
    // A picture: #s, at most one point.
    if (plus || minus || zero || f.empty()) return 2;
    const std::size_t point = f.find('.');
    if (f.find_first_not_of("#.") != std::string::npos || f.size() > 999 ||
        (point != std::string::npos && f.find('.', point + 1) != std::string::npos)) {
      return 2;
    }
    width = static_cast<long>(f.size());
    decimals = point == std::string::npos ? 0 : static_cast<long>(f.size() - point - 1);
    kind = 'F';
  }
  if (plus) spec += '+';
  if (minus) spec += '-';
  if (zero) spec += '0';
  spec += std::to_string(width);
  char buffer[2048];
  if (kind == 'I') {
    long long v = i;
    if (!integer) {
      if (!(r > -9.2e18 && r < 9.2e18)) return 1;
      v = std::llround(r);
    }
    spec += "lld";
    std::snprintf(buffer, sizeof buffer, spec.c_str(), v);
  } else {
    spec += "." + std::to_string(decimals < 0 ? 6 : decimals) + (kind == 'E' ? "E" : "f");
    std::snprintf(buffer, sizeof buffer, spec.c_str(), integer ? static_cast<double>(i) : r);
  }
  out = buffer;
  return 0;
}

// The pattern matching of LIKE: @ a letter, ^ an upper-case letter, ? any
// character, & the rest, # a digit, $ a word, * any run, \ quotes the next.
bool Like(const char* s, const char* p, int depth) {
  if (depth > 4096) return false;
  for (; *p != 0; ++p) {
    char c = *p;
    if (c == '*' || c == '&') {
      if (c == '&') return true;
      for (const char* t = s;; ++t) {
        if (Like(t, p + 1, depth + 1)) return true;
        if (*t == 0) return false;
      }
    }
    if (*s == 0) return false;
    const unsigned char x = static_cast<unsigned char>(*s);
    switch (c) {
      case '@': if (!std::isalpha(x)) return false; break;
      case '^': if (!std::isupper(x)) return false; break;
      case '?': break;
      case '#': if (!std::isdigit(x)) return false; break;
      case '$': if (std::isspace(x)) return false;
        while (s[1] != 0 && !std::isspace(static_cast<unsigned char>(s[1]))) ++s;
        break;
      case '\\': ++p; if (*p != *s) return false; break;
      default: if (c != *s) return false;
    }
    ++s;
  }
  return *s == 0;
}
}  // namespace

ZORQelIMemRuleEngine::ZORQelIMemRuleEngine(ZORQelIModeler m)
    : handle_(m), m_(ZORQelIMemModelerIMP::DownCast(m)) {
  stack_.reserve(256);
  framePool_.reserve(64);
  for (const ZORQelIMemDeclaration& d : m_->Declarations()) {
    if (d.kind != ZORQelIMemDeclaration::Function && d.kind != ZORQelIMemDeclaration::Procedure &&
        d.kind != ZORQelIMemDeclaration::Rule && d.kind != ZORQelIMemDeclaration::Constant) {
      continue;
    }
    std::size_t before = tree_.callables.size(), rulesBefore = tree_.rules.size(),
                constsBefore = tree_.constants.size();
    try {
      Parser(tree_).Declaration(std::string(static_cast<const char*>(d.text)));
    } catch (const SyntaxError& e) {
      tree_.callables.resize(before);
      tree_.rules.resize(rulesBefore);
      tree_.constants.resize(constsBefore);
      std::string why = "line " + std::to_string(e.pos.line) + ", column " +
                        std::to_string(e.pos.column) + ": " + e.text;
      std::string name = Up(std::string(static_cast<const char*>(d.name)));
      if (d.kind == ZORQelIMemDeclaration::Rule) badRules_.emplace_back(name, why);
      declErrors_[name] = why;
    }
  }
  // Every DERIVE clause now: reading a derived attribute is the one place an
  // evaluation meets a clause of an entity no check has visited, and the
  // tree may not grow while an evaluation holds nodes of it (see Parse).
  for (ZORQelIMemEntityIMP* e : m_->Entities()) {
    for (const ZORQelIMemClause& c : e->ExpressInfo().clauses) {
      if (c.kind == ZORQelIMemClause::Derive) Parse(&c);
    }
  }
  cache_.resize(tree_.nodes.size());
  for (std::size_t i = 0; i < tree_.callables.size(); ++i) callables_[tree_.callables[i].name] = i;
  for (const Variable& v : tree_.constants) constantInit_[v.name] = v.init;
  for (ZORQelIMemTypeIMP* t : m_->Types()) {
    for (const ZORQelI::string& item : t->ExpressInfo().items) {
      enumItems_.emplace(Up(std::string(static_cast<const char*>(item))),
                         std::string(static_cast<const char*>(t->Name())));
    }
  }
}

namespace ZORQelIMemRuleEval {

void InstanceNumbers::Reserve(std::size_t n) {
  std::size_t capacity = 16;
  while (capacity < 2 * n) capacity *= 2;
  table_.assign(capacity, {nullptr, -1});
  size_ = 0;
}

std::size_t InstanceNumbers::Home(const ZORQelIMemEntityInstanceIMP* x) const {
  // Objects are at least 16-byte aligned: the low bits carry nothing.
  const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(x) >> 4);
  return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 20) & (table_.size() - 1);
}

int InstanceNumbers::Add(const ZORQelIMemEntityInstanceIMP* x) {
  if (2 * (size_ + 1) > table_.size()) {
    std::vector<std::pair<const ZORQelIMemEntityInstanceIMP*, int>> old;
    old.swap(table_);
    table_.assign(old.empty() ? 16 : old.size() * 2, {nullptr, -1});
    for (const auto& entry : old) {
      if (entry.first == nullptr) continue;
      std::size_t i = Home(entry.first);
      while (table_[i].first != nullptr) i = (i + 1) & (table_.size() - 1);
      table_[i] = entry;
    }
  }
  std::size_t i = Home(x);
  for (; table_[i].first != nullptr; i = (i + 1) & (table_.size() - 1)) {
    if (table_[i].first == x) return table_[i].second;
  }
  table_[i] = {x, static_cast<int>(size_)};
  return static_cast<int>(size_++);
}

void InstanceNumbers::Build(const std::vector<const ZORQelIMemEntityInstanceIMP*>& xs) {
  byNumber_ = xs;
  direct_.clear();
  table_.clear();
  size_ = 0;
  if (!xs.empty()) {
    std::int64_t lo = xs[0]->Number(), hi = lo;
    for (const ZORQelIMemEntityInstanceIMP* x : xs) {
      lo = std::min<std::int64_t>(lo, x->Number());
      hi = std::max<std::int64_t>(hi, x->Number());
    }
    // Instance numbers of a file are usually dense: then an array by number
    // finds an instance near the last one found, where the table of
    // addresses would send each lookup to a random place of a large table.
    if (static_cast<std::uint64_t>(hi - lo) < 4 * static_cast<std::uint64_t>(xs.size()) + 64) {
      lo_ = lo;
      direct_.assign(static_cast<std::size_t>(hi - lo) + 1, -1);
      for (std::size_t k = 0; k < xs.size(); ++k) {
        int& at = direct_[static_cast<std::size_t>(xs[k]->Number() - lo)];
        if (at >= 0) {  // two instances of one number: by address after all
          direct_.clear();
          break;
        }
        at = static_cast<int>(k);
      }
    }
  }
  if (!direct_.empty()) return;
  Reserve(xs.size());
  for (const ZORQelIMemEntityInstanceIMP* x : xs) Add(x);
}

int InstanceNumbers::Find(const ZORQelIMemEntityInstanceIMP* x) const {
  if (!direct_.empty()) {
    const std::int64_t at = static_cast<std::int64_t>(x->Number()) - lo_;
    if (at < 0 || at >= static_cast<std::int64_t>(direct_.size())) return -1;
    const int k = direct_[static_cast<std::size_t>(at)];
    // Another population's instance may have the number: the address decides.
    return k >= 0 && byNumber_[static_cast<std::size_t>(k)] == x ? k : -1;
  }
  if (table_.empty()) return -1;
  for (std::size_t i = Home(x); table_[i].first != nullptr; i = (i + 1) & (table_.size() - 1)) {
    if (table_[i].first == x) return table_[i].second;
  }
  return -1;
}

}  // namespace ZORQelIMemRuleEval

ZORQelIMemEntityInstanceIMP* ZORQelIMemRuleEngine::Find(ZORQelI::integer n) {
  if (numbers_.empty()) {
    for (ZORQelIMemEntityInstanceIMP* x : m_->Population()->Members()) {
      if (!x->IsDeleted()) numbers_[x->Number()] = x;
    }
  }
  auto it = numbers_.find(n);
  return it == numbers_.end() ? nullptr : it->second;
}

ParsedClause& ZORQelIMemRuleEngine::Parse(const ZORQelIMemClause* c) {
  auto it = parsed_.find(c);
  if (it != parsed_.end()) return it->second;
  // Parsing appends to tree_.nodes, which may move them: never while an
  // evaluation runs, since Eval, Exec and what they call hold references to
  // nodes (and to their cache_ entries) across the evaluation of operands.
  // So the clauses an evaluation can reach are parsed before any evaluation:
  // DERIVE clauses when the engine is made, an entity's WHERE clauses by
  // WhereRules and a type's by TypeRules, both called only between
  // evaluations of a check, UNIQUE clauses by CheckUnique before them.
  assert(depth_ == 0 && "a clause parsed during an evaluation would move the nodes it holds");
  ParsedClause& p = parsed_[c];
  const std::string text = static_cast<const char*>(c->text);
  try {
    Parser parser(tree_);
    switch (c->kind) {
      case ZORQelIMemClause::Where: p.expr = parser.WhereExpression(text, p.label); break;
      case ZORQelIMemClause::Unique: p.exprs = parser.UniqueExpressions(text, p.label); break;
      case ZORQelIMemClause::Derive: p.expr = parser.DeriveExpression(text); break;
      default: break;
    }
    p.ok = true;
  } catch (const SyntaxError& e) {
    p.error = "line " + std::to_string(c->line + e.pos.line - 1) + ", column " +
              std::to_string(e.pos.line == 1 ? c->column + e.pos.column - 1 : e.pos.column) + ": " +
              e.text;
  }
  cache_.resize(tree_.nodes.size());
  return p;
}

EntityInfo& ZORQelIMemRuleEngine::Info(ZORQelIMemEntityIMP* e) {
  if (e == lastEntity_) return *lastInfo_;
  auto it = info_.find(e);
  if (it != info_.end()) {
    lastEntity_ = e;
    lastInfo_ = it->second.get();
    return *it->second;
  }
  auto info = std::make_unique<EntityInfo>();
  // The entity and its super entities, each once, the entity first.
  std::vector<ZORQelIMemEntityIMP*> chain{e};
  info->ancestors.insert(e);
  for (std::size_t k = 0; k < chain.size(); ++k) {
    for (ZORQelIMemEntityIMP* s : chain[k]->Supers()) {
      if (info->ancestors.insert(s).second) chain.push_back(s);
    }
  }
  info->ancestorList.assign(chain.begin(), chain.end());
  for (ZORQelIMemEntityIMP* owner : chain) {
    for (const ZORQelIMemClause& c : owner->ExpressInfo().clauses) {
      if (c.kind == ZORQelIMemClause::Where) {
        info->wheres.push_back({&c, owner, std::string(), nullptr});
      } else if (c.kind == ZORQelIMemClause::Derive) {
        std::string name = Up(std::string(static_cast<const char*>(c.name)));
        std::size_t dot = name.rfind('.');
        if (dot != std::string::npos) name = name.substr(dot + 1);
        info->derives.emplace(name, std::make_pair(&c, owner));  // the most specific first
      } else if (c.kind == ZORQelIMemClause::Inverse) {
        InverseInfo inv;
        inv.clause = &c;
        inv.name = Up(std::string(static_cast<const char*>(c.name)));
        std::vector<ZORQelIMemExpress::Token> toks;
        ZORQelIMemExpress::Message msg;
        const std::string text = static_cast<const char*>(c.text);
        if (ZORQelIMemExpress::ZORQelIMemExpressLexer(text).Run(toks, &msg)) {
          auto word = [&](std::size_t i) {
            return i < toks.size() ? Up(text.substr(toks[i].begin, toks[i].end - toks[i].begin))
                                   : std::string();
          };
          std::size_t i = 2;  // after "name :"
          if (word(i) == "SET" || word(i) == "BAG") {
            inv.aggregate = true;
            ++i;
            if (word(i) == "[") {
              inv.lo = std::atoll(word(i + 1).c_str());
              inv.hi = word(i + 3) == "?" ? -1 : std::atoll(word(i + 3).c_str());
              i += 5;
            }
            ++i;  // OF
          }
          inv.entity = word(i);
          inv.attr = word(i + 2);
          if (word(i + 3) == ".") inv.attr = word(i + 4);
          inv.want = m_->FindEntity(inv.entity.c_str());
        }
        info->inverses.push_back(inv);
      }
    }
  }
  info->name = Up(std::string(static_cast<const char*>(e->Name())));
  if (!e->IsFrozen()) e->Freeze();
  const auto& layout = e->Layout();
  for (std::size_t k = 0; k < layout.size(); ++k) {
    info->slots.emplace(Up(std::string(static_cast<const char*>(layout[k]->Name()))),
                        static_cast<int>(k));
  }
  EntityInfo& ref = *info;
  info_.emplace(e, std::move(info));
  lastEntity_ = e;
  lastInfo_ = &ref;
  return ref;
}

const std::vector<EntityInfo::Rule>& ZORQelIMemRuleEngine::ParseWheres(EntityInfo& info) {
  info.wheresParsed = true;
  std::unordered_map<const ZORQelIMemEntityIMP*, int> unlabelled;
  const ZORQelIMemEntityIMP* e = info.ancestorList.front();
  for (EntityInfo::Rule& r : info.wheres) {
    const ParsedClause& p = Parse(r.clause);
    r.parsed = &p;
    r.label = LabelOf(*r.clause, p, unlabelled[r.owner]);
    if (r.owner != e) r.label = Up(std::string(static_cast<const char*>(r.owner->Name()))) + "." + r.label;
  }
  return info.wheres;
}

void ZORQelIMemRuleEngine::BuildIndex() {
  if (indexed_) return;
  indexed_ = true;
  const auto& members = m_->Population()->Members();
  std::vector<const ZORQelIMemEntityInstanceIMP*> live;
  live.reserve(members.size());
  for (ZORQelIMemEntityInstanceIMP* x : members) {
    if (!x->IsDeleted()) live.push_back(x);
  }
  dense_.Build(live);
  for (ZORQelIMemEntityInstanceIMP* x : members) {
    if (x->IsDeleted()) continue;
    EntityInfo& info = Info(x->Entity());
    if (info.extents.empty()) {  // the extents x joins, found once per entity
      for (const ZORQelIMemEntityIMP* a : info.ancestorList) info.extents.push_back(&extent_[a]);
    }
    for (std::vector<ZORQelIMemEntityInstanceIMP*>* e : info.extents) e->push_back(x);
  }
  // Every reference as (target's number, referrer, cell), in population
  // order, then grouped by target keeping that order (a counting sort).
  std::vector<std::pair<int, Referrer>> refs;
  std::vector<ZORQelIObjectIMP*> stack;
  auto note = [&](ZORQelIMemEntityInstanceIMP* y, ZORQelIMemEntityInstanceIMP* x, int k) {
    const int t = y != nullptr ? dense_.Find(y) : -1;
    if (t >= 0) refs.emplace_back(t, Referrer(x, k));
  };
  for (ZORQelIMemEntityInstanceIMP* x : members) {
    if (x->IsDeleted()) continue;
    const int n = x->CellCount();
    ZORQelIMemSlot* slots = x->Slots();
    std::uint8_t* tags = x->Tags();
    for (int k = 0; k < n; ++k) {
      if (tags[k] == ZORQelIMemSlot::Reference) {
        note(static_cast<ZORQelIMemEntityInstanceIMP*>(slots[k].object), x, k);
        continue;
      }
      if (tags[k] != ZORQelIMemSlot::Object && tags[k] != ZORQelIMemSlot::Aggregate) continue;
      // Aggregates and select values nest.
      stack.push_back(slots[k].object);
      while (!stack.empty()) {
        ZORQelIObjectIMP* o = stack.back();
        stack.pop_back();
        if (auto* y = Exact<ZORQelIMemEntityInstanceIMP>(o)) {
          note(y, x, k);
        } else if (auto* g = Exact<ZORQelIMemAggregateIMP>(o)) {
          const auto& ss = g->SlotVector();
          const auto& ts = g->TagVector();
          for (std::size_t j = ss.size(); j-- > 0;) {  // reversed: popped in order
            if (ts[j] == ZORQelIMemSlot::Reference || ts[j] == ZORQelIMemSlot::Object ||
                ts[j] == ZORQelIMemSlot::Aggregate) {
              stack.push_back(ss[j].object);
            }
          }
        }
      }
    }
  }
  userStart_.assign(members.size() + 1, 0);
  for (const auto& r : refs) ++userStart_[static_cast<std::size_t>(r.first) + 1];
  for (std::size_t i = 1; i < userStart_.size(); ++i) userStart_[i] += userStart_[i - 1];
  users_.resize(refs.size());
  std::vector<std::size_t> next(userStart_.begin(), userStart_.end() - 1);
  for (const auto& r : refs) users_[next[static_cast<std::size_t>(r.first)]++] = r.second;
}

std::pair<const ZORQelIMemRuleEngine::Referrer*, const ZORQelIMemRuleEngine::Referrer*>
ZORQelIMemRuleEngine::Users(const ZORQelIMemEntityInstanceIMP* x) {
  BuildIndex();
  // An instance's rules and its INVERSE checks ask in turn: the last answer
  // is kept (the index, once built, does not change).
  if (x == usersOf_) return usersLast_;
  const int i = dense_.Find(x);
  if (i < 0) return {nullptr, nullptr};
  const Referrer* base = users_.data();
  usersOf_ = x;
  usersLast_ = {base + userStart_[static_cast<std::size_t>(i)], base + userStart_[static_cast<std::size_t>(i) + 1]};
  return usersLast_;
}

NodeCache& ZORQelIMemRuleEngine::CacheOfSlow(const Node& n) {
  const std::ptrdiff_t id = &n - tree_.nodes.data();
  if (id < 0 || id >= static_cast<std::ptrdiff_t>(tree_.nodes.size())) {
    static thread_local NodeCache scratch;  // not a node of the tree: resolved afresh
    scratch = NodeCache();
    return scratch;
  }
  // cache_ grows with the tree, between evaluations (Parse, Run): growing it
  // here would move entries the evaluation holds.
  assert(cache_.size() == tree_.nodes.size() && "the node cache is sized before evaluating");
  if (cache_.size() < tree_.nodes.size()) cache_.resize(tree_.nodes.size());
  return cache_[static_cast<std::size_t>(id)];
}

const TypeFacts& ZORQelIMemRuleEngine::Facts(const ZORQelITypeIMP* t) {
  // A few types alternate (the cells of one entity): a direct-mapped cache
  // of the facts found spares the hash lookup.
  auto& hit = factsCache_[(reinterpret_cast<std::uintptr_t>(t) >> 4) % factsCache_.size()];
  if (hit.second != nullptr && hit.first == t) return *hit.second;
  auto it = facts_.find(t);
  if (it == facts_.end()) {
    TypeFacts f;
    const auto* mt = dynamic_cast<const ZORQelIMemTypeIMP*>(t);
    if (mt != nullptr && mt->ExpressInfo().declared) f.declared = mt;
    f.enumeration = mt != nullptr && mt->ExpressInfo().form == ZORQelIMemTypeIMP::Enumeration;
    f.binary = t != nullptr && t->PrimitiveType() == ZORQelI::Ibinary;
    // The types CheckTypes visits from a value of this type.
    const ZORQelITypeIMP* u = f.declared;
    for (int guard = 0; u != nullptr && !f.rules && guard < 64; ++guard) {
      const auto* mu = dynamic_cast<const ZORQelIMemTypeIMP*>(u);
      if (mu == nullptr) break;
      for (const ZORQelIMemClause& c : mu->ExpressInfo().clauses) f.rules = f.rules || c.kind == ZORQelIMemClause::Where;
      u = mu->ExpressInfo().underlying;
    }
    it = facts_.emplace(t, f).first;
  }
  hit = {t, &it->second};  // the map is node-based: the address stays valid
  return it->second;
}

void ZORQelIMemRuleEngine::Raise(const Node& at, const std::string& why, bool unsupported) {
  Failure f;
  f.unsupported = unsupported;
  f.why = why;
  f.pos = at.pos;
  if (whereName_ != nullptr) f.where = std::string(whereKind_) + *whereName_;
  throw f;
}

std::int64_t ZORQelIMemRuleEngine::ToInteger(double x, const Node& at) {
  if (!(x >= -9.2e18 && x <= 9.2e18)) Raise(at, "integer overflow");
  return static_cast<std::int64_t>(x);
}

void ZORQelIMemRuleEngine::Step(const Node& at) {
  if (++steps_ > kMaxSteps) {
    Raise(at, "evaluation takes more than " + std::to_string(kMaxSteps) + " loop rounds");
  }
}

Value ZORQelIMemRuleEngine::FromSlot(const ZORQelIMemSlot& s, std::uint8_t tag,
                                     const ZORQelITypeIMP* type) {
  Value v;
  if (tag == ZORQelIMemSlot::Unset) return v;
  if (tag == ZORQelIMemSlot::Reference) {
    v.inst = static_cast<ZORQelIMemEntityInstanceIMP*>(s.object);
    if (v.inst != nullptr) v.k = Value::Entity;
    return v;
  }
  const TypeFacts& facts = Facts(type);
  v.type = facts.declared;
  switch (tag) {
    case ZORQelIMemSlot::Boolean: v.k = Value::Logical; v.logical = s.boolean; return v;
    case ZORQelIMemSlot::Integer: v.k = Value::Int; v.i = s.integer; return v;
    case ZORQelIMemSlot::Real: v.k = Value::Real; v.r = s.real; return v;
    case ZORQelIMemSlot::String:
    case ZORQelIMemSlot::Inline: {
      // Read in place: the cell outlives the value (see Value).
      const char* text = ZORQelIMemSlot::TextOf(s, tag);
      Value t = facts.enumeration ? EnumItem(Up(text))
                                  : Value::Borrow(text, std::strlen(text), facts.binary ? Value::Bin : Value::Str);
      t.type = facts.declared;
      return t;
    }
    default: break;
  }
  ZORQelIObjectIMP* o = s.object;
  // An Aggregate cell holds an aggregate store: asked first.
  auto* g = Exact<ZORQelIMemAggregateIMP>(o);
  if (g == nullptr) {
    if (auto* x = Exact<ZORQelIMemEntityInstanceIMP>(o)) {
      Value e;
      e.k = Value::Entity;
      e.inst = x;
      return e;
    }
  }
  if (g != nullptr) {
    Value r;  // read in place: made an Agg only when needed (AggOf)
    r.k = Value::Aggregate;
    r.store = g;
    r.type = v.type;
    return r;
  }
  if (auto* val = Exact<ZORQelIMemValueIMP>(o)) {
    return FromSlot(val->Slots()[0], val->Tags()[0], val->CellType(0));
  }
  return Value();
}

ZORQelIMemRuleEngine::AggShape ZORQelIMemRuleEngine::Shape(const ZORQelIMemAggregateIMP* g) {
  // A loop indexes one store over and over, rules read a store more than
  // once: the shapes of the stores met are kept, direct-mapped (asking a
  // store its type is the dear part).
  auto& hit = storeShapes_[(reinterpret_cast<std::uintptr_t>(g) >> 4) % storeShapes_.size()];
  if (hit.first == g) return hit.second;
  AggShape shape;
  ZORQelIType ht = g->GetType();
  const ZORQelITypeIMP* at = ht.IsValid() ? static_cast<ZORQelITypeIMP*>(ht.RefMe()) : nullptr;
  if (at == nullptr) return shape;
  auto known = shapes_.find(at);
  if (known != shapes_.end()) {
    hit = {g, known->second};
    return known->second;
  }
  ZORQelI::Types kind = at->PrimitiveType();
  shape.kind = kind == ZORQelI::Iset ? 0 : kind == ZORQelI::Ibag ? 1 : kind == ZORQelI::Ilist ? 2 : 3;
  shape.loBound = MintOr(at->LowerBound(), 0);
  shape.hiBound = MintOr(at->UpperBound(), -1);
  if (shape.kind == 3) shape.lo = shape.loBound;
  shapes_.emplace(at, shape);
  hit = {g, shape};
  return shape;
}

ZORQelIMemRuleEngine::Ref ZORQelIMemRuleEngine::Materialize(const ZORQelIMemAggregateIMP* g) {
  auto known = aggs_.find(g);
  if (known != aggs_.end()) return known->second;
  const AggShape shape = Shape(g);
  Value r = Value::NewAgg(shape.kind);
  Agg* a = r.agg();
  a->lo = shape.lo;
  a->loBound = shape.loBound;
  a->hiBound = shape.hiBound;
  const auto& ss = g->SlotVector();
  const auto& ts = g->TagVector();
  a->items.reserve(ss.size());
  const ZORQelITypeIMP* element = ss.empty() ? nullptr : g->CellType(0);  // one for all
  for (std::size_t j = 0; j < ss.size(); ++j) a->items.push_back(FromSlot(ss[j], ts[j], element));
  aggs_.emplace(g, r.p);
  return r.p;
}

const Agg& ZORQelIMemRuleEngine::AggOf(const Value& v) {
  if (const Agg* own = v.agg()) return *own;
  // aggs_ keeps the made aggregate until the next check: the reference stays valid.
  return *static_cast<const Agg*>(Materialize(v.store).get());
}

void ZORQelIMemRuleEngine::ResetFrames() {
  if (frames_.empty()) return;
  frames_.resize(1);
  frames_[0].clear();
}

Value* ZORQelIMemRuleEngine::Var(const std::string& name) {
  if (frames_.empty()) return nullptr;
  const std::size_t size = name.size();
  const char* const want = name.data();
  for (auto& [n, v] : frames_.back()) {
    // Names are short: compared in line, without a call.
    if (n.size() != size) continue;
    const char* have = n.data();
    std::size_t k = 0;
    while (k < size && have[k] == want[k]) ++k;
    if (k == size) return &v;
  }
  return nullptr;
}

Value ZORQelIMemRuleEngine::Name(const Node& n) {
  if (Value* v = Var(n.text)) return *v;
  if (self_.k == Value::Entity) {
    bool found = false;
    Value v = self_.inst != nullptr ? ReadAttr(self_.inst, n.text, n, found) : Value();
    if (self_.made() != nullptr) v = Attribute(self_, n.text, n), found = true;
    if (found) return v;
  }
  if (n.text == "PI") return Value::R(M_PI);
  if (n.text == "CONST_E") return Value::R(M_E);
  auto c = constants_.find(n.text);
  if (c != constants_.end()) return c->second;
  auto ci = constantInit_.find(n.text);
  if (ci != constantInit_.end()) {
    Frame saved;
    std::vector<Frame> frames;
    frames.swap(frames_);
    Value s = self_;
    self_ = Value();
    Value v;
    try {
      v = Eval(ci->second);
    } catch (...) {
      frames_.swap(frames);
      self_ = s;
      throw;
    }
    frames_.swap(frames);
    self_ = s;
    constants_[n.text] = v;
    return v;
  }
  auto e = enumItems_.find(n.text);
  if (e != enumItems_.end()) return Value::Borrow(e->first.data(), e->first.size(), Value::Enum);
  Raise(n, "unknown name " + n.text);
}

std::size_t ZORQelIMemRuleEngine::Referrers(ZORQelIMemEntityInstanceIMP* x, const InverseInfo& inv,
                                            std::vector<Value>* out) {
  std::size_t count = 0;
  const ZORQelIMemEntityInstanceIMP* last = nullptr;
  auto [it, end] = Users(x);
  for (; it != end; ++it) {
    ZORQelIMemEntityInstanceIMP* by = it->first;
    ZORQelIMemEntityIMP* e = by->Entity();
    if (e != inv.seen) {  // the cell of the attribute in instances of e
      inv.seen = e;
      inv.seenSlot = -1;
      if (inv.want == nullptr || e->Inherits(inv.want)) {
        EntityInfo& bi = Info(e);
        auto s = bi.slots.find(inv.attr);
        if (s != bi.slots.end()) inv.seenSlot = s->second;
      }
    }
    if (inv.seenSlot != it->second) continue;
    // The referrers of one cell are listed together: a repeat follows its first.
    if (count != 0 && last == by) continue;
    last = by;
    ++count;
    if (out != nullptr) out->push_back(Value::E(by));
  }
  return count;
}

Value ZORQelIMemRuleEngine::Inverse(ZORQelIMemEntityInstanceIMP* x, const InverseInfo& inv) {
  Value r = Value::NewAgg(0);
  std::vector<Value>& items = r.agg()->items;
  Referrers(x, inv, &items);
  if (!inv.aggregate) return items.size() == 1 ? items[0] : Value();
  return r;
}

Value ZORQelIMemRuleEngine::ReadAttr(ZORQelIMemEntityInstanceIMP* x, const std::string& name,
                                     const Node& at, bool& found) {
  ZORQelIMemEntityIMP* e = x->Entity();
  NodeCache& c = CacheOf(at);
  if (c.key != e || c.kind < NodeCache::Slot || c.kind > NodeCache::Missing) {
    EntityInfo& info = Info(e);
    c.index = -1;
    c.target = nullptr;
    c.key = e;
    c.kind = NodeCache::Missing;
    auto d = info.derives.find(name);
    auto s = info.slots.find(name);
    if (d != info.derives.end()) {
      c.kind = NodeCache::Derive;
      c.target = d->second.first;
    } else if (s != info.slots.end()) {
      c.kind = NodeCache::Slot;
      c.index = s->second;
      c.target = x->CellType(s->second);  // the attribute's type: the same in every instance of e
    } else {
      for (const InverseInfo& inv : info.inverses) {
        if (inv.name == name) {
          c.kind = NodeCache::Inverse;
          c.target = &inv;
          break;
        }
      }
    }
  }
  found = true;
  switch (c.kind) {
    case NodeCache::Slot:
      return FromSlot(x->Slots()[c.index], x->Tags()[c.index], static_cast<const ZORQelITypeIMP*>(c.target));
    case NodeCache::Inverse: return Inverse(x, *static_cast<const InverseInfo*>(c.target));
    case NodeCache::Derive: break;
    default: found = false; return Value();
  }
  const auto* clause = static_cast<const ZORQelIMemClause*>(c.target);
  const ParsedClause& p = Parse(clause);
  if (!p.ok) Raise(at, "DERIVE " + name + " does not parse: " + p.error, true);
  for (const auto& [y, d] : deriving_) {
    if (y == x && d == clause) Raise(at, "DERIVE " + name + " depends on itself");
  }
  deriving_.emplace_back(x, clause);
  Value saved = self_;
  std::vector<Frame> frames;
  frames.swap(frames_);
  self_ = Value();
  self_.k = Value::Entity;
  self_.inst = x;
  Value v;
  try {
    v = Eval(p.expr);
  } catch (...) {
    frames_.swap(frames);
    self_ = saved;
    deriving_.pop_back();
    throw;
  }
  frames_.swap(frames);
  self_ = saved;
  deriving_.pop_back();
  return v;
}

Value ZORQelIMemRuleEngine::Attribute(const Value& base, const std::string& name, const Node& at) {
  if (base.k == Value::Indet) return Value();
  if (base.k != Value::Entity) Raise(at, "." + name + " of a value that is no entity instance");
  if (base.made() != nullptr) {
    if (const Value* v = base.made()->Find(name)) return *v;
    Raise(at, "no attribute " + name + " in the constructed " + Text(base));
  }
  bool found = false;
  Value v = ReadAttr(base.inst, name, at, found);
  if (!found) {
    Raise(at, "#" + std::to_string(base.inst->Number()) + " (" +
                  std::string(static_cast<const char*>(base.inst->Entity()->Name())) +
                  ") has no attribute " + name);
  }
  return v;
}

std::vector<Value>& ZORQelIMemRuleEngine::Items(Value& v, const Node& at) {
  if (v.k != Value::Aggregate) Raise(at, "an aggregate is expected");
  if (v.agg() == nullptr) v.p = Materialize(v.store);  // shared with aggs_: copied below
  if (v.p.shared()) v.p = Ref(new Agg(*v.agg()));
  return v.agg()->items;
}

Value ZORQelIMemRuleEngine::Logic(const Value& v, const Node& at) {
  if (v.k == Value::Indet) return Value::L(2);
  if (v.k != Value::Logical) Raise(at, "a logical value is expected");
  return v;
}

int ZORQelIMemRuleEngine::Equal(const Value& a, const Value& b, int depth) {
  if (a.k == Value::Indet || b.k == Value::Indet) return 2;
  if (a.Number() && b.Number()) {
    if (a.k == Value::Int && b.k == Value::Int) return a.i == b.i;
    return a.AsReal() == b.AsReal();
  }
  if (a.k != b.k) {
    if ((a.k == Value::Enum || a.k == Value::Str) && (b.k == Value::Enum || b.k == Value::Str)) {
      return a.s() == b.s();
    }
    return 0;
  }
  switch (a.k) {
    case Value::Logical: return a.logical == b.logical ? 1 : (a.logical == 2 || b.logical == 2) ? 2 : 0;
    case Value::Str: case Value::Bin: case Value::Enum: return a.s() == b.s();
    case Value::Entity: {
      if (a.inst != nullptr && a.inst == b.inst) return 1;
      if (depth > 8) return 2;
      // Value comparison: the same entity, attributes equal one by one.
      ZORQelIMemEntityIMP* ea = a.inst != nullptr ? a.inst->Entity() : a.made()->Leaf();
      ZORQelIMemEntityIMP* eb = b.inst != nullptr ? b.inst->Entity() : b.made()->Leaf();
      if (ea == nullptr || eb == nullptr) return 2;  // complex values of no single leaf
      if (ea != eb) return 0;
      const auto& layout = ea->Layout();
      const int n = static_cast<int>(layout.size());
      int result = 1;
      auto value = [&](const Value& x, int k) {
        if (x.inst != nullptr) return FromSlot(x.inst->Slots()[k], x.inst->Tags()[k], x.inst->CellType(k));
        const Value* v = x.made()->Find(Up(std::string(static_cast<const char*>(layout[static_cast<std::size_t>(k)]->Name()))));
        return v != nullptr ? *v : Value();
      };
      for (int k = 0; k < n; ++k) {
        Value va = value(a, k);
        Value vb = value(b, k);
        if (va.k == Value::Indet && vb.k == Value::Indet) continue;
        int e = Equal(va, vb, depth + 1);
        if (e == 0) return 0;
        if (e == 2) result = 2;
      }
      return result;
    }
    case Value::Aggregate: {
      const Agg& ga = AggOf(a);
      const Agg& gb = AggOf(b);
      const auto& x = ga.items;
      const auto& y = gb.items;
      if (x.size() != y.size()) return 0;
      int result = 1;
      if (ga.kind >= 2 && gb.kind >= 2) {
        for (std::size_t k = 0; k < x.size(); ++k) {
          int e = Equal(x[k], y[k], depth + 1);
          if (e == 0) return 0;
          if (e == 2) result = 2;
        }
        return result;
      }
      std::vector<bool> used(y.size(), false);
      for (const Value& v : x) {
        bool hit = false;
        for (std::size_t k = 0; k < y.size() && !hit; ++k) {
          if (!used[k] && Equal(v, y[k], depth + 1) == 1) used[k] = hit = true;
        }
        if (!hit) return 0;
      }
      return 1;
    }
    default: return 0;
  }
}

int ZORQelIMemRuleEngine::Less(const Value& a, const Value& b, const Node& at) {
  if (a.k == Value::Indet || b.k == Value::Indet) return 2;
  if (a.Number() && b.Number()) {
    if (a.k == Value::Int && b.k == Value::Int) return a.i < b.i;
    return a.AsReal() < b.AsReal();
  }
  if ((a.k == Value::Str || a.k == Value::Bin) && a.k == b.k) return a.s() < b.s();
  if (a.k == Value::Logical && b.k == Value::Logical) {
    auto rank = [](int l) { return l == 0 ? 0 : l == 2 ? 1 : 2; };
    return rank(a.logical) < rank(b.logical);
  }
  if (a.k == Value::Enum && b.k == Value::Enum) {
    auto pos = [&](const Value& v) {
      if (const auto* t = dynamic_cast<const ZORQelIMemTypeIMP*>(v.type)) {
        const auto& items = t->ExpressInfo().items;
        for (std::size_t k = 0; k < items.size(); ++k) {
          if (Up(std::string(static_cast<const char*>(items[k]))) == v.s()) return static_cast<long>(k);
        }
      }
      return -1L;
    };
    long pa = pos(a), pb = pos(b);
    if (pa < 0 || pb < 0) Raise(at, "enumeration items of unknown order", true);
    return pa < pb;
  }
  Raise(at, "values that cannot be ordered");
}

const Value& ZORQelIMemRuleEngine::Literal(const Node& n) {
  NodeCache& c = CacheOf(n);
  if (c.index < 0) {
    literals_.push_back(Value::S(n.text, n.kind == Node::Bin ? Value::Bin : Value::Str));
    c.index = static_cast<int>(literals_.size() - 1);
  }
  return literals_[static_cast<std::size_t>(c.index)];
}

Value ZORQelIMemRuleEngine::EnumItem(const std::string& upper) {
  auto e = enumItems_.find(upper);
  if (e != enumItems_.end()) return Value::Borrow(e->first.data(), e->first.size(), Value::Enum);
  return Value::S(upper, Value::Enum);
}

const Value& ZORQelIMemRuleEngine::Operand(int id, Value& scratch, bool last) {
  const Node& n = tree_.nodes[static_cast<std::size_t>(id)];
  if (n.kind == Node::Str) return Literal(n);
  if (last && n.kind == Node::Name) {
    if (const Value* v = Var(n.text)) return *v;
  } else if (last && n.kind == Node::Self) {
    return self_;
  }
  scratch = Eval(id);
  return scratch;
}

Value ZORQelIMemRuleEngine::Binary(const Node& n) {
  Value scratchA, scratchB;
  // A literal on the right evaluates without touching frames or SELF: the
  // left operand may then be read in place too.
  const Node::Kind right = tree_.nodes[static_cast<std::size_t>(n.b)].kind;
  const bool literal = right == Node::Int || right == Node::Real || right == Node::Str ||
                       right == Node::Bin || right == Node::Logical || right == Node::Indet;
  const Value& a = Operand(n.a, scratchA, literal);
  if (n.op == Node::And || n.op == Node::Or || n.op == Node::Xor) {
    int x = Logic(a, n).logical;
    if (n.op == Node::And && x == 0) return Value::L(0);
    if (n.op == Node::Or && x == 1) return Value::L(1);
    int y = Logic(Eval(n.b), n).logical;
    if (n.op == Node::And) return Value::L(y == 0 ? 0 : (x == 2 || y == 2) ? 2 : 1);
    if (n.op == Node::Or) return Value::L(y == 1 ? 1 : (x == 2 || y == 2) ? 2 : 0);
    return Value::L((x == 2 || y == 2) ? 2 : (x != y));
  }
  const Value& b = Operand(n.b, scratchB, true);
  switch (n.op) {
    case Node::InstEq:
    case Node::InstNe:
      // Instances of the population are the same only when they are one.
      if (a.k == Value::Entity && b.k == Value::Entity && a.inst != nullptr && b.inst != nullptr) {
        return Value::L((a.inst == b.inst) == (n.op == Node::InstEq));
      }
      if (n.op == Node::InstEq) return Value::L(Equal(a, b, 0));
      { int e = Equal(a, b, 0); return Value::L(e == 2 ? 2 : !e); }
    case Node::Eq: return Value::L(Equal(a, b, 0));
    case Node::Ne: { int e = Equal(a, b, 0); return Value::L(e == 2 ? 2 : !e); }
    case Node::Lt: return Value::L(Less(a, b, n));
    case Node::Gt: return Value::L(Less(b, a, n));
    case Node::Le: { int l = Less(b, a, n); return Value::L(l == 2 ? 2 : !l); }
    case Node::Ge: { int l = Less(a, b, n); return Value::L(l == 2 ? 2 : !l); }
    case Node::In: {
      if (a.k == Value::Indet || b.k == Value::Indet) return Value::L(2);
      if (b.k != Value::Aggregate) Raise(n, "IN needs an aggregate on its right");
      int result = 0;
      for (const Value& v : AggOf(b).items) {
        int e = Equal(a, v, 0);
        if (e == 1) return Value::L(1);
        if (e == 2) result = 2;
      }
      return Value::L(result);
    }
    case Node::Like:
      if (a.k == Value::Indet || b.k == Value::Indet) return Value::L(2);
      return Value::L(Like(a.c_str(), b.c_str(), 0));
    default: break;
  }
  if (a.k == Value::Indet || b.k == Value::Indet) return Value();
  if (a.k == Value::Aggregate || b.k == Value::Aggregate) {
    if (n.op != Node::Add && n.op != Node::Sub && n.op != Node::Mul) Raise(n, "no such aggregate operation");
    Value r = a.k == Value::Aggregate ? a : b;
    Value other = a.k == Value::Aggregate ? b : a;
    std::vector<Value>& items = Items(r, n);
    bool set = r.agg()->kind == 0;
    auto has = [&](const std::vector<Value>& in, const Value& v) {
      for (const Value& w : in) {
        if (Equal(w, v, 0) == 1) return true;
      }
      return false;
    };
    if (n.op == Node::Add) {
      std::vector<Value> add = other.k == Value::Aggregate ? AggOf(other).items : std::vector<Value>{other};
      if (a.k != Value::Aggregate) {  // element + aggregate: the element first
        std::vector<Value> front = add;
        for (Value& v : items) {
          if (!set || !has(front, v)) front.push_back(v);
        }
        items.swap(front);
      } else {
        for (Value& v : add) {
          if (!set || !has(items, v)) items.push_back(v);
        }
      }
      return r;
    }
    if (a.k != Value::Aggregate) Raise(n, "an aggregate is expected on the left");
    std::vector<Value> right = other.k == Value::Aggregate ? AggOf(other).items : std::vector<Value>{other};
    std::vector<Value> kept;
    if (n.op == Node::Sub) {
      std::vector<bool> used(right.size(), false);
      for (Value& v : items) {
        bool drop = false;
        for (std::size_t k = 0; k < right.size() && !drop; ++k) {
          if (!used[k] && Equal(v, right[k], 0) == 1) used[k] = drop = true;
        }
        if (!drop) kept.push_back(v);
      }
    } else {
      for (Value& v : items) {
        if (has(right, v)) kept.push_back(v);
      }
    }
    items.swap(kept);
    return r;
  }
  if (n.op == Node::Concat) {
    // Complex entity construction: the parts and attributes of both.
    if (a.k != Value::Entity || b.k != Value::Entity) Raise(n, "|| joins entity values only");
    // An instance of the population joins as its entity with the values of
    // its explicit attributes (the instance itself is not changed).
    auto partial = [&](const Value& v) {
      if (v.made() != nullptr) return v.p;
      Ref made(new Made());
      auto* m = static_cast<Made*>(made.get());
      ZORQelIMemEntityIMP* e = v.inst->Entity();
      m->parts.push_back(e);
      const auto& layout = e->Layout();
      for (std::size_t k = 0; k < layout.size(); ++k) {
        const int cell = static_cast<int>(k);
        m->attrs.emplace_back(Up(std::string(static_cast<const char*>(layout[k]->Name()))),
                              FromSlot(v.inst->Slots()[k], v.inst->Tags()[k], v.inst->CellType(cell)));
      }
      return made;
    };
    const Ref leftRef = partial(a), rightRef = partial(b);
    const auto* left = static_cast<const Made*>(leftRef.get());
    const auto* right = static_cast<const Made*>(rightRef.get());
    for (ZORQelIMemEntityIMP* p : right->parts) {
      for (ZORQelIMemEntityIMP* q : left->parts) {
        if (p == q) Raise(n, "|| joins two partial values of " + Up(std::string(static_cast<const char*>(p->Name()))));
      }
    }
    Ref joined(new Made(*left));
    auto* made = static_cast<Made*>(joined.get());
    made->parts.insert(made->parts.end(), right->parts.begin(), right->parts.end());
    made->attrs.insert(made->attrs.end(), right->attrs.begin(), right->attrs.end());
    return Value::Of(std::move(joined), Value::Entity);
  }
  if ((a.k == Value::Str || a.k == Value::Bin) && n.op == Node::Add) {
    if (b.k != a.k) Raise(n, "+ of a string and a value that is no string");
    if (std::size_t(a.n) + b.n > kMaxText) Raise(n, "a string longer than " + std::to_string(kMaxText) + " characters");
    std::string joined;
    joined.reserve(std::size_t(a.n) + b.n);
    joined.append(a.s()).append(b.s());
    return Value::S(joined, a.k);
  }
  if (!a.Number() || !b.Number()) Raise(n, "arithmetic on values that are no numbers");
  if (n.op == Node::Div || n.op == Node::Pow || a.k == Value::Real || b.k == Value::Real) {
    if (n.op == Node::IntDiv || n.op == Node::Mod) {
      if (b.AsReal() == 0) Raise(n, "division by zero");
      std::int64_t x = ToInteger(a.AsReal(), n), y = ToInteger(b.AsReal(), n);
      if (y == 0) Raise(n, "division by zero");
      if (y == -1) return Value::I(n.op == Node::IntDiv ? ToInteger(-a.AsReal(), n) : 0);
      return Value::I(n.op == Node::IntDiv ? x / y : x % y);
    }
    double x = a.AsReal(), y = b.AsReal();
    switch (n.op) {
      case Node::Add: return Value::R(x + y);
      case Node::Sub: return Value::R(x - y);
      case Node::Mul: return Value::R(x * y);
      case Node::Div: if (y == 0) Raise(n, "division by zero"); return Value::R(x / y);
      case Node::Pow:
        if (a.k == Value::Int && b.k == Value::Int && b.i >= 0) return Value::I(ToInteger(std::pow(x, y), n));
        return Value::R(std::pow(x, y));
      default: Raise(n, "no such arithmetic operation");
    }
  }
  std::int64_t x = a.i, y = b.i, z = 0;
  bool overflow = false;
  switch (n.op) {
    case Node::Add: overflow = __builtin_add_overflow(x, y, &z); break;
    case Node::Sub: overflow = __builtin_sub_overflow(x, y, &z); break;
    case Node::Mul: overflow = __builtin_mul_overflow(x, y, &z); break;
    case Node::IntDiv:
    case Node::Mod:
      if (y == 0) Raise(n, "division by zero");
      if (y == -1) {
        overflow = __builtin_sub_overflow(std::int64_t(0), x, &z);
        if (n.op == Node::Mod) z = 0;
      } else {
        z = n.op == Node::IntDiv ? x / y : x % y;
      }
      break;
    default: Raise(n, "no such arithmetic operation");
  }
  if (overflow) Raise(n, "integer overflow");
  return Value::I(z);
}

Value ZORQelIMemRuleEngine::Index(const Node& n) {
  Value lo = Eval(n.b);
  Value hi = n.c >= 0 ? Eval(n.c) : Value();
  Value scratch;
  const Value& base = Operand(n.a, scratch, true);
  if (base.k == Value::Indet || lo.k == Value::Indet) return Value();
  if (lo.k != Value::Int) Raise(n, "an index must be an integer");
  if (base.k == Value::Str || base.k == Value::Bin) {
    std::int64_t from = lo.i, to = n.c >= 0 ? (hi.k == Value::Int ? hi.i : -1) : lo.i;
    if (from < 1 || to < from || to > static_cast<std::int64_t>(base.s().size())) {
      Raise(n, "index " + std::to_string(from) + " out of the string's range");
    }
    return Value::S(base.str + (from - 1), static_cast<std::size_t>(to - from + 1));
  }
  if (base.k != Value::Aggregate) Raise(n, "an index of a value that is no aggregate");
  if (const Agg* own = base.agg()) {
    std::int64_t k = lo.i - own->lo;
    if (k < 0 || k >= static_cast<std::int64_t>(own->items.size())) return Value();
    return own->items[static_cast<std::size_t>(k)];
  }
  // An element of a store read in place.
  const ZORQelIMemAggregateIMP* g = base.store;
  const auto& ss = g->SlotVector();
  std::int64_t k = lo.i - Shape(g).lo;
  if (k < 0 || k >= static_cast<std::int64_t>(ss.size())) return Value();
  return FromSlot(ss[static_cast<std::size_t>(k)], g->TagVector()[static_cast<std::size_t>(k)], g->CellType(0));
}

std::string ZORQelIMemRuleEngine::Qualified(const ZORQelIObjectIMP* o, const std::string& name) {
  const ZORQelIMemModelerIMP* m = m_;
  if (auto* e = dynamic_cast<const ZORQelIMemEntityIMP*>(o)) m = e->Modeler();
  if (auto* t = dynamic_cast<const ZORQelIMemTypeIMP*>(o)) m = t->Modeler();
  return Up(std::string(static_cast<const char*>(m->Name())) + "." + name);
}

std::vector<std::string> ZORQelIMemRuleEngine::TypeNames(const ZORQelITypeIMP* t) {
  std::vector<std::string> out;
  for (int guard = 0; t != nullptr && guard < 64; ++guard) {
    const auto* mt = dynamic_cast<const ZORQelIMemTypeIMP*>(t);
    if (mt == nullptr || !mt->ExpressInfo().declared) break;
    out.push_back(Qualified(mt, std::string(static_cast<const char*>(mt->Name()))));
    t = mt->ExpressInfo().underlying;
  }
  return out;
}

Value ZORQelIMemRuleEngine::TypeOf(const Value& v) {
  EntityInfo* info = v.k == Value::Entity && v.inst != nullptr ? &Info(v.inst->Entity()) : nullptr;
  if (info != nullptr && info->typeOf.get() != nullptr) {
    return Value::Of(info->typeOf, Value::Aggregate);  // shared: a change copies it first (Items)
  }
  Value r = Value::NewAgg(0);
  Agg* a = r.agg();
  auto add = [&](const std::string& s) { a->items.push_back(Value::S(s)); };
  // A built-in type's name: borrowed, the literal outlives every value.
  auto builtin = [&](const char* s) { a->items.push_back(Value::Borrow(s, std::strlen(s), Value::Str)); };
  if (v.k == Value::Entity) {
    if (v.made() != nullptr) {
      std::unordered_set<std::string> seen;
      for (ZORQelIMemEntityIMP* part : v.made()->parts) {
        for (const ZORQelIMemEntityIMP* x : Info(part).ancestors) {
          std::string name = Qualified(x, std::string(static_cast<const char*>(x->Name())));
          if (name.find('+') == std::string::npos && seen.insert(name).second) add(name);
        }
      }
      return r;
    }
    info->typeOf = r.p;
    std::unordered_set<std::string> seen;
    for (const ZORQelIMemEntityIMP* x : info->ancestors) {
      std::string name = Qualified(x, std::string(static_cast<const char*>(x->Name())));
      // A complex instance's own entity is a construction of the reader, not
      // an entity of the schema: its name joins its parts with '+'.
      if (name.find('+') == std::string::npos && seen.insert(name).second) add(name);
    }
  } else if (v.k != Value::Indet) {
    for (const std::string& s : TypeNames(v.type)) add(s);
    switch (v.k) {
      case Value::Int: builtin("INTEGER"); builtin("NUMBER"); break;
      case Value::Real: builtin("REAL"); builtin("NUMBER"); break;
      case Value::Str: builtin("STRING"); break;
      case Value::Bin: builtin("BINARY"); break;
      case Value::Logical: builtin(v.logical == 2 ? "LOGICAL" : "BOOLEAN"); builtin("LOGICAL"); break;
      case Value::Aggregate: {
        const int kind = v.agg() != nullptr ? v.agg()->kind : Shape(v.store).kind;
        builtin(kind == 0 ? "SET" : kind == 1 ? "BAG" : kind == 2 ? "LIST" : "ARRAY");
        builtin("AGGREGATE");
        break;
      }
      default: break;
    }
  }
  return r;
}

Value ZORQelIMemRuleEngine::Builtin(int f, Args a, const Node& at) {
  const char* const name = kBuiltins[f];
  auto need = [&](std::size_t k) {
    if (a.size() != k) Raise(at, std::string(name) + " takes " + std::to_string(k) + " arguments");
  };
  if (f == bEXISTS) { need(1); return Value::L(a[0].k != Value::Indet); }
  if (f == bNVL) { need(2); return a[0].k != Value::Indet ? a[0] : a[1]; }
  if (f == bTYPEOF) { need(1); return TypeOf(a[0]); }
  if (f == bSIZEOF || f == bHIINDEX || f == bLOINDEX || f == bHIBOUND || f == bLOBOUND) {
    need(1);
    if (a[0].k == Value::Indet) return Value();
    if (a[0].k != Value::Aggregate) Raise(at, std::string(name) + " of a value that is no aggregate");
    // A store read in place answers without being made an aggregate.
    AggShape g;
    std::int64_t size = 0;
    if (const Agg* own = a[0].agg()) {
      g.kind = own->kind;
      g.lo = own->lo;
      g.loBound = own->loBound;
      g.hiBound = own->hiBound;
      size = static_cast<std::int64_t>(own->items.size());
    } else {
      g = Shape(a[0].store);
      size = static_cast<std::int64_t>(a[0].store->SlotVector().size());
    }
    if (f == bSIZEOF) return Value::I(size);
    if (f == bLOINDEX) return Value::I(g.kind == 3 ? g.lo : 1);
    if (f == bHIINDEX) return Value::I(g.kind == 3 ? g.lo + size - 1 : size);
    if (f == bLOBOUND) return Value::I(g.kind == 3 ? g.lo : g.loBound);
    return g.hiBound < 0 ? (g.kind == 3 ? Value::I(g.lo + size - 1) : Value()) : Value::I(g.hiBound);
  }
  if (f == bABS || f == bSQRT || f == bSIN || f == bCOS || f == bTAN || f == bASIN ||
      f == bACOS || f == bEXP || f == bLOG || f == bLOG2 || f == bLOG10 || f == bODD) {
    need(1);
    if (a[0].k == Value::Indet) return Value();
    if (!a[0].Number()) Raise(at, std::string(name) + " of a value that is no number");
    double x = a[0].AsReal();
    if (f == bABS) {
      if (a[0].k != Value::Int) return Value::R(std::fabs(x));
      std::int64_t v = a[0].i;
      if (v < 0 && __builtin_sub_overflow(std::int64_t(0), v, &v)) Raise(at, "integer overflow");
      return Value::I(v);
    }
    if (f == bODD) return Value::L(a[0].k == Value::Int && (a[0].i % 2) != 0);
    if (f == bSQRT && x < 0) Raise(at, "SQRT of a negative number");
    if ((f == bLOG || f == bLOG2 || f == bLOG10) && x <= 0) Raise(at, std::string(name) + " of a number not above 0");
    double r = f == bSQRT ? std::sqrt(x) : f == bSIN ? std::sin(x) : f == bCOS ? std::cos(x)
             : f == bTAN ? std::tan(x) : f == bASIN ? std::asin(x) : f == bACOS ? std::acos(x)
             : f == bEXP ? std::exp(x) : f == bLOG ? std::log(x) : f == bLOG2 ? std::log2(x)
             : std::log10(x);
    return Value::R(r);
  }
  if (f == bFORMAT) {
    need(2);
    if (a[0].k == Value::Indet || a[1].k == Value::Indet) return Value();
    if (!a[0].Number()) Raise(at, "FORMAT of a value that is no number");
    if (a[1].k != Value::Str) Raise(at, "FORMAT needs a format string");
    std::string out;
    const bool integer = a[0].k == Value::Int;
    switch (FormatNumber(integer, integer ? a[0].i : 0, integer ? 0.0 : a[0].r, std::string(a[1].s()), out)) {
      case 0: return Value::S(std::move(out));
      case 1: Raise(at, "FORMAT of a number that is no integer, with an integer format");
      default: Raise(at, "FORMAT with the format '" + std::string(a[1].s()) + "'", true);
    }
  }
  if (f == bATAN) {
    need(2);
    if (a[0].k == Value::Indet || a[1].k == Value::Indet) return Value();
    return Value::R(std::atan2(a[0].AsReal(), a[1].AsReal()));
  }
  if (f == bLENGTH || f == bBLENGTH) {
    need(1);
    if (a[0].k == Value::Indet) return Value();
    if (f == bBLENGTH) return Value::I(static_cast<std::int64_t>(a[0].s().size()));
    std::int64_t count = 0;
    for (unsigned char c : a[0].s()) count += (c & 0xC0) != 0x80;
    return Value::I(count);
  }
  if (f == bVALUE) {
    need(1);
    if (a[0].k == Value::Indet) return Value();
    char* end = nullptr;
    double x = std::strtod(a[0].c_str(), &end);
    if (end == a[0].c_str() || *end != 0) return Value();
    if (a[0].s().find_first_of(".eE") == std::string_view::npos) return Value::I(ToInteger(x, at));
    return Value::R(x);
  }
  if (f == bVALUE_IN) {
    need(2);
    if (a[0].k == Value::Indet || a[1].k == Value::Indet) return Value::L(2);
    if (a[0].k != Value::Aggregate) Raise(at, "VALUE_IN of a value that is no aggregate");
    int result = 0;
    for (const Value& v : AggOf(a[0]).items) {
      int e = Equal(v, a[1], 0);
      if (e == 1) return Value::L(1);
      if (e == 2) result = 2;
    }
    return Value::L(result);
  }
  if (f == bVALUE_UNIQUE) {
    need(1);
    if (a[0].k == Value::Indet) return Value::L(2);
    if (a[0].k != Value::Aggregate) Raise(at, "VALUE_UNIQUE of a value that is no aggregate");
    const auto& items = AggOf(a[0]).items;
    for (std::size_t x = 0; x < items.size(); ++x) {
      for (std::size_t y = x + 1; y < items.size(); ++y) {
        if (Equal(items[x], items[y], 0) == 1) return Value::L(0);
      }
    }
    return Value::L(1);
  }
  if (f == bUSEDIN || f == bROLESOF) {
    need(f == bUSEDIN ? 2 : 1);
    Value out = Value::NewAgg(f == bUSEDIN ? 1 : 0);
    Agg* r = out.agg();
    if (a[0].k != Value::Entity || a[0].inst == nullptr) return out;
    BuildIndex();
    std::string entity, attr;
    if (f == bUSEDIN) {
      if (a[1].k != Value::Str) Raise(at, "USEDIN needs a role name");
      std::string role = Up(std::string(a[1].s()));
      std::size_t last = role.rfind('.');
      if (!role.empty()) {
        if (last == std::string::npos) Raise(at, "role name '" + std::string(a[1].s()) + "' is not SCHEMA.ENTITY.ATTRIBUTE");
        attr = role.substr(last + 1);
        std::size_t first = role.find('.');
        entity = role.substr(first + 1, last - first - 1);
      }
    }
    ZORQelIMemEntityIMP* want = entity.empty() ? nullptr : m_->FindEntity(entity.c_str());
    if (!entity.empty() && want == nullptr) return out;
    auto [it, end] = Users(a[0].inst);
    for (; it != end; ++it) {
      ZORQelIMemEntityInstanceIMP* by = it->first;
      const int slot = it->second;
      const auto& layout = by->Entity()->Layout();
      std::string name = Up(std::string(static_cast<const char*>(layout[static_cast<std::size_t>(slot)]->Name())));
      if (f == bROLESOF) {
        // Named after the entity that declares the attribute, once each.
        ZORQelIMemEntityIMP* owner = layout[static_cast<std::size_t>(slot)]->Owner();
        if (owner == nullptr) owner = by->Entity();
        Value role = Value::S(Qualified(owner, std::string(static_cast<const char*>(owner->Name())) + "." + name));
        bool dup = false;
        for (const Value& w : r->items) dup = dup || w.s() == role.s();
        if (!dup) r->items.push_back(role);
        continue;
      }
      if (want != nullptr && (!by->Entity()->Inherits(want) || name != attr)) continue;
      r->items.push_back(Value::E(by));
    }
    return out;
  }
  Raise(at, std::string("no built-in function ") + name);
}

Value ZORQelIMemRuleEngine::Call(const Node& n) {
  // The arguments go on the engine's stack, above those of the calls under
  // way, and leave it with the call (raising or not): a call allocates
  // nothing for them.
  const std::size_t base = stack_.size();
  struct Pop {
    std::vector<Value>& stack;
    std::size_t base;
    ~Pop() { stack.erase(stack.begin() + static_cast<std::ptrdiff_t>(base), stack.end()); }
  } pop{stack_, base};
  for (int k = 0; k < n.count; ++k) stack_.push_back(Eval(tree_.lists[static_cast<std::size_t>(n.first + k)]));
  // Nothing below evaluates before the arguments are used or moved out of
  // the stack (CallUser takes them first), so the view stays valid.
  const Args args{stack_.data() + base, static_cast<std::size_t>(n.count)};
  NodeCache& c = CacheOf(n);
  if (c.kind < NodeCache::User) {  // resolved once: user callable, built-in, entity, type
    c = NodeCache();
    c.kind = NodeCache::Unknown;
    auto u = callables_.find(n.text);
    if (u != callables_.end()) {
      c.kind = NodeCache::User;
      c.index = static_cast<int>(u->second);
    } else {
      for (int b = 0; b < bCount && c.kind == NodeCache::Unknown; ++b) {
        if (n.text == kBuiltins[b]) c.kind = NodeCache::Builtin, c.index = b;
      }
      if (c.kind != NodeCache::Unknown) {
      } else if (ZORQelIMemEntityIMP* e = m_->FindEntity(n.text.c_str())) {
        c.kind = NodeCache::Entity;
        c.target = e;
      } else if (ZORQelIMemTypeIMP* t = m_->FindType(n.text.c_str())) {
        c.kind = NodeCache::Type;
        c.target = t;
      }
    }
  }
  if (c.kind == NodeCache::User) return CallUser(static_cast<std::size_t>(c.index), args, n);
  if (c.kind == NodeCache::Builtin) return Builtin(c.index, args, n);
  if (c.kind == NodeCache::Entity) {
    auto* e = static_cast<ZORQelIMemEntityIMP*>(const_cast<void*>(c.target));
    Ref value(new Made());
    auto* made = static_cast<Made*>(value.get());
    made->parts.push_back(e);
    if (!e->IsFrozen()) e->Freeze();
    // Every explicit attribute, inherited ones first, or (a partial value
    // for ||) the entity's own ones.
    const auto& layout = e->Layout();
    const int own = e->NumberOfAttributes();
    if (args.size() == layout.size()) {
      for (std::size_t k = 0; k < layout.size(); ++k) {
        made->attrs.emplace_back(Up(std::string(static_cast<const char*>(layout[k]->Name()))), std::move(args[k]));
      }
    } else if (static_cast<int>(args.size()) == own) {
      for (int k = 0; k < own; ++k) {
        made->attrs.emplace_back(Up(std::string(static_cast<const char*>(e->GetAttr(k).Name()))),
                                 std::move(args[static_cast<std::size_t>(k)]));
      }
    } else {
      Raise(n, "entity " + n.text + " takes " + std::to_string(layout.size()) + " attributes (" +
                   std::to_string(own) + " of its own)");
    }
    return Value::Of(std::move(value), Value::Entity);
  }
  if (c.kind == NodeCache::Type) {  // a typed value
    const auto* t = static_cast<const ZORQelIMemTypeIMP*>(c.target);
    if (args.size() != 1) Raise(n, "a type takes one value");
    Value r = args[0];
    r.type = t;
    return r;
  }
  auto bad = declErrors_.find(n.text);
  if (bad != declErrors_.end()) Raise(n, "FUNCTION " + n.text + " does not parse: " + bad->second, true);
  Raise(n, "unknown function " + n.text, true);
}

Value ZORQelIMemRuleEngine::CallUser(std::size_t index, Args args, const Node& at,
                                     std::vector<Value>* finals) {
  const Callable& f = tree_.callables[index];
  if (args.size() != f.params.size()) Raise(at, f.name + " takes " + std::to_string(f.params.size()) + " arguments");
  Frame frame;
  if (!framePool_.empty()) {
    frame.swap(framePool_.back());
    framePool_.pop_back();
  }
  for (std::size_t k = 0; k < args.size(); ++k) frame.emplace_back(f.params[k].name, std::move(args[k]));
  frames_.push_back(std::move(frame));
  const char* savedKind = whereKind_;
  const std::string* savedName = whereName_;
  whereKind_ = "FUNCTION ";
  whereName_ = &f.name;
  Value s = std::move(self_);
  self_ = Value();
  struct Restore {
    ZORQelIMemRuleEngine* e;
    const char* kind;
    const std::string* name;
    Value self;
    ~Restore() {
      Frame& done = e->frames_.back();
      done.clear();
      if (e->framePool_.size() < e->framePool_.capacity()) e->framePool_.push_back(std::move(done));
      e->frames_.pop_back();
      e->whereKind_ = kind; e->whereName_ = name; e->self_ = std::move(self); }
  } restore{this, savedKind, savedName, std::move(s)};
  for (const Variable& v : f.locals) {
    Value init = v.init >= 0 ? Eval(v.init) : Value();
    frames_.back().emplace_back(v.name, init);
  }
  result_ = Value();
  for (int stmt : f.body) {
    if (Exec(stmt) == Flow::Return) break;
  }
  if (finals != nullptr) {  // the parameters as the body left them, for VAR ones
    for (std::size_t k = 0; k < f.params.size(); ++k) finals->push_back(frames_.back()[k].second);
  }
  Value r = result_;
  result_ = Value();
  return r;
}

Value ZORQelIMemRuleEngine::Eval(int id) {
  const Node& n = tree_.nodes[static_cast<std::size_t>(id)];
  DepthGuard guard(depth_);
  if (depth_ > kMaxEvalDepth) Raise(n, "evaluation nested too deep");
  switch (n.kind) {
    case Node::Int: return Value::I(n.integer);
    case Node::Real: return Value::R(n.real);
    case Node::Str:
    case Node::Bin: return Literal(n);
    case Node::Logical: return Value::L(n.flags);
    case Node::Indet: return Value();
    case Node::Self: return self_;
    case Node::Name: return Name(n);
    case Node::Unary: {
      Value v = Eval(n.a);
      if (n.op == Node::Not) { int l = Logic(v, n).logical; return Value::L(l == 2 ? 2 : !l); }
      if (v.k == Value::Indet) return v;
      if (!v.Number()) Raise(n, "a sign before a value that is no number");
      if (n.op == Node::Neg) {
        if (v.k == Value::Int && __builtin_sub_overflow(std::int64_t(0), v.i, &v.i)) Raise(n, "integer overflow");
        if (v.k == Value::Real) v.r = -v.r;
      }
      v.type = nullptr;
      return v;
    }
    case Node::Binary: return Binary(n);
    case Node::Attr: {
      const Node& b = tree_.nodes[static_cast<std::size_t>(n.a)];
      if (b.kind == Node::Name && Var(b.text) == nullptr) {
        NodeCache& bc = CacheOf(b);
        if (!bc.typeKnown) {
          bc.typeKnown = true;
          bc.type = m_->FindType(b.text.c_str());
        }
        if (bc.type != nullptr) {
          Value v = EnumItem(n.text);  // an enumeration item qualified by its type
          v.type = bc.type;
          return v;
        }
      }
      return Attribute(Eval(n.a), n.text, n);
    }
    case Node::Group: {
      Value v = Eval(n.a);
      return v;  // the partial value: attribute names resolve the same way
    }
    case Node::Index: return Index(n);
    case Node::Call: return Call(n);
    case Node::AggInit: {
      Value r = Value::NewAgg(1);
      Agg* a = r.agg();
      for (int k = 0; k < n.count; ++k) {
        const Node& item = tree_.nodes[static_cast<std::size_t>(tree_.lists[static_cast<std::size_t>(n.first + k)])];
        if (item.kind == Node::Repeat) {
          Value v = Eval(item.a);
          Value times = Eval(item.b);
          if (times.k != Value::Int || times.i < 0 || times.i > 1000000) Raise(item, "a repetition must be a small non-negative integer");
          for (std::int64_t t = 0; t < times.i; ++t) a->items.push_back(v);
        } else {
          Value v = Eval(tree_.lists[static_cast<std::size_t>(n.first + k)]);
          if (v.k != Value::Indet) a->items.push_back(std::move(v));
        }
      }
      return r;
    }
    case Node::Interval: {
      Value lo = Eval(n.a), x = Eval(n.b), hi = Eval(n.c);
      int l1 = (n.flags & 1) ? Less(lo, x, n) : [&] { int l = Less(x, lo, n); return l == 2 ? 2 : !l; }();
      int l2 = (n.flags & 2) ? Less(x, hi, n) : [&] { int l = Less(hi, x, n); return l == 2 ? 2 : !l; }();
      return Value::L(l1 == 0 || l2 == 0 ? 0 : (l1 == 2 || l2 == 2) ? 2 : 1);
    }
    case Node::Query: {
      Value src = Eval(n.a);
      if (src.k == Value::Indet) return Value();
      if (src.k != Value::Aggregate) Raise(n, "QUERY over a value that is no aggregate");
      const Agg* own = src.agg();
      const int kind = own != nullptr ? own->kind : Shape(src.store).kind;
      Value r = Value::NewAgg(kind == 3 ? 1 : kind);
      Agg* a = r.agg();
      if (frames_.empty()) frames_.emplace_back();
      frames_.back().emplace_back(n.text, Value());
      const std::size_t slot = frames_.back().size() - 1;
      struct Pop { std::vector<Frame>& f; ~Pop() { f.back().pop_back(); } } pop{frames_};
      if (own != nullptr) {
        for (const Value& v : own->items) {
          frames_.back()[slot].second = v;
          if (Logic(Eval(n.b), n).logical == 1) a->items.push_back(v);
        }
        return r;
      }
      // A store read in place: each element made a value in the variable
      // (indexed afresh after each test, which may grow the frame).
      const ZORQelIMemAggregateIMP* g = src.store;
      const auto& ss = g->SlotVector();
      const auto& ts = g->TagVector();
      const ZORQelITypeIMP* element = ss.empty() ? nullptr : g->CellType(0);  // one for all
      for (std::size_t j = 0; j < ss.size(); ++j) {
        frames_.back()[slot].second = FromSlot(ss[j], ts[j], element);
        if (Logic(Eval(n.b), n).logical == 1) a->items.push_back(frames_.back()[slot].second);
      }
      return r;
    }
    default: Raise(n, "not an expression", true);
  }
}

Flow ZORQelIMemRuleEngine::ExecList(int first, int count) {
  for (int k = 0; k < count; ++k) {
    Flow f = Exec(tree_.lists[static_cast<std::size_t>(first + k)]);
    if (f != Flow::Normal) return f;
  }
  return Flow::Normal;
}

Flow ZORQelIMemRuleEngine::Exec(int id) {
  const Node& n = tree_.nodes[static_cast<std::size_t>(id)];
  DepthGuard guard(depth_);
  if (depth_ > kMaxEvalDepth) Raise(n, "evaluation nested too deep");
  switch (n.kind) {
    case Node::SNull: return Flow::Normal;
    case Node::SCompound: return ExecList(n.first, n.count);
    case Node::SReturn: result_ = n.a >= 0 ? Eval(n.a) : Value(); return Flow::Return;
    case Node::SEscape: return Flow::Escape;
    case Node::SSkip: return Flow::Skip;
    case Node::SIf: {
      int c = Logic(Eval(n.a), n).logical;
      return c == 1 ? ExecList(n.first, n.split) : ExecList(n.first + n.split, n.count - n.split);
    }
    case Node::SCase: {
      Value sel = Eval(n.a);
      for (int k = 0; k < n.count; ++k) {
        const Node& act = tree_.nodes[static_cast<std::size_t>(tree_.lists[static_cast<std::size_t>(n.first + k)])];
        for (int j = 0; j < act.count; ++j) {
          if (Equal(sel, Eval(tree_.lists[static_cast<std::size_t>(act.first + j)]), 0) == 1) return Exec(act.a);
        }
      }
      return n.b >= 0 ? Exec(n.b) : Flow::Normal;
    }
    case Node::SRepeat: {
      std::int64_t from = 0, to = 0, by = 1;
      bool counted = !n.text.empty();
      if (counted) {
        Value a = Eval(n.a), b = Eval(n.b), c = n.c >= 0 ? Eval(n.c) : Value::I(1);
        if (a.k == Value::Indet || b.k == Value::Indet) return Flow::Normal;
        if (a.k != Value::Int || b.k != Value::Int || c.k != Value::Int || c.i == 0) Raise(n, "REPEAT bounds must be integers (and BY not 0)");
        from = a.i; to = b.i; by = c.i;
        if (frames_.empty()) frames_.emplace_back();
        frames_.back().emplace_back(n.text, Value::I(from));
      }
      struct Pop { std::vector<Frame>& f; bool on; ~Pop() { if (on) f.back().pop_back(); } } pop{frames_, counted};
      for (std::int64_t i = from; !counted || (by > 0 ? i <= to : i >= to);) {
        Step(n);
        if (counted) *Var(n.text) = Value::I(i);
        if (n.d >= 0 && Logic(Eval(n.d), n).logical != 1) break;
        Flow f = ExecList(n.first, n.count);
        if (f == Flow::Return) return f;
        if (f == Flow::Escape) break;
        if (n.e >= 0 && Logic(Eval(n.e), n).logical == 1) break;
        if (!counted && n.d < 0 && n.e < 0) Raise(n, "REPEAT without a control", true);
        if (counted && __builtin_add_overflow(i, by, &i)) break;
      }
      return Flow::Normal;
    }
    case Node::SAlias: {
      Value v = Eval(n.a);
      if (frames_.empty()) frames_.emplace_back();
      frames_.back().emplace_back(n.text, v);
      struct Pop { std::vector<Frame>& f; ~Pop() { f.back().pop_back(); } } pop{frames_};
      return ExecList(n.first, n.count);
    }
    case Node::SAssign: {
      const Node& t = tree_.nodes[static_cast<std::size_t>(n.a)];
      Value v = Eval(n.b);
      if (t.kind == Node::Name) {
        Value* var = Var(t.text);
        if (var == nullptr) Raise(t, "assignment to " + t.text + ", which is no variable");
        *var = std::move(v);
        return Flow::Normal;
      }
      if (t.kind == Node::Index && t.c < 0 && tree_.nodes[static_cast<std::size_t>(t.a)].kind == Node::Name) {
        Value* var = Var(tree_.nodes[static_cast<std::size_t>(t.a)].text);
        if (var == nullptr) Raise(t, "assignment to an element of no variable");
        Value at = Eval(t.b);
        if (at.k != Value::Int) Raise(t, "an index must be an integer");
        std::vector<Value>& items = Items(*var, t);
        std::int64_t k = at.i - var->agg()->lo;
        if (k < 0 || k >= static_cast<std::int64_t>(items.size())) Raise(t, "index " + std::to_string(at.i) + " out of range");
        items[static_cast<std::size_t>(k)] = std::move(v);
        return Flow::Normal;
      }
      if (t.kind == Node::Attr && tree_.nodes[static_cast<std::size_t>(t.a)].kind == Node::Name) {
        Value* var = Var(tree_.nodes[static_cast<std::size_t>(t.a)].text);
        if (var != nullptr && var->k == Value::Entity && var->made() != nullptr) {
          // A value made by a constructor: changed in the variable only.
          if (var->p.shared()) var->p = Ref(new Made(*var->made()));
          for (auto& [name, value] : var->made()->attrs) {
            if (name == t.text) {
              value = std::move(v);
              return Flow::Normal;
            }
          }
          Raise(t, "no attribute " + t.text + " in the constructed " + Text(*var));
        }
        if (var != nullptr && var->k == Value::Indet) Raise(t, "assignment to an attribute of an indeterminate value");
        if (var != nullptr && var->k != Value::Entity) Raise(t, "assignment to an attribute of a value that is no entity instance");
      }
      Raise(t, "assignment to this kind of target (a rule does not change the population)", true);
    }
    case Node::SCall: {
      const Node& c = tree_.nodes[static_cast<std::size_t>(n.a)];
      if ((c.text == "INSERT" || c.text == "REMOVE") && c.kind == Node::Call && c.count >= 2) {
        const Node& target = tree_.nodes[static_cast<std::size_t>(tree_.lists[static_cast<std::size_t>(c.first)])];
        Value* var = target.kind == Node::Name ? Var(target.text) : nullptr;
        if (var == nullptr) Raise(c, c.text + " of no variable", true);
        std::vector<Value>& items = Items(*var, c);
        if (c.text == "INSERT") {
          if (c.count != 3) Raise(c, "INSERT takes 3 arguments");
          Value v = Eval(tree_.lists[static_cast<std::size_t>(c.first + 1)]);
          Value p = Eval(tree_.lists[static_cast<std::size_t>(c.first + 2)]);
          if (p.k != Value::Int || p.i < 0 || p.i > static_cast<std::int64_t>(items.size())) Raise(c, "INSERT position out of range");
          items.insert(items.begin() + p.i, v);
        } else {
          Value p = Eval(tree_.lists[static_cast<std::size_t>(c.first + 1)]);
          if (p.k != Value::Int || p.i < 1 || p.i > static_cast<std::int64_t>(items.size())) Raise(c, "REMOVE position out of range");
          items.erase(items.begin() + (p.i - 1));
        }
        return Flow::Normal;
      }
      auto u = c.kind == Node::Call ? callables_.find(c.text) : callables_.end();
      if (u != callables_.end()) {
        const ZORQelIMemRule::Callable& f = tree_.callables[u->second];
        bool var = false;
        for (bool v : f.varParams) var = var || v;
        if (!var) {
          Eval(n.a);
          return Flow::Normal;
        }
        // VAR parameters: what the procedure leaves in them is written back
        // to the variables passed.
        std::vector<Value> args, before, after;
        for (int k = 0; k < c.count; ++k) args.push_back(Eval(tree_.lists[static_cast<std::size_t>(c.first + k)]));
        before = args;
        CallUser(u->second, Args{args.data(), args.size()}, c, &after);
        for (std::size_t k = 0; k < after.size() && k < f.varParams.size(); ++k) {
          if (!f.varParams[k]) continue;
          const Node& actual = tree_.nodes[static_cast<std::size_t>(tree_.lists[static_cast<std::size_t>(c.first) + k])];
          Value* target = actual.kind == Node::Name ? Var(actual.text) : nullptr;
          if (target != nullptr) {
            *target = std::move(after[k]);
          } else if (!(after[k].k == Value::Indet && before[k].k == Value::Indet) && Equal(after[k], before[k], 0) != 1) {
            Raise(actual, "VAR parameter " + f.params[k].name + " changed, passed no variable", true);
          }
        }
        return Flow::Normal;
      }
      Raise(c, "procedure " + c.text, true);
    }
    default: Raise(n, "not a statement", true);
  }
}

void ZORQelIMemRuleEngine::AppendKey(std::string& key, const Value& v) {
  switch (v.k) {
    case Value::Str: key += '\''; key += v.s(); key += '\''; return;
    case Value::Enum: key += '.'; key += v.s(); key += '.'; return;
    case Value::Int: key += std::to_string(v.i); return;
    default: key += Text(v); return;
  }
}

std::string ZORQelIMemRuleEngine::Text(const Value& v, int depth) {
  switch (v.k) {
    case Value::Indet: return "?";
    case Value::Logical: return v.logical == 1 ? ".T." : v.logical == 0 ? ".F." : ".U.";
    case Value::Int: return std::to_string(v.i);
    case Value::Real: {
      // Shortest text that reads back to the same double, with a '.' or
      // an exponent so that it never reads as an integer.
      char b[40];
      for (int digits = 15; digits <= 17; ++digits) {
        std::snprintf(b, sizeof b, "%.*g", digits, v.r);
        if (std::strtod(b, nullptr) == v.r) break;
      }
      std::string t = b;
      if (t.find_first_of(".eEn") == std::string::npos) t += ".";
      return t;
    }
    case Value::Str: return "'" + std::string(v.s()) + "'";
    case Value::Bin: return "%" + std::string(v.s());
    case Value::Enum: return "." + std::string(v.s()) + ".";
    case Value::Entity:
      if (v.inst != nullptr) return "#" + std::to_string(v.inst->Number());
      {
        std::string t;
        for (ZORQelIMemEntityIMP* p : v.made()->parts) {
          t += (t.empty() ? "" : "||") + Up(std::string(static_cast<const char*>(p->Name()))) + "(...)";
        }
        return t;
      }
    case Value::Aggregate: {
      if (depth > 32) return "(...)";
      std::string s = "(";
      const Agg& g = AggOf(v);
      for (std::size_t k = 0; k < g.items.size(); ++k) s += (k ? "," : "") + Text(g.items[k], depth + 1);
      return s + ")";
    }
  }
  return "?";
}

std::string ZORQelIMemRuleEngine::DetailOf(const Failure& f, const ZORQelIMemClause* c) {
  if (!f.where.empty()) {
    return f.where + ", line " + std::to_string(f.pos.line) + ", column " + std::to_string(f.pos.column) + ": " + f.why;
  }
  int line = c != nullptr ? c->line + f.pos.line - 1 : f.pos.line;
  int col = c != nullptr && f.pos.line == 1 ? c->column + f.pos.column - 1 : f.pos.column;
  return "line " + std::to_string(line) + ", column " + std::to_string(col) + ": " + f.why;
}

void ZORQelIMemRuleEngine::Add(ZORQelIMemRuleReport& report, Finding::Kind kind,
                               ZORQelI::Mint number, const std::string& entity,
                               const std::string& label, std::string text,
                               const std::string& detail) {
  Finding f;
  f.kind = kind;
  f.instance = number;
  f.entity = entity;
  f.label = label;
  f.text = std::move(text);
  f.detail = detail;
  if (kind == Finding::Unsupported) ++report.unsupported; else ++report.violations;
  report.findings.push_back(std::move(f));
}

void ZORQelIMemRuleEngine::RunWhere(ZORQelIMemRuleReport& report, const ZORQelIMemClause* c,
                                    const ParsedClause& p, const Value& self, ZORQelI::Mint number,
                                    const std::string& entity, const std::string& label) {
  ++report.evaluated;
  // The clause's text, made a string on a finding only.
  auto text = [c] { return static_cast<const char*>(c->text); };
  if (!p.ok) {
    Add(report, Finding::Unsupported, number, entity, label, text(), p.error);
    return;
  }
  try {
    ResetFrames();
    self_ = self;
    depth_ = 0;
    steps_ = 0;
    whereKind_ = nullptr;
  whereName_ = nullptr;
    Value v = Eval(p.expr);
    // A rule holds when TRUE or UNKNOWN (an indeterminate value is UNKNOWN).
    if (v.k == Value::Logical && v.logical == 0) {
      Add(report, Finding::Violated, number, entity, label, text(), "");
    } else if (v.k != Value::Logical && v.k != Value::Indet) {
      Add(report, Finding::Raised, number, entity, label, text(),
          DetailOf(Failure{false, "the rule's value is not a logical", Pos{1, 1}, ""}, c));
    }
  } catch (const Failure& f) {
    Add(report, f.unsupported ? Finding::Unsupported : Finding::Raised, number, entity, label, text(),
        DetailOf(f, c));
  }
}

std::string ZORQelIMemRuleEngine::LabelOf(const ZORQelIMemClause& c, const ParsedClause& p,
                                          int& unlabelled) {
  std::string label = p.ok ? p.label : std::string(static_cast<const char*>(c.name));
  if (label.empty()) label = "(" + std::to_string(++unlabelled) + ")";
  return label;
}

void ZORQelIMemRuleEngine::CheckCell(ZORQelIMemEntityInstanceIMP* x, const std::string& entity,
                                     const ZORQelIMemSlot& s, std::uint8_t tag,
                                     const ZORQelITypeIMP* type, ZORQelIMemRuleReport& report,
                                     int depth) {
  if (tag == ZORQelIMemSlot::Unset || tag == ZORQelIMemSlot::Reference || depth > 64) return;
  if (Facts(type).rules) {
    CheckTypes(x, entity, FromSlot(s, tag, type), report, depth);
    return;
  }
  // No rule on the cell's own type: the elements' and a select value's
  // types may still have some.
  if (tag == ZORQelIMemSlot::Aggregate) {
    if (auto* g = Exact<ZORQelIMemAggregateIMP>(s.object)) {
      const auto& ss = g->SlotVector();
      const auto& ts = g->TagVector();
      for (std::size_t j = 0; j < ss.size(); ++j) {
        CheckCell(x, entity, ss[j], ts[j], g->CellType(static_cast<int>(j)), report, depth + 1);
      }
    }
  } else if (tag == ZORQelIMemSlot::Object) {
    if (auto* val = Exact<ZORQelIMemValueIMP>(s.object)) {
      CheckCell(x, entity, val->Slots()[0], val->Tags()[0], val->CellType(0), report, depth);
    } else if (Exact<ZORQelIMemAggregateIMP>(s.object) != nullptr) {
      CheckCell(x, entity, s, ZORQelIMemSlot::Aggregate, nullptr, report, depth);
    }
  }
}

const std::vector<ZORQelIMemRuleEngine::TypeRule>& ZORQelIMemRuleEngine::TypeRules(const ZORQelITypeIMP* type) {
  auto known = typeRules_.find(type);
  if (known != typeRules_.end()) return known->second;
  std::vector<TypeRule> rules;
  // The type and those it is defined from, each clause in order.
  for (const ZORQelITypeIMP* t = type; t != nullptr;) {
    const auto* mt = dynamic_cast<const ZORQelIMemTypeIMP*>(t);
    if (mt == nullptr) break;
    int unlabelled = 0;
    for (const ZORQelIMemClause& c : mt->ExpressInfo().clauses) {
      if (c.kind != ZORQelIMemClause::Where) continue;
      ParsedClause& p = Parse(&c);  // parsed_ is node-based: the address stays valid
      if (p.qualified.empty()) {  // made once: the clauses of a type are met in order
        p.qualified = Up(std::string(static_cast<const char*>(mt->Name()))) + "." + LabelOf(c, p, unlabelled);
      }
      rules.push_back({&c, &p});
    }
    t = mt->ExpressInfo().underlying;
  }
  return typeRules_.emplace(type, std::move(rules)).first->second;
}

void ZORQelIMemRuleEngine::CheckTypes(ZORQelIMemEntityInstanceIMP* x, const std::string& entity,
                                      const Value& v, ZORQelIMemRuleReport& report, int depth) {
  if (v.k == Value::Indet || v.k == Value::Entity || depth > 64) return;
  if (v.type != nullptr) {
    for (const TypeRule& r : TypeRules(v.type)) {
      RunWhere(report, r.clause, *r.parsed, v, x->Number(), entity, r.parsed->qualified);
    }
  }
  if (v.k == Value::Aggregate) {
    for (const Value& item : AggOf(v).items) CheckTypes(x, entity, item, report, depth + 1);
  }
}

void ZORQelIMemRuleEngine::CheckUnique(
    ZORQelIMemRuleReport& report,
    std::unordered_map<const ZORQelIMemEntityInstanceIMP*, std::vector<Finding>>& out) {
  for (ZORQelIMemEntityIMP* e : m_->Entities()) {
    int unlabelled = 0;
    for (const ZORQelIMemClause& c : e->ExpressInfo().clauses) {
      if (c.kind != ZORQelIMemClause::Unique) continue;
      const ParsedClause& p = Parse(&c);
      const std::string label = LabelOf(c, p, unlabelled);
      const std::string owner = Up(std::string(static_cast<const char*>(e->Name())));
      auto ext = extent_.find(e);
      if (ext == extent_.end()) continue;
      // The keys seen, by open addressing (at most one key an instance, in
      // twice as many places), viewing their characters in blocks that never
      // move.
      std::size_t places = 16;
      while (places < 2 * ext->second.size()) places *= 2;
      std::vector<std::pair<std::string_view, const ZORQelIMemEntityInstanceIMP*>> seen(places);
      std::vector<std::unique_ptr<char[]>> blocks;
      std::size_t used = 0, room = 0;
      auto keep = [&](const std::string& k) {
        if (room - used < k.size()) {
          room = std::max<std::size_t>(std::size_t(1) << 16, k.size());
          blocks.emplace_back(new char[room]);
          used = 0;
        }
        char* at = blocks.back().get() + used;
        if (!k.empty()) std::memcpy(at, k.data(), k.size());
        used += k.size();
        return std::string_view(at, k.size());
      };
      std::string key;
      // The finding of x, made only when there is one.
      auto finding = [&](ZORQelIMemEntityInstanceIMP* x, Finding::Kind kind, std::string detail) {
        Finding f;
        f.kind = kind;
        f.instance = x->Number();
        f.entity = Up(std::string(static_cast<const char*>(x->Entity()->Name())));
        f.label = x->Entity() == e ? label : owner + "." + label;
        f.text = static_cast<const char*>(c.text);
        f.detail = std::move(detail);
        out[x].push_back(std::move(f));
      };
      for (ZORQelIMemEntityInstanceIMP* x : ext->second) {
        ++report.evaluated;
        if (!p.ok) {
          finding(x, Finding::Unsupported, p.error);
          continue;
        }
        key.clear();
        bool indeterminate = false;
        try {
          ResetFrames();
          self_ = Value();
          self_.k = Value::Entity;
          self_.inst = x;
          depth_ = 0;
          steps_ = 0;
          whereKind_ = nullptr;
          whereName_ = nullptr;
          for (int root : p.exprs) {
            Value v = Eval(root);
            indeterminate = indeterminate || v.k == Value::Indet;
            AppendKey(key, v);
            key += '\x1f';
          }
        } catch (const Failure& failure) {
          finding(x, failure.unsupported ? Finding::Unsupported : Finding::Raised, DetailOf(failure, &c));
          continue;
        }
        // Values left indeterminate take part in no comparison.
        if (indeterminate) continue;
        const std::string_view k(key);
        std::size_t i = std::hash<std::string_view>()(k) & (places - 1);
        while (seen[i].second != nullptr && seen[i].first != k) i = (i + 1) & (places - 1);
        if (seen[i].second != nullptr) {
          finding(x, Finding::Violated, "the same values as #" + std::to_string(seen[i].second->Number()));
        } else {
          seen[i] = {keep(key), x};
        }
      }
    }
  }
}

void ZORQelIMemRuleEngine::CheckGlobalRules(ZORQelIMemRuleReport& report) {
  for (const auto& [name, why] : badRules_) {
    ++report.evaluated;
    Add(report, Finding::Unsupported, ZORQelI::Mint(), "RULE " + name, "(rule)", "", why);
  }
  for (const GlobalRule& rule : tree_.rules) {
    const std::string who = "RULE " + rule.name;
    Frame frame;
    for (const std::string& ename : rule.entities) {
      Value all = Value::NewAgg(0);
      if (ZORQelIMemEntityIMP* e = m_->FindEntity(ename.c_str())) {
        auto ext = extent_.find(e);
        if (ext != extent_.end()) {
          for (ZORQelIMemEntityInstanceIMP* x : ext->second) all.agg()->items.push_back(Value::E(x));
        }
      }
      frame.emplace_back(ename, std::move(all));
    }
    frames_.clear();
    frames_.push_back(std::move(frame));
    self_ = Value();
    depth_ = 0;
    steps_ = 0;
    whereKind_ = "RULE ";
    whereName_ = &rule.name;
    try {
      for (const ZORQelIMemRule::Variable& v : rule.locals) {
        Value init = v.init >= 0 ? Eval(v.init) : Value();
        frames_.back().emplace_back(v.name, init);
      }
      for (int stmt : rule.body) {
        if (Exec(stmt) == Flow::Return) break;
      }
    } catch (const Failure& f) {
      for (const Where& w : rule.where) {
        ++report.evaluated;
        Add(report, f.unsupported ? Finding::Unsupported : Finding::Raised, ZORQelI::Mint(), who,
            w.label, w.text, DetailOf(f, nullptr));
      }
      continue;
    }
    int unlabelled = 0;
    for (const Where& w : rule.where) {
      ++report.evaluated;
      std::string label = w.label.empty() ? "(" + std::to_string(++unlabelled) + ")" : w.label;
      try {
        depth_ = 0;
        steps_ = 0;
        Value v = Eval(w.expr);
        if (v.k == Value::Logical && v.logical == 0) {
          Add(report, Finding::Violated, ZORQelI::Mint(), who, label, w.text, "");
        } else if (v.k != Value::Logical && v.k != Value::Indet) {
          Add(report, Finding::Raised, ZORQelI::Mint(), who, label, w.text,
              "the rule's value is not a logical");
        }
      } catch (const Failure& f) {
        Add(report, f.unsupported ? Finding::Unsupported : Finding::Raised, ZORQelI::Mint(), who,
            label, w.text, DetailOf(f, nullptr));
      }
    }
  }
  whereKind_ = nullptr;
  whereName_ = nullptr;
}

ZORQelIMemRuleReport ZORQelIMemRuleEngine::Check() {
  BuildIndex();
  aggs_.clear();
  storeShapes_.fill({nullptr, AggShape()});
  ZORQelIMemRuleReport report;
  std::unordered_map<const ZORQelIMemEntityInstanceIMP*, std::vector<Finding>> unique;
  CheckUnique(report, unique);
  for (ZORQelIMemEntityInstanceIMP* x : m_->Population()->Members()) {
    if (x->IsDeleted()) continue;
    ++report.instances;
    EntityInfo& info = Info(x->Entity());
    const std::string& entity = info.name;
    Value self;
    self.k = Value::Entity;
    self.inst = x;
    for (const EntityInfo::Rule& r : WhereRules(info)) {
      RunWhere(report, r.clause, *r.parsed, self, x->Number(), entity, r.label);
    }
    // The defined types of the explicit attribute values.
    const int cells = x->CellCount();
    if (info.cellTypes.size() != static_cast<std::size_t>(cells)) {  // found once per entity
      info.cellTypes.clear();
      for (int k = 0; k < cells; ++k) info.cellTypes.push_back(x->CellType(k));
    }
    const ZORQelIMemSlot* slots = x->Slots();
    const std::uint8_t* tags = x->Tags();
    for (int k = 0; k < cells; ++k) {
      CheckCell(x, entity, slots[k], tags[k], info.cellTypes[static_cast<std::size_t>(k)], report, 0);
    }
    for (const InverseInfo& inv : info.inverses) {
      ++report.evaluated;
      // Counted without making the attribute's value; a single-valued one
      // with several referrers has no value, as Inverse makes it.
      const std::size_t referrers = Referrers(x, inv, nullptr);
      std::int64_t count = inv.aggregate ? static_cast<std::int64_t>(referrers) : (referrers == 1 ? 1 : 0);
      bool ok = inv.aggregate ? count >= inv.lo && (inv.hi < 0 || count <= inv.hi) : count == 1;
      if (!ok) {
        Add(report, Finding::Violated, x->Number(), entity, inv.name,
            static_cast<const char*>(inv.clause->text),
            std::to_string(count) + " instances refer to it");
      }
    }
    auto u = unique.empty() ? unique.end() : unique.find(x);
    if (u != unique.end()) {
      for (Finding& f : u->second) {
        if (f.kind == Finding::Unsupported) ++report.unsupported; else ++report.violations;
        report.findings.push_back(std::move(f));
      }
    }
  }
  CheckGlobalRules(report);
  self_ = Value();
  frames_.clear();
  return report;
}

Value ZORQelIMemRuleEngine::Run(ZORQelI::Mint self, const std::string& text) {
  const int root = Parser(tree_).Expression(text);
  cache_.resize(tree_.nodes.size());  // no entry made during the evaluation (see Parse)
  aggs_.clear();
  storeShapes_.fill({nullptr, AggShape()});
  frames_.clear();
  depth_ = 0;
  steps_ = 0;
  whereKind_ = nullptr;
  whereName_ = nullptr;
  self_ = Value();
  if (self.IsSet()) {
    ZORQelIMemEntityInstanceIMP* x = Find(self);
    if (x == nullptr) throw Failure{false, "no instance #" + std::to_string(self), Pos{0, 0}, "-"};
    self_.k = Value::Entity;
    self_.inst = x;
  }
  return Eval(root);
}

std::string ZORQelIMemRuleEngine::Evaluate(ZORQelI::Mint self, const std::string& text) {
  try {
    return Text(Run(self, text));
  } catch (const SyntaxError& e) {
    Refuse("line " + std::to_string(e.pos.line) + ", column " + std::to_string(e.pos.column) + ": " + e.text, __LINE__);
  } catch (const Failure& f) {
    Refuse((f.unsupported ? "unsupported: " : "") + (f.where == "-" ? f.why : DetailOf(f, nullptr)), __LINE__);
  }
}

bool ZORQelIMemRuleEngine::EvaluateInstance(ZORQelI::Mint self, const std::string& text,
                                            ZORQelIInstance& out, std::string* error) {
  out = ZORQelIInstance();
  Value v;
  try {
    v = Run(self, text);
  } catch (const SyntaxError& e) {
    if (error != nullptr) *error = "line " + std::to_string(e.pos.line) + ", column " + std::to_string(e.pos.column) + ": " + e.text;
    return false;
  } catch (const Failure& f) {
    if (error != nullptr) *error = (f.unsupported ? "unsupported: " : "") + (f.where == "-" ? f.why : DetailOf(f, nullptr));
    return false;
  }
  ZORQelIInstances pop = m_->GetInstances();
  switch (v.k) {
    case Value::Indet: return true;
    case Value::Logical:
      if (v.logical != 2) out = pop.InstanciateBoolean(v.logical == 1 ? ZORQelI::Itrue : ZORQelI::Ifalse);
      return true;
    case Value::Int:
      if (v.i < INT32_MIN + 1 || v.i > INT32_MAX) {
        if (error != nullptr) *error = "the integer " + std::to_string(v.i) + " does not fit in 32 bits";
        return false;
      }
      out = pop.InstanciateInteger(static_cast<ZORQelI::integer>(v.i));
      return true;
    case Value::Real: out = pop.InstanciateReal(v.r); return true;
    case Value::Str:
    case Value::Bin:
    case Value::Enum: out = pop.InstanciateString(ZORQelI::string(v.c_str())); return true;
    case Value::Entity:
      if (v.inst != nullptr) {
        out = ZORQelIInstance(v.inst);
        return true;
      }
      break;
    default: break;
  }
  if (error != nullptr) *error = "the value " + Text(v) + " has no instance form";
  return false;
}
