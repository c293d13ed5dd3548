// ZORQelIFile: file-name utilities and a few file operations.
#ifndef ZORQelIFile_h
#define ZORQelIFile_h

#include "ZORQelI.h"

// Static functions only.  Names are split on the narrow (UTF-8) rendering of
// their argument, byte by byte, searching from the end.  Nothing here raises:
// rename and unlink report failure as Ifalse.
//
//   basename("/usr/lib/libx.so") == "libx.so"   basename("dir/") == ""
//   radix("/usr/lib/libx.so")    == "libx"      radix("archive.tar.gz") == "archive.tar"
//   dirname("/usr/lib/libx.so")  == "/usr/lib"  dirname("/libx.so") == ""
//   dirname("libx.so")           == pwd()
class QL0KRN_EXPORT ZORQelIFile {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIFile";
  // The path separator, '/' (set when the library is loaded).
  static ZORQelI::character pathseparator;

  // The text after the last separator of g; g itself when it has none.
  static ZORQelI::string basename(ZORQelI::string g);
  // basename(g) less its extension (from its last "." to its end); a dot in a
  // directory name never counts.
  static ZORQelI::string radix(ZORQelI::string g);
  // The text before the last separator of gin; pwd() when it has none.
  static ZORQelI::string dirname(ZORQelI::string gin);
  // The current working directory, whatever its length; "" when it cannot be
  // obtained (removed, or not readable).
  static ZORQelI::string pwd();
  // POSIX rename: Itrue on success, Ifalse on failure (errno is left set).
  static ZORQelI::boolean rename(ZORQelI::string old, ZORQelI::string news);
  // POSIX unlink: Itrue on success, Ifalse on failure (errno is left set).
  static ZORQelI::boolean unlink(ZORQelI::string filetodelete);
};

#endif
