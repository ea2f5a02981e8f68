#pragma once
// The custom-item files: where they lie, how their records are read and written, when an
// item name is in use, and how the editor's working copies become item files.
//
// An item N is stored as "<app>\Custom\N.ac1" (registry records "K" and "V") and
// "<app>\Custom\N.ac2" (file records "F"); the pickers leave their lists in the working
// copies "<app>\temp.ac" and "<app>\temp1.ac", and Save moves those into place.
//
// A record is one line of three quoted fields separated by commas, ending in CR LF (the
// last line too), in the system's ANSI code page:  "F","C:\WINDOWS\TEMP\*.chk",""
// Inside the program the texts are UTF-8; the conversion happens here.
//
// Rules of this program where the format itself leaves a choice:
// - Reading is line by line: one line gives one record or none. A line that does not hold
//   exactly three fields, has a stray quote (a quoted field without its closing quote, or
//   text behind a closing quote other than blanks before the comma or line end), holds a
//   control character other than a tab (binary content), or is longer than
//   kMaxRecordLineBytes is passed over, and the next line is read. So a damaged line never
//   shifts the fields of the good records behind it into the wrong places. Blanks before a
//   field are passed over; a field without quotes runs to the next comma or line end, less
//   its trailing blanks. Blank lines give no record. CR LF, LF and CR all end a line.
// - A file longer than kMaxItemFileBytes is not an item file the editor can have written
//   and gives no records (the run does not load an arbitrary large file into memory).
// - Writing refuses, and writes nothing at all, when a field text holds a double quote
//   (it would end the field early on reading), a line break or another control character
//   (it would split the record), or a character that the ANSI code page cannot hold (the
//   code page would turn it into "?", a wild card that matches other files).
// - An item name is refused by CheckItemName when it is empty or blank, holds a character
//   that file names cannot hold (< > : " / \ | and control characters) or a wild card (* ?,
//   which would make the in-use test and the deletion of the item reach other items), is a
//   device name (CON, NUL, COM1...), or is too long for a file name with its extension.
// - The in-use test compares names literally (never as a pattern), without regard to case,
//   and counts every file of the folder whose name is N + ".ac" + anything, hidden ones
//   included; folders do not count.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppContext.h"
#include "core/platform/FileSystem.h"
#include "core/platform/TextCodec.h"

namespace quorvane {

// The three fields of one record, as UTF-8 texts.
struct ItemRecord {
  std::string kind;       // "F", "K" or "V"
  std::string target;     // a file path or pattern, or a registry path
  std::string valueName;  // the value name of a "V" record; empty names the default value

  bool operator==(const ItemRecord&) const = default;
};

// The two kinds of item file, each with its own working copy.
enum class ItemKind { Registry, File };

inline constexpr std::size_t kMaxRecordLineBytes = 128 * 1024;
inline constexpr std::uint64_t kMaxItemFileBytes = 64ull * 1024 * 1024;

// "<app>\Custom\" + name + ".ac1" or ".ac2".
std::string ItemFilePath(const AppContext& app, std::string_view name, ItemKind kind);
// "<app>\temp.ac" (registry) or "<app>\temp1.ac" (file).
std::string WorkingCopyPath(const AppContext& app, ItemKind kind);

// The records of an item file's bytes (ANSI), in file order.
std::vector<ItemRecord> ParseItemRecords(std::string_view ansiBytes, TextCodec& codec);
// The records of an item file; a missing, unreadable or oversized file gives none.
std::vector<ItemRecord> ReadItemFile(FileSystem& files, TextCodec& codec, std::string_view path);

enum class RecordWriteStatus {
  Ok,
  QuoteInText,             // a field holds a double quote
  ControlCharacterInText,  // a field holds a line break or another control character
  NotInCodePage,           // a field holds a character the ANSI code page cannot hold
  FileError,               // the file could not be written
};

// The bytes of an item file holding `records`; on a refusal `ansiBytes` is left empty.
[[nodiscard]] RecordWriteStatus FormatItemRecords(TextCodec& codec,
                                                  const std::vector<ItemRecord>& records,
                                                  std::string& ansiBytes);
// Creates the file or replaces its content. Nothing is written when a record is refused.
[[nodiscard]] RecordWriteStatus WriteItemFile(FileSystem& files, TextCodec& codec,
                                              std::string_view path,
                                              const std::vector<ItemRecord>& records);

enum class ItemNameProblem { None, Empty, ForbiddenCharacter, WildCard, DeviceName, TooLong };

// Whether `name` may become the stem of item files (see the rules above). The editor asks
// this before it saves a name.
[[nodiscard]] ItemNameProblem CheckItemName(std::string_view name);

// True when a file of the custom-item folder is named `name` + ".ac" + anything.
[[nodiscard]] bool IsItemNameInUse(FileSystem& files, const AppContext& app, std::string_view name);

enum class PickerCloseOutcome {
  WorkingCopyWritten,  // the list was written to the working copy of the picker's kind
  ItemFileDeleted,     // empty list while editing an existing item: its item file is gone
  NothingChanged,      // empty list: no item file to delete, or a new item
  Refused,             // a record could not be written faithfully; nothing was written
  Failed,              // the working copy could not be written or the item file deleted
};

// What a picker does with its list when it closes: a list with entries replaces the
// working copy of its kind; an empty list deletes the item file of its kind at once when an
// existing item is being edited (app.editMode), and otherwise leaves everything as it is,
// including a working copy written by an earlier close.
[[nodiscard]] PickerCloseOutcome WriteWorkingCopy(FileSystem& files, TextCodec& codec,
                                                  const AppContext& app, std::string_view name,
                                                  ItemKind kind,
                                                  const std::vector<ItemRecord>& records);

enum class MoveOutcome {
  NoWorkingCopy,     // none there: the item file of that kind is unchanged
  EmptyWorkingCopy,  // a zero-byte working copy: it stays, the item file is unchanged
  Moved,             // the working copy is now the item file
  Failed,            // the working copy stays where it lies
};

struct SaveOutcome {
  MoveOutcome registry = MoveOutcome::NoWorkingCopy;
  MoveOutcome file = MoveOutcome::NoWorkingCopy;
};

// Save's move of the working copies, registry kind first, then file kind: a working copy
// longer than zero bytes is renamed to the item file of its kind, replacing that file only
// while an existing item is being edited (app.editMode). The caller has checked the name.
[[nodiscard]] SaveOutcome MoveWorkingCopiesIntoPlace(FileSystem& files, const AppContext& app,
                                                     std::string_view name);

}  // namespace quorvane
