// ZORQelIMemRuleChecker: evaluates the rules of a schema read from EXPRESS on
// its population.
#ifndef ZORQelIMemRuleChecker_h
#define ZORQelIMemRuleChecker_h

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "ZORQelIMemExport.h"

// One finding of a check.
struct ZORQelIMemRuleFinding {
  enum Kind {
    Violated,     // the rule evaluated to FALSE (or, for UNIQUE, a duplicate)
    Raised,       // its evaluation failed (a bad index, a missing attribute, ...)
    Unsupported,  // it uses something the evaluator does not handle
  };
  Kind kind = Violated;
  // The instance's file number; UNSET for a global RULE.
  ZORQelI::Mint instance;
  // The instance's entity (upper case), or "RULE NAME" for a global rule.
  std::string entity;
  // The rule's label: "WR1" for a rule of the instance's own entity,
  // "IFCROOT.WR1" for an inherited rule or a rule of a defined type, the
  // INVERSE attribute's name (upper case) for a cardinality; "(1)", "(2)"
  // ... number the unlabelled rules of a declaration.
  std::string label;
  std::string text;    // the rule's source text
  std::string detail;  // Raised, Unsupported: what failed, with its place
};

struct ZORQelIMemRuleReport {
  std::size_t instances = 0;
  std::size_t evaluated = 0;  // rule evaluations (a rule once per instance)
  std::size_t violations = 0; // Violated and Raised findings
  std::size_t unsupported = 0;
  // In population order; for each instance its WHERE rules (its entity's,
  // then inherited ones), type rules, INVERSE cardinalities and UNIQUE
  // rules; then the global rules.
  std::vector<ZORQelIMemRuleFinding> findings;
};

class ZORQelIMemRuleEngine;

// Parses the schema's kept clauses, functions and rules once, on
// construction, and evaluates them on demand.  The schema and its
// population must outlive the checker.  The index of who refers to whom
// (USEDIN, ROLESOF, INVERSE attributes) and of the instances by number is
// made by the first Check or evaluation and kept: after the population
// changes, make a new checker.
//
// What is checked: the WHERE rules of each instance's entity and its super
// entities, the WHERE rules of the defined types of its attribute values
// (aggregate elements included), UNIQUE rules over the instances of the
// declaring entity, the cardinality of INVERSE attributes, and global RULEs.
// A clause that does not parse is reported as Unsupported for every instance
// it applies to.
class QL0KRNMEM_EXPORT ZORQelIMemRuleChecker {
 public:
  explicit ZORQelIMemRuleChecker(ZORQelIModeler schema);
  ~ZORQelIMemRuleChecker();
  ZORQelIMemRuleChecker(const ZORQelIMemRuleChecker&) = delete;
  ZORQelIMemRuleChecker& operator=(const ZORQelIMemRuleChecker&) = delete;

  ZORQelIMemRuleReport Check();
  // The value of an expression evaluated with SELF the instance numbered
  // self (UNSET: no SELF), written as EXPRESS text ("?", ".T.", "3", "'a'",
  // "#12", "(1,2)").  DERIVE and INVERSE attributes are read like explicit
  // ones.  Raises ZORQelI::Exception with the reason on a syntax error, an
  // unsupported construct or a failed evaluation.
  std::string Evaluate(ZORQelI::Mint self, const std::string& expression);
  // The same value as an instance: an entity instance itself; an integer
  // (in 32 bits), a real, a string, an enumeration item (its name) or a
  // boolean as a new value of the schema's population; an indeterminate or
  // UNKNOWN value an empty handle.  False, with *error set, on a failure or
  // an aggregate value.
  bool EvaluateInstance(ZORQelI::Mint self, const std::string& expression, ZORQelIInstance& out,
                        std::string* error);

 private:
  std::unique_ptr<ZORQelIMemRuleEngine> engine_;
};

#endif
