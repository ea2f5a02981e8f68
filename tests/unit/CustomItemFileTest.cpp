#include "custom/CustomItemFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

using fakes::FakeTextCodec;

std::vector<ItemRecord> Parse(std::string_view bytes) {
  FakeTextCodec codec;
  return ParseItemRecords(bytes, codec);
}

const ItemRecord kFileRecord{"F", "C:\\WINDOWS\\TEMP\\*.chk", ""};
const ItemRecord kKeyRecord{"K", "HKEY_CURRENT_USER\\Software\\Example\\Recent", ""};
const ItemRecord kValueRecord{"V", "HKEY_CURRENT_USER\\Software\\Example", "LastFile"};

TEST(CustomItemRecordsTest, ReadsOneRecordPerLine) {
  const auto records = Parse(
      "\"F\",\"C:\\WINDOWS\\TEMP\\*.chk\",\"\"\r\n"
      "\"K\",\"HKEY_CURRENT_USER\\Software\\Example\\Recent\",\"\"\r\n"
      "\"V\",\"HKEY_CURRENT_USER\\Software\\Example\",\"LastFile\"\r\n");
  EXPECT_EQ(records, (std::vector<ItemRecord>{kFileRecord, kKeyRecord, kValueRecord}));
}

TEST(CustomItemRecordsTest, FollowsTheReadingRulesForFieldsWithoutQuotesAndBlanks) {
  // Blanks before a field are passed over; a field without quotes runs to the comma or line
  // end, less trailing blanks; a last line without its line end still counts.
  const auto records = Parse(
      "  \"F\" , \"C:\\a b\\x.txt\",\"\"\n"
      "K,HKEY_USERS\\S-1\\Soft , \r"
      "\"V\",\"HKEY_USERS\\S-1\",\"a,b\"");
  EXPECT_EQ(records, (std::vector<ItemRecord>{{"F", "C:\\a b\\x.txt", ""},
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

TEST(CustomItemRecordsTest, WritesQuotedFieldsWithCrLfOnEveryLine) {
  FakeTextCodec codec;
  std::string bytes;
  ASSERT_EQ(FormatItemRecords(codec, {kFileRecord, {"V", "HKEY_CURRENT_USER\\S", ""}}, bytes),
            RecordWriteStatus::Ok);
  EXPECT_EQ(bytes,
            "\"F\",\"C:\\WINDOWS\\TEMP\\*.chk\",\"\"\r\n"
            "\"V\",\"HKEY_CURRENT_USER\\S\",\"\"\r\n");
}

TEST(CustomItemRecordsTest, RoundTripKeepsCommasBlanksAndCodePageText) {
  FakeTextCodec codec;
  const std::vector<ItemRecord> records{
      {"F", "C:\\Data, old\\a,b,c.txt", ""},
      {"V", "HKEY_CURRENT_USER\\Software\\Caf\xc3\xa9", " value, with blanks "},
      {"K", "HKEY_CURRENT_USER\\Software/forward\\\\doubled", ""}};
  std::string bytes;
  ASSERT_EQ(FormatItemRecords(codec, records, bytes), RecordWriteStatus::Ok);
  // The file holds the code page's single byte for the accented letter.
  EXPECT_NE(bytes.find("Caf\xe9\""), std::string::npos);
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
  EXPECT_EQ(CheckItemName("My Item"), ItemNameProblem::None);
  EXPECT_EQ(CheckItemName("  padded  "), ItemNameProblem::None);
  EXPECT_EQ(CheckItemName("Caf\xc3\xa9 1.0 (old)"), ItemNameProblem::None);
  EXPECT_EQ(CheckItemName("CONSOLE"), ItemNameProblem::None);
  EXPECT_EQ(CheckItemName("COM0"), ItemNameProblem::None);
  EXPECT_EQ(CheckItemName(""), ItemNameProblem::Empty);
  EXPECT_EQ(CheckItemName(" \t "), ItemNameProblem::Empty);
  EXPECT_EQ(CheckItemName("Temp*"), ItemNameProblem::WildCard);
  EXPECT_EQ(CheckItemName("Te?p"), ItemNameProblem::WildCard);
  for (std::string_view bad : {"a<b", "a>b", "a:b", "a\"b", "a/b", "a\\b", "a|b", "a\tb"}) {
    EXPECT_EQ(CheckItemName(bad), ItemNameProblem::ForbiddenCharacter) << bad;
  }
  for (std::string_view device : {"con", "NUL", "Aux.old", "com1", "LPT9 ", "prn .x"}) {
    EXPECT_EQ(CheckItemName(device), ItemNameProblem::DeviceName) << device;
  }
  EXPECT_EQ(CheckItemName(std::string(251, 'a')), ItemNameProblem::None);
  EXPECT_EQ(CheckItemName(std::string(252, 'a')), ItemNameProblem::TooLong);
  std::string accented;
  for (int i = 0; i < 126; ++i) accented += "\xc3\xa9";  // 126 characters in 252 bytes
  EXPECT_EQ(CheckItemName(accented), ItemNameProblem::None);
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

TEST_F(CustomItemFilesTest, NamesTheItemFilesAndWorkingCopies) {
  EXPECT_EQ(ItemFilePath(app, " Temp ", ItemKind::Registry),
            "C:\\Apps\\Quorvane\\Custom\\ Temp .ac1");
  EXPECT_EQ(ItemFilePath(app, "Temp", ItemKind::File), "C:\\Apps\\Quorvane\\Custom\\Temp.ac2");
  EXPECT_EQ(WorkingCopyPath(app, ItemKind::Registry), "C:\\Apps\\Quorvane\\temp.ac");
  EXPECT_EQ(WorkingCopyPath(app, ItemKind::File), "C:\\Apps\\Quorvane\\temp1.ac");
}

TEST_F(CustomItemFilesTest, WrittenFileReadsBackAndEndsInCrLf) {
  const std::vector<ItemRecord> records{{"F", "C:\\a,b\\*.tmp", ""}, kValueRecord};
  ASSERT_EQ(WriteItemFile(fake.files, fake.codec, Custom("x.ac2"), records), RecordWriteStatus::Ok);
  const std::string content = fake.files.Content(Custom("x.ac2"));
  ASSERT_GE(content.size(), 2u);
  EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
  EXPECT_EQ(ReadItemFile(fake.files, fake.codec, Custom("x.ac2")), records);

  // A refused record leaves the file as it was.
  EXPECT_EQ(WriteItemFile(fake.files, fake.codec, Custom("x.ac2"), {{"F", "C:\\\"", ""}}),
            RecordWriteStatus::QuoteInText);
  EXPECT_EQ(fake.files.Content(Custom("x.ac2")), content);
}

TEST_F(CustomItemFilesTest, MissingUnreadableOrOversizedFilesGiveNoRecords) {
  EXPECT_TRUE(ReadItemFile(fake.files, fake.codec, Custom("missing.ac1")).empty());
  EXPECT_TRUE(ReadItemFile(fake.files, fake.codec, app.CustomFolder()).empty());
  fake.files.AddFile(Custom("big.ac2"), std::string(kMaxItemFileBytes + 1, ' '));
  EXPECT_TRUE(ReadItemFile(fake.files, fake.codec, Custom("big.ac2")).empty());
  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::ReadFile), 1u);  // only the folder was tried
}

TEST_F(CustomItemFilesTest, NameIsInUseWhenAnyFileStartsWithNameAndAc) {
  fake.files.AddFile(Custom("Temp Files.ac1"));
  fake.files.AddFile(Custom("Mail.AC2"), "", file_attr::Hidden);
  fake.files.AddFile(Custom("Plain.ac"));
  fake.files.AddFile(Custom("Other.acx"));
  fake.files.AddFile(Custom("Notes.txt"));
  fake.files.AddFolder(Custom("Folder.ac1"));
  fake.files.AddFile(Custom("a[1].ac1"));

  EXPECT_TRUE(IsItemNameInUse(fake.files, app, "Temp Files"));
  EXPECT_TRUE(IsItemNameInUse(fake.files, app, "temp files"));
  EXPECT_TRUE(IsItemNameInUse(fake.files, app, "mail"));
  EXPECT_TRUE(IsItemNameInUse(fake.files, app, "Plain"));
  EXPECT_TRUE(IsItemNameInUse(fake.files, app, "Other"));
  EXPECT_TRUE(IsItemNameInUse(fake.files, app, "a[1]"));
  EXPECT_FALSE(IsItemNameInUse(fake.files, app, "Temp"));
  EXPECT_FALSE(IsItemNameInUse(fake.files, app, "Notes"));
  EXPECT_FALSE(IsItemNameInUse(fake.files, app, "Folder"));
  EXPECT_FALSE(IsItemNameInUse(fake.files, app, "a?1?"));
  EXPECT_FALSE(IsItemNameInUse(fake.files, app, "*"));

  AppContext elsewhere;
  elsewhere.appFolder = "C:\\Nowhere";
  EXPECT_FALSE(IsItemNameInUse(fake.files, elsewhere, "Temp Files"));
}

TEST_F(CustomItemFilesTest, ClosingAPickerWithEntriesReplacesItsWorkingCopy) {
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
}

TEST_F(CustomItemFilesTest, ClosingAPickerWithAnEmptyListDeletesOnlyAnEditedItemsFile) {
  fake.files.AddFile(Custom("Item.ac1"), "\"K\",\"HKEY_USERS\\x\",\"\"\r\n");
  fake.files.AddFile(InApp("temp.ac"), "earlier close\r\n");

  app.editMode = false;  // a new item whose typed name happens to be in use
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::Registry, {}),
            PickerCloseOutcome::NothingChanged);
  EXPECT_TRUE(fake.files.Exists(Custom("Item.ac1")));
  EXPECT_EQ(fake.files.Content(InApp("temp.ac")), "earlier close\r\n");

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

TEST_F(CustomItemFilesTest, ClosingAPickerWithAnUnwritableEntryWritesNothing) {
  fake.files.AddFile(InApp("temp1.ac"), "earlier close\r\n");
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::File,
                             {kFileRecord, {"F", "C:\\say \"hi\".txt", ""}}),
            PickerCloseOutcome::Refused);
  EXPECT_EQ(fake.files.Content(InApp("temp1.ac")), "earlier close\r\n");

  fake.files.SetInUse(InApp("temp1.ac"));
  EXPECT_EQ(WriteWorkingCopy(fake.files, fake.codec, app, "Item", ItemKind::File, {kFileRecord}),
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
  EXPECT_FALSE(fake.files.Exists(InApp("temp.ac")));
  EXPECT_FALSE(fake.files.Exists(InApp("temp1.ac")));

  std::vector<std::string> moved;
  for (const auto& call : fake.files.Calls()) {
    if (call.op == fakes::FsOp::MoveFile) moved.push_back(call.path);
  }
  EXPECT_EQ(moved, (std::vector<std::string>{InApp("temp.ac"), InApp("temp1.ac")}));
}

TEST_F(CustomItemFilesTest, SaveLeavesTheItemFileOfAKindWithoutAWorkingCopy) {
  fake.files.AddFile(Custom("Item.ac1"), "saved reg\r\n");
  fake.files.AddFile(Custom("Item.ac2"), "saved files\r\n");
  fake.files.AddFile(InApp("temp1.ac"), "");  // zero bytes: stays where it lies
  app.editMode = true;
  const SaveOutcome outcome = MoveWorkingCopiesIntoPlace(fake.files, app, "Item");
  EXPECT_EQ(outcome.registry, MoveOutcome::NoWorkingCopy);
  EXPECT_EQ(outcome.file, MoveOutcome::EmptyWorkingCopy);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac1")), "saved reg\r\n");
  EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), "saved files\r\n");
  EXPECT_TRUE(fake.files.Exists(InApp("temp1.ac")));
}

TEST_F(CustomItemFilesTest, SaveReplacesAnItemFileOnlyInEditMode) {
  fake.files.AddFile(Custom("Item.ac2"), "saved\r\n");
  fake.files.AddFile(InApp("temp1.ac"), "new\r\n");

  app.editMode = false;
  EXPECT_EQ(MoveWorkingCopiesIntoPlace(fake.files, app, "Item").file, MoveOutcome::Failed);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), "saved\r\n");
  EXPECT_EQ(fake.files.Content(InApp("temp1.ac")), "new\r\n");

  app.editMode = true;
  EXPECT_EQ(MoveWorkingCopiesIntoPlace(fake.files, app, "Item").file, MoveOutcome::Moved);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), "new\r\n");
  EXPECT_FALSE(fake.files.Exists(InApp("temp1.ac")));
  // A second Save finds nothing left to move.
  EXPECT_EQ(MoveWorkingCopiesIntoPlace(fake.files, app, "Item").file, MoveOutcome::NoWorkingCopy);
}

TEST_F(CustomItemFilesTest, SaveKeepsTheWorkingCopyWhenTheItemFileCannotBeReplaced) {
  fake.files.AddFile(Custom("Item.ac1"), "saved\r\n", file_attr::ReadOnly);
  fake.files.AddFile(InApp("temp.ac"), "new\r\n");
  app.editMode = true;
  EXPECT_EQ(MoveWorkingCopiesIntoPlace(fake.files, app, "Item").registry, MoveOutcome::Failed);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac1")), "saved\r\n");
  EXPECT_EQ(fake.files.Content(InApp("temp.ac")), "new\r\n");
}

}  // namespace
}  // namespace quorvane
