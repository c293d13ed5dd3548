// Export macro of libQL0KRNMem.so: the provider is built with hidden symbol
// visibility and every exported class carries QL0KRNMEM_EXPORT.
#ifndef ZORQelIMemExport_h
#define ZORQelIMemExport_h

#define QL0KRNMEM_EXPORT __attribute__((visibility("default")))

#endif
