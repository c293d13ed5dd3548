// ZORQelIMemParamDescIMP: a parameter of a function or method of the
// in-memory provider.
#ifndef ZORQelIMemParamDescIMP_h
#define ZORQelIMemParamDescIMP_h

#include "QL0KRN.h"
#include "ZORQelIParamDescIMP.h"
#include "ZORQelIMemExport.h"

class ZORQelIMemWrapper;

// A named, typed parameter with its in, out and optional flags.  SetType
// accepts an empty type or one of this wrapper (else ZORQelI::InvalidType).
// Text is "name : type" followed by " In", " Out", " Optional" as flagged.
// Clone copies everything.
//
// Collector: the type is a raw pointer scanned by the member check.
class QL0KRNMEM_EXPORT ZORQelIMemParamDescIMP : public ZORQelIParamDescIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemParamDescIMP, ZORQelIParamDescIMP)
 public:
  ZORQelIMemParamDescIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name, ZORQelI::boolean in,
                         ZORQelI::boolean out, ZORQelITypeIMP* type);
  ZORQelIMemParamDescIMP(const ZORQelIMemParamDescIMP& o);
  ~ZORQelIMemParamDescIMP() override;

  ZORQelIObjectIMP* Clone() const override;
  void Text(ZORQelIPrint& ot) const override;
  void GarbageCollectorMemberCheck() override;

  ZORQelIWrapper& Wrapper() const override;
  ZORQelI::string Name() const override;
  void Rename(ZORQelI::string x) override;

  ZORQelI::boolean IsIn() const override;
  ZORQelI::boolean IsOut() const override;
  ZORQelI::boolean IsOptional() const override;
  ZORQelIType GetType() const override;
  void SetType(ZORQelIType t) override;
  void SetIn(ZORQelI::boolean v) override;
  void SetOut(ZORQelI::boolean v) override;
  void SetOptional(ZORQelI::boolean v) override;

 private:
  // Not owned: REQUIRES the wrapper to outlive the parameter.
  ZORQelIMemWrapper* wrapper_;
  // Kept alive by the member check.
  ZORQelITypeIMP* type_;
  ZORQelI::string name_;
  ZORQelI::boolean in_;
  ZORQelI::boolean out_;
  ZORQelI::boolean optional_ = ZORQelI::Ifalse;
};

#endif
