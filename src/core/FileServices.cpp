#include "core/FileServices.h"

#include <algorithm>
#include <optional>

#include "core/PathText.h"
#include "core/Text.h"

namespace quorvane {
namespace {

constexpr std::uint32_t kFilteredAttributes =
    file_attr::Hidden | file_attr::System | file_attr::Directory;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Greedy matching with one back-track point: a later "*" makes the earlier ones final, so
// the work stays within name length times pattern length, whatever the pattern. "?" stands
// for one character of a name, not for one byte of it.
bool MatchStars(std::string_view name, std::string_view pattern) {
  size_t n = 0;
  size_t p = 0;
  size_t starAt = std::string_view::npos;
  size_t resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      n += CharacterLength(name, n);
      ++p;
    } else if (p < pattern.size() && FoldAscii(pattern[p]) == FoldAscii(name[n])) {
      ++n;
      ++p;
    } else if (starAt != std::string_view::npos) {
      resumeAt += CharacterLength(name, resumeAt);
      n = resumeAt;
      p = starAt + 1;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// What another program removed while the walk was under way is gone as much as what the
// walk removed itself.
bool IsGone(FsResult result) { return result == FsResult::Ok || result == FsResult::NotFound; }

bool IsLink(std::uint32_t attributes) { return (attributes & file_attr::ReparsePoint) != 0; }

bool IsFolder(std::uint32_t attributes) { return (attributes & file_attr::Directory) != 0; }

// Removes one non-folder entry, or a link of either kind, with the attributes the listing
// gave. The platform resets a read-only file only once it has seen that it is no link.
FsResult RemoveEntry(FileSystem& files, const std::string& path, std::uint32_t attributes) {
  if (IsLink(attributes) && IsFolder(attributes)) return files.RemoveDirectory(path);
  return files.DeleteFile(path, DeleteMode::ResetAttributes);
}

FsResult RemoveEmptiedFolder(FileSystem& files, const std::string& path, std::uint32_t attributes) {
  if (attributes & file_attr::ReadOnly) (void)files.SetAttributes(path, file_attr::Normal);
  return files.RemoveDirectory(path);
}

// One folder of a forced delete on its way down: where its path ends in the shared path
// buffer, the sub-folders still to be entered, and whether something inside stayed.
struct PendingFolder {
  size_t pathLength = 0;
  std::uint32_t attributes = 0;
  std::vector<DirEntry> subFolders;
  size_t nextSubFolder = 0;
  bool somethingStayed = false;
};

// Lists the folder at `path` once, removes its files and links at once and keeps its real
// sub-folders for later, so that every folder is read exactly one time.
PendingFolder ClearFiles(FileSystem& files, std::string& path, std::uint32_t attributes) {
  PendingFolder folder;
  folder.pathLength = path.size();
  folder.attributes = attributes;
  std::vector<DirEntry> entries;
  if (files.ListDirectory(path, entries) != FsResult::Ok) return folder;
  for (DirEntry& entry : entries) {
    if (IsFolder(entry.attributes) && !IsLink(entry.attributes)) {
      folder.subFolders.push_back(std::move(entry));
      continue;
    }
    path += '\\';
    path += entry.name;
    if (!IsGone(RemoveEntry(files, path, entry.attributes))) folder.somethingStayed = true;
    path.resize(folder.pathLength);
  }
  return folder;
}

// "C:\a\.\b\..\c." -> "c:\a" the way the platform resolves a path, case folded; no value
// for a path that does not start at a drive or a network share.
std::optional<std::string> CanonicalAbsolute(std::string_view raw) {
  std::string path = WithBackslashes(raw);
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) {
    path.erase(2, 6);
  } else if (path.rfind("\\\\?\\", 0) == 0 || path.rfind("\\\\.\\", 0) == 0) {
    path.erase(0, 4);
  }
  if (!IsAbsolutePath(path)) return std::nullopt;

  std::vector<std::string_view> parts;
  std::string_view rest(path);
  std::string root;
  if (rest[0] == '\\') {
    // A share "\\server\share" is as much a root as "C:\".
    rest.remove_prefix(2);
    root = "\\\\";
    for (int i = 0; i < 2; ++i) {
      const size_t end = rest.find('\\');
      const std::string_view part = rest.substr(0, end);
      if (part.empty() || part == "." || part == ".." || part == "?") return std::nullopt;
      if (i == 1) root += '\\';
      root += part;
      rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
  } else {
    root = path.substr(0, 2);
    rest.remove_prefix(3);
  }
  while (!rest.empty()) {
    const size_t end = rest.find('\\');
    std::string_view part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    // The platform drops trailing dots and blanks of a name: "Windows." is "Windows".
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
    if (!part.empty()) parts.push_back(part);
  }
  std::string canonical = ToLowerAscii(root);
  for (std::string_view part : parts) {
    canonical += '\\';
    canonical += ToLowerAscii(part);
  }
  return canonical;
}

bool IsRootOnly(const std::string& canonical) {
  if (canonical.size() == 2 && canonical[1] == ':') return true;
  // "\\server\share" has exactly three back-slashes.
  return canonical[0] == '\\' && std::count(canonical.begin(), canonical.end(), '\\') == 3;
}

// True when `candidate` is `guarded` or a folder above it: emptying a parent would empty the
// protected folder with it.
bool IsSameOrAbove(const std::string& candidate, const std::string& guarded) {
  if (candidate == guarded) return true;
  return guarded.size() > candidate.size() && guarded.starts_with(candidate) &&
         guarded[candidate.size()] == '\\';
}

std::string_view ParentOf(std::string_view canonical) {
  const size_t separator = canonical.rfind('\\');
  return separator == std::string_view::npos ? std::string_view{} : canonical.substr(0, separator);
}

// A protected folder as written and as it really leads, both canonical: the profiles folder
// moved to another drive by a junction is protected in both places.
std::vector<std::string> BothForms(FileSystem& files, std::string_view folder) {
  std::vector<std::string> forms;
  if (const auto byText = CanonicalAbsolute(folder)) forms.push_back(*byText);
  std::string finalPath;
  if (!forms.empty() && files.FinalPath(folder, finalPath) == FsResult::Ok) {
    if (const auto byFinal = CanonicalAbsolute(finalPath); byFinal && *byFinal != forms[0]) {
      forms.push_back(*byFinal);
    }
  }
  return forms;
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  if (MatchStars(name, pattern)) return true;
  // As on the platform, a trailing ".*" also matches a name that ends where the dot would
  // be: "*.*" matches "README" and "a.*" matches "a".
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
    return MatchStars(name, pattern.substr(0, pattern.size() - 2));
  }
  return false;
}

void SplitFolderAndPattern(std::string_view path, std::string& folder, std::string& pattern) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) {
    folder.clear();
    pattern = std::string(path);
    return;
  }
  folder = std::string(path.substr(0, slash));
  pattern = std::string(path.substr(slash + 1));
}

std::vector<DirEntry> ListByPattern(FileSystem& files, std::string_view pathPattern,
                                    std::uint32_t attributeSet) {
  std::string folder;
  std::string pattern;
  SplitFolderAndPattern(pathPattern, folder, pattern);
  // Without a folder the listing would read the current folder, which is nobody's choice.
  if (folder.empty()) return {};
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';

  std::vector<DirEntry> entries;
  if (files.ListDirectory(folder, entries) != FsResult::Ok) return {};
  const std::uint32_t excluded = kFilteredAttributes & ~attributeSet;
  std::erase_if(entries, [&](const DirEntry& entry) {
    return (entry.attributes & excluded) != 0 || !MatchesWildcard(entry.name, pattern);
  });
  return entries;
}

FsResult DeleteFolderForced(FileSystem& files, std::string_view folder) {
  // A forced delete never starts from the current folder or a whole drive, whoever asks
  // and however the path is spelled ("C:/", "C:\Temp\..", "\\?\C:\").
  const std::optional<std::string> canonical = CanonicalAbsolute(folder);
  if (!canonical || IsRootOnly(*canonical)) return FsResult::AccessDenied;
  std::string path = WithoutTrailingSeparators(WithBackslashes(folder));

  std::uint32_t attributes = 0;
  if (const FsResult found = files.GetAttributes(path, attributes); found != FsResult::Ok) {
    return found;
  }
  if (!IsFolder(attributes)) return FsResult::Failed;
  if (IsLink(attributes)) return files.RemoveDirectory(path);

  // Depth-first with an explicit stack and one path buffer that grows and shrinks, so that
  // deep trees cannot exhaust the call stack and wide ones do not rebuild paths per file.
  path.reserve(path.size() + 512);
  std::vector<PendingFolder> pending;
  pending.push_back(ClearFiles(files, path, attributes));
  FsResult result = FsResult::Failed;
  while (!pending.empty()) {
    PendingFolder& top = pending.back();
    if (top.nextSubFolder < top.subFolders.size()) {
      const DirEntry& sub = top.subFolders[top.nextSubFolder++];
      const std::uint32_t subAttributes = sub.attributes;
      path += '\\';
      path += sub.name;
      pending.push_back(ClearFiles(files, path, subAttributes));
      continue;
    }
    path.resize(top.pathLength);
    // A folder that kept something cannot go; asking the platform would only fail.
    result =
        top.somethingStayed ? FsResult::NotEmpty : RemoveEmptiedFolder(files, path, top.attributes);
    if (result == FsResult::NotFound) result = FsResult::Ok;
    pending.pop_back();
    if (!pending.empty()) {
      if (result != FsResult::Ok) pending.back().somethingStayed = true;
      path.resize(pending.back().pathLength);
    }
  }
  return result;
}

void DeleteByWildcard(FileSystem& files, std::string_view pathPattern) {
  const std::vector<DirEntry> matches = ListByPattern(files, pathPattern, list_attr::Normal);
  if (matches.empty()) return;
  std::string folder;
  std::string pattern;
  SplitFolderAndPattern(pathPattern, folder, pattern);
  for (const DirEntry& entry : matches) {
    if (entry.attributes & file_attr::ReadOnly) continue;
    (void)files.DeleteFile(folder + '\\' + entry.name, DeleteMode::AsFound);
  }
}

bool IsOrdinaryFile(FileSystem& files, std::string_view path) {
  std::uint32_t attributes = 0;
  if (files.GetAttributes(path, attributes) != FsResult::Ok) return false;
  return (attributes & kFilteredAttributes) == 0;
}

bool FolderExists(FileSystem& files, std::string_view path) {
  std::uint32_t attributes = 0;
  return files.GetAttributes(path, attributes) == FsResult::Ok && IsFolder(attributes);
}

bool PathExists(FileSystem& files, std::string_view path) {
  std::uint32_t attributes = 0;
  return files.GetAttributes(path, attributes) == FsResult::Ok;
}

std::uint64_t FolderSize(FileSystem& files, std::string_view folder) {
  std::uint32_t attributes = 0;
  const std::string start = WithoutTrailingSeparators(WithBackslashes(folder));
  if (files.GetAttributes(start, attributes) != FsResult::Ok || !IsFolder(attributes) ||
      IsLink(attributes)) {
    return 0;
  }
  std::uint64_t total = 0;
  std::vector<std::string> pending{start};
  std::vector<DirEntry> entries;
  while (!pending.empty()) {
    std::string current = std::move(pending.back());
    pending.pop_back();
    if (files.ListDirectory(current, entries) != FsResult::Ok) continue;
    if (current.back() == '\\') current.pop_back();
    for (const DirEntry& entry : entries) {
      if (!IsFolder(entry.attributes)) {
        total += entry.size;
      } else if (!IsLink(entry.attributes)) {
        pending.push_back(current + '\\' + entry.name);
      }
    }
  }
  return total;
}

bool IsSafeToEmpty(FileSystem& files, std::string_view folder, const ProtectedFolderList& guarded) {
  const std::optional<std::string> byText = CanonicalAbsolute(folder);
  if (!byText || IsRootOnly(*byText)) return false;
  std::vector<std::string> candidates{*byText};
  // A link at the top (or anywhere above) is judged by where it leads; a folder that is not
  // there has nothing to empty and is judged by its text.
  std::string finalPath;
  const FsResult resolved = files.FinalPath(folder, finalPath);
  if (resolved != FsResult::Ok && resolved != FsResult::NotFound) return false;
  if (resolved == FsResult::Ok) {
    const std::optional<std::string> byFinal = CanonicalAbsolute(finalPath);
    if (!byFinal || IsRootOnly(*byFinal)) return false;
    candidates.push_back(*byFinal);
  }

  for (const std::string& protectedFolder : guarded.folders) {
    for (const std::string& form : BothForms(files, protectedFolder)) {
      for (const std::string& candidate : candidates) {
        if (IsSameOrAbove(candidate, form)) return false;
      }
    }
  }
  for (const std::string& form : BothForms(files, guarded.profilesFolder)) {
    for (const std::string& candidate : candidates) {
      if (IsSameOrAbove(candidate, form) || ParentOf(candidate) == form) return false;
    }
  }
  return true;
}

}  // namespace quorvane
