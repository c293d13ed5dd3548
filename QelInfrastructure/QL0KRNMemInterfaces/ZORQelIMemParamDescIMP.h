// ZORQelIMemParamDescIMP: a parameter of a function or method of the
// in-memory provider.
#ifndef ZORQelIMemParamDescIMP_h
#define ZORQelIMemParamDescIMP_h

#include "QL0KRN.h"
#include "ZORQelIParamDescIMP.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemParamIMP.h"

class ZORQelIMemWrapper;

// A named, typed parameter with its in, out and optional flags.  SetType
// accepts an empty type or one of this wrapper (else ZORQelI::InvalidType).
// Text is "name : type" followed by " In", " Out", " Optional" as flagged.
// Clone copies everything.
//
// The name, type and flags are ZORQelIMemParamIMP's.
class QL0KRNMEM_EXPORT ZORQelIMemParamDescIMP
    : public ZORQelIMemParamIMP<ZORQelIParamDescIMP> {
  ZORQELI_DECLARE_IMP(ZORQelIMemParamDescIMP, ZORQelIParamDescIMP)
 public:
  ZORQelIMemParamDescIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name, ZORQelI::boolean in,
                         ZORQelI::boolean out, ZORQelITypeIMP* type);
  ZORQelIMemParamDescIMP(const ZORQelIMemParamDescIMP& o);
  ~ZORQelIMemParamDescIMP() override;

  ZORQelIObjectIMP* Clone() const override;
  void Text(ZORQelIPrint& ot) const override;

  ZORQelIWrapper& Wrapper() const override;
  void Rename(ZORQelI::string x) override;

  void SetType(ZORQelIType t) override;
  void SetOptional(ZORQelI::boolean v) override;

 private:
  // Not owned: REQUIRES the wrapper to outlive the parameter.
  ZORQelIMemWrapper* wrapper_;
};

#endif
