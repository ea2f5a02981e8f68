#include "custom/ItemEditorPresenter.h"

#include <gtest/gtest.h>

#include "CustomWindowsFixture.h"
#include "custom/CustomMessages.h"

namespace quorvane {
namespace {

using Texts = std::vector<std::string>;
const std::string kKeyRecord = "\"K\",\"HKEY_CURRENT_USER\\Software\\T\",\"\"\r\n";
const std::string kFileRecord = "\"F\",\"C:\\Data\\*.log\",\"\"\r\n";

class ItemEditorTest : public CustomWindowsTest {
 protected:
  ItemEditorTest() {
    fake.files.AddFolder("C:\\Data");
    onRegistryPicker = [](RegistryPickerPresenter& picker) { AddKey(picker, "Software\\T"); };
    onFilePicker = [](FilePickerPresenter& picker) {
      picker.ChkWildcard.Click();
      picker.txtPattern.SetText("*.log");
      picker.CmdAdd.Click();
    };
  }
  // Both pickers closed with one entry each.
  void FillBothPickers(ItemEditorPresenter& editor) {
    editor.ChkCleanRegistry.Click();
    editor.CmdSelectRegistry.Click();
    editor.ChkCleanFiles.Click();
    editor.CmdSelectFile.Click();
  }
};

TEST_F(ItemEditorTest, ANewItemIsSavedFromTheWorkingCopiesListedAndTheEditorCloses) {
  auto editor = OpenEditor("");
  EXPECT_EQ(editor->Form.Caption(), "Add Clean item");
  EXPECT_FALSE(editor->CmdSelectFile.Enabled());
  EXPECT_FALSE(editor->CmdSelectRegistry.Enabled());
  FillBothPickers(*editor);
  EXPECT_EQ(fake.files.Content(WorkingCopy(ItemKind::Registry)), kKeyRecord);
  editor->txtItemName.SetText(" Browser traces ");
  editor->CmdSave.Click();

  EXPECT_EQ(fake.files.Content(Item(" Browser traces ", ".ac1")), kKeyRecord);
  EXPECT_EQ(fake.files.Content(Item(" Browser traces ", ".ac2")), kFileRecord);
  EXPECT_FALSE(fake.files.Exists(WorkingCopy(ItemKind::Registry)));
  EXPECT_FALSE(fake.files.Exists(WorkingCopy(ItemKind::File)));
  EXPECT_EQ(addedItems, Texts{" Browser traces "});
  EXPECT_EQ(editorCloses, 1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ItemEditorTest, SaveRefusesBlankUsedAndUnfitNamesWithTheReasonAndMovesNothing) {
  fake.files.AddFile(Item("Temp Files", ".ac2"), kFileRecord);
  auto editor = OpenEditor("");
  FillBothPickers(*editor);
  for (const char* name : {"  ", "temp files", "a/b", "Te*p", "nul", "x:y"}) {
    editor->txtItemName.SetText(name);
    EXPECT_EQ(editor->Save(), ItemEditorPresenter::SaveResult::Refused) << name;
  }
  ASSERT_EQ(Messages().size(), 6u);
  EXPECT_EQ(Messages()[0], kNoItemName);
  EXPECT_EQ(Messages()[1], kItemNameInUse);
  EXPECT_NE(Messages()[2].find("\\ / : * ? \" < > |"), std::string::npos);
  EXPECT_EQ(Messages()[3], Messages()[2]);
  EXPECT_NE(Messages()[4].find("device name"), std::string::npos);
  EXPECT_EQ(fake.files.Content(Item("Temp Files", ".ac2")), kFileRecord);
  EXPECT_TRUE(fake.files.Exists(WorkingCopy(ItemKind::Registry)));
  EXPECT_TRUE(addedItems.empty());
  EXPECT_EQ(editorCloses, 0);
  for (const auto& box : fake.windows.messageBoxes) {
    EXPECT_EQ(box.title, "Quorvane");
    EXPECT_EQ(box.style, message_box::IconInformation);
  }

  // Without any entries, a new item is not created and nothing is said.
  auto empty = OpenEditor("Nothing");
  EXPECT_EQ(empty->Save(), ItemEditorPresenter::SaveResult::NotCreated);
  EXPECT_EQ(Messages().size(), 6u);
  EXPECT_EQ(editorCloses, 0);
}

TEST_F(ItemEditorTest, EditingShowsTheFilesKindsReplacesThemOnSaveAndStaysOpen) {
  fake.files.AddFile(Item("Browser", ".ac2"), kFileRecord);
  app.editMode = true;
  auto editor = OpenEditor("Browser");
  EXPECT_TRUE(editor->txtItemName.ReadOnly());
  EXPECT_EQ(editor->ChkCleanFiles.Value(), 1);
  EXPECT_TRUE(editor->CmdSelectFile.Enabled());
  EXPECT_EQ(editor->ChkCleanRegistry.Value(), 0);

  // Unchecking only disables the button; the next activation checks the box again.
  editor->ChkCleanFiles.Click();
  EXPECT_FALSE(editor->CmdSelectFile.Enabled());
  EXPECT_TRUE(fake.files.Exists(Item("Browser", ".ac2")));
  editor->Activate();
  EXPECT_TRUE(editor->CmdSelectFile.Enabled());

  onFilePicker = [](FilePickerPresenter& picker) {
    EXPECT_EQ(picker.ListView1.Rows().size(), 1u);  // the saved entry
    picker.txtPattern.SetText("*.tmp");
    picker.ChkWildcard.Click();
    picker.CmdAdd.Click();
  };
  editor->CmdSelectFile.Click();
  editor->ChkCleanRegistry.Click();
  editor->CmdSelectRegistry.Click();
  EXPECT_EQ(editor->Save(), ItemEditorPresenter::SaveResult::Saved);
  EXPECT_EQ(fake.files.Content(Item("Browser", ".ac2")),
            kFileRecord + "\"F\",\"C:\\Data\\*.tmp\",\"\"\r\n");
  EXPECT_EQ(fake.files.Content(Item("Browser", ".ac1")), kKeyRecord);
  // Saving again finds nothing to move and changes nothing; the editor stays open.
  EXPECT_EQ(editor->Save(), ItemEditorPresenter::SaveResult::Saved);
  EXPECT_EQ(fake.files.Content(Item("Browser", ".ac1")), kKeyRecord);
  EXPECT_EQ(editorCloses, 0);
  EXPECT_TRUE(addedItems.empty());

  // A picker closed with an empty list deletes the item file of its kind at once.
  onRegistryPicker = [](RegistryPickerPresenter& picker) {
    picker.ListView1.Select(0);
    picker.CmdDelete.Click();
  };
  editor->CmdSelectRegistry.Click();
  EXPECT_FALSE(fake.files.Exists(Item("Browser", ".ac1")));
  editor->CmdExit.Click();
  EXPECT_EQ(editorCloses, 1);
}

TEST_F(ItemEditorTest, TheCloseCheckSavesWaitingEntriesAndStaysOpenWhileTheNameIsRefused) {
  fake.files.AddFile(Item("Used", ".ac1"), kKeyRecord);
  auto editor = OpenEditor("");
  FillBothPickers(*editor);
  editor->CmdExit.Click();  // no name yet
  editor->txtItemName.SetText("used");
  editor->RequestClose();  // the close box: the name is in use
  EXPECT_EQ(Messages(), (Texts{std::string(kNoItemName), std::string(kItemNameInUse)}));
  EXPECT_EQ(editorCloses, 0);
  EXPECT_TRUE(fake.files.Exists(WorkingCopy(ItemKind::File)));

  editor->txtItemName.SetText("Fresh");
  editor->RequestClose();
  EXPECT_EQ(editorCloses, 1);
  EXPECT_EQ(fake.files.Content(Item("Fresh", ".ac2")), kFileRecord);
  EXPECT_EQ(fake.files.Content(Item("Used", ".ac1")), kKeyRecord);
  EXPECT_EQ(addedItems, Texts{"Fresh"});

  // Nothing waiting: the editor closes without a word.
  auto other = OpenEditor("");
  other->CmdExit.Click();
  EXPECT_EQ(editorCloses, 2);
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(ItemEditorTest, WorkingCopiesLeftByAnEarlierRunAreRemovedWhenTheEditorOpens) {
  fake.files.AddFile(WorkingCopy(ItemKind::Registry), kKeyRecord);
  fake.files.AddFile(WorkingCopy(ItemKind::File), kFileRecord);
  auto editor = OpenEditor("");
  EXPECT_FALSE(fake.files.Exists(WorkingCopy(ItemKind::Registry)));
  EXPECT_FALSE(fake.files.Exists(WorkingCopy(ItemKind::File)));
  editor->txtItemName.SetText("New");
  EXPECT_EQ(editor->Save(), ItemEditorPresenter::SaveResult::NotCreated);
  EXPECT_FALSE(fake.files.Exists(Item("New", ".ac1")));
}

TEST_F(ItemEditorTest, AWorkingCopyThatCannotBeMovedIsReportedAndDoesNotHoldTheWindow) {
  auto editor = OpenEditor("");
  FillBothPickers(*editor);
  // The custom-item folder is gone (removed by hand while the editor was open).
  ASSERT_EQ(fake.files.RemoveDirectory(app.CustomFolder()), FsResult::Ok);
  editor->txtItemName.SetText("Taken");
  editor->RequestClose();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(Item("Taken", ".ac1")), std::string::npos) << Messages()[0];
  EXPECT_EQ(editorCloses, 1);
}

}  // namespace
}  // namespace quorvane
