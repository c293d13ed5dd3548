#include "ZORQelIFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ZORQelITracer.h"

ZORQelI::character ZORQelIFile::pathseparator('/');

ZORQelI::string ZORQelIFile::basename(ZORQelI::string g) {
  ZORQELI_TRACE("ZORQelI::string ZORQelIFile::basename(ZORQelI::string g)");
  const char* text = g;
  const char* p = std::strrchr(text, static_cast<char>(pathseparator));
  if (p == nullptr) return g;
  return ZORQelI::string(p + 1);
}

ZORQelI::string ZORQelIFile::radix(ZORQelI::string g) {
  ZORQELI_TRACE("ZORQelI::string ZORQelIFile::radix(ZORQelI::string g)");
  ZORQelI::string b = basename(g);
  const char* p = std::strrchr(static_cast<const char*>(b), '.');
  if (p != nullptr) {
    // Copied before b changes.  The occurrence that starts at the last dot is
    // the last occurrence of this text, the one ReplaceSubString removes.
    const ZORQelI::string extension(p);
    b.ReplaceSubString(extension, ZORQelI::string());
  }
  return b;
}

ZORQelI::string ZORQelIFile::dirname(ZORQelI::string gin) {
  ZORQELI_TRACE("ZORQelI::string ZORQelIFile::dirname(ZORQelI::string gin)");
  const char* text = gin;
  const char* p = std::strrchr(text, static_cast<char>(pathseparator));
  if (p == nullptr) return pwd();
  return ZORQelI::string(std::string(text, static_cast<std::size_t>(p - text)).c_str());
}

ZORQelI::string ZORQelIFile::pwd() {
  ZORQELI_TRACE("ZORQelI::string ZORQelIFile::pwd()");
  // Start at 512 bytes and double while the path does not fit; give up on any
  // other failure (a removed directory, a component that cannot be read), or
  // past a size no real path reaches.
  constexpr std::size_t kLimit = std::size_t(1) << 26;
  for (std::size_t size = 512; size <= kLimit; size *= 2) {
    std::vector<char> buffer(size);
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) return ZORQelI::string(buffer.data());
    if (errno != ERANGE) break;
  }
  return ZORQelI::string();
}

ZORQelI::boolean ZORQelIFile::rename(ZORQelI::string old, ZORQelI::string news) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIFile::rename(ZORQelI::string old, ZORQelI::string news)");
  return ::rename(old, news) != -1 ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIFile::unlink(ZORQelI::string filetodelete) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIFile::unlink(ZORQelI::string filetodelete)");
  return ::unlink(filetodelete) != -1 ? ZORQelI::Itrue : ZORQelI::Ifalse;
}
