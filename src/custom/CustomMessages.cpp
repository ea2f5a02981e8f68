#include "custom/CustomMessages.h"

namespace quorvane {

std::string ItemNameProblemText(ItemNameProblem problem) {
  switch (problem) {
    case ItemNameProblem::None:
      return {};
    case ItemNameProblem::Empty:
      return std::string(kNoItemName);
    case ItemNameProblem::ForbiddenCharacter:
    case ItemNameProblem::WildCard:
      return "The Item Name is used as a file name, so it cannot hold any of the characters "
             "\\ / : * ? \" < > | or control characters.";
    case ItemNameProblem::DeviceName:
      return "The Item Name is used as a file name, so it cannot be a device name such as "
             "CON, PRN, AUX, NUL, COM1 or LPT1.";
    case ItemNameProblem::TooLong:
      return "The Item Name is too long to be used as a file name.";
  }
  return {};
}

std::string EntryProblemText(RecordWriteStatus status, std::string_view entry) {
  const std::string quoted = "\"" + std::string(entry) + "\"";
  switch (status) {
    case RecordWriteStatus::Ok:
      return {};
    case RecordWriteStatus::QuoteInText:
      return "The entry " + quoted + " cannot be stored: an entry cannot hold the character \".";
    case RecordWriteStatus::ControlCharacterInText:
      return "The entry cannot be stored: an entry cannot hold a line break or another control "
             "character.";
    case RecordWriteStatus::NotInCodePage:
      return "The entry " + quoted +
             " cannot be stored: it holds characters that this system's code page cannot hold.";
    case RecordWriteStatus::FileError:
      return "The entry " + quoted + " could not be stored.";
  }
  return {};
}

void ShowInformation(WindowServices& windows, std::string_view text) {
  windows.MessageBox(text, kAppTitle, message_box::IconInformation);
}

bool CheckEntryStorable(WindowServices& windows, TextCodec& codec, const ItemRecord& record) {
  std::string bytes;
  const RecordWriteStatus status = FormatItemRecords(codec, {record}, bytes);
  if (status == RecordWriteStatus::Ok) return true;
  ShowInformation(windows, EntryProblemText(status, record.target));
  return false;
}

bool CheckRoomForEntry(WindowServices& windows, std::size_t entries) {
  if (entries < kMaxPickerEntries) return true;
  ShowInformation(windows,
                  "The list holds at most " + std::to_string(kMaxPickerEntries) + " entries.");
  return false;
}

void WritePickerList(const Platform& platform, const AppContext& app, std::string_view name,
                     ItemKind kind, const std::vector<ItemRecord>& records) {
  switch (WriteWorkingCopy(platform.files, platform.codec, app, name, kind, records)) {
    case PickerCloseOutcome::Refused:
      ShowInformation(platform.windows,
                      "The list holds an entry that cannot be stored; nothing "
                      "was written to " +
                          WorkingCopyPath(app, kind) + ".");
      break;
    case PickerCloseOutcome::Failed:
      ShowInformation(platform.windows,
                      records.empty()
                          ? "The file " + ItemFilePath(app, name, kind) + " could not be deleted."
                          : "The list could not be written to " + WorkingCopyPath(app, kind) + ".");
      break;
    default:
      break;
  }
}

}  // namespace quorvane
