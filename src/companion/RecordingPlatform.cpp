#include "companion/RecordingPlatform.h"

#include "core/Text.h"

namespace quorvane::companion {
namespace {

class RecordingHistoryEnumerator final : public UrlHistoryEnumerator {
 public:
  RecordingHistoryEnumerator(std::unique_ptr<UrlHistoryEnumerator> real,
                             const RecordingUrlHistoryStore& store)
      : real_(std::move(real)), store_(store) {}
  [[nodiscard]] HistoryStatus Next(UrlHistoryEntry& entry, bool& fetched) override {
    for (;;) {
      fetched = false;
      if (store_.cleared) return history_status::Ok;
      const HistoryStatus status = real_->Next(entry, fetched);
      if (!Succeeded(status) || !fetched || !store_.deleted.count(entry.url)) return status;
    }
  }

 private:
  std::unique_ptr<UrlHistoryEnumerator> real_;
  const RecordingUrlHistoryStore& store_;
};

class RecordingHistorySession final : public UrlHistorySession {
 public:
  RecordingHistorySession(std::unique_ptr<UrlHistorySession> real, RecordingUrlHistoryStore& store)
      : real_(std::move(real)), store_(store) {}
  // Adding is not a removal; the preview only lists removals, so it is simply not done.
  [[nodiscard]] HistoryStatus AddUrl(std::string_view, std::string_view, std::uint32_t) override {
    return history_status::Ok;
  }
  [[nodiscard]] HistoryStatus DeleteUrl(std::string_view url, std::uint32_t) override {
    store_.deleted.emplace(url);
    return history_status::Ok;
  }
  [[nodiscard]] HistoryStatus EnumUrls(std::string_view urlStartsWith, std::uint32_t flags,
                                       std::unique_ptr<UrlHistoryEnumerator>& entries) override {
    std::unique_ptr<UrlHistoryEnumerator> real;
    const HistoryStatus status = real_->EnumUrls(urlStartsWith, flags, real);
    if (Succeeded(status) && real) {
      entries = std::make_unique<RecordingHistoryEnumerator>(std::move(real), store_);
    }
    return status;
  }
  [[nodiscard]] HistoryStatus ClearHistory() override {
    store_.cleared = true;
    return history_status::Ok;
  }

 private:
  std::unique_ptr<UrlHistorySession> real_;
  RecordingUrlHistoryStore& store_;
};

}  // namespace

UrlCacheStatus RecordingUrlCache::SkipDeleted(UrlCacheStatus status, UrlCacheFind find,
                                              UrlCacheEntryBlock* block, std::uint32_t& size) {
  while (status == url_cache_status::Success && deleted_.count(block->SourceUrl())) {
    status = real_.FindNextEntry(find, block, size);
  }
  return status;
}

UrlCacheStatus RecordingUrlCache::FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                                 UrlCacheFind& find) {
  const UrlCacheStatus status =
      SkipDeleted(real_.FindFirstEntry(block, size, find), find, block, size);
  // The caller closes only an enumeration that began with an entry.
  if (status == url_cache_status::NoMoreItems && find != 0) {
    real_.CloseFind(find);
    find = 0;
  }
  return status;
}

UrlCacheStatus RecordingUrlCache::FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                                std::uint32_t& size) {
  return SkipDeleted(real_.FindNextEntry(find, block, size), find, block, size);
}

UrlCacheStatus RecordingUrlCache::DeleteEntry(std::string_view sourceUrl) {
  return deleted_.emplace(sourceUrl).second ? url_cache_status::Success
                                            : url_cache_status::NotFound;
}

HistoryStatus RecordingUrlHistoryStore::Open(std::unique_ptr<UrlHistorySession>& session) {
  std::unique_ptr<UrlHistorySession> real;
  const HistoryStatus status = real_.Open(real);
  if (Succeeded(status) && real) {
    session = std::make_unique<RecordingHistorySession>(std::move(real), *this);
  }
  return status;
}

std::string RecordingProfileStrings::Key(std::string_view file, std::string_view section,
                                         std::string_view key) {
  return ToLowerAscii(file) + "\n" + ToLowerAscii(section) + "\n" + ToLowerAscii(key);
}

std::uint32_t RecordingProfileStrings::GetString(std::string_view section, std::string_view key,
                                                 std::string_view defaultValue, std::string& value,
                                                 std::uint32_t capacity, std::string_view file) {
  const auto it = written_.find(Key(file, section, key));
  if (it == written_.end()) {
    return real_.GetString(section, key, defaultValue, value, capacity, file);
  }
  value = capacity == 0 ? std::string() : it->second.substr(0, capacity - 1);
  return static_cast<std::uint32_t>(value.size());
}

bool RecordingProfileStrings::WriteString(std::string_view section, std::string_view key,
                                          std::string_view value, std::string_view file) {
  written_[Key(file, section, key)] = std::string(value);
  return true;
}

std::string RecordingUserSettings::SectionKey(std::string_view app, std::string_view section) {
  return ToLowerAscii(app) + "\n" + ToLowerAscii(section);
}

std::string RecordingUserSettings::GetSetting(std::string_view app, std::string_view section,
                                              std::string_view key, std::string_view defaultValue) {
  const std::string where = SectionKey(app, section);
  if (const auto it = changed_.find(where); it != changed_.end()) {
    if (const auto value = it->second.find(ToLowerAscii(key)); value != it->second.end()) {
      return value->second.value_or(std::string(defaultValue));
    }
  }
  if (deletedSections_.count(where)) return std::string(defaultValue);
  return real_.GetSetting(app, section, key, defaultValue);
}

void RecordingUserSettings::SaveSetting(std::string_view app, std::string_view section,
                                        std::string_view key, std::string_view value) {
  changed_[SectionKey(app, section)][ToLowerAscii(key)] = std::string(value);
}

std::vector<std::pair<std::string, std::string>> RecordingUserSettings::GetAllSettings(
    std::string_view app, std::string_view section) {
  const std::string where = SectionKey(app, section);
  std::vector<std::pair<std::string, std::string>> all;
  if (!deletedSections_.count(where)) all = real_.GetAllSettings(app, section);
  const auto changed = changed_.find(where);
  if (changed == changed_.end()) return all;
  std::erase_if(all, [&](const auto& entry) {
    return changed->second.count(ToLowerAscii(entry.first)) != 0;
  });
  for (const auto& [key, value] : changed->second) {
    if (value) all.emplace_back(key, *value);
  }
  return all;
}

void RecordingUserSettings::DeleteSetting(std::string_view app, std::string_view section,
                                          std::string_view key) {
  const std::string where = SectionKey(app, section);
  if (key.empty()) {
    deletedSections_.insert(where);
    changed_.erase(where);
  } else {
    changed_[where][ToLowerAscii(key)] = std::nullopt;
  }
}

RecordingPlatform::RecordingPlatform(const Platform& real)
    : real_(real),
      registry_(real.registry),
      profile_(real.profile),
      userSettings_(real.userSettings),
      files_(real.files),
      shell_(real.shell),
      urlCache_(real.urlCache),
      urlHistory_(real.urlHistory) {}

Platform RecordingPlatform::platform() {
  return Platform{registry_,     profile_,    userSettings_, files_,     shell_,
                  real_.windows, real_.codec, urlCache_,     urlHistory_};
}

}  // namespace quorvane::companion
