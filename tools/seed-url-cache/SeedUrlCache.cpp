// Puts entries into the browser's URL cache of the current Wine prefix or Windows user, so
// that a demonstration has cache traces for a clean to remove.
//   seed_url_cache <url> [<url> ...]
// A URL that begins with "Cookie:" becomes a cookie entry, any other a normal entry.

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <string_view>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: seed_url_cache <url> [<url> ...]\n", stderr);
    return 2;
  }
  int seeded = 0;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view url(argv[i]);
    const DWORD type = url.starts_with(L"Cookie:") ? COOKIE_CACHE_ENTRY : NORMAL_CACHE_ENTRY;
    FILETIME never{};
    if (CommitUrlCacheEntryW(argv[i], nullptr, never, never, type, nullptr, 0, nullptr, nullptr)) {
      ++seeded;
    } else {
      std::fprintf(stderr, "cannot add %ls (error %lu)\n", argv[i], GetLastError());
    }
  }
  std::printf("%d cache entries added\n", seeded);
  return seeded == argc - 1 ? 0 : 1;
}
