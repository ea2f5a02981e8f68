#include "custom/FilePickerPresenter.h"

#include <gtest/gtest.h>

#include "CustomWindowsFixture.h"

namespace quorvane {
namespace {

using Texts = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

class FilePickerTest : public CustomWindowsTest {
 protected:
  FilePickerTest() {
    fake.files.AddFile("C:\\Data\\b.log");
    fake.files.AddFile("C:\\Data\\A.txt");
    fake.files.AddFile("C:\\Data\\README");
    fake.files.AddFile("C:\\Data\\hidden.log", "", file_attr::Hidden);
    fake.files.AddFile("C:\\Data\\system.log", "", file_attr::System);
    fake.files.AddFolder("C:\\Data\\zeta");
    fake.files.AddFolder("C:\\Data\\Alpha");
    fake.files.AddFolder("C:\\Data\\Secret", file_attr::Hidden);
    fake.files.AddFile("C:\\root.txt");
  }
  void Select(const Texts& names) {
    std::vector<int> indices;
    for (const std::string& name : names) {
      const auto& items = picker.File1.Items();
      indices.push_back(
          static_cast<int>(std::find(items.begin(), items.end(), name) - items.begin()));
    }
    picker.File1.SetSelected(indices);
  }
  // Opens the item's picker, deletes its first entry and closes it again.
  void EmptyFirstEntry(std::string_view item) {
    FilePickerPresenter other(platform, app, std::string(item));
    other.Load("C:\\Data");
    other.ListView1.Select(0);
    other.CmdDelete.Click();
    other.Close();
  }
  Texts Entries() const {
    Texts entries;
    for (const auto& row : picker.ListView1.Rows()) entries.push_back(row.front());
    return entries;
  }

  FilePickerPresenter picker{platform, app, "Logs"};
};

TEST_F(FilePickerTest, OpensOnTheStartFolderWithItsOrdinaryFilesAndWalksTheFolders) {
  fake.files.AddFile(Item("Logs", ".ac2"), "\"F\",\"C:\\old\\*.log\",\"\"\r\n");
  picker.Load("C:\\Data\\");
  EXPECT_EQ(picker.Form.Caption(), "Select Files or Folders");
  EXPECT_EQ(picker.Drive1.Items(), (Texts{"c:", "d:"}));
  EXPECT_EQ(picker.Drive1.ListIndex(), 0);
  EXPECT_EQ(picker.lblPath.Caption(), "C:\\Data");
  EXPECT_EQ(picker.Dir1.Items(), (Texts{"C:\\", "   Data", "      Alpha", "      zeta"}));
  EXPECT_EQ(picker.Dir1.ListIndex(), 1);
  EXPECT_EQ(picker.File1.Items(), (Texts{"A.txt", "b.log", "README"}));
  EXPECT_EQ(Entries(), Texts{"C:\\old\\*.log"});

  picker.Dir1.Open(3);  // into zeta
  EXPECT_EQ(picker.Folder(), "C:\\Data\\zeta");
  EXPECT_TRUE(picker.File1.Items().empty());
  picker.Dir1.Open(0);  // up to the root
  EXPECT_EQ(picker.lblPath.Caption(), "C:\\");
  EXPECT_EQ(picker.Dir1.Items(), (Texts{"C:\\", "   Apps", "   Data"}));
  EXPECT_EQ(picker.File1.Items(), Texts{"root.txt"});
}

TEST_F(FilePickerTest, AddsSelectedFilesTopDownOrOneWildCardAndThePatternFiltersTheFiles) {
  picker.Load("C:\\Data");
  Select({"README", "A.txt"});
  picker.CmdAdd.Click();
  picker.CmdAdd.Click();  // the same selection twice gives two entries each
  EXPECT_EQ(Entries(),
            (Texts{"C:\\Data\\A.txt", "C:\\Data\\README", "C:\\Data\\A.txt", "C:\\Data\\README"}));

  picker.txtPattern.SetText("*.LOG");
  EXPECT_EQ(picker.File1.Items(), Texts{"b.log"});
  picker.txtPattern.SetText("sub\\*.log");  // no pattern for one folder: every file
  EXPECT_EQ(picker.File1.Items().size(), 3u);
  picker.txtPattern.SetText("");
  picker.ChkWildcard.Click();
  picker.Dir1.Open(0);
  Select({"root.txt"});
  picker.CmdAdd.Click();  // the wild card wins over the selection; an empty box gives *.*
  EXPECT_EQ(picker.txtPattern.Text(), "*.*");
  EXPECT_EQ(Entries().back(), "C:\\*.*");  // one back-slash at the root
  picker.ListView1.Select(0);
  picker.CmdDelete.Click();
  picker.ListView1.Select(-1);
  picker.CmdDelete.Click();  // nothing selected: nothing goes
  EXPECT_EQ(Entries().size(), 4u);
}

TEST_F(FilePickerTest, ADriveThatCannotBeReadIsNamedAndThePickerStaysOnItsFolder) {
  fake.files.SetDriveReady('D', false);
  picker.Load("C:\\Data");
  picker.Drive1.SetListIndex(1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("D:"), std::string::npos) << Messages()[0];
  EXPECT_EQ(picker.Drive1.ListIndex(), 0);
  EXPECT_EQ(picker.lblPath.Caption(), "C:\\Data");
  EXPECT_EQ(picker.File1.Items().size(), 3u);
  Select({"b.log"});
  picker.CmdAdd.Click();
  EXPECT_EQ(Entries(), Texts{"C:\\Data\\b.log"});

  fake.files.SetDriveReady('D', true);
  fake.files.AddFile("D:\\disc.txt");
  picker.Drive1.SetListIndex(1);
  EXPECT_EQ(picker.lblPath.Caption(), "D:\\");
  EXPECT_EQ(picker.File1.Items(), Texts{"disc.txt"});
}

TEST_F(FilePickerTest, AFileNameTheItemFileCannotHoldIsRefusedWithTheReason) {
  fake.files.AddFile("C:\\Data\\\xe2\x82\xac.txt");  // the euro sign is outside the code page
  picker.Load("C:\\Data");
  Select({"\xe2\x82\xac.txt", "b.log"});
  picker.CmdAdd.Click();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("code page"), std::string::npos) << Messages()[0];
  EXPECT_TRUE(Entries().empty());
}

TEST_F(FilePickerTest, ClosingWritesTheListOrForAnEditedItemDeletesItsEmptiedFile) {
  fake.files.AddFile(Item("Logs", ".ac2"), "\"F\",\"C:\\a,b\\x.log\",\"\"\r\n");
  picker.Load("C:\\Data");
  picker.onClosed = [this] { ++editorCloses; };
  picker.CmdDone.Click();
  EXPECT_EQ(fake.files.Content(WorkingCopy(ItemKind::File)), "\"F\",\"C:\\a,b\\x.log\",\"\"\r\n");
  EXPECT_EQ(editorCloses, 1);

  // A new item's emptied list leaves the earlier working copy; an edited item loses its file.
  for (bool editing : {false, true}) {
    app.editMode = editing;
    EmptyFirstEntry("Logs");
    EXPECT_EQ(fake.files.Exists(Item("Logs", ".ac2")), !editing);
    EXPECT_TRUE(fake.files.Exists(WorkingCopy(ItemKind::File)));
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FilePickerTest, AWorkingCopyOrItemFileThatCannotBeChangedIsNamed) {
  fake.files.AddFile(WorkingCopy(ItemKind::File), "", file_attr::ReadOnly);
  fake.files.AddFile(Item("Logs", ".ac2"), "\"F\",\"C:\\x.log\",\"\"\r\n", file_attr::ReadOnly);
  picker.Load("C:\\Data");
  picker.Close();
  app.editMode = true;
  EmptyFirstEntry("Logs");
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_NE(Messages()[0].find(WorkingCopy(ItemKind::File)), std::string::npos) << Messages()[0];
  EXPECT_NE(Messages()[1].find(Item("Logs", ".ac2")), std::string::npos) << Messages()[1];
  EXPECT_TRUE(fake.files.Exists(Item("Logs", ".ac2")));
}

}  // namespace
}  // namespace quorvane
