// Private to the library: checks of internal invariants in debug builds.
//
// ZORQELI_DCHECK(condition, message) aborts the process with the message, the
// file and the line when the condition is false.  It guards invariants that
// the library's own code must keep (the collector's lists, the holder tables,
// the containers' shadow structures), never input a client may get wrong:
// those raise the library's exceptions in every build.
//
// The check is compiled in when NDEBUG is not defined (Debug builds and the
// sanitizer runs of CI) or when QL0KRN_CHECKS is defined, and compiled out
// otherwise: the condition is then not evaluated, so it must have no effects.
#ifndef ZORQelICheck_h
#define ZORQelICheck_h

#if !defined(NDEBUG) || defined(QL0KRN_CHECKS)
#include <cstdio>
#include <cstdlib>

#define ZORQELI_DCHECK(condition, message)                                   \
  do {                                                                       \
    if (!(condition)) {                                                      \
      std::fprintf(stderr, "%s:%d: internal check failed: %s (%s)\n",        \
                   __FILE__, __LINE__, message, #condition);                 \
      std::abort();                                                          \
    }                                                                        \
  } while (0)
#define ZORQELI_DCHECK_IS_ON 1
#else
#define ZORQELI_DCHECK(condition, message) \
  do {                                     \
    (void)sizeof(!(condition));            \
  } while (0)
#define ZORQELI_DCHECK_IS_ON 0
#endif

#endif
