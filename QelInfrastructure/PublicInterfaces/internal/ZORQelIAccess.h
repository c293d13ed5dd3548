// Internal to the library: the one key to the private members of the public
// classes.  Installed only because those classes name it; not part of the
// contract.
//
// A public class that lets the library's internal helpers at its private
// members declares `friend struct ZORQelIInternal::Access;` and nothing
// else: the helpers are members of Access, declared where Access is defined,
// in a header of the library's own.  The library defines it; a definition
// anywhere else breaks the one-definition rule and is not supported.
#ifndef ZORQelIInternal_Access_h
#define ZORQelIInternal_Access_h

namespace ZORQelIInternal {
struct Access;
}  // namespace ZORQelIInternal

#endif
