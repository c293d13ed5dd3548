#include "ZORQelIInstances.h"

#include "ZORQelIInstance.h"
#include "ZORQelIInstancesIMP.h"
#include "ZORQelIType.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIInstances, ZORQelIWrapperObject, ZORQelIInstancesIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIInstances, ZORQelIInstancesIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIInstances, __VA_ARGS__)
#include "ZORQelIInstances.def"

ZORQelIInstance ZORQelIInstances::InstanciateString(ZORQelI::string v) const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstances::InstanciateString(ZORQelI::string v) const", 76);
  ZORQelIInstance made = InstanciateString();
  made.PutString(v);
  return made;
}

ZORQelIInstance ZORQelIInstances::InstanciateBoolean(ZORQelI::boolean v) const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstances::InstanciateBoolean(ZORQelI::boolean v) const", 83);
  ZORQelIInstance made = InstanciateBoolean();
  made.PutBoolean(v);
  return made;
}

ZORQelIInstance ZORQelIInstances::InstanciateReal(ZORQelI::real v) const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstances::InstanciateReal(ZORQelI::real v) const", 90);
  ZORQelIInstance made = InstanciateReal();
  made.PutReal(v);
  return made;
}

ZORQelIInstance ZORQelIInstances::InstanciateInteger(ZORQelI::integer v) const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstances::InstanciateInteger(ZORQelI::integer v) const", 97);
  ZORQelIInstance made = InstanciateInteger();
  made.PutInteger(v);
  return made;
}
