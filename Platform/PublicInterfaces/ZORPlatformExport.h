// Export macro of the platform component library (libZORPlatform.so).
#ifndef ZORPlatformExport_h
#define ZORPlatformExport_h

#if defined(ZOR_PLATFORM_BUILDING)
#define ZOR_PLATFORM_EXPORT __attribute__((visibility("default")))
#else
#define ZOR_PLATFORM_EXPORT __attribute__((visibility("default")))
#endif

#endif
