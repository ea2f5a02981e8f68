// Times the cache walk of the Internet Explorer target against the shortest loop that the
// same WinINet calls allow: one reused buffer that only grows, each normal entry deleted as
// soon as it is seen. Both run on identically seeded caches in the same process.
//   ie_cache_bench <entries> [<entries> ...]
// Prints one line per round, "walk entries=<n> seconds=<t> left=<k>" or "inline ...", three
// rounds of each per size; <k> counts the seeded entries that survived the round.

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "clean/IECache.h"
#include "win32/platform/Win32UrlCache.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 3;

std::wstring RoundPrefix(int round) {
  return L"http://bench.quorvane.test/" + std::to_wstring(round) + L"/";
}

std::wstring EntryUrl(int round, int index) {
  return RoundPrefix(round) + L"page" + std::to_wstring(index) + L".html";
}

bool Seed(int round, int entries) {
  FILETIME never{};
  for (int i = 0; i < entries; ++i) {
    const std::wstring url = EntryUrl(round, i);
    if (!CommitUrlCacheEntryW(url.c_str(), nullptr, never, never, NORMAL_CACHE_ENTRY, nullptr, 0,
                              nullptr, nullptr)) {
      std::fprintf(stderr, "cannot seed entry %d (error %lu)\n", i, GetLastError());
      return false;
    }
  }
  return true;
}

// Visits every entry of the cache with one buffer that grows only when an entry needs more.
template <typename Visit>
void ForEachEntry(Visit visit) {
  std::vector<BYTE> buffer(4096);
  DWORD size = static_cast<DWORD>(buffer.size());
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
  HANDLE find = FindFirstUrlCacheEntryW(nullptr, entry, &size);
  if (find == nullptr && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    buffer.resize(size);
    entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    find = FindFirstUrlCacheEntryW(nullptr, entry, &size);
  }
  if (find == nullptr) return;
  for (;;) {
    visit(*entry);
    size = static_cast<DWORD>(buffer.size());
    if (FindNextUrlCacheEntryW(find, entry, &size)) continue;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    buffer.resize(size);
    entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    if (!FindNextUrlCacheEntryW(find, entry, &size)) break;
  }
  FindCloseUrlCache(find);
}

// The anchor: the fewest calls the API needs to find and delete every normal entry.
void InlineLoop() {
  ForEachEntry([](const INTERNET_CACHE_ENTRY_INFOW& entry) {
    if (entry.CacheEntryType & NORMAL_CACHE_ENTRY) DeleteUrlCacheEntryW(entry.lpszSourceUrlName);
  });
}

// Counts (and removes) what is left of one round's entries, in one enumeration rather than
// a look-up per entry: Wine's look-up by URL slows down as the cache grows.
int Survivors(int round) {
  const std::wstring prefix = RoundPrefix(round);
  std::vector<std::wstring> left;
  ForEachEntry([&](const INTERNET_CACHE_ENTRY_INFOW& entry) {
    const std::wstring_view url(entry.lpszSourceUrlName);
    if (url.starts_with(prefix)) left.emplace_back(url);
  });
  for (const std::wstring& url : left) DeleteUrlCacheEntryW(url.c_str());
  return static_cast<int>(left.size());
}

template <typename Walk>
bool TimeRound(const char* name, int round, int entries, Walk walk) {
  if (!Seed(round, entries)) return false;
  const auto start = Clock::now();
  walk();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%s entries=%d seconds=%.6f left=%d\n", name, entries, seconds, Survivors(round));
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ie_cache_bench <entries> [<entries> ...]\n");
    return 2;
  }
  quorvane::win32::Win32UrlCache cache;
  int round = 0;
  for (int arg = 1; arg < argc; ++arg) {
    const int entries = std::atoi(argv[arg]);
    const auto walkRound = [&] {
      return TimeRound("walk", round++, entries, [&] { quorvane::DeleteCacheURLList(cache); });
    };
    const auto inlineRound = [&] { return TimeRound("inline", round++, entries, InlineLoop); };
    // The order alternates, so that neither side always meets the index the other one grew.
    for (int r = 0; r < kRounds; ++r) {
      const bool ok = r % 2 == 0 ? walkRound() && inlineRound() : inlineRound() && walkRound();
      if (!ok) return 1;
    }
  }
  return 0;
}
