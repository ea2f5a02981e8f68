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
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>(i * 37);
  const std::string bytes =
      std::string("  \"F\" , \"C:\\a b\\x.txt\",\"\"\nK,HKEY_USERS\\S-1 , \r") +
      "\"F\",\"C:\\two fields\"\r\n" + good + "\"F\",\"C:\\stray\"quote\",\"\"\r\n" + good +
      "F,C:\\stray\"quote,\r\n" + good + "\"F\",\"C:\\no end\r\n" + good + binary + "\r\n" + good +
      "\"F\",\"C:\\" + std::string(kMaxRecordLineBytes, 'a') + "\",\"\"\r\n\r\n  \r\n" + good +
      std::string(200000, '"') + "\r\n" + good.substr(0, good.size() - 2);
  Records expected{{"F", "C:\\a b\\x.txt", ""}, {"K", "HKEY_USERS\\S-1", ""}};
  expected.insert(expected.end(), 7, kFile);
  EXPECT_EQ(ParseItemRecords(bytes, codec), expected);
}

TEST(CustomItemRecordsTest, WritesWhatReadsBackUnchangedAndRefusesTheRest) {
  fakes::FakeTextCodec codec;
  std::string bytes;
  ASSERT_EQ(FormatItemRecords(codec, {kFile, kValue}, bytes), RecordWriteStatus::Ok);
  EXPECT_EQ(bytes,
            "\"F\",\"C:\\keep\\*.tmp\",\"\"\r\n"
            "\"V\",\"HKEY_CURRENT_USER\\Caf\xe9\",\" value, with blanks \"\r\n");
  EXPECT_EQ(ParseItemRecords(bytes, codec), (Records{kFile, kValue}));
  const auto refusal = [&](const ItemRecord& record) {
    const RecordWriteStatus status = FormatItemRecords(codec, {kFile, record}, bytes);
    return bytes.empty() ? status : RecordWriteStatus::Ok;
  };
  EXPECT_EQ(refusal({"V", "HKEY_USERS\\x", "name\""}), RecordWriteStatus::QuoteInText);
  EXPECT_EQ(refusal({"F", "C:\\a\r\nb.txt", ""}), RecordWriteStatus::ControlCharacterInText);
  // The code page would turn the euro sign into "?", a wild card.
  EXPECT_EQ(refusal({"F", "C:\\\xe2\x82\xac.txt", ""}), RecordWriteStatus::NotInCodePage);
}

TEST(CustomItemNameTest, RefusesNamesThatCannotBeAFileStemOrWouldMatchOthers) {
  EXPECT_EQ(CheckItemName("CONSOLE 1.0"), ItemNameProblem::None);
  EXPECT_EQ(CheckItemName(std::string(252, 'a')), ItemNameProblem::TooLong);
  EXPECT_EQ(CheckItemName(" \t "), ItemNameProblem::Empty);
  EXPECT_EQ(CheckItemName("Te?p"), ItemNameProblem::WildCard);
  EXPECT_EQ(CheckItemName("a:b"), ItemNameProblem::ForbiddenCharacter);
  EXPECT_EQ(CheckItemName("Aux.old"), ItemNameProblem::DeviceName);
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
  PickerCloseOutcome Close(ItemKind kind, const Records& records) {
    return WriteWorkingCopy(fake.files, fake.codec, app, "Item", kind, records);
  }
  fakes::FakePlatform fake;
  AppContext app;
};

TEST_F(CustomItemFilesTest, NameIsInUseWhenAFileIsNamedItLiterallyWithAc) {
  fake.files.AddFile(Custom("Mail.AC2"), "", file_attr::Hidden);
  fake.files.AddFolder(Custom("Folder.ac1"));
  fake.files.AddFile(Custom("a[1].acx"), std::string(kMaxItemFileBytes + 1, ' '));
  for (const char* name : {"mail", "a[1]"}) EXPECT_TRUE(IsItemNameInUse(fake.files, app, name));
  for (const char* name : {"Mai", "Folder", "a?1?"}) {
    EXPECT_FALSE(IsItemNameInUse(fake.files, app, name)) << name;
  }
  fake.files.ClearCalls();  // an oversized file is not read
  EXPECT_TRUE(ReadItemFile(fake.files, fake.codec, Custom("a[1].acx")).empty());
  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::ReadFile), 0u);
}

TEST_F(CustomItemFilesTest, ClosingAPickerWritesItsWorkingCopyOrDeletesOnlyAnEditedItemsFile) {
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

}  // namespace
}  // namespace quorvane
