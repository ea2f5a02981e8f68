#pragma once
// The file services that the targets call, built on the thin FileSystem interface. Every
// walk here reads attributes from the directory listing, never enters a reparse point and
// never touches a link's target.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/FileSystem.h"
#include "core/platform/Shell.h"

namespace quorvane {

// Attribute sets of a listing by pattern: plain files (read-only and archive included)
// always; the flags add hidden files, system files and folders.
namespace list_attr {
inline constexpr std::uint32_t Normal = 0;
inline constexpr std::uint32_t Hidden = 2;
inline constexpr std::uint32_t System = 4;
inline constexpr std::uint32_t Directory = 16;
}  // namespace list_attr

// Wild-card match of a long name against "*" and "?" without regard to case.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// "C:\a\b\*.txt" -> "C:\a\b" and "*.txt". A path without a back-slash has an empty folder.
void SplitFolderAndPattern(std::string_view path, std::string& folder, std::string& pattern);

// The entries of one folder that match the pattern and the attribute set, in listing order.
// An entry with an attribute outside the set (hidden, system, directory) is left out.
std::vector<DirEntry> ListByPattern(FileSystem& files, std::string_view pathPattern,
                                    std::uint32_t attributeSet);

// Removes a folder with everything in it, read-only content included. A reparse point
// inside is removed as a link (or left), never entered. What cannot be removed stays.
FsResult DeleteFolderForced(FileSystem& files, std::string_view folder);

// Deletes every file that the pattern matches among files without the hidden or system
// attribute; read-only and open files stay.
void DeleteByWildcard(FileSystem& files, std::string_view pathPattern);

// True when the path names an existing file that is neither a folder nor hidden nor system.
bool IsOrdinaryFile(FileSystem& files, std::string_view path);
bool FolderExists(FileSystem& files, std::string_view path);
bool PathExists(FileSystem& files, std::string_view path);

// Total size of everything beneath a folder, links not followed.
std::uint64_t FolderSize(FileSystem& files, std::string_view folder);

// A folder found in the registry, a setting or the platform may be emptied only when it is
// absolute and neither its text nor where it really leads (its final path) is a drive root,
// a protected folder or a folder above one, the profiles folder or a folder directly under
// it. A folder that cannot be resolved for another reason than its absence is refused.
bool IsSafeToEmpty(FileSystem& files, std::string_view folder, const ProtectedFolderList& guarded);

}  // namespace quorvane
