#include "custom/RegistryPickerPresenter.h"

#include <gtest/gtest.h>

#include "CustomWindowsFixture.h"

namespace quorvane {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class RegistryPickerTest : public CustomWindowsTest {
 protected:
  void Add(int root, std::string subkey) {
    picker.cboTopRegKey.SetListIndex(root);
    picker.txtRegSubkey.SetText(std::move(subkey));
    picker.CmdAdd.Click();
  }
  RegistryPickerPresenter picker{platform, app, "Keys"};
};

TEST_F(RegistryPickerTest, LoadsTheSavedEntriesAndOffersTheFiveRootsWithoutAChoice) {
  fake.files.AddFile(Item("Keys", ".ac1"),
                     "\"V\",\"HKEY_CURRENT_USER\\Software\\X\",\"Last, File\"\r\n"
                     "\"K\",\"HKEY_USERS\\S\",\"\"\r\n");
  picker.Load();
  EXPECT_EQ(picker.ListView1.Rows(), (Rows{{"HKEY_CURRENT_USER\\Software\\X", "Last, File", "V"},
                                           {"HKEY_USERS\\S", "", "K"}}));
  EXPECT_EQ(
      picker.cboTopRegKey.Items(),
      (std::vector<std::string>{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                "HKEY_USERS", "HKEY_PERFORMANCE_DATA"}));
  EXPECT_EQ(picker.cboTopRegKey.ListIndex(), -1);
  EXPECT_EQ(picker.SkinLabel1.Caption(), "Sub-key e.g.: Software\\Tavrel\\test");
  EXPECT_EQ(picker.ChkDeletekey.Value(), 1);
  EXPECT_FALSE(picker.txtRegValue.Enabled());
}

TEST_F(RegistryPickerTest, TheValueBoxAloneDecidesTheKindAndTheBoxesOnlySwitchIt) {
  picker.Load();
  picker.ChkDeletevalue.Click();
  EXPECT_EQ(picker.ChkDeletekey.Value(), 0);
  Add(1, "Software\\A");  // an empty value name: the key's default value
  picker.txtRegValue.SetText(" Recent ");
  picker.CmdAdd.Click();
  picker.ChkDeletevalue.Click();  // unchecked: still "V"
  EXPECT_TRUE(picker.txtRegValue.Enabled());
  picker.CmdAdd.Click();
  picker.ChkDeletekey.Click();
  EXPECT_FALSE(picker.txtRegValue.Enabled());
  picker.ChkDeletekey.Click();  // unchecked again: still "K", the value box stays off
  EXPECT_FALSE(picker.txtRegValue.Enabled());
  picker.CmdAdd.Click();
  EXPECT_EQ(picker.ListView1.Rows(), (Rows{{"HKEY_CURRENT_USER\\Software\\A", "", "V"},
                                           {"HKEY_CURRENT_USER\\Software\\A", " Recent ", "V"},
                                           {"HKEY_CURRENT_USER\\Software\\A", " Recent ", "V"},
                                           {"HKEY_CURRENT_USER\\Software\\A", "", "K"}}));
}

TEST_F(RegistryPickerTest, SubKeysAreStoredWithBackSlashesAndOneNamingTheRootIsRefused) {
  picker.Load();
  Add(-1, "Software");  // no root chosen
  for (const char* nothing : {"", "   ", "\\", " / \\ ", "//"}) Add(2, nothing);
  EXPECT_TRUE(picker.ListView1.Rows().empty());
  Add(1, "Software/Tavrel/test");
  Add(3, "\\S-1 ");
  Add(0, " .txt ");
  picker.txtRegSubkey.SetText("Software\\Quote\"d");
  picker.CmdAdd.Click();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("cannot hold the character \""), std::string::npos);
  EXPECT_EQ(picker.ListView1.Rows(), (Rows{{"HKEY_CURRENT_USER\\Software\\Tavrel\\test", "", "K"},
                                           {"HKEY_USERS\\\\S-1 ", "", "K"},
                                           {"HKEY_CLASSES_ROOT\\ .txt ", "", "K"}}));
}

TEST_F(RegistryPickerTest, ClosingWritesTheEntriesInOrderOrForAnEditedItemDeletesItsFile) {
  picker.Load();
  picker.ChkDeletevalue.Click();
  picker.txtRegValue.SetText("LastFile");
  Add(1, "Software\\Example");
  picker.ChkDeletekey.Click();
  Add(1, "Software\\Example\\Recent");
  picker.CmdDone.Click();
  EXPECT_EQ(fake.files.Content(WorkingCopy(ItemKind::Registry)),
            "\"V\",\"HKEY_CURRENT_USER\\Software\\Example\",\"LastFile\"\r\n"
            "\"K\",\"HKEY_CURRENT_USER\\Software\\Example\\Recent\",\"\"\r\n");

  fake.files.AddFile(Item("Keys", ".ac1"), "\"K\",\"HKEY_USERS\\S\",\"\"\r\n");
  app.editMode = true;
  RegistryPickerPresenter edited(platform, app, "Keys");
  edited.Load();
  edited.ListView1.Select(0);
  edited.CmdDelete.Click();
  edited.Close();
  EXPECT_FALSE(fake.files.Exists(Item("Keys", ".ac1")));
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace quorvane
