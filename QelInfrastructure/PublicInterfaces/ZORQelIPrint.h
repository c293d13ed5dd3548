// ZORQelIPrint: the printer every Text(ZORQelIPrint&) writes to.
#ifndef ZORQelIPrint_h
#define ZORQelIPrint_h

#include "ZORQelI.h"
#include "ZORQelIStream.h"

class ZORQelIType;
class ZORQelIModeler;
class ZORQelIParamDesc;
class ZORQelIAttr;
class ZORQelIInstance;
class ZORQelIInstances;
class ZORQelIWrapper;

// A text sink with one print operation per dictionary class.  A concrete
// printer implements the five basic operations of ZORQelIStream and the
// eight dictionary overloads below; the number and boolean overloads keep
// the formats of ZORQelIStream.
//
// Contract: printing a dictionary object reads it through its handles and
// raises what they raise (ZORQelI::NullPtrAccess for an empty one, unless
// the printer says otherwise; see ZORQelIExpressForm.h).  A printer is owned
// by whoever made it and keeps no reference to what it printed.
class QL0KRN_EXPORT ZORQelIPrint : public ZORQelIStream {
 public:
  static constexpr const char __CLASSNAME__[] = "ZORQelIPrint";

  using ZORQelIStream::Print;
  ZORQelIStream& Print(ZORQelI::real s) override;
  ZORQelIStream& Print(ZORQelI::integer s) override;
  ZORQelIStream& Print(ZORQelI::boolean s) override;

  virtual ZORQelIStream& Print(const ZORQelI::Mint& X) = 0;
  virtual ZORQelIStream& Print(const ZORQelIType& X) = 0;
  virtual ZORQelIStream& Print(const ZORQelIModeler& M) = 0;
  virtual ZORQelIStream& Print(const ZORQelIParamDesc&) = 0;
  virtual ZORQelIStream& Print(const ZORQelIAttr& X) = 0;
  virtual ZORQelIStream& Print(const ZORQelIInstance& x) = 0;
  virtual ZORQelIStream& Print(const ZORQelIInstances& x) = 0;
  virtual ZORQelIStream& Print(const ZORQelIWrapper& X) = 0;

 protected:
  ZORQelIPrint() = default;
};

#endif
