// ZORQelIMemRuleUnitIMP: a parsable unit over the rules of a schema of the
// in-memory provider.
#ifndef ZORQelIMemRuleUnitIMP_h
#define ZORQelIMemRuleUnitIMP_h

#include <string>
#include <vector>

#include "QL0KRN.h"
#include "ZORQelIErrorClass.h"
#include "ZORQelIExpressionIMP.h"
#include "ZORQelIMemExport.h"

class ZORQelIMemModelerIMP;

// A unit of a schema read from EXPRESS, holding the text of one EXPRESS
// expression (possibly empty):
//  - Check(population) evaluates every rule of the schema on the population
//    (ZORQelIMemRuleChecker); the errors of the last check are one per
//    finding, message "#ID=ENTITY: LABEL violated" (or "raised: REASON",
//    "unsupported: REASON"; "RULE NAME: ..." for a global rule), position
//    the instance number (UNSET for a global rule).  Itrue when there was
//    no finding.  A population that is not the schema's: Ifalse, one error.
//  - Eval(population) evaluates the expression without SELF: an entity
//    instance gives a handle on it; an integer, real, string, enumeration
//    item or boolean a new value of the population; an indeterminate or
//    UNKNOWN value an empty handle.  An aggregate, a failed or unsupported
//    evaluation, or another population: an empty handle and one error.
//  - Load and Parse read the expression from a file (Ifalse and one error,
//    with the byte position, when it does not parse; the text is kept only
//    on success); Save writes it.
//  - The unit is a leaf: no parameters (CreateParam and AddParam raise
//    ZORQelI::Exception, GetParam raises ZORQelI::BoundError), no sub-nodes,
//    no method; SetInterface records the interface GetInterface returns.
//    Copy is a new unit with the same text and no errors; Extract does
//    nothing.
//
// Collector: the schema and the interface are raw pointers scanned by the
// member check.
class QL0KRNMEM_EXPORT ZORQelIMemRuleUnitIMP : public ZORQelIExpressionIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemRuleUnitIMP, ZORQelIExpressionIMP)
 public:
  // A unit of schema with expression text.  A schema of another provider
  // raises ZORQelI::InvalidType; an empty handle ZORQelI::NullPtrAccess.
  static ZORQelIExpression Make(ZORQelIModeler schema, const std::string& text);

  ZORQelIObjectIMP* Clone() const override;
  // "Rule unit of SCHEMA: TEXT".
  void Text(ZORQelIPrint& ot) const override;
  void GarbageCollectorMemberCheck() override;

  ZORQelIWrapper& Wrapper() const override;
  // The schema's name.
  ZORQelI::string Name() const override;
  // Raises ZORQelI::Exception: a unit is named after its schema.
  void Rename(ZORQelI::string x) override;

  ZORQelI::boolean Load(ZORQelI::string fileName) override;
  ZORQelI::boolean Save(ZORQelI::string fileName) const override;
  ZORQelI::boolean Parse(ZORQelI::string fileName) override;
  int NumberOfErrors() const override;
  // Positions 0 .. NumberOfErrors() - 1; others raise ZORQelI::BoundError.
  ZORQelIErrorClass GetError(int pos) const override;
  ZORQelI::boolean Check(ZORQelIInstances params) override;
  ZORQelIInstance Eval(ZORQelIInstances param) override;

  ZORQelIParamDesc CreateParam(ZORQelI::string name, ZORQelI::boolean in, ZORQelI::boolean out,
                               ZORQelIType t) override;
  void AddParam(ZORQelIParamDesc par) override;
  ZORQelIParamDesc GetParam(int pos) override;
  int GetNumberOfParam() const override;
  ZORQelIExpression GetSubNode(int pos) const override;
  int GetNumberOfSubNode() const override;
  ZORQelIExpression Copy() const override;
  void Extract() override;
  ZORQelIMethod GetMethod() const override;
  ZORQelIInterface GetInterface() const override;
  void SetInterface(ZORQelIInterface n) override;

  const std::string& ExpressionText() const { return text_; }

 private:
  ZORQelIMemRuleUnitIMP(ZORQelIMemModelerIMP* schema, std::string text);
  ZORQelIMemRuleUnitIMP(const ZORQelIMemRuleUnitIMP&) = default;
  // Whether params is the schema's population; records an error if not.
  bool Ours(ZORQelIInstances& params);

  ZORQelIMemModelerIMP* schema_;
  ZORQelIInterfaceIMP* interface_ = nullptr;
  std::string text_;
  std::vector<ZORQelIErrorClass> errors_;
};

#endif
