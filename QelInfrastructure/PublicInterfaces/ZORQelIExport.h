// Export macro of libQL0KRN.so: the library is built with hidden symbol
// visibility and every exported class carries QL0KRN_EXPORT.
#ifndef ZORQelIExport_h
#define ZORQelIExport_h

#define QL0KRN_EXPORT __attribute__((visibility("default")))

#endif
