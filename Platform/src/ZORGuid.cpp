#include "ZORGuid.h"

#include <cstring>

bool operator==(const _GUID& a, const _GUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

// Constant-initialised: usable from any static initialiser.
const _GUID CLSID_ZORMetaClass = {
    0x5a4f524d, 0x4d45, 0x5441, {0x43, 0x4c, 0x41, 0x53, 0x53, 0x00, 0x00, 0x01}};
