#include "custom/CustomItemFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

using fakes::FakeTextCodec;
using namespace std::string_literals;

std::vector<ItemRecord> Parse(std::string_view bytes) {
  FakeTextCodec codec;
  return ParseItemRecords(bytes, codec);
}

const ItemRecord kFileRecord{"F", "C:\\WINDOWS\\TEMP\\*.chk", ""};
const ItemRecord kKeyRecord{"K", "HKEY_CURRENT_USER\\Software\\Example\\Recent", ""};
const ItemRecord kValueRecord{"V", "HKEY_CURRENT_USER\\Software\\Example", "LastFile"};

TEST(CustomItemRecordsTest, ReadsOneRecordPerLineQuotedOrNot) {
  // Blanks before a field are passed over; a field without quotes runs to the comma or line
  // end, less trailing blanks; a last line without its line end still counts.
  const auto records = Parse(
      "\"F\",\"C:\\WINDOWS\\TEMP\\*.chk\",\"\"\r\n"
      "  \"F\" , \"C:\\a b\\x.txt\",\"\"\n"
      "K,HKEY_USERS\\S-1\\Soft , \r"
      "\"V\",\"HKEY_USERS\\S-1\",\"a,b\"");
  EXPECT_EQ(records, (std::vector<ItemRecord>{kFileRecord,
                                              {"F", "C:\\a b\\x.txt", ""},
                                              {"K", "HKEY_USERS\\S-1\\Soft", ""},
                                              {"V", "HKEY_USERS\\S-1", "a,b"}}));
}

TEST(CustomItemRecordsTest, PassesOverDamagedLinesAndKeepsTheGoodOnes) {
  const std::string good = "\"F\",\"C:\\keep\\*.tmp\",\"\"\r\n";
  const std::string longLine =
      "\"F\",\"C:\\" + std::string(kMaxRecordLineBytes, 'a') + "\",\"\"\r\n";
  std::string binary = "\"F\",\"C:\\bin";
  binary += {'\x01', '\xff', '\0'};
  binary += "ary\",\"\"\r\n";
  const auto records =
      Parse("\"F\",\"C:\\two fields only\"\r\n" + good +    // fewer than three fields
            "\"F\",\"C:\\x\",\"\",\"four\"\r\n" + good +    // more than three
            "\"F\",\"C:\\stray\"quote\",\"\"\r\n" + good +  // text behind a closing quote
            "F,C:\\stray\"quote,\r\n" + good +              // quote inside an unquoted field
            "\"F\",\"C:\\unclosed,\"\"\r\n" + good +        // quotes out of step
            "\"F\",\"C:\\no end\r\n" + good +               // closing quote missing
            binary + good +                                 // binary bytes
            longLine + good +                               // longer than any record
            "\r\n\r\n   \r\n" + good);                      // blank lines
  ASSERT_EQ(records.size(), 9u);
  for (const auto& record : records) EXPECT_EQ(record, (ItemRecord{"F", "C:\\keep\\*.tmp", ""}));
}

TEST(CustomItemRecordsTest, BinaryContentGivesNoRecordsAndDoesNotStop) {
  std::string bytes;
  for (int i = 0; i < 256 * 64; ++i) bytes += static_cast<char>((i * 37) % 256);
  EXPECT_TRUE(Parse(bytes).empty());
  EXPECT_TRUE(Parse(std::string(200000, '"')).empty());
  EXPECT_TRUE(Parse(std::string(200000, ',')).empty());
}

TEST(CustomItemRecordsTest, WritesQuotedFieldsThatReadBackUnchanged) {
  FakeTextCodec codec;
  const std::vector<ItemRecord> records{
      {"F", "C:\\Data, old\\a,b,c.txt", ""},
      {"V", "HKEY_CURRENT_USER\\Software\\Caf\xc3\xa9", " value, with blanks "},
      {"K", "HKEY_CURRENT_USER\\Software/forward\\\\doubled", ""}};
  std::string bytes;
  ASSERT_EQ(FormatItemRecords(codec, records, bytes), RecordWriteStatus::Ok);
  // The file holds the code page's single byte for the accented letter.
  EXPECT_EQ(bytes,
            "\"F\",\"C:\\Data, old\\a,b,c.txt\",\"\"\r\n"
            "\"V\",\"HKEY_CURRENT_USER\\Software\\Caf\xe9\",\" value, with blanks \"\r\n"
            "\"K\",\"HKEY_CURRENT_USER\\Software/forward\\\\doubled\",\"\"\r\n");
  EXPECT_EQ(ParseItemRecords(bytes, codec), records);
}

TEST(CustomItemRecordsTest, RefusesTextsThatCannotBeWrittenFaithfully) {
  FakeTextCodec codec;
  const struct {
    ItemRecord record;
    RecordWriteStatus status;
  } cases[] = {
      {{"F", "C:\\a\"b.txt", ""}, RecordWriteStatus::QuoteInText},
      {{"V", "HKEY_USERS\\x", "name\""}, RecordWriteStatus::QuoteInText},
      {{"F", "C:\\a\r\nb.txt", ""}, RecordWriteStatus::ControlCharacterInText},
      {{"F", std::string("C:\\a\0b", 6), ""}, RecordWriteStatus::ControlCharacterInText},
      // The code page would turn the euro sign into "?", a wild card.
      {{"F", "C:\\\xe2\x82\xac.txt", ""}, RecordWriteStatus::NotInCodePage},
  };
  for (const auto& c : cases) {
    std::string bytes = "left over";
    EXPECT_EQ(FormatItemRecords(codec, {kFileRecord, c.record}, bytes), c.status)
        << c.record.target;
    EXPECT_TRUE(bytes.empty());
  }
}

TEST(CustomItemNameTest, RefusesNamesThatCannotBeAFileStemOrWouldMatchOthers) {
  std::string accented;
  for (int i = 0; i < 126; ++i) accented += "\xc3\xa9";  // 126 characters in 252 bytes
  for (const std::string& good : {"My Item"s, "  padded  "s, "Caf\xc3\xa9 1.0 (old)"s, "CONSOLE"s,
                                  "COM0"s, std::string(251, 'a'), accented}) {
    EXPECT_EQ(CheckItemName(good), ItemNameProblem::None) << good;
  }
  EXPECT_EQ(CheckItemName(""), ItemNameProblem::Empty);
  EXPECT_EQ(CheckItemName(" \t "), ItemNameProblem::Empty);
  EXPECT_EQ(CheckItemName("Te?p"), ItemNameProblem::WildCard);
  EXPECT_EQ(CheckItemName("Temp*"), ItemNameProblem::WildCard);
  EXPECT_EQ(CheckItemName(std::string(252, 'a')), ItemNameProblem::TooLong);
  for (std::string_view bad : {"a<b", "a>b", "a:b", "a\"b", "a/b", "a\\b", "a|b", "a\tb"}) {
    EXPECT_EQ(CheckItemName(bad), ItemNameProblem::ForbiddenCharacter) << bad;
  }
  for (std::string_view device : {"con", "NUL", "Aux.old", "com1", "LPT9 ", "prn .x"}) {
    EXPECT_EQ(CheckItemName(device), ItemNameProblem::DeviceName) << device;
  }
}

class CustomItemFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.appFolder = "C:\\Apps\\Quorvane";
    fake.files.AddFolder(app.CustomFolder());
  }
  std::string Custom(std::string_view name) {
    return app.CustomFolder() + "\\" + std::string(name);
  }
  std::string InApp(std::string_view name) { return app.appFolder + "\\" + std::string(name); }

  fakes::FakePlatform fake;
  AppContext app;
};

TEST_F(CustomItemFilesTest, ItemFilesAreWrittenWholeOrNotAtAllAndReadBack) {
  EXPECT_EQ(ItemFilePath(app, " Temp ", ItemKind::Registry),
            "C:\\Apps\\Quorvane\\Custom\\ Temp .ac1");
  EXPECT_EQ(ItemFilePath(app, "Temp", ItemKind::File), "C:\\Apps\\Quorvane\\Custom\\Temp.ac2");
  const std::vector<ItemRecord> records{{"F", "C:\\a,b\\*.tmp", ""}, kValueRecord};
  ASSERT_EQ(WriteItemFile(fake.files, fake.codec, Custom("x.ac2"), records), RecordWriteStatus::Ok);
  const std::string content = fake.files.Content(Custom("x.ac2"));
  EXPECT_TRUE(content.ends_with("\r\n"));
  EXPECT_EQ(ReadItemFile(fake.files, fake.codec, Custom("x.ac2")), records);
  // A refused record leaves the file as it was.
  EXPECT_EQ(WriteItemFile(fake.files, fake.codec, Custom("x.ac2"), {{"F", "C:\\\"", ""}}),
            RecordWriteStatus::QuoteInText);
  EXPECT_EQ(fake.files.Content(Custom("x.ac2")), content);

  EXPECT_TRUE(ReadItemFile(fake.files, fake.codec, Custom("missing.ac1")).empty());
  EXPECT_TRUE(ReadItemFile(fake.files, fake.codec, app.CustomFolder()).empty());
  fake.files.AddFile(Custom("big.ac2"), std::string(kMaxItemFileBytes + 1, ' '));
  fake.files.ClearCalls();
  EXPECT_TRUE(ReadItemFile(fake.files, fake.codec, Custom("big.ac2")).empty());
  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::ReadFile), 0u);
}

TEST_F(CustomItemFilesTest, NameIsInUseWhenAnyFileStartsWithNameAndAc) {
  fake.files.AddFile(Custom("Temp Files.ac1"));
  fake.files.AddFile(Custom("Mail.AC2"), "", file_attr::Hidden);
  fake.files.AddFile(Custom("Plain.ac"));
  fake.files.AddFile(Custom("Other.acx"));
  fake.files.AddFile(Custom("Notes.txt"));
  fake.files.AddFolder(Custom("Folder.ac1"));
  fake.files.AddFile(Custom("a[1].ac1"));

  for (const char* used : {"Temp Files", "temp files", "mail", "Plain", "Other", "a[1]"}) {
    EXPECT_TRUE(IsItemNameInUse(fake.files, app, used)) << used;
  }
  for (const char* free : {"Temp", "Notes", "Folder", "a?1?", "*"}) {
    EXPECT_FALSE(IsItemNameInUse(fake.files, app, free)) << free;
  }
  AppContext elsewhere;
  elsewhere.appFolder = "C:\\Nowhere";
  EXPECT_FALSE(IsItemNameInUse(fake.files, elsewhere, "Temp Files"));
}

TEST_F(CustomItemFilesTest, ClosingAPickerWithEntriesReplacesItsWorkingCopyOnly) {
  fake.files.AddFile(InApp("temp1.ac"), "old content that is longer than the new one\r\n");
  fake.files.AddFile(Custom("Item.ac2"), "\"F\",\"C:\\saved\",\"\"\r\n");
  for (bool editMode : {false, true}) {
    app.editMode = editMode;
    EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::File, {kFileRecord}),
              PickerCloseOutcome::WorkingCopyWritten);
    EXPECT_EQ(fake.files.Content(InApp("temp1.ac")), "\"F\",\"C:\\WINDOWS\\TEMP\\*.chk\",\"\"\r\n");
    EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), "\"F\",\"C:\\saved\",\"\"\r\n");
  }
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::Registry,
                             {kKeyRecord, kValueRecord}),
            PickerCloseOutcome::WorkingCopyWritten);
  EXPECT_EQ(ReadItemFile(fake.files, fake.codec, InApp("temp.ac")),
            (std::vector<ItemRecord>{kKeyRecord, kValueRecord}));

  // An entry that cannot be written faithfully writes nothing at all.
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::File,
                             {kValueRecord, {"F", "C:\\say \"hi\".txt", ""}}),
            PickerCloseOutcome::Refused);
  EXPECT_EQ(fake.files.Content(InApp("temp1.ac")), "\"F\",\"C:\\WINDOWS\\TEMP\\*.chk\",\"\"\r\n");
  fake.files.SetInUse(InApp("temp1.ac"));
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::File, {kFileRecord}),
            PickerCloseOutcome::Failed);
}

TEST_F(CustomItemFilesTest, ClosingAPickerWithAnEmptyListDeletesOnlyAnEditedItemsFile) {
  fake.files.AddFile(Custom("Item.ac1"), "\"K\",\"HKEY_USERS\\x\",\"\"\r\n");
  fake.files.AddFile(InApp("temp.ac"), "earlier close\r\n");

  app.editMode = false;  // a new item whose typed name happens to be in use
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::Registry, {}),
            PickerCloseOutcome::NothingChanged);
  EXPECT_TRUE(fake.files.Exists(Custom("Item.ac1")));

  app.editMode = true;
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::Registry, {}),
            PickerCloseOutcome::ItemFileDeleted);
  EXPECT_FALSE(fake.files.Exists(Custom("Item.ac1")));
  EXPECT_EQ(fake.files.Content(InApp("temp.ac")), "earlier close\r\n");
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::Registry, {}),
            PickerCloseOutcome::NothingChanged);

  fake.files.AddFile(Custom("Item.ac2"), "", file_attr::ReadOnly);
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::File, {}),
            PickerCloseOutcome::Failed);
}

TEST_F(CustomItemFilesTest, SaveOfANewItemMovesBothWorkingCopiesRegistryFirst) {
  fake.files.AddFile(InApp("temp.ac"), "reg\r\n");
  fake.files.AddFile(InApp("temp1.ac"), "files\r\n");
  const SaveOutcome outcome = MoveWorkingCopiesIntoPlace(fake.files, app, "New Item");
  EXPECT_EQ(outcome.registry, MoveOutcome::Moved);
  EXPECT_EQ(outcome.file, MoveOutcome::Moved);
  EXPECT_EQ(fake.files.Content(Custom("New Item.ac1")), "reg\r\n");
  EXPECT_EQ(fake.files.Content(Custom("New Item.ac2")), "files\r\n");
  std::vector<std::string> moved;
  for (const auto& call : fake.files.Calls()) {
    if (call.op == fakes::FsOp::MoveFile) moved.push_back(call.path);
  }
  EXPECT_EQ(moved, (std::vector<std::string>{InApp("temp.ac"), InApp("temp1.ac")}));
  // A second Save finds nothing left to move.
  EXPECT_EQ(MoveWorkingCopiesIntoPlace(fake.files, app, "New Item").file,
            MoveOutcome::NoWorkingCopy);
}

TEST_F(CustomItemFilesTest, SaveReplacesAnItemFileOnlyInEditModeAndOnlyWithContent) {
  fake.files.AddFile(Custom("Item.ac1"), "saved reg\r\n", file_attr::ReadOnly);
  fake.files.AddFile(Custom("Item.ac2"), "saved\r\n");
  fake.files.AddFile(InApp("temp.ac"), "new reg\r\n");
  fake.files.AddFile(InApp("temp1.ac"), "new\r\n");

  app.editMode = false;
  EXPECT_EQ(MoveWorkingCopiesIntoPlace(fake.files, app, "Item").file, MoveOutcome::Failed);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), "saved\r\n");
  EXPECT_EQ(fake.files.Content(InApp("temp1.ac")), "new\r\n");

  app.editMode = true;
  const SaveOutcome outcome = MoveWorkingCopiesIntoPlace(fake.files, app, "Item");
  EXPECT_EQ(outcome.file, MoveOutcome::Moved);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), "new\r\n");
  // The read-only item file cannot be replaced: its working copy is kept.
  EXPECT_EQ(outcome.registry, MoveOutcome::Failed);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac1")), "saved reg\r\n");
  EXPECT_EQ(fake.files.Content(InApp("temp.ac")), "new reg\r\n");

  fake.files.AddFile(InApp("temp1.ac"), "");  // zero bytes: stays where it lies
  EXPECT_EQ(MoveWorkingCopiesIntoPlace(fake.files, app, "Item").file,
            MoveOutcome::EmptyWorkingCopy);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), "new\r\n");
  EXPECT_TRUE(fake.files.Exists(InApp("temp1.ac")));
}

}  // namespace
}  // namespace quorvane
