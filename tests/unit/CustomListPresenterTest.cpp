#include "custom/CustomListPresenter.h"

#include <gtest/gtest.h>

#include "CustomWindowsFixture.h"
#include "main/MainPresenter.h"

namespace quorvane {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class CustomListTest : public CustomWindowsTest {
 protected:
  CustomListTest() {
    list.showEditor = [this](const std::string& name) {
      opened.push_back(name);
      editModes.push_back(app.editMode);
      if (onEditor) onEditor(name);
    };
  }
  void ClickDelete(int row) {
    main.ListView1.Select(row);
    main.CmdDelete.Click();
  }

  MainPresenter main{platform, app};
  CustomListPresenter list{platform,    app,          main.ListView1,
                           main.CmdAdd, main.CmdEdit, main.CmdDelete};
  std::vector<std::string> opened;
  std::vector<bool> editModes;
  std::function<void(const std::string&)> onEditor;
};

TEST_F(CustomListTest, ListsEveryItemOnceByItsWholeNameAndNoOtherFile) {
  for (const char* file : {"Temp Files.ac1", "Temp Files.ac2", "Temp.AC2", "notes.txt", "x.ac3",
                           ".ac1", "Temp Filesx.ac1"}) {
    fake.files.AddFile(Item(file, ""), "\"K\",\"HKEY_USERS\\x\",\"\"\r\n");
  }
  fake.files.AddFile(Item("Hidden", ".ac1"), "", file_attr::Hidden);
  fake.files.AddFolder(Item("Folder", ".ac2"));
  main.ListView1.SetRows({});  // the page shown for the first time
  list.LoadCustomItems();
  EXPECT_EQ(main.ListView1.Rows(), (Rows{{"Temp Files"}, {"Temp Filesx"}, {"Temp"}}));

  // Shown again: nothing twice, whatever the case of the files; a new file is added.
  fake.files.AddFile(Item("temp files", ".AC1"));
  fake.files.AddFile(Item("Later", ".ac2"));
  list.LoadCustomItems();
  EXPECT_EQ(main.ListView1.Rows(), (Rows{{"Temp Files"}, {"Temp Filesx"}, {"Temp"}, {"Later"}}));
}

TEST_F(CustomListTest, AddAndEditOpenTheEditorInTheirModesAndEditNeedsASelection) {
  fake.files.AddFile(Item("Browser", ".ac2"));
  list.LoadCustomItems();
  main.CmdEdit.Click();  // nothing selected
  EXPECT_TRUE(opened.empty());
  main.ListView1.Select(0);
  main.CmdEdit.Click();
  main.CmdAdd.Click();
  EXPECT_EQ(opened, (std::vector<std::string>{"Browser", ""}));
  EXPECT_EQ(editModes, (std::vector<bool>{true, false}));

  // After an Edit, the editor that Add opens takes typing again.
  std::unique_ptr<ItemEditorPresenter> editor;
  onEditor = [&](const std::string& name) { editor = OpenEditor(name); };
  main.CmdEdit.Click();
  EXPECT_TRUE(editor->txtItemName.ReadOnly());
  main.CmdAdd.Click();
  EXPECT_FALSE(editor->txtItemName.ReadOnly());
  EXPECT_EQ(editor->txtItemName.Text(), "");
}

TEST_F(CustomListTest, DeleteRemovesExactlyTheItemsOwnFilesAndKeepsEntriesWhoseFilesStay) {
  for (const char* file :
       {"Temp.ac1", "Temp.ac2", "Temp.acme.ac1", "Gone.ac2", "Locked.ac1", "Locked.ac2"}) {
    fake.files.AddFile(Item(file, ""));
  }
  list.LoadCustomItems();
  ASSERT_EQ(main.ListView1.Rows(), (Rows{{"Gone"}, {"Locked"}, {"Temp"}, {"Temp.acme"}}));

  ClickDelete(2);
  EXPECT_FALSE(fake.files.Exists(Item("Temp", ".ac1")));
  EXPECT_FALSE(fake.files.Exists(Item("Temp", ".ac2")));
  EXPECT_TRUE(fake.files.Exists(Item("Temp.acme", ".ac1")));
  EXPECT_EQ(main.ListView1.Rows(), (Rows{{"Gone"}, {"Locked"}, {"Temp.acme"}}));

  // Removed outside the program: nothing to delete, the entry stays, no word.
  ASSERT_TRUE(fake.files.DeleteFile(Item("Gone", ".ac2"), DeleteMode::AsFound) == FsResult::Ok);
  ClickDelete(0);
  EXPECT_EQ(main.ListView1.Rows().size(), 3u);
  EXPECT_TRUE(Messages().empty());

  // A file that cannot go keeps the entry, and the message names it.
  ASSERT_EQ(fake.files.SetAttributes(Item("Locked", ".ac2"), file_attr::ReadOnly), FsResult::Ok);
  ClickDelete(1);
  EXPECT_EQ(main.ListView1.Rows(), (Rows{{"Gone"}, {"Locked"}, {"Temp.acme"}}));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(Item("Locked", ".ac2")), std::string::npos) << Messages()[0];
  EXPECT_TRUE(fake.files.Exists(Item("Locked", ".ac2")));
}

TEST_F(CustomListTest, ASavedNewItemIsListedAtOnceEvenWhenItsNameBeginsAListedOne) {
  fake.files.AddFile(Item("Temp Files", ".ac2"));
  list.LoadCustomItems();
  onEditor = [&](const std::string& name) {
    auto editor = OpenEditor(name);
    editor->hooks.itemAdded = [&](const std::string& added) { list.AddItem(added); };
    onRegistryPicker = [](RegistryPickerPresenter& picker) { AddKey(picker, "Software\\T"); };
    editor->txtItemName.SetText("Temp");
    editor->ChkCleanRegistry.Click();
    editor->CmdSelectRegistry.Click();
    editor->CmdSave.Click();
  };
  main.CmdAdd.Click();
  EXPECT_EQ(main.ListView1.Rows(), (Rows{{"Temp Files"}, {"Temp"}}));
  list.LoadCustomItems();
  EXPECT_EQ(main.ListView1.Rows().size(), 2u);
}

}  // namespace
}  // namespace quorvane
