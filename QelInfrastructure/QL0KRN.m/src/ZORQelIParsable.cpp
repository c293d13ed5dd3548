#include "ZORQelIParsable.h"

#include "ZORQelIErrorClass.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIParsableIMP.h"

ZORQELI_DEFINE_STRICT_DICTIONARY_HANDLE(ZORQelIParsable, ZORQelIWrapperObject, ZORQelIParsableIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIParsable, ZORQelIParsableIMP)

ZORQelI::boolean ZORQelIParsable::Load(ZORQelI::string fileName) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIParsable::Load(ZORQelI::string fileName)");
  return IMP()->Load(fileName);
}

ZORQelI::boolean ZORQelIParsable::Save(ZORQelI::string fileName) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIParsable::Save(ZORQelI::string fileName) const");
  return IMP()->Save(fileName);
}

ZORQelI::boolean ZORQelIParsable::Parse(ZORQelI::string fileName) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIParsable::Parse(ZORQelI::string fileName)");
  return IMP()->Parse(fileName);
}

int ZORQelIParsable::NumberOfErrors() const {
  ZORQELI_TRACE("int ZORQelIParsable::NumberOfErrors() const");
  return IMP()->NumberOfErrors();
}

ZORQelIErrorClass ZORQelIParsable::GetError(int pos) const {
  ZORQELI_TRACE("ZORQelIErrorClass ZORQelIParsable::GetError(int pos) const");
  return IMP()->GetError(pos);
}

ZORQelI::boolean ZORQelIParsable::Check(ZORQelIInstances params) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIParsable::Check(ZORQelIInstances params)");
  return IMP()->Check(params);
}

ZORQelIInstance ZORQelIParsable::Eval(ZORQelIInstances param) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIParsable::Eval(ZORQelIInstances param)");
  return IMP()->Eval(param);
}
