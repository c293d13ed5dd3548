// Export macro of libQL0KRN.so: the library is built with hidden symbol
// visibility and every exported class carries QL0KRN_EXPORT.
#ifndef ZORQelIExport_h
#define ZORQelIExport_h

#define QL0KRN_EXPORT __attribute__((visibility("default")))

// For the few inline functions every handle construction runs (the root
// registration): compilers differ in whether they inline them unasked, and
// a call there doubles the cost of copying a handle.
#define QL0KRN_ALWAYS_INLINE inline __attribute__((always_inline))

#endif
