#pragma once
// Shell and process services: the temporary folder, the recycle bin, the recent-documents
// list, starting programs and opening documents.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

namespace recycle_flags {
inline constexpr std::uint32_t NoConfirmation = 1;
inline constexpr std::uint32_t NoProgressUi = 2;
inline constexpr std::uint32_t NoSound = 4;
}  // namespace recycle_flags

enum class WindowStyle { NormalFocus = 1, MinimizedFocus = 2 };

class Shell {
 public:
  virtual ~Shell() = default;
  // The folder holding the running executable, without a trailing back-slash except for
  // a drive root.
  virtual std::string ApplicationFolder() = 0;
  // The temporary folder with its trailing back-slash, or empty when the platform has none.
  virtual std::string GetTempPath() = 0;
  // Returns the platform's result code (0 on success). An empty root means every drive.
  virtual std::int32_t EmptyRecycleBin(std::string_view root, std::uint32_t flags) = 0;
  virtual void ClearRecentDocuments() = 0;
  // Folders that no clean may ever empty as a whole: the Windows folder, the Program Files
  // folders, the users' profile folders and their parent. Without trailing back-slash.
  virtual std::vector<std::string> ProtectedFolders() = 0;
  // Starts a program and returns at once, without waiting for it.
  [[nodiscard]] virtual bool StartProgram(std::string_view path, WindowStyle style) = 0;
  // Starts the program at exactly `path` (never one found by a search) with `arguments`,
  // and returns at once.
  [[nodiscard]] virtual bool StartProgramWithArguments(std::string_view path,
                                                       std::string_view arguments,
                                                       WindowStyle style) = 0;
  // The shell's open operation on a file, web address or mailto: address.
  [[nodiscard]] virtual bool OpenDocument(std::string_view target) = 0;
};

}  // namespace quorvane
