// A custom item made, cleaned, changed and deleted entirely through the real windows of
// Quorvane.exe, and cleaned by Kelverin.exe --clean. scripts/screenshots runs this with
// QUORVANE_SCREENSHOTS naming the Linux folder for the pictures of the three windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "support/GuiDriver.h"
#include "support/Sandbox.h"
#include "support/TestRegistry.h"
#include "win32/platform/WideText.h"
#include "win32/views/ViewIds.h"

namespace quorvane::testing {
namespace {

using win32::Widen;
using Texts = std::vector<std::string>;
constexpr std::string_view kMain = "Quorvane Version 5.0";
const std::string kKey = "Software\\QuorvaneCustomGui";
constexpr wchar_t kOptionsKey[] = L"Software\\VB and VBA Program Settings\\Quorvane\\Options";

class CustomItemsGui : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"Quorvane.exe", "Kelverin.exe", "TIPOFDAY.TXT"}) {
      ASSERT_TRUE(CopyFileW(Widen(ExecutableFolder() + "\\" + file).c_str(),
                            Widen(sandbox_ / file).c_str(), FALSE));
    }
    // Every fixed target off: the clean runs the custom items alone.
    sandbox_.WriteFile("Local.Ini", "[Standard Options]\r\nRunHistory=0\r\n");
    RegSetKeyValueW(HKEY_CURRENT_USER, kOptionsKey, L"Showtip", REG_SZ, L"0", 2 * sizeof(wchar_t));
    for (const char* file : {"single.tmp", "data\\a.log", "data\\B.LOG", "data\\keep.txt",
                             "data\\hidden.log", "data\\sub\\c.log"}) {
      sandbox_.WriteFile(file, file);
    }
    SetFileAttributesW(Widen(sandbox_ / "data\\hidden.log").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetRegString(kKey + "\\Gone\\Below", "v", "x");
    SetRegString(kKey + "\\Kept", "Doomed", "x");
    SetRegString(kKey + "\\Kept", "Stays", "x");
  }
  void TearDown() override { DeleteRegTree(kKey); }

  DWORD Id() const { return program_->Id(); }
  // The program's window whose controls include one with `caption`.
  HWND WaitForWindowWith(std::string_view title, std::string_view caption) {
    HWND found = nullptr;
    WaitUntil([&] {
      for (HWND window : TopLevelWindows(Id(), title)) {
        if (FindControl(window, caption)) found = window;
      }
      return found != nullptr;
    });
    return found;
  }
  void WaitGone(HWND window) {
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }));
  }
  // Presses a button and waits until the window it opens is there.
  HWND OpenWith(HWND button, std::string_view title, std::string_view caption) {
    Press(button);
    return WaitForWindowWith(title, caption);
  }

  HWND OpenRegistryPicker(HWND editor) {
    HWND picker = OpenWith(GetDlgItem(editor, IDC_CMDSELECTREGISTRY), "", "Top level Registry Key");
    EXPECT_NE(picker, nullptr);
    return picker;
  }
  // Adds HKEY_CURRENT_USER\<subkey>, with `value` as a "V" entry when given.
  void AddRegistryEntry(HWND picker, const std::string& subkey, const std::string& value = {}) {
    ChooseItem(GetDlgItem(picker, IDC_CBOTOPREGKEY), 1);
    SetText(GetDlgItem(picker, IDC_TXTREGSUBKEY), subkey);
    if (!value.empty()) {
      Press(GetDlgItem(picker, IDC_CHKDELETEVALUE));
      ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(picker, IDC_TXTREGVALUE)); }));
      SetText(GetDlgItem(picker, IDC_TXTREGVALUE), value);
    }
    const size_t before = ListViewTexts(GetDlgItem(picker, IDC_REG_LISTVIEW1)).size();
    Press(GetDlgItem(picker, IDC_REG_CMDADD));
    ASSERT_TRUE(WaitUntil(
        [&] { return ListViewTexts(GetDlgItem(picker, IDC_REG_LISTVIEW1)).size() == before + 1; }));
  }
  int IndexOf(HWND listBox, std::string_view text) {
    const Texts items = ListBoxItems(listBox);
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i].find_first_not_of(' ') != std::string::npos &&
          items[i].substr(items[i].find_first_not_of(' ')) == text) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }

  Sandbox sandbox_;
  std::unique_ptr<RunningProgram> program_;
};

TEST_F(CustomItemsGui, AnItemMadeInTheWindowsIsListedCleanedChangedAndDeleted) {
  program_ =
      std::make_unique<RunningProgram>("\"" + (sandbox_ / "Quorvane.exe") + "\"", sandbox_.Path());
  HWND main = WaitForWindow(Id(), kMain);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ClickTab(FindWindowExW(main, nullptr, L"SysTabControl32", nullptr), 1));
  HWND items = nullptr;
  for (HWND control : Descendants(main)) {
    if (GetDlgCtrlID(control) == IDC_LISTVIEW1) items = control;
  }
  ASSERT_NE(items, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(items) != FALSE; }));
  EXPECT_TRUE(ListViewTexts(items).empty());

  // Add: a name, then the registry picker with a key typed with forward slashes and a value.
  HWND editor = OpenWith(FindControl(main, "&Add"), "Add Clean item", "Clean File(s)");
  ASSERT_NE(editor, nullptr);
  SetText(GetDlgItem(editor, IDC_TXTITEMNAME), "Gui Item");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, IDC_CMDSELECTREGISTRY)));
  Press(GetDlgItem(editor, IDC_CHKCLEANREGISTRY));
  ASSERT_TRUE(
      WaitUntil([&] { return IsWindowEnabled(GetDlgItem(editor, IDC_CMDSELECTREGISTRY)); }));
  HWND registry = OpenRegistryPicker(editor);
  ASSERT_NE(registry, nullptr);
  EXPECT_NE(FindControl(registry, "Sub-key e.g.: Software\\Tavrel\\test"), nullptr);
  AddRegistryEntry(registry, "Software/QuorvaneCustomGui/Gone");
  AddRegistryEntry(registry, kKey + "\\Kept", "Doomed");
  Picture("registry-entry-picker", registry);
  Press(GetDlgItem(registry, IDC_REG_CMDDONE));
  WaitGone(registry);

  // The file picker opens on the program's folder: one file there, a pattern in "data".
  Press(GetDlgItem(editor, IDC_CHKCLEANFILES));
  HWND picker = OpenWith(GetDlgItem(editor, IDC_CMDSELECTFILE), "Select Files or Folders",
                         "Wild Card Selection");
  ASSERT_NE(picker, nullptr);
  HWND folders = GetDlgItem(picker, IDC_DIR1);
  HWND files = GetDlgItem(picker, IDC_FILE1);
  EXPECT_EQ(Text(GetDlgItem(picker, IDC_LBLPATH)), sandbox_.Path());
  const int single = IndexOf(files, "single.tmp");
  ASSERT_GE(single, 0);
  ChooseItem(files, single);
  Press(GetDlgItem(picker, IDC_FILE_CMDADD));
  ASSERT_TRUE(
      WaitUntil([&] { return ListViewTexts(GetDlgItem(picker, IDC_FILE_LISTVIEW1)).size() == 1; }));
  ChooseItem(folders, IndexOf(folders, "data"), true);
  ASSERT_TRUE(
      WaitUntil([&] { return Text(GetDlgItem(picker, IDC_LBLPATH)) == sandbox_ / "data"; }));
  EXPECT_EQ(ListBoxItems(files), (Texts{"a.log", "B.LOG", "keep.txt"}));  // not the hidden one
  SetText(GetDlgItem(picker, IDC_TXTPATTERN), "*.log");
  EXPECT_TRUE(WaitUntil([&] { return ListBoxItems(files) == Texts{"a.log", "B.LOG"}; }));
  Press(GetDlgItem(picker, IDC_CHKWILDCARD));
  Press(GetDlgItem(picker, IDC_FILE_CMDADD));
  const Texts entries{sandbox_ / "single.tmp", sandbox_ / "data\\*.log"};
  EXPECT_TRUE(
      WaitUntil([&] { return ListViewTexts(GetDlgItem(picker, IDC_FILE_LISTVIEW1)) == entries; }));
  Picture("select-files-or-folders", picker);
  Press(GetDlgItem(picker, IDC_FILE_CMDDONE));
  WaitGone(picker);
  Picture("add-clean-item", editor);
  Press(FindControl(editor, "&Save"));
  WaitGone(editor);
  EXPECT_TRUE(WaitUntil([&] { return ListViewTexts(items) == Texts{"Gui Item"}; }));
  EXPECT_EQ(sandbox_.ReadFile("Custom\\Gui Item.ac1"),
            "\"K\",\"HKEY_CURRENT_USER\\Software\\QuorvaneCustomGui\\Gone\",\"\"\r\n"
            "\"V\",\"HKEY_CURRENT_USER\\Software\\QuorvaneCustomGui\\Kept\",\"Doomed\"\r\n");
  EXPECT_EQ(sandbox_.ReadFile("Custom\\Gui Item.ac2"),
            "\"F\",\"" + entries[0] + "\",\"\"\r\n\"F\",\"" + entries[1] + "\",\"\"\r\n");

  // The companion's clean removes exactly what the item names.
  const ProcessResult clean =
      RunProcess("\"" + (sandbox_ / "Kelverin.exe") + "\" --clean", sandbox_.Path(), 120000);
  EXPECT_EQ(clean.exitCode, 0u) << clean.output;
  // The picker does not show hidden files, but the pattern reaches them as written.
  for (const char* gone : {"single.tmp", "data\\a.log", "data\\B.LOG", "data\\hidden.log"}) {
    EXPECT_FALSE(sandbox_.Exists(gone)) << gone;
  }
  for (const char* kept : {"data\\keep.txt", "data\\sub\\c.log", "Local.Ini"}) {
    EXPECT_TRUE(sandbox_.Exists(kept)) << kept;
  }
  EXPECT_FALSE(RegKeyExists(kKey + "\\Gone"));
  EXPECT_EQ(RegValueNames(kKey + "\\Kept"), Texts{"Stays"});

  // Edit: the name cannot be changed; the registry picker shows both entries, loses one.
  SelectListViewItem(items, 0);
  editor = OpenWith(FindControl(main, "&Edit"), "Add Clean item", "Clean File(s)");
  ASSERT_NE(editor, nullptr);
  HWND name = GetDlgItem(editor, IDC_TXTITEMNAME);
  EXPECT_EQ(Text(name), "Gui Item");
  EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongPtrW(name, GWL_STYLE) & ES_READONLY) != 0; }));
  EXPECT_EQ(SendMessageW(GetDlgItem(editor, IDC_CHKCLEANFILES), BM_GETCHECK, 0, 0), BST_CHECKED);
  registry = OpenRegistryPicker(editor);
  ASSERT_NE(registry, nullptr);
  HWND entryList = GetDlgItem(registry, IDC_REG_LISTVIEW1);
  ASSERT_TRUE(WaitUntil([&] { return ListViewTexts(entryList).size() == 2; }));
  SelectListViewItem(entryList, 0);
  Press(GetDlgItem(registry, IDC_REG_CMDDELETE));
  ASSERT_TRUE(WaitUntil([&] { return ListViewTexts(entryList).size() == 1; }));
  ASSERT_TRUE(PressKeys("Escape"));  // closes as Done does
  WaitGone(registry);
  Press(FindControl(editor, "&Save"));
  EXPECT_TRUE(WaitUntil([&] {
    return sandbox_.ReadFile("Custom\\Gui Item.ac1") ==
           "\"V\",\"HKEY_CURRENT_USER\\Software\\QuorvaneCustomGui\\Kept\",\"Doomed\"\r\n";
  }));
  EXPECT_TRUE(IsWindowVisible(editor));  // Save of an edited item leaves the editor open
  Press(FindControl(editor, "&Exit"));
  WaitGone(editor);

  // Delete: both files go, and the entry with them.
  SelectListViewItem(items, 0);
  Press(FindControl(main, "&Delete"));
  EXPECT_TRUE(WaitUntil([&] { return ListViewTexts(items).empty(); }));
  EXPECT_FALSE(sandbox_.Exists("Custom\\Gui Item.ac1"));
  EXPECT_FALSE(sandbox_.Exists("Custom\\Gui Item.ac2"));
}

}  // namespace
}  // namespace quorvane::testing
