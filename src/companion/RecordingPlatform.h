#pragma once
// The platform of a preview: the same calls as the real one, answered as if every change
// the clean asks for had happened, while nothing that writes reaches the real platform.
// Each recorder implements its interface itself (no forwarding by default), so that a call
// added to an interface later must be judged here: read, or write to be recorded.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "companion/RecordingFileSystem.h"
#include "companion/RecordingRegistry.h"
#include "core/platform/Platform.h"

namespace quorvane::companion {

// The recycle bin and the recent-documents list are only named, never emptied; programs
// are not started and documents not opened.
class RecordingShell final : public Shell {
 public:
  explicit RecordingShell(Shell& real) : real_(real) {}
  std::string ApplicationFolder() override { return real_.ApplicationFolder(); }
  std::string GetTempPath() override { return real_.GetTempPath(); }
  std::int32_t EmptyRecycleBin(std::string_view, std::uint32_t) override { return 0; }
  void ClearRecentDocuments() override {}
  ProtectedFolderList ProtectedFolders() override { return real_.ProtectedFolders(); }
  [[nodiscard]] bool StartProgram(std::string_view, WindowStyle) override { return true; }
  [[nodiscard]] bool StartProgramWithArguments(std::string_view, std::string_view,
                                               WindowStyle) override {
    return true;
  }
  [[nodiscard]] bool OpenDocument(std::string_view, WindowStyle) override { return true; }

 private:
  Shell& real_;
};

// Deleted entries are skipped by later enumerations.
class RecordingUrlCache final : public UrlCache {
 public:
  explicit RecordingUrlCache(UrlCache& real) : real_(real) {}
  std::unique_ptr<UrlCacheEntryBlock> AllocateEntry(std::uint32_t size) override {
    return real_.AllocateEntry(size);
  }
  [[nodiscard]] UrlCacheStatus FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                              UrlCacheFind& find) override;
  [[nodiscard]] UrlCacheStatus FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                             std::uint32_t& size) override;
  [[nodiscard]] UrlCacheStatus DeleteEntry(std::string_view sourceUrl) override;
  void CloseFind(UrlCacheFind find) override { real_.CloseFind(find); }

 private:
  UrlCacheStatus SkipDeleted(UrlCacheStatus status, UrlCacheFind find, UrlCacheEntryBlock* block,
                             std::uint32_t& size);
  UrlCache& real_;
  std::set<std::string> deleted_;
};

// A cleared store lists nothing more; single deletions are hidden from later listings.
class RecordingUrlHistoryStore final : public UrlHistoryStore {
 public:
  explicit RecordingUrlHistoryStore(UrlHistoryStore& real) : real_(real) {}
  [[nodiscard]] HistoryStatus Open(std::unique_ptr<UrlHistorySession>& session) override;
  [[nodiscard]] HistoryStatus UtcToLocalFileTime(std::uint64_t utc, std::uint64_t& local) override {
    return real_.UtcToLocalFileTime(utc, local);
  }

  bool cleared = false;
  std::set<std::string> deleted;

 private:
  UrlHistoryStore& real_;
};

// Writes to the settings file are kept in memory, so later reads see them.
class RecordingProfileStrings final : public ProfileStrings {
 public:
  explicit RecordingProfileStrings(ProfileStrings& real) : real_(real) {}
  std::uint32_t GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::string& value, std::uint32_t capacity,
                          std::string_view file) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                   std::string_view file) override;

 private:
  static std::string Key(std::string_view file, std::string_view section, std::string_view key);
  ProfileStrings& real_;
  std::map<std::string, std::string> written_;
};

// Saved and deleted settings are kept in memory, so later reads see them.
class RecordingUserSettings final : public UserSettings {
 public:
  explicit RecordingUserSettings(UserSettings& real) : real_(real) {}
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue) override;
  void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value) override;
  std::vector<std::pair<std::string, std::string>> GetAllSettings(
      std::string_view app, std::string_view section) override;
  void DeleteSetting(std::string_view app, std::string_view section, std::string_view key) override;

 private:
  static std::string SectionKey(std::string_view app, std::string_view section);
  UserSettings& real_;
  // Per section: key -> value, none for a deleted key; a deleted section as a whole.
  std::map<std::string, std::map<std::string, std::optional<std::string>>> changed_;
  std::set<std::string> deletedSections_;
};

// Every recorder over one real platform. Message boxes and text conversion change nothing
// stored and go to the real services.
class RecordingPlatform {
 public:
  explicit RecordingPlatform(const Platform& real);
  Platform platform();

 private:
  const Platform real_;
  RecordingRegistry registry_;
  RecordingProfileStrings profile_;
  RecordingUserSettings userSettings_;
  RecordingFileSystem files_;
  RecordingShell shell_;
  RecordingUrlCache urlCache_;
  RecordingUrlHistoryStore urlHistory_;
};

}  // namespace quorvane::companion
