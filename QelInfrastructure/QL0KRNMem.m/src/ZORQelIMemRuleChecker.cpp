// ZORQelIMemRuleChecker: the public face of the rule engine.
#include "ZORQelIMemRuleChecker.h"

#include "ZORQelIMemRuleEngine.h"

ZORQelIMemRuleChecker::ZORQelIMemRuleChecker(ZORQelIModeler schema)
    : engine_(std::make_unique<ZORQelIMemRuleEngine>(schema)) {}
ZORQelIMemRuleChecker::~ZORQelIMemRuleChecker() = default;
ZORQelIMemRuleReport ZORQelIMemRuleChecker::Check() { return engine_->Check(); }
std::string ZORQelIMemRuleChecker::Evaluate(ZORQelI::Mint self, const std::string& expression) {
  return engine_->Evaluate(self, expression);
}
bool ZORQelIMemRuleChecker::EvaluateInstance(ZORQelI::Mint self, const std::string& expression,
                                             ZORQelIInstance& out, std::string* error) {
  return engine_->EvaluateInstance(self, expression, out, error);
}
