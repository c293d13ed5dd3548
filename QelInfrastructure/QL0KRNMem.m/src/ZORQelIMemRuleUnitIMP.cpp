// ZORQelIMemRuleUnitIMP: a parsable unit over the rules of a schema.
#include "ZORQelIMemRuleUnitIMP.h"

#include <fstream>
#include <sstream>

#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemRuleChecker.h"
#include "ZORQelIMemRuleSyntax.h"
#include "ZORQelIMemWrapper.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemRuleUnitIMP";

[[noreturn]] void Refuse(const char* message, int line) {
  ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(message)), kSource, line);
}
}  // namespace

ZORQELI_DEFINE_IMP(ZORQelIMemRuleUnitIMP, ZORQelIExpressionIMP)

ZORQelIMemRuleUnitIMP::ZORQelIMemRuleUnitIMP(ZORQelIMemModelerIMP* schema, std::string text)
    : schema_(schema), text_(std::move(text)) {
  ZORQELI_TRACE(" ZORQelIMemRuleUnitIMP::ZORQelIMemRuleUnitIMP(ZORQelIMemModelerIMP* schema, std::string text)");
}

ZORQelIExpression ZORQelIMemRuleUnitIMP::Make(ZORQelIModeler schema, const std::string& text) {
  ZORQELI_TRACE("ZORQelIExpression ZORQelIMemRuleUnitIMP::Make(ZORQelIModeler schema, const std::string& text)");
  ZORQelIMemModelerIMP* m = ZORQelIMemModelerIMP::DownCast(schema);
  return ZORQelIExpression(new ZORQelIMemRuleUnitIMP(m, text));
}

ZORQelIObjectIMP* ZORQelIMemRuleUnitIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemRuleUnitIMP::Clone() const");
  return new ZORQelIMemRuleUnitIMP(*this);
}

void ZORQelIMemRuleUnitIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemRuleUnitIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelI::string("Rule unit of "));
  ot.Print(schema_->Name());
  ot.Print(ZORQelI::string(": "));
  ot.Print(ZORQelI::string(text_.c_str()));
}

void ZORQelIMemRuleUnitIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemRuleUnitIMP::GarbageCollectorMemberCheck()");
  ZORQelIExpressionIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(schema_);
  if (interface_ != nullptr) GarbageCollectorScan(interface_);
}

ZORQelIWrapper& ZORQelIMemRuleUnitIMP::Wrapper() const {
  ZORQELI_TRACE("ZORQelIWrapper& ZORQelIMemRuleUnitIMP::Wrapper() const");
  return schema_->MemWrapper();
}

ZORQelI::string ZORQelIMemRuleUnitIMP::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemRuleUnitIMP::Name() const");
  return schema_->Name();
}

void ZORQelIMemRuleUnitIMP::Rename(ZORQelI::string) {
  ZORQELI_TRACE("void ZORQelIMemRuleUnitIMP::Rename(ZORQelI::string x)");
  Refuse("a rule unit is named after its schema", __LINE__);
}

ZORQelI::boolean ZORQelIMemRuleUnitIMP::Load(ZORQelI::string fileName) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemRuleUnitIMP::Load(ZORQelI::string fileName)");
  errors_.clear();
  std::ifstream in(static_cast<const char*>(fileName), std::ios::binary);
  if (!in) {
    errors_.emplace_back(ZORQelI::string("cannot read ") + fileName, ZORQelI::Mint::UNSET);
    return ZORQelI::Ifalse;
  }
  std::stringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  ZORQelIMemRule::Tree tree;
  try {
    ZORQelIMemRule::Parser(tree).Expression(text);
  } catch (const ZORQelIMemRule::SyntaxError& e) {
    // The byte position of the error's line and column.
    std::size_t at = 0;
    for (int line = 1; line < e.pos.line && at < text.size(); ++at) {
      if (text[at] == '\n') ++line;
    }
    at += static_cast<std::size_t>(e.pos.column > 0 ? e.pos.column - 1 : 0);
    errors_.emplace_back(ZORQelI::string(e.text.c_str()), static_cast<ZORQelI::integer>(at));
    return ZORQelI::Ifalse;
  }
  text_ = std::move(text);
  return ZORQelI::Itrue;
}

ZORQelI::boolean ZORQelIMemRuleUnitIMP::Save(ZORQelI::string fileName) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemRuleUnitIMP::Save(ZORQelI::string fileName) const");
  std::ofstream out(static_cast<const char*>(fileName), std::ios::binary | std::ios::trunc);
  if (!out) return ZORQelI::Ifalse;
  out << text_ << "\n";
  return out.good() ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMemRuleUnitIMP::Parse(ZORQelI::string fileName) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemRuleUnitIMP::Parse(ZORQelI::string fileName)");
  return Load(fileName);
}

int ZORQelIMemRuleUnitIMP::NumberOfErrors() const {
  ZORQELI_TRACE("int ZORQelIMemRuleUnitIMP::NumberOfErrors() const");
  return static_cast<int>(errors_.size());
}

ZORQelIErrorClass ZORQelIMemRuleUnitIMP::GetError(int pos) const {
  ZORQELI_TRACE("ZORQelIErrorClass ZORQelIMemRuleUnitIMP::GetError(int pos) const");
  const int n = NumberOfErrors();
  if (pos < 0 || pos >= n) ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, n - 1), kSource, __LINE__);
  return errors_[static_cast<std::size_t>(pos)];
}

bool ZORQelIMemRuleUnitIMP::Ours(ZORQelIInstances& params) {
  if (params.IsValid() == ZORQelI::Itrue && params.Equal(schema_->GetInstances()) == ZORQelI::Itrue) {
    return true;
  }
  errors_.emplace_back(ZORQelI::string("not the population of schema ") + schema_->Name(),
                       ZORQelI::Mint::UNSET);
  return false;
}

ZORQelI::boolean ZORQelIMemRuleUnitIMP::Check(ZORQelIInstances params) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemRuleUnitIMP::Check(ZORQelIInstances params)");
  errors_.clear();
  if (!Ours(params)) return ZORQelI::Ifalse;
  ZORQelIMemRuleChecker checker{ZORQelIModeler(schema_)};
  ZORQelIMemRuleReport r = checker.Check();
  for (const ZORQelIMemRuleFinding& f : r.findings) {
    std::string m = f.instance.IsSet() ? "#" + std::to_string(static_cast<int>(f.instance)) + "=" + f.entity
                                       : f.entity;
    m += ": " + f.label;
    m += f.kind == ZORQelIMemRuleFinding::Violated ? std::string(" violated")
         : f.kind == ZORQelIMemRuleFinding::Raised ? " raised: " + f.detail
                                                   : " unsupported: " + f.detail;
    errors_.emplace_back(ZORQelI::string(m.c_str()), static_cast<ZORQelI::integer>(f.instance));
  }
  return errors_.empty() ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelIInstance ZORQelIMemRuleUnitIMP::Eval(ZORQelIInstances param) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemRuleUnitIMP::Eval(ZORQelIInstances param)");
  errors_.clear();
  if (!Ours(param)) return ZORQelIInstance();
  ZORQelIMemRuleChecker checker{ZORQelIModeler(schema_)};
  ZORQelIInstance out;
  std::string error;
  if (!checker.EvaluateInstance(ZORQelI::Mint(), text_, out, &error)) {
    errors_.emplace_back(ZORQelI::string(error.c_str()), ZORQelI::Mint::UNSET);
  }
  return out;
}

ZORQelIParamDesc ZORQelIMemRuleUnitIMP::CreateParam(ZORQelI::string, ZORQelI::boolean,
                                                    ZORQelI::boolean, ZORQelIType) {
  ZORQELI_TRACE("ZORQelIParamDesc ZORQelIMemRuleUnitIMP::CreateParam(ZORQelI::string name, ZORQelI::boolean in, ZORQelI::boolean out, ZORQelIType t)");
  Refuse("a rule unit takes no parameters", __LINE__);
}

void ZORQelIMemRuleUnitIMP::AddParam(ZORQelIParamDesc) {
  ZORQELI_TRACE("void ZORQelIMemRuleUnitIMP::AddParam(ZORQelIParamDesc par)");
  Refuse("a rule unit takes no parameters", __LINE__);
}

ZORQelIParamDesc ZORQelIMemRuleUnitIMP::GetParam(int pos) {
  ZORQELI_TRACE("ZORQelIParamDesc ZORQelIMemRuleUnitIMP::GetParam(int pos)");
  ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, -1), kSource, __LINE__);
}

int ZORQelIMemRuleUnitIMP::GetNumberOfParam() const {
  ZORQELI_TRACE("int ZORQelIMemRuleUnitIMP::GetNumberOfParam() const");
  return 0;
}

ZORQelIExpression ZORQelIMemRuleUnitIMP::GetSubNode(int pos) const {
  ZORQELI_TRACE("ZORQelIExpression ZORQelIMemRuleUnitIMP::GetSubNode(int pos) const");
  ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, -1), kSource, __LINE__);
}

int ZORQelIMemRuleUnitIMP::GetNumberOfSubNode() const {
  ZORQELI_TRACE("int ZORQelIMemRuleUnitIMP::GetNumberOfSubNode() const");
  return 0;
}

ZORQelIExpression ZORQelIMemRuleUnitIMP::Copy() const {
  ZORQELI_TRACE("ZORQelIExpression ZORQelIMemRuleUnitIMP::Copy() const");
  auto* copy = new ZORQelIMemRuleUnitIMP(schema_, text_);
  copy->interface_ = interface_;
  return ZORQelIExpression(copy);
}

void ZORQelIMemRuleUnitIMP::Extract() {
  ZORQELI_TRACE("void ZORQelIMemRuleUnitIMP::Extract()");
}

ZORQelIMethod ZORQelIMemRuleUnitIMP::GetMethod() const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIMemRuleUnitIMP::GetMethod() const");
  return ZORQelIMethod();
}

ZORQelIInterface ZORQelIMemRuleUnitIMP::GetInterface() const {
  ZORQELI_TRACE("ZORQelIInterface ZORQelIMemRuleUnitIMP::GetInterface() const");
  return interface_ != nullptr ? ZORQelIInterface(interface_) : ZORQelIInterface();
}

void ZORQelIMemRuleUnitIMP::SetInterface(ZORQelIInterface n) {
  ZORQELI_TRACE("void ZORQelIMemRuleUnitIMP::SetInterface(ZORQelIInterface n)");
  interface_ = n.IsValid() == ZORQelI::Itrue ? n.IMP() : nullptr;
}
