#include "custom/FilePickerPresenter.h"

#include <algorithm>
#include <utility>

#include "core/FileServices.h"
#include "core/PathText.h"
#include "core/Text.h"
#include "custom/CustomItemFile.h"
#include "custom/CustomMessages.h"

namespace quorvane {
namespace {

constexpr std::string_view kAllFiles = "*.*";
constexpr std::string_view kIndent = "   ";

bool LessNoCase(const std::string& a, const std::string& b) {
  return ToLowerAscii(a) < ToLowerAscii(b);
}

bool IsDriveRoot(std::string_view folder) {
  return folder.size() == 3 && folder[1] == ':' && folder[2] == '\\';
}

// "C:\a\b\" and "C:\a\b" both give "C:\a\b"; "C:" and "C:\" give "C:\".
std::string NormalFolder(std::string_view folder) {
  while (folder.size() > 3 && folder.back() == '\\') folder.remove_suffix(1);
  std::string result(folder);
  if (result.size() == 2 && result[1] == ':') result += '\\';
  return result;
}

// The folders from the root down to `folder` itself: "C:\", "C:\a", "C:\a\b".
std::vector<std::string> FolderChain(const std::string& folder) {
  std::vector<std::string> chain;
  std::size_t start = 0;
  if (folder.size() >= 3 && folder[1] == ':') {
    chain.push_back(folder.substr(0, 3));
    start = 3;
  }
  for (std::size_t at = start; at < folder.size();) {
    const std::size_t end = std::min(folder.find('\\', at), folder.size());
    chain.push_back(folder.substr(0, end));
    at = end + 1;
  }
  if (chain.empty()) chain.push_back(folder);
  return chain;
}

std::string LastName(const std::string& folder) {
  if (IsDriveRoot(folder)) return folder;
  const std::size_t slash = folder.rfind('\\');
  return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

std::string Indented(std::size_t depth, const std::string& text) {
  std::string line;
  for (std::size_t i = 0; i < depth; ++i) line += kIndent;
  return line + text;
}

// The file list's filter: the pattern box's text, or every file while the box is empty or
// holds a text that is no pattern for one folder's names.
std::string FilterOf(const std::string& text) {
  if (Trim(text).empty() || text.find_first_of("\\/:<>|\"") != std::string::npos) {
    return std::string(kAllFiles);
  }
  return text;
}

}  // namespace

FilePickerPresenter::FilePickerPresenter(const Platform& platform, AppContext& app,
                                         std::string name)
    : platform_(platform), app_(app), name_(std::move(name)) {
  Form.SetCaption("Select Files or Folders");
  lblPath.SetCaption("Path: ");
  SkinLabel1.SetCaption("Wild Card");
  ChkWildcard.SetCaption("Wild Card Selection");
  SkinLabel2.SetCaption("Note: Wild Card e.g. *.chk");
  CmdAdd.SetCaption("&Add");
  CmdDelete.SetCaption("&Delete");
  CmdDone.SetCaption("&Done");
  File1.multiSelect = true;

  Drive1.onClick = [this] { DriveChanged(); };
  Dir1.onOpen = [this] { OpenFolderEntry(); };
  txtPattern.onChange = [this] { FillFiles(); };
  CmdAdd.onClick = [this] { Add(); };
  CmdDelete.onClick = [this] { Delete(); };
  CmdDone.onClick = [this] { Close(); };
}

void FilePickerPresenter::Load(const std::string& startFolder) {
  for (const std::string& drive : platform_.files.DriveNames()) Drive1.AddItem(drive);
  (void)ShowFolder(NormalFolder(startFolder));
  std::vector<std::vector<std::string>> rows;
  for (const ItemRecord& record :
       ReadItemFile(platform_.files, platform_.codec, ItemFilePath(app_, name_, ItemKind::File))) {
    rows.push_back({record.target});
  }
  ListView1.SetRows(std::move(rows));
}

int FilePickerPresenter::DriveIndexOf(const std::string& folder) const {
  const auto& drives = Drive1.Items();
  for (std::size_t i = 0; i < drives.size(); ++i) {
    if (folder.size() >= 2 && EqualsNoCase(drives[i], folder.substr(0, 2))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

bool FilePickerPresenter::ShowFolder(const std::string& folder) {
  std::vector<DirEntry> entries;
  if (folder.empty() || platform_.files.ListDirectory(folder, entries) != FsResult::Ok) {
    return false;
  }
  std::vector<std::string> subfolders;
  for (const DirEntry& entry : entries) {
    constexpr std::uint32_t kHidden = file_attr::Hidden | file_attr::System;
    if ((entry.attributes & file_attr::Directory) != 0 && (entry.attributes & kHidden) == 0) {
      subfolders.push_back(entry.name);
    }
  }
  std::sort(subfolders.begin(), subfolders.end(), LessNoCase);

  folder_ = folder;
  folderPaths_ = FolderChain(folder_);
  std::vector<std::string> items;
  for (std::size_t depth = 0; depth < folderPaths_.size(); ++depth) {
    items.push_back(Indented(depth, LastName(folderPaths_[depth])));
  }
  const std::size_t shown = folderPaths_.size() - 1;
  for (const std::string& name : subfolders) {
    items.push_back(Indented(shown + 1, name));
    folderPaths_.push_back(AddBackslash(folder_) + name);
  }
  Dir1.SetItems(std::move(items));
  Dir1.Select(static_cast<int>(shown));
  lblPath.SetCaption(folder_);
  // The drive list follows; shownDrive_ first, so that the change is not taken for the
  // user's choice of another drive.
  shownDrive_ = DriveIndexOf(folder_);
  Drive1.SetListIndex(shownDrive_);
  FillFiles();
  return true;
}

void FilePickerPresenter::DriveChanged() {
  const int chosen = Drive1.ListIndex();
  if (chosen == shownDrive_ || chosen < 0) return;
  const std::string drive = ToUpperAscii(Drive1.Items()[static_cast<std::size_t>(chosen)]);
  if (ShowFolder(NormalFolder(drive))) return;
  ShowInformation(platform_.windows, "Drive " + drive +
                                         " cannot be read. There may be no disk in it, or it "
                                         "may no longer be connected.");
  Drive1.SetListIndex(shownDrive_);
}

void FilePickerPresenter::OpenFolderEntry() {
  const int index = Dir1.ListIndex();
  if (index < 0 || index >= static_cast<int>(folderPaths_.size())) return;
  const std::string folder = folderPaths_[static_cast<std::size_t>(index)];
  if (folder == folder_ || ShowFolder(folder)) return;
  ShowInformation(platform_.windows, "The folder " + folder + " cannot be read.");
  Dir1.Select(static_cast<int>(FolderChain(folder_).size()) - 1);
}

void FilePickerPresenter::FillFiles() {
  if (folder_.empty()) return;
  std::vector<std::string> names;
  for (const DirEntry& entry :
       ListByPattern(platform_.files, AddBackslash(folder_) + FilterOf(txtPattern.Text()),
                     list_attr::Normal)) {
    names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end(), LessNoCase);
  File1.SetItems(std::move(names));
}

void FilePickerPresenter::Add() {
  if (folder_.empty()) return;
  std::vector<std::string> entries;
  if (ChkWildcard.Value() == 1) {
    if (txtPattern.Text().empty()) txtPattern.SetText(std::string(kAllFiles));
    entries.push_back(AddBackslash(folder_) + txtPattern.Text());
  } else {
    for (int index : File1.Selected()) {
      entries.push_back(AddBackslash(folder_) + File1.Items()[static_cast<std::size_t>(index)]);
    }
  }
  if (entries.empty()) return;
  // All or nothing, so that the user can tell what was added.
  if (!CheckRoomForEntry(platform_.windows, ListView1.Rows().size() + entries.size() - 1)) return;
  for (const std::string& entry : entries) {
    if (!CheckEntryStorable(platform_.windows, platform_.codec, {"F", entry, ""})) return;
  }
  for (std::string& entry : entries) ListView1.AddRow({std::move(entry)});
}

void FilePickerPresenter::Delete() {
  if (ListView1.SelectedIndex() >= 0) ListView1.RemoveRow(ListView1.SelectedIndex());
}

void FilePickerPresenter::Close() {
  if (closed_) return;
  closed_ = true;
  std::vector<ItemRecord> records;
  for (const auto& row : ListView1.Rows()) records.push_back({"F", row.front(), ""});
  WritePickerList(platform_, app_, name_, ItemKind::File, records);
  if (onClosed) onClosed();
}

}  // namespace quorvane
