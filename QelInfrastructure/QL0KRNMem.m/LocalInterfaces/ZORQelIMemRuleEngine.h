// ZORQelIMemRuleEngine: the evaluator of EXPRESS expressions and statements
// over a population of the in-memory provider, and the checks of a schema's
// rules built on it; ZORQelIMemRuleChecker is its public face.
#ifndef ZORQelIMemRuleEngine_h
#define ZORQelIMemRuleEngine_h

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "ZORQelIMemRuleChecker.h"
#include "ZORQelIMemRuleSyntax.h"

#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemEntityInstanceIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemSlot.h"

class ZORQelIMemAggregateIMP;

namespace ZORQelIMemRuleEval {

using ZORQelIMemRule::Pos;

// s in upper case (ASCII letters only).
std::string Up(std::string s);

struct Agg;
struct Made;

// What a value keeps on the heap: a text, an aggregate or an entity value
// made by a constructor, shared by the values that copy it and freed by the
// last.  An engine runs on one thread at a time, so the count is a plain one.
struct Shared {
  enum What : std::uint8_t { TextBlock, Aggregate, Constructed };
  std::size_t refs = 1;
  What what;
  explicit Shared(What w) : what(w) {}
  // A copy is a new object: counted once.
  Shared(const Shared& o) : what(o.what) {}
  Shared& operator=(const Shared&) = delete;
  // Drops one count; frees s with the last.
  static void Drop(Shared* s);
};

// One counted reference to a Shared.
class Ref {
 public:
  Ref() = default;
  explicit Ref(Shared* s) : p_(s) {}  // takes over the count s was made with
  Ref(const Ref& o) : p_(o.p_) { if (p_ != nullptr) ++p_->refs; }
  Ref(Ref&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  Ref& operator=(const Ref& o) {
    if (o.p_ != nullptr) ++o.p_->refs;
    Shared* old = p_;
    p_ = o.p_;
    if (old != nullptr) Shared::Drop(old);
    return *this;
  }
  Ref& operator=(Ref&& o) noexcept {
    if (this != &o) {
      Shared* old = p_;
      p_ = o.p_;
      o.p_ = nullptr;
      if (old != nullptr) Shared::Drop(old);
    }
    return *this;
  }
  ~Ref() { if (p_ != nullptr) Shared::Drop(p_); }
  Shared* get() const { return p_; }
  // Whether other references share the object.
  bool shared() const { return p_ != nullptr && p_->refs > 1; }

 private:
  Shared* p_ = nullptr;
};

// A text of its own: the characters follow the header, NUL-terminated.
struct Chars : Shared {
  std::size_t size = 0;
  const char* Data() const { return reinterpret_cast<const char*>(this + 1); }
  static Ref Make(const char* s, std::size_t n);
  static void Free(Chars* c);

 private:
  Chars() : Shared(TextBlock) {}
};

// A value: indeterminate, a logical (0 FALSE, 1 TRUE, 2 UNKNOWN), a number, a
// string, a binary, an enumeration item, an entity instance (of the
// population, or made by an entity constructor) or an aggregate.
//
// Forty bytes, copied by copying the words and counting one more reference:
// - a string, binary or enumeration item is `str` (NUL-terminated, `n`
//   characters): its own Chars in `p`, or borrowed, `p` empty, from what
//   outlives the value: a cell of the population (which does not change
//   while a check or an evaluation runs and its values live) or a name the
//   engine keeps;
// - an aggregate is the Agg in `p`, or, `p` empty, the aggregate `store` of
//   the population read in place (made an Agg only when an operation needs
//   one: ZORQelIMemRuleEngine::AggOf); an entity is `inst` of the
//   population, or the Made in `p` made by constructors.
struct Value {
  enum Kind : std::uint8_t { Indet, Logical, Int, Real, Str, Bin, Enum, Entity, Aggregate };
  Kind k = Indet;
  std::uint8_t logical = 0;
  std::uint32_t n = 0;  // a string's length
  union {
    std::int64_t i = 0;
    double r;
  };
  union {
    ZORQelIMemEntityInstanceIMP* inst = nullptr;  // Entity
    const char* str;                              // Str, Bin, Enum
    const ZORQelIMemAggregateIMP* store;          // Aggregate, read in place
  };
  const ZORQelITypeIMP* type = nullptr;  // the declared type of a typed value
  // Last: an assignment drops what p held only after every other member is
  // copied, so a value may be assigned one it holds (an element of its own
  // aggregate, an attribute of its own constructed value).
  Ref p;

  static Value L(int v) { Value x; x.k = Logical; x.logical = static_cast<std::uint8_t>(v); return x; }
  static Value I(std::int64_t v) { Value x; x.k = Int; x.i = v; return x; }
  static Value R(double v) { Value x; x.k = Real; x.r = v; return x; }
  // A string of its own (kind Str, or Bin or Enum when given).
  static Value S(const char* s, std::size_t size, Kind kind = Str);
  static Value S(const std::string& s, Kind kind = Str) { return S(s.data(), s.size(), kind); }
  // A string borrowing s, which outlives the value (see above).
  static Value Borrow(const char* s, std::size_t size, Kind kind);
  static Value E(ZORQelIMemEntityInstanceIMP* x) { Value v; v.k = Entity; v.inst = x; return v; }
  // A new empty aggregate (0 SET, 1 BAG, 2 LIST, 3 ARRAY).
  static Value NewAgg(int kind);
  static Value Of(Ref shared, Kind kind) { Value v; v.k = kind; v.p = std::move(shared); return v; }
  bool Number() const { return k == Int || k == Real; }
  double AsReal() const { return k == Int ? static_cast<double>(i) : r; }
  bool Textual() const { return k == Str || k == Bin || k == Enum; }
  // The characters of a string, binary or enumeration item; empty for others.
  std::string_view s() const { return Textual() ? std::string_view(str, n) : std::string_view(); }
  const char* c_str() const { return Textual() ? str : ""; }
  Agg* agg() const;     // of an Aggregate; null when it views a store
  Made* made() const;   // of an Entity made by constructors, else null
};

// An aggregate value: 0 SET, 1 BAG, 2 LIST, 3 ARRAY.  lo is an array's low
// index; loBound/hiBound the declared bounds (-1: unknown or ?).
struct Agg : Shared {
  Agg() : Shared(Aggregate) {}
  int kind = 1;
  std::int64_t lo = 1;
  std::int64_t loBound = 0, hiBound = -1;
  std::vector<Value> items;
};

// An entity value made by entity constructors, joined by || when complex:
// the entities it was made of and its attributes by upper-case name.
struct Made : Shared {
  Made() : Shared(Constructed) {}
  std::vector<ZORQelIMemEntityIMP*> parts;
  std::vector<std::pair<std::string, Value>> attrs;
  const Value* Find(std::string_view name) const {
    for (const auto& [n, v] : attrs) {
      if (n == name) return &v;
    }
    return nullptr;
  }
  // The part every other part is a super entity of, or null.
  ZORQelIMemEntityIMP* Leaf() const {
    for (ZORQelIMemEntityIMP* p : parts) {
      bool all = true;
      for (ZORQelIMemEntityIMP* q : parts) all = all && p->Inherits(q);
      if (all) return p;
    }
    return nullptr;
  }
};

inline Agg* Value::agg() const { return static_cast<Agg*>(p.get()); }
inline Made* Value::made() const { return k == Entity ? static_cast<Made*>(p.get()) : nullptr; }

struct Failure {
  bool unsupported = false;
  std::string why;
  Pos pos;
  std::string where;  // the declaration it happened in, when not the rule itself
};

enum class Flow { Normal, Return, Escape, Skip };

// A parsed clause: its root(s) or why it did not parse.
struct ParsedClause {
  bool ok = false;
  std::string error;
  std::string label;
  int expr = -1;
  std::vector<int> exprs;  // UNIQUE
  std::string qualified;   // a defined type's WHERE rule: "TYPE.LABEL", made on first use
};

struct InverseInfo {
  std::string name;
  bool aggregate = false;
  std::int64_t lo = 0, hi = -1;
  std::string entity, attr;  // upper case
  const ZORQelIMemClause* clause = nullptr;
  const ZORQelIMemEntityIMP* want = nullptr;  // entity's declaration, when found
  // The cell of attr in instances of the entity seen last (-1: none).
  mutable const ZORQelIMemEntityIMP* seen = nullptr;
  mutable int seenSlot = -1;
};

struct EntityInfo {
  struct Rule {
    const ZORQelIMemClause* clause;
    ZORQelIMemEntityIMP* owner;
    std::string label;  // as reported for an instance of this entity
    // The parsed clause; parsed_ is node-based, so the address is stable.
    const ParsedClause* parsed = nullptr;
  };
  std::string name;  // upper case
  // TYPEOF of an instance, made on first use.
  ZORQelIMemRuleEval::Ref typeOf;  // an Agg
  std::vector<Rule> wheres;  // parsed and labelled by WhereRules, between evaluations
  bool wheresParsed = false;
  std::unordered_map<std::string, std::pair<const ZORQelIMemClause*, ZORQelIMemEntityIMP*>> derives;
  std::unordered_map<std::string, int> slots;
  std::vector<InverseInfo> inverses;
  std::unordered_set<const ZORQelIMemEntityIMP*> ancestors;
  std::vector<const ZORQelIMemEntityIMP*> ancestorList;  // the same, the entity first
  // The engine's extents of ancestorList (its map is node-based: they stay put).
  std::vector<std::vector<ZORQelIMemEntityInstanceIMP*>*> extents;
  // The declared type of each cell of an instance (the attributes' types).
  std::vector<const ZORQelITypeIMP*> cellTypes;
};

// What a name at one node of the tree resolved to, for the last entity (or
// callee) it was resolved against: the tree is evaluated over and over on
// instances of few entities, so a name is looked up once per entity.
struct NodeCache {
  enum Kind : std::uint8_t { Unresolved, Slot, Derive, Inverse, Missing, User, Builtin, Entity, Type, Unknown };
  Kind kind = Unresolved;
  const void* key = nullptr;  // the entity resolved against
  int index = -1;             // Slot: the cell; Inverse: its place; User: the callable; Builtin: its code
  const void* target = nullptr;  // Slot: the cell's type; Derive: the clause; Entity, Type: the declaration
  // A Name node: whether it names a defined type (looked up once).
  bool typeKnown = false;
  const ZORQelITypeIMP* type = nullptr;
};

// What FromSlot needs of a cell's declared type, found once per type.
struct TypeFacts {
  const ZORQelITypeIMP* declared = nullptr;  // the type when it is a declared one
  bool enumeration = false;
  bool binary = false;
  bool rules = false;  // it or a type it is defined from has WHERE rules
};

// Entity instances numbered densely: the inverse index of a check finds the
// referrers of an instance through it.  Found through an array by instance
// number when the numbers are dense and distinct, else by address (open
// addressing).
class InstanceNumbers {
 public:
  // Numbers xs 0, 1, ... in order.
  void Build(const std::vector<const ZORQelIMemEntityInstanceIMP*>& xs);
  void Reserve(std::size_t n);
  // The number of x, given it when new.
  int Add(const ZORQelIMemEntityInstanceIMP* x);
  // The number of x, or -1.
  int Find(const ZORQelIMemEntityInstanceIMP* x) const;

 private:
  std::size_t Home(const ZORQelIMemEntityInstanceIMP* x) const;
  std::vector<std::pair<const ZORQelIMemEntityInstanceIMP*, int>> table_;
  std::size_t size_ = 0;
  // By instance number less lo_: the number given (-1: none); empty when
  // the table is used.  byNumber_: the instances by the number given.
  std::vector<int> direct_;
  std::int64_t lo_ = 0;
  std::vector<const ZORQelIMemEntityInstanceIMP*> byNumber_;
};

}  // namespace ZORQelIMemRuleEval

class ZORQelIMemRuleEngine {
  using Value = ZORQelIMemRuleEval::Value;
  using Ref = ZORQelIMemRuleEval::Ref;
  using Agg = ZORQelIMemRuleEval::Agg;
  using Flow = ZORQelIMemRuleEval::Flow;
  using Failure = ZORQelIMemRuleEval::Failure;
  using ParsedClause = ZORQelIMemRuleEval::ParsedClause;
  using EntityInfo = ZORQelIMemRuleEval::EntityInfo;
  using InverseInfo = ZORQelIMemRuleEval::InverseInfo;
  using NodeCache = ZORQelIMemRuleEval::NodeCache;
  using TypeFacts = ZORQelIMemRuleEval::TypeFacts;
  using Node = ZORQelIMemRule::Node;
  using Tree = ZORQelIMemRule::Tree;

 public:
  explicit ZORQelIMemRuleEngine(ZORQelIModeler m);
  ZORQelIMemRuleReport Check();
  std::string Evaluate(ZORQelI::Mint self, const std::string& text);
  bool EvaluateInstance(ZORQelI::Mint self, const std::string& text, ZORQelIInstance& out,
                        std::string* error);

 private:
  // The value of text with SELF the instance numbered self; raises Failure
  // or SyntaxError.
  Value Run(ZORQelI::Mint self, const std::string& text);
  friend class ZORQelIMemRuleChecker;
  using Frame = std::vector<std::pair<std::string, Value>>;

  ParsedClause& Parse(const ZORQelIMemClause* c);
  // What the rules need of an entity; parses nothing, so an evaluation may
  // ask for it.
  EntityInfo& Info(ZORQelIMemEntityIMP* e);
  // info's WHERE rules, parsed on first use: only between evaluations.
  const std::vector<EntityInfo::Rule>& WhereRules(EntityInfo& info) {
    return info.wheresParsed ? info.wheres : ParseWheres(info);
  }
  const std::vector<EntityInfo::Rule>& ParseWheres(EntityInfo& info);
  ZORQelIMemEntityInstanceIMP* Find(ZORQelI::integer n);
  void BuildIndex();
  // The instances referring to x, each with the cell that refers.
  using Referrer = std::pair<ZORQelIMemEntityInstanceIMP*, int>;
  std::pair<const Referrer*, const Referrer*> Users(const ZORQelIMemEntityInstanceIMP* x);
  NodeCache& CacheOf(const Node& n) {
    // The usual case in line: a node of the tree whose cache entry exists.
    const auto id = static_cast<std::size_t>(&n - tree_.nodes.data());
    if (id < cache_.size() && id < tree_.nodes.size()) return cache_[id];
    return CacheOfSlow(n);
  }
  NodeCache& CacheOfSlow(const Node& n);
  const TypeFacts& Facts(const ZORQelITypeIMP* t);

  // evaluation
  Value Eval(int n);
  Flow Exec(int n);
  Flow ExecList(int first, int count);
  Value Call(const Node& n);
  // finals, when given, receives the parameters' values the body left.
  // The arguments of a call: values on the engine's stack (or a vector), for
  // the callee to read or move from.
  struct Args {
    Value* data;
    std::size_t count;
    std::size_t size() const { return count; }
    Value& operator[](std::size_t k) const { return data[k]; }
  };
  // CallUser moves the arguments into the callee's frame before evaluating
  // anything.
  Value CallUser(std::size_t index, Args args, const Node& at,
                 std::vector<Value>* finals = nullptr);
  Value Builtin(int code, Args args, const Node& at);
  Value Attribute(const Value& base, const std::string& name, const Node& at);
  Value ReadAttr(ZORQelIMemEntityInstanceIMP* x, const std::string& name, const Node& at, bool& found);
  // The instances referring to x through inv's attribute, each once (added
  // to out when given): how many.
  std::size_t Referrers(ZORQelIMemEntityInstanceIMP* x, const InverseInfo& inv, std::vector<Value>* out);
  Value Inverse(ZORQelIMemEntityInstanceIMP* x, const InverseInfo& inv);
  Value FromSlot(const ZORQelIMemSlot& s, std::uint8_t tag, const ZORQelITypeIMP* type);
  Value Name(const Node& n);
  Value* Var(const std::string& name);
  // Leaves no variable, keeping the first frame's room: a QUERY of the next
  // rule then allocates nothing.
  void ResetFrames();
  Value Binary(const Node& n);
  // The value of node id without a copy where it can be had in place: a
  // string literal always; a variable or SELF only when last (nothing
  // evaluated after it may move the frames or SELF); else Eval into scratch.
  const Value& Operand(int id, Value& scratch, bool last);
  // A string or binary literal's value, made once per node.
  const Value& Literal(const Node& n);
  // The enumeration item named upper: borrowing the engine's copy of its
  // name when the schema has an item of that name.
  Value EnumItem(const std::string& upper);
  int Equal(const Value& a, const Value& b, int depth);
  int Less(const Value& a, const Value& b, const Node& at);
  Value TypeOf(const Value& v);
  std::vector<std::string> TypeNames(const ZORQelITypeIMP* t);
  std::string Qualified(const ZORQelIObjectIMP* entityOrType, const std::string& name);
  Value Index(const Node& n);
  [[noreturn]] void Raise(const Node& at, const std::string& why, bool unsupported = false);
  // x as an integer, raising when it is not a number or out of range.
  std::int64_t ToInteger(double x, const Node& at);
  // Counts one step of a statement loop; raises beyond kMaxSteps.
  void Step(const Node& at);
  std::vector<Value>& Items(Value& v, const Node& at);
  Value Logic(const Value& v, const Node& at);
  std::string Text(const Value& v, int depth = 0);
  // Appends v to a UNIQUE rule's key: Text(v), without its temporaries for
  // strings, enumeration items and integers.
  void AppendKey(std::string& key, const Value& v);
  // An aggregate store's kind (0 SET, 1 BAG, 2 LIST, 3 ARRAY), low index and
  // declared bounds (-1: unknown or ?).
  struct AggShape {
    int kind = 1;
    std::int64_t lo = 1, loBound = 0, hiBound = -1;
  };
  AggShape Shape(const ZORQelIMemAggregateIMP* g);
  // The aggregate of v, of kind Aggregate: its own, or the store it views
  // made into one, once per store and check (kept in aggs_).
  const Agg& AggOf(const Value& v);
  Ref Materialize(const ZORQelIMemAggregateIMP* g);
  using Finding = ZORQelIMemRuleFinding;
  // Adds a finding to the report and counts it.
  static void Add(ZORQelIMemRuleReport& report, Finding::Kind kind, ZORQelI::Mint number,
                  const std::string& entity, const std::string& label, std::string text,
                  const std::string& detail);
  // The label of a WHERE or UNIQUE clause as written, or "(n)" numbering
  // the unlabelled ones of its declaration (counted in unlabelled).
  static std::string LabelOf(const ZORQelIMemClause& c, const ParsedClause& p, int& unlabelled);
  // Evaluates one WHERE expression with SELF self; adds what it finds.
  void RunWhere(ZORQelIMemRuleReport& report, const ZORQelIMemClause* c, const ParsedClause& p,
                const Value& self, ZORQelI::Mint number, const std::string& entity,
                const std::string& label);
  // The WHERE rules of the defined types of the value in a cell (and of its
  // elements), without making the value when no type on the way has any.
  void CheckCell(ZORQelIMemEntityInstanceIMP* x, const std::string& entity, const ZORQelIMemSlot& s,
                 std::uint8_t tag, const ZORQelITypeIMP* type, ZORQelIMemRuleReport& report, int depth);
  // The WHERE rules a value of type meets: its own and those of the types
  // it is defined from, in order, found once per type.
  struct TypeRule {
    const ZORQelIMemClause* clause;
    const ParsedClause* parsed;
  };
  const std::vector<TypeRule>& TypeRules(const ZORQelITypeIMP* type);
  // The WHERE rules of the defined types of v (and of its elements).
  void CheckTypes(ZORQelIMemEntityInstanceIMP* x, const std::string& entity, const Value& v,
                  ZORQelIMemRuleReport& report, int depth);
  // UNIQUE rules: the findings of each instance that repeats the values of
  // an earlier one.
  void CheckUnique(ZORQelIMemRuleReport& report,
                   std::unordered_map<const ZORQelIMemEntityInstanceIMP*, std::vector<Finding>>& out);
  void CheckGlobalRules(ZORQelIMemRuleReport& report);
  std::string DetailOf(const Failure& f, const ZORQelIMemClause* c);

  ZORQelIModeler handle_;
  ZORQelIMemModelerIMP* m_;
  Tree tree_;
  std::unordered_map<const ZORQelIMemClause*, ParsedClause> parsed_;
  std::unordered_map<const ZORQelIMemEntityIMP*, std::unique_ptr<EntityInfo>> info_;
  std::unordered_map<std::string, std::size_t> callables_;
  std::unordered_map<std::string, std::string> declErrors_;  // name -> why it did not parse
  std::vector<std::pair<std::string, std::string>> badRules_;  // RULE name, why it did not parse
  std::unordered_map<std::string, Value> constants_;
  std::unordered_map<std::string, int> constantInit_;
  std::unordered_map<ZORQelI::integer, ZORQelIMemEntityInstanceIMP*> numbers_;  // made by Find
  // Who refers to whom: the referrers of the instance numbered i by dense_
  // are users_[userStart_[i] .. userStart_[i + 1]).
  ZORQelIMemRuleEval::InstanceNumbers dense_;
  std::vector<std::size_t> userStart_;
  std::vector<Referrer> users_;
  std::vector<NodeCache> cache_;  // by node
  std::deque<Value> literals_;    // string literals made once (NodeCache::index); refs stay valid
  // The aggregates of the population made so far, by their store: the
  // population does not change while a check or an evaluation runs.
  std::unordered_map<const ZORQelIObjectIMP*, ZORQelIMemRuleEval::Ref> aggs_;  // Aggs
  // The arguments of the calls under way (Call), innermost last.
  std::vector<Value> stack_;
  // Spent frames, kept for their capacity (at most their reserved count).
  std::vector<Frame> framePool_;
  std::unordered_map<const ZORQelITypeIMP*, TypeFacts> facts_;
  std::unordered_map<const ZORQelITypeIMP*, AggShape> shapes_;  // by aggregate type
  std::unordered_map<const ZORQelITypeIMP*, std::vector<TypeRule>> typeRules_;
  // The instance Users was last asked about, and its answer.
  const ZORQelIMemEntityInstanceIMP* usersOf_ = nullptr;
  std::pair<const Referrer*, const Referrer*> usersLast_{nullptr, nullptr};
  // The shapes of the stores Shape was asked about since the check or the
  // evaluation began (the population may change between them).
  std::array<std::pair<const ZORQelIMemAggregateIMP*, AggShape>, 256> storeShapes_{};
  std::array<std::pair<const ZORQelITypeIMP*, const TypeFacts*>, 64> factsCache_{};  // of facts_
  const ZORQelIMemEntityIMP* lastEntity_ = nullptr;  // the last entity Info was asked about
  EntityInfo* lastInfo_ = nullptr;
  std::unordered_map<const ZORQelIMemEntityIMP*, std::vector<ZORQelIMemEntityInstanceIMP*>> extent_;
  std::unordered_map<std::string, std::string> enumItems_;  // item -> its enumeration's name
  bool indexed_ = false;
  std::vector<Frame> frames_;
  Value self_;
  Value result_;
  int depth_ = 0;
  std::uint64_t steps_ = 0;  // loop rounds of the current rule evaluation
  // The declaration being run, for located reports: "FUNCTION " or "RULE "
  // and its name (in tree_, which keeps its callables and rules in place).
  const char* whereKind_ = nullptr;
  const std::string* whereName_ = nullptr;
  // The DERIVE attributes being evaluated (instance, clause), innermost last.
  std::vector<std::pair<const ZORQelIMemEntityInstanceIMP*, const ZORQelIMemClause*>> deriving_;
};

#endif
