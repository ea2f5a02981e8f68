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

// Folders that no clean may ever empty as a whole.
struct ProtectedFolderList {
  // Each of these, and every folder above one of them: the Windows folder, both program
  // folders, ProgramData, and every profile folder the system knows of.
  std::vector<std::string> folders;
  // The folder holding the users' profiles: it, and every folder directly under it, whether
  // the system lists that folder as a profile or not.
  std::string profilesFolder;
};

// How a started program or opened document first shows its window.
enum class WindowStyle { NormalFocus = 1, MinimizedFocus = 2, Maximized = 3, Shown = 5 };

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
  // Folders that no clean may ever empty as a whole (see ProtectedFolderList); a folder the
  // system does not know is left out.
  virtual ProtectedFolderList ProtectedFolders() = 0;
  // Starts the program file at `path`, without arguments, and returns at once without
  // waiting for it. The path is only ever the program's: never split at a blank, never
  // searched for, and a file that is no program is not opened as a document.
  [[nodiscard]] virtual bool StartProgram(std::string_view path, WindowStyle style) = 0;
  // Starts the program at exactly `path` (never one found by a search) with `arguments`,
  // and returns at once.
  [[nodiscard]] virtual bool StartProgramWithArguments(std::string_view path,
                                                       std::string_view arguments,
                                                       WindowStyle style) = 0;
  // The shell's open operation on one document: a file, web address or mailto: address,
  // passed without arguments.
  [[nodiscard]] virtual bool OpenDocument(std::string_view target, WindowStyle style) = 0;
};

}  // namespace quorvane
