// ZORQelIMemParamIMP: what the parameters and the attributes of the in-memory
// provider share.
#ifndef ZORQelIMemParamIMP_h
#define ZORQelIMemParamIMP_h

#include "QL0KRN.h"
#include "ZORQelIMemExport.h"

// A name, a type (null: none, printed as Void) and the in, out and optional
// flags, with the operations that only read or set them.  Base is
// ZORQelIParamDescIMP (parameters) or ZORQelIAttrIMP (attributes, which are
// parameter descriptors too); the two instantiations are made in
// ZORQelIMemParamIMP.cpp.  What differs is left to the subclasses: naming
// rules, SetType and SetOptional (an attribute tells its schema's views),
// the owner and the wrapper.
//
// Collector: the type is a raw pointer scanned by the member check.
template <class Base>
class QL0KRNMEM_EXPORT ZORQelIMemParamIMP : public Base {
 public:
  void GarbageCollectorMemberCheck() override;
  ZORQelI::string Name() const override;
  ZORQelI::boolean IsIn() const override;
  ZORQelI::boolean IsOut() const override;
  ZORQelI::boolean IsOptional() const override;
  ZORQelIType GetType() const override;
  void SetIn(ZORQelI::boolean v) override;
  void SetOut(ZORQelI::boolean v) override;

  ZORQelITypeIMP* TypeIMP() const { return type_; }
  const ZORQelI::string& NameRef() const { return name_; }

 protected:
  ZORQelIMemParamIMP(ZORQelI::string name, ZORQelITypeIMP* type, ZORQelI::boolean in,
                     ZORQelI::boolean out, ZORQelI::boolean optional);
  ZORQelIMemParamIMP(const ZORQelIMemParamIMP& o);
  ~ZORQelIMemParamIMP() override;
  // The type of t, null for an empty t; raises ZORQelI::InvalidType for a
  // type of another wrapper than this object's.
  ZORQelITypeIMP* CheckedType(ZORQelIType t) const;

  // Kept alive by the member check.
  ZORQelITypeIMP* type_;
  ZORQelI::string name_;
  ZORQelI::boolean in_;
  ZORQelI::boolean out_;
  ZORQelI::boolean optional_;
};

extern template class ZORQelIMemParamIMP<ZORQelIParamDescIMP>;
extern template class ZORQelIMemParamIMP<ZORQelIAttrIMP>;

#endif
