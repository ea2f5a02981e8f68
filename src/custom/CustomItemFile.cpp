#include "custom/CustomItemFile.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/Text.h"

namespace quorvane {
namespace {

constexpr char kQuote = '"';

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

// The three raw fields of one line, or nothing when the line is not a well-formed record.
std::optional<std::array<std::string_view, 3>> SplitRecordLine(std::string_view line) {
  std::array<std::string_view, 3> fields;
  std::size_t count = 0;
  std::size_t pos = 0;
  while (true) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    std::string_view field;
    if (pos < line.size() && line[pos] == kQuote) {
      const std::size_t close = line.find(kQuote, pos + 1);
      if (close == std::string_view::npos) return std::nullopt;
      field = line.substr(pos + 1, close - pos - 1);
      pos = close + 1;
      while (pos < line.size() && IsBlank(line[pos])) ++pos;
      if (pos < line.size() && line[pos] != ',') return std::nullopt;
    } else {
      const std::size_t comma = std::min(line.find(',', pos), line.size());
      field = line.substr(pos, comma - pos);
      while (!field.empty() && IsBlank(field.back())) field.remove_suffix(1);
      if (field.find(kQuote) != std::string_view::npos) return std::nullopt;
      pos = comma;
    }
    if (count == fields.size()) return std::nullopt;
    fields[count++] = field;
    if (pos >= line.size()) break;
    ++pos;  // the comma
  }
  if (count != fields.size()) return std::nullopt;
  return fields;
}

bool HasControlCharacter(std::string_view text) {
  for (char c : text) {
    if (IsControl(c)) return true;
  }
  return false;
}

// Checks one field text and appends it, quoted, in the code page.
RecordWriteStatus AppendField(TextCodec& codec, std::string_view text, std::string& out) {
  if (text.find(kQuote) != std::string_view::npos) return RecordWriteStatus::QuoteInText;
  if (HasControlCharacter(text)) return RecordWriteStatus::ControlCharacterInText;
  std::string ansi = codec.Utf8ToAnsi(text);
  if (codec.AnsiToUtf8(ansi) != text) return RecordWriteStatus::NotInCodePage;
  out += kQuote;
  out += ansi;
  out += kQuote;
  return RecordWriteStatus::Ok;
}

std::string_view ExtensionOf(ItemKind kind) { return kind == ItemKind::Registry ? ".ac1" : ".ac2"; }

// UTF-16 code units of a UTF-8 text: what the file system counts in a name.
std::size_t Utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80) continue;
    units += byte >= 0xF0 ? 2 : 1;
  }
  return units;
}

bool IsDeviceName(std::string_view name) {
  // The platform treats a name as a device whatever follows its first dot, and it ignores
  // blanks before that dot.
  std::string_view base = name.substr(0, std::min(name.find('.'), name.size()));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (EqualsNoCase(base, device)) return true;
  }
  if (base.size() == 4 && (StartsWithNoCase(base, "COM") || StartsWithNoCase(base, "LPT"))) {
    return base[3] >= '1' && base[3] <= '9';
  }
  return false;
}

MoveOutcome MoveIntoPlace(FileSystem& files, const AppContext& app, std::string_view name,
                          ItemKind kind) {
  const std::string workingCopy = WorkingCopyPath(app, kind);
  std::uint64_t size = 0;
  if (files.GetFileSize(workingCopy, size) != FsResult::Ok) return MoveOutcome::NoWorkingCopy;
  if (size == 0) return MoveOutcome::EmptyWorkingCopy;
  // Editing replaces the saved list in the same step as the rename: when the rename fails,
  // the saved list stays and so does the working copy, for another try.
  const IfTargetExists ifExists = app.editMode ? IfTargetExists::Replace : IfTargetExists::Fail;
  return files.MoveFile(workingCopy, ItemFilePath(app, name, kind), ifExists) == FsResult::Ok
             ? MoveOutcome::Moved
             : MoveOutcome::Failed;
}

}  // namespace

std::string ItemFilePath(const AppContext& app, std::string_view name, ItemKind kind) {
  std::string path = app.CustomFolder() + "\\";
  path += name;
  path += ExtensionOf(kind);
  return path;
}

std::string WorkingCopyPath(const AppContext& app, ItemKind kind) {
  return app.appFolder + (kind == ItemKind::Registry ? "\\temp.ac" : "\\temp1.ac");
}

std::vector<ItemRecord> ParseItemRecords(std::string_view ansiBytes, TextCodec& codec) {
  std::vector<ItemRecord> records;
  std::size_t pos = 0;
  while (pos < ansiBytes.size()) {
    const std::size_t end = std::min(ansiBytes.find_first_of("\r\n", pos), ansiBytes.size());
    const std::string_view line = ansiBytes.substr(pos, end - pos);
    pos = end;
    if (pos < ansiBytes.size() && ansiBytes[pos] == '\r') ++pos;
    if (pos < ansiBytes.size() && ansiBytes[pos] == '\n') ++pos;

    if (line.size() > kMaxRecordLineBytes || HasControlCharacter(line)) continue;
    const auto fields = SplitRecordLine(line);
    if (!fields) continue;
    records.push_back({codec.AnsiToUtf8((*fields)[0]), codec.AnsiToUtf8((*fields)[1]),
                       codec.AnsiToUtf8((*fields)[2])});
  }
  return records;
}

std::vector<ItemRecord> ReadItemFile(FileSystem& files, TextCodec& codec, std::string_view path) {
  std::uint64_t size = 0;
  if (files.GetFileSize(path, size) != FsResult::Ok || size > kMaxItemFileBytes) return {};
  std::string bytes;
  if (files.ReadFile(path, bytes) != FsResult::Ok) return {};
  return ParseItemRecords(bytes, codec);
}

RecordWriteStatus FormatItemRecords(TextCodec& codec, const std::vector<ItemRecord>& records,
                                    std::string& ansiBytes) {
  ansiBytes.clear();
  std::string out;
  for (const ItemRecord& record : records) {
    for (const std::string* field : {&record.kind, &record.target, &record.valueName}) {
      if (field != &record.kind) out += ',';
      const RecordWriteStatus status = AppendField(codec, *field, out);
      if (status != RecordWriteStatus::Ok) return status;
    }
    out += "\r\n";
  }
  ansiBytes = std::move(out);
  return RecordWriteStatus::Ok;
}

RecordWriteStatus WriteItemFile(FileSystem& files, TextCodec& codec, std::string_view path,
                                const std::vector<ItemRecord>& records) {
  std::string bytes;
  const RecordWriteStatus status = FormatItemRecords(codec, records, bytes);
  if (status != RecordWriteStatus::Ok) return status;
  return files.WriteFile(path, bytes) == FsResult::Ok ? RecordWriteStatus::Ok
                                                      : RecordWriteStatus::FileError;
}

ItemNameProblem CheckItemName(std::string_view name) {
  if (Trim(name).empty()) return ItemNameProblem::Empty;
  if (name.find_first_of("*?") != std::string_view::npos) return ItemNameProblem::WildCard;
  if (name.find_first_of("<>:\"/\\|") != std::string_view::npos) {
    return ItemNameProblem::ForbiddenCharacter;
  }
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return ItemNameProblem::ForbiddenCharacter;
  }
  if (IsDeviceName(name)) return ItemNameProblem::DeviceName;
  // A file name holds at most 255 UTF-16 units, and the extension takes four of them.
  if (Utf16Length(name) + ExtensionOf(ItemKind::File).size() > 255) {
    return ItemNameProblem::TooLong;
  }
  return ItemNameProblem::None;
}

bool IsItemNameInUse(FileSystem& files, const AppContext& app, std::string_view name) {
  std::vector<DirEntry> entries;
  if (files.ListDirectory(app.CustomFolder(), entries) != FsResult::Ok) return false;
  std::string prefix(name);
  prefix += ".ac";
  for (const DirEntry& entry : entries) {
    if ((entry.attributes & file_attr::Directory) == 0 && StartsWithNoCase(entry.name, prefix)) {
      return true;
    }
  }
  return false;
}

PickerCloseOutcome WriteWorkingCopy(FileSystem& files, TextCodec& codec, const AppContext& app,
                                    std::string_view name, ItemKind kind,
                                    const std::vector<ItemRecord>& records) {
  if (!records.empty()) {
    switch (WriteItemFile(files, codec, WorkingCopyPath(app, kind), records)) {
      case RecordWriteStatus::Ok:
        return PickerCloseOutcome::WorkingCopyWritten;
      case RecordWriteStatus::FileError:
        return PickerCloseOutcome::Failed;
      default:
        return PickerCloseOutcome::Refused;
    }
  }
  if (!app.editMode) return PickerCloseOutcome::NothingChanged;
  switch (files.DeleteFile(ItemFilePath(app, name, kind), DeleteMode::AsFound)) {
    case FsResult::Ok:
      return PickerCloseOutcome::ItemFileDeleted;
    case FsResult::NotFound:
      return PickerCloseOutcome::NothingChanged;
    default:
      return PickerCloseOutcome::Failed;
  }
}

SaveOutcome MoveWorkingCopiesIntoPlace(FileSystem& files, const AppContext& app,
                                       std::string_view name) {
  SaveOutcome outcome;
  outcome.registry = MoveIntoPlace(files, app, name, ItemKind::Registry);
  outcome.file = MoveIntoPlace(files, app, name, ItemKind::File);
  return outcome;
}

}  // namespace quorvane
