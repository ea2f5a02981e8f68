#include "custom/CustomItemFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

using Records = std::vector<ItemRecord>;
const ItemRecord kFile{"F", "C:\\keep\\*.tmp", ""};
const ItemRecord kValue{"V", "HKEY_CURRENT_USER\\Caf\xc3\xa9", " value, with blanks "};

TEST(CustomItemRecordsTest, ReadsGoodLinesQuotedOrNotAndPassesOverDamagedOnes) {
  fakes::FakeTextCodec codec;
  const std::string good = "\"F\",\"C:\\keep\\*.tmp\",\"\"\r\n";
  const std::string bytes =
      std::string("  \"F\" , \"C:\\a b\\x.txt\",\"\"\nK,HKEY_USERS\\S-1 , \r") +
      "\"F\",\"C:\\two fields\"\r\n" + good + "\"F\",\"C:\\stray\"quote\",\"\"\r\n" + good +
      "F,C:\\stray\"quote,\r\n" + good + "\"F\",\"C:\\no end\r\n" + good +
      std::string("\x01\xff\0,,\r\n", 7) + good + "\"F\",\"C:\\" +
      std::string(kMaxRecordLineBytes, 'a') + "\",\"\"\r\n\r\n  \r\n" + good +
      std::string(200000, '"') + "\r\n" + good.substr(0, good.size() - 2);
  Records expected{{"F", "C:\\a b\\x.txt", ""}, {"K", "HKEY_USERS\\S-1", ""}};
  expected.insert(expected.end(), 7, kFile);
  EXPECT_EQ(ParseItemRecords(bytes, codec), expected);
}

TEST(CustomItemRecordsTest, WritesWhatReadsBackUnchangedAndRefusesTextsAndNamesThatWouldNot) {
  fakes::FakeTextCodec codec;
  std::string bytes;
  ASSERT_EQ(FormatItemRecords(codec, {kFile, kValue}, bytes), RecordWriteStatus::Ok);
  EXPECT_EQ(bytes,
            "\"F\",\"C:\\keep\\*.tmp\",\"\"\r\n"
            "\"V\",\"HKEY_CURRENT_USER\\Caf\xe9\",\" value, with blanks \"\r\n");
  EXPECT_EQ(ParseItemRecords(bytes, codec), (Records{kFile, kValue}));
  EXPECT_EQ(FormatItemRecords(codec, {kFile, {"V", "HKEY_USERS\\x", "name\""}}, bytes),
            RecordWriteStatus::QuoteInText);
  EXPECT_EQ(FormatItemRecords(codec, {kFile, {"F", "C:\\a\r\nb.txt", ""}}, bytes),
            RecordWriteStatus::ControlCharacterInText);
  // The code page would turn the euro sign into "?", a wild card.
  EXPECT_EQ(FormatItemRecords(codec, {kFile, {"F", "C:\\\xe2\x82\xac.txt", ""}}, bytes),
            RecordWriteStatus::NotInCodePage);
  EXPECT_TRUE(bytes.empty());
  // Nor is a name taken that cannot be a file stem or would match other items' files.
  EXPECT_EQ(CheckItemName("CONSOLE 1.0"), ItemNameProblem::None);
  EXPECT_EQ(CheckItemName("Te?p"), ItemNameProblem::WildCard);
  EXPECT_EQ(CheckItemName("a:b"), ItemNameProblem::ForbiddenCharacter);
  EXPECT_EQ(CheckItemName("Aux.old"), ItemNameProblem::DeviceName);
}

class CustomItemFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.appFolder = "C:\\Apps";
    fake.files.AddFolder(app.CustomFolder());
  }
  std::string Custom(std::string_view name) { return "C:\\Apps\\Custom\\" + std::string(name); }
  std::string InApp(std::string_view name) { return "C:\\Apps\\" + std::string(name); }
  PickerCloseOutcome Close(ItemKind kind, const Records& records) {
    return WriteWorkingCopy(fake.files, fake.codec, app, "Item", kind, records);
  }
  fakes::FakePlatform fake;
  AppContext app;
};

TEST_F(CustomItemFilesTest,
       PickersWriteWorkingCopiesDeleteOnlyAnEditedItemsFileAndNamesInUseAreSeen) {
  fake.files.AddFile(Custom("Item.ac1"), "saved\r\n");
  EXPECT_EQ(Close(ItemKind::File, {kFile}), PickerCloseOutcome::WorkingCopyWritten);
  EXPECT_EQ(Close(ItemKind::File, {kValue, {"F", "C:\\\"hi\".txt", ""}}),
            PickerCloseOutcome::Refused);
  EXPECT_EQ(ReadItemFile(fake.files, fake.codec, InApp("temp1.ac")), Records{kFile});
  EXPECT_EQ(Close(ItemKind::Registry, {}), PickerCloseOutcome::NothingChanged);  // a new item
  EXPECT_TRUE(fake.files.Exists(Custom("Item.ac1")));
  app.editMode = true;
  EXPECT_EQ(Close(ItemKind::Registry, {}), PickerCloseOutcome::ItemFileDeleted);
  EXPECT_FALSE(fake.files.Exists(Custom("Item.ac1")));
  EXPECT_TRUE(fake.files.Exists(InApp("temp1.ac")));
  fake.files.AddFile(Custom("Mail.ACx"), std::string(kMaxItemFileBytes + 1, ' '));
  EXPECT_TRUE(IsItemNameInUse(fake.files, app, "mail"));
  EXPECT_FALSE(IsItemNameInUse(fake.files, app, "M?il"));  // never taken as a pattern
  fake.files.ClearCalls();                                 // an oversized file is not read
  EXPECT_TRUE(ReadItemFile(fake.files, fake.codec, Custom("Mail.ACx")).empty());
  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::ReadFile), 0u);
}

TEST_F(CustomItemFilesTest, SaveMovesNonEmptyWorkingCopiesAndReplacesOnlyInEditMode) {
  fake.files.AddFile(Custom("Item.ac1"), "saved reg\r\n", file_attr::ReadOnly);
  fake.files.AddFile(Custom("Item.ac2"), "saved\r\n");
  for (bool editMode : {false, true}) {
    app.editMode = editMode;
    fake.files.AddFile(InApp("temp.ac"), "new reg\r\n");
    fake.files.AddFile(InApp("temp1.ac"), "new\r\n");
    const SaveOutcome outcome = MoveWorkingCopiesIntoPlace(fake.files, app, "Item");
    EXPECT_EQ(outcome.file, editMode ? MoveOutcome::Moved : MoveOutcome::Failed);
    EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), editMode ? "new\r\n" : "saved\r\n");
    EXPECT_EQ(outcome.registry, MoveOutcome::Failed);  // read-only: it stays, so does its copy
    EXPECT_EQ(fake.files.Content(InApp("temp.ac")), "new reg\r\n");
  }
  fake.files.AddFile(InApp("temp1.ac"), "");
  EXPECT_EQ(MoveWorkingCopiesIntoPlace(fake.files, app, "Item").file,
            MoveOutcome::EmptyWorkingCopy);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), "new\r\n");
}

// The saved list is replaced in the same step as the rename, so a save that fails (here the
// working copy is held open by another program) keeps the saved entries.
TEST_F(CustomItemFilesTest, AFailedSaveKeepsTheSavedEntries) {
  app.editMode = true;
  fake.files.AddFile(Custom("Item.ac2"), "saved\r\n");
  fake.files.AddFile(InApp("temp1.ac"), "new\r\n");
  fake.files.SetInUse(InApp("temp1.ac"));
  EXPECT_EQ(MoveWorkingCopiesIntoPlace(fake.files, app, "Item").file, MoveOutcome::Failed);
  EXPECT_EQ(fake.files.Content(Custom("Item.ac2")), "saved\r\n");
  EXPECT_EQ(fake.files.Content(InApp("temp1.ac")), "new\r\n");
}

}  // namespace
}  // namespace quorvane
