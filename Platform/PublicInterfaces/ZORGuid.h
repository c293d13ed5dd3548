// Class identifiers of the component runtime.
#ifndef ZORGuid_h
#define ZORGuid_h

#include <cstdint>

#include "ZORPlatformExport.h"

struct _GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};

ZOR_PLATFORM_EXPORT bool operator==(const _GUID& a, const _GUID& b);
inline bool operator!=(const _GUID& a, const _GUID& b) { return !(a == b); }

// Identifier of the meta class: the class of every registered meta object.
extern ZOR_PLATFORM_EXPORT const _GUID CLSID_ZORMetaClass;

#endif
