// ZORQelIMemMethodIMP: a function or method of an interface of the in-memory
// provider.
#include "ZORQelIMemMethodIMP.h"

#include <algorithm>

#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemParamDescIMP.h"
#include "ZORQelIMemWrapper.h"
#include "ZORQelIMemObjectDefinitions.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemMethodIMP";
}

ZORQELI_DEFINE_IMP(ZORQelIMemMethodIMP, ZORQelIMethodIMP)

ZORQelIMemMethodIMP::ZORQelIMemMethodIMP(ZORQelIMemWrapper& wrapper, ZORQelIMemEntityIMP* entity,
                                         ZORQelI::string name, ZORQelITypeIMP* result)
    : wrapper_(&wrapper), entity_(entity), result_(result), name_(name) {
  ZORQELI_TRACE(" ZORQelIMemMethodIMP::ZORQelIMemMethodIMP(ZORQelIMemWrapper& wrapper, ZORQelIMemEntityIMP* entity, ZORQelI::string name, ZORQelITypeIMP* result)");
}

ZORQelIMemMethodIMP::ZORQelIMemMethodIMP(const ZORQelIMemMethodIMP& o)
    : ZORQelIMethodIMP(o),
      wrapper_(o.wrapper_),
      entity_(o.entity_),
      result_(o.result_),
      params_(o.params_),
      name_(o.name_),
      visibility_(o.visibility_) {
  ZORQELI_TRACE(" ZORQelIMemMethodIMP::ZORQelIMemMethodIMP(const ZORQelIMemMethodIMP& o)");
}

ZORQELIMEM_DEFINE_COPY_CLONE(ZORQelIMemMethodIMP, 37)

void ZORQelIMemMethodIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemMethodIMP::Text(ZORQelIPrint& ot) const");
  if (entity_ != nullptr) {
    ot.Print(ZORQelI::string("Method "));
    ot.Print(entity_->Name());
    ot.Print(ZORQelI::string("."));
  } else {
    ot.Print(ZORQelI::string("Function "));
  }
  ot.Print(name_);
  ot.Print(ZORQelI::string("("));
  for (std::size_t i = 0; i < params_.size(); ++i) {
    if (i > 0) ot.Print(ZORQelI::string(", "));
    params_[i]->Text(ot);
  }
  ot.Print(ZORQelI::string(") : "));
  ot.Print(ZORQelIType(result_));
}

void ZORQelIMemMethodIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemMethodIMP::GarbageCollectorMemberCheck()");
  ZORQelIMethodIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(entity_);
  GarbageCollectorScan(result_);
  for (ZORQelIParamDescIMP* p : params_) GarbageCollectorScan(p);
}

ZORQELIMEM_DEFINE_WRAPPER(ZORQelIMemMethodIMP, 69, *wrapper_)

ZORQELIMEM_DEFINE_NAME(ZORQelIMemMethodIMP, 74, name_)

void ZORQelIMemMethodIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemMethodIMP::Rename(ZORQelI::string x)");
  if (x.GetLengthInChar() == 0) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("a method needs a name")), kSource,
                  __LINE__);
  }
  name_ = x;
}

void ZORQelIMemMethodIMP::SetVisibility(int v) {
  ZORQELI_TRACE("void ZORQelIMemMethodIMP::SetVisibility(int v)");
  if (v != Private && v != Protected && v != Public) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(
                  "a visibility is Private (0), Protected (1) or Public (2)")),
                  kSource, __LINE__);
  }
  visibility_ = v;
}

int ZORQelIMemMethodIMP::GetVisibility() const {
  ZORQELI_TRACE("int ZORQelIMemMethodIMP::GetVisibility() const");
  return visibility_;
}

ZORQelIType ZORQelIMemMethodIMP::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemMethodIMP::GetType() const");
  return ZORQelIType(result_);
}

void ZORQelIMemMethodIMP::SetType(ZORQelIType t) {
  ZORQELI_TRACE("void ZORQelIMemMethodIMP::SetType(ZORQelIType t)");
  ZORQelITypeIMP* type = nullptr;
  if (t.IsValid() == ZORQelI::Itrue) {
    type = t.IMP();
    wrapper_->CheckWrapper(type);
  }
  result_ = type;
}

void ZORQelIMemMethodIMP::AddParam(ZORQelIParamDesc pr) {
  ZORQELI_TRACE("void ZORQelIMemMethodIMP::AddParam(ZORQelIParamDesc pr)");
  ZORQelIParamDescIMP* p = pr.IMP();  // an empty pr raises ZORQelI::NullPtrAccess
  wrapper_->CheckWrapper(p);
  if (std::find(params_.begin(), params_.end(), p) != params_.end()) {
    ZORQELI_RAISE(ZORQelI::Exception("parameter '" + p->Name() + "' is already one of '" +
                                     name_ + "'"),
                  kSource, __LINE__);
  }
  params_.push_back(p);
}

void ZORQelIMemMethodIMP::RemoveParam(ZORQelIParamDesc pr) {
  ZORQELI_TRACE("void ZORQelIMemMethodIMP::RemoveParam(ZORQelIParamDesc pr)");
  auto it = std::find(params_.begin(), params_.end(), pr.IMP());
  if (it != params_.end()) params_.erase(it);
}

void ZORQelIMemMethodIMP::RemoveParam(ZORQelI::integer pos) {
  ZORQELI_TRACE("void ZORQelIMemMethodIMP::RemoveParam(ZORQelI::integer pos)");
  int n = NumberOfParams();
  if (pos < 0 || pos >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, n - 1), kSource, __LINE__);
  }
  params_.erase(params_.begin() + pos);
}

ZORQelI::integer ZORQelIMemMethodIMP::NumberOfParams() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIMemMethodIMP::NumberOfParams() const");
  return static_cast<ZORQelI::integer>(params_.size());
}

ZORQelI::boolean ZORQelIMemMethodIMP::Match(const ZORQelIExpression R) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemMethodIMP::Match(const ZORQelIExpression R) const");
  if (!(R.Name() == name_) || R.GetNumberOfParam() != NumberOfParams()) return ZORQelI::Ifalse;
  ZORQelIExpression r(R);
  for (std::size_t i = 0; i < params_.size(); ++i) {
    ZORQelIType mine = params_[i]->GetType();
    ZORQelIType theirs = r.GetParam(static_cast<int>(i)).GetType();
    if (mine.IsValid() != ZORQelI::Itrue || theirs.IsValid() != ZORQelI::Itrue) continue;
    if (theirs.IsA(mine) != ZORQelI::Itrue) return ZORQelI::Ifalse;
  }
  return ZORQelI::Itrue;
}

ZORQelIParamDesc ZORQelIMemMethodIMP::GetParam(ZORQelI::integer pos) {
  ZORQELI_TRACE("ZORQelIParamDesc ZORQelIMemMethodIMP::GetParam(ZORQelI::integer pos)");
  int n = NumberOfParams();
  if (pos < 0 || pos >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, n - 1), kSource, __LINE__);
  }
  return ZORQelIParamDesc(params_[pos]);
}

ZORQelIEntity ZORQelIMemMethodIMP::ImplementsEntity() const {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIMemMethodIMP::ImplementsEntity() const");
  return ZORQelIEntity(entity_);
}

void ZORQelIMemMethodIMP::MakeParam(ZORQelI::string v, ZORQelI::boolean in, ZORQelI::boolean out,
                                    ZORQelIType t) {
  ZORQELI_TRACE("void ZORQelIMemMethodIMP::MakeParam(ZORQelI::string v, ZORQelI::boolean in, ZORQelI::boolean out, ZORQelIType t)");
  if (v.GetLengthInChar() == 0) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("a parameter needs a name")), kSource,
                  __LINE__);
  }
  ZORQelITypeIMP* type = nullptr;
  if (t.IsValid() == ZORQelI::Itrue) {
    type = t.IMP();
    wrapper_->CheckWrapper(type);
  }
  params_.push_back(new ZORQelIMemParamDescIMP(*wrapper_, v, in, out, type));
}

ZORQelI::boolean ZORQelIMemMethodIMP::IsMethod() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemMethodIMP::IsMethod() const");
  return entity_ != nullptr ? ZORQelI::Itrue : ZORQelI::Ifalse;
}
