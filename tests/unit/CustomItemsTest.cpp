#include "clean/CustomItems.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

constexpr RegKey HKCU = reg_root::CurrentUser;
constexpr RegKey HKLM = reg_root::LocalMachine;
constexpr const char* kApp = "C:\\Program Files\\Quorvane";
constexpr const char* kIni = "C:\\Program Files\\Quorvane\\Local.Ini";
constexpr const char* kData = "C:\\Data";

std::string Record(std::string_view kind, std::string_view target, std::string_view value = {}) {
  return "\"" + std::string(kind) + "\",\"" + std::string(target) + "\",\"" + std::string(value) +
         "\"\r\n";
}

class CustomItemsTest : public ::testing::Test, protected fakes::FakeCleanContext {
 protected:
  CustomItemsTest() : FakeCleanContext(kIni) {
    app.appFolder = kApp;
    fake.files.AddFolder(app.CustomFolder());
  }

  void Item(std::string_view fileName, const std::string& content) {
    fake.files.AddFile(app.CustomFolder() + "\\" + std::string(fileName), content);
  }
  void Bleach(bool on) {
    fake.profile.SetFileContent(
        kIni, std::string("[Wash Options]\r\nAddBleach=") + (on ? "1" : "0") + "\r\n");
  }
  static std::string Data(std::string_view name) {
    return std::string(kData) + "\\" + std::string(name);
  }
  bool Exists(const std::string& path) { return fake.files.Exists(path); }
};

TEST_F(CustomItemsTest, EmptyMissingOrNestedItemFoldersDoNothing) {
  fake.files.AddFile(Data("a.tmp"));
  fake.files.AddFile(app.CustomFolder() + "\\Nested\\Item.ac2", Record("F", Data("a.tmp")));
  CleanCustomItems(context);
  app.appFolder = "C:\\Elsewhere";
  CleanCustomItems(context);
  EXPECT_FALSE(context.filesRemoved);
  EXPECT_TRUE(Exists(Data("a.tmp")));
}

TEST_F(CustomItemsTest, TheKindDecidesNotTheExtension) {
  fake.registry.SetString(HKCU, "Software\\Example\\Recent\\Inner", "File1", "x");
  fake.registry.SetString(HKCU, "Software\\Example", "LastFile", "x");
  fake.registry.SetString(HKCU, "Software\\Example", "", "default");
  fake.files.AddFile(Data("old.chk"));
  Item("Keys.ac2", Record("K", "HKEY_CURRENT_USER\\Software\\Example\\Recent"));
  Item("Values.txt", Record("V", "HKEY_CURRENT_USER\\Software\\Example", "LastFile") +
                         Record("V", "HKEY_CURRENT_USER\\Software\\Example", ""));
  Item("Files", Record("F", Data("*.chk")));

  CleanCustomItems(context);

  EXPECT_FALSE(fake.registry.KeyExists(HKCU, "Software\\Example\\Recent"));
  EXPECT_TRUE(fake.registry.ValueNames(HKCU, "Software\\Example").empty());
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, "Software\\Example"));
  EXPECT_FALSE(Exists(Data("old.chk")));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(CustomItemsTest, RegistryPathsWithoutAnExactRootAreLeft) {
  fake.registry.SetString(HKCU, "Software\\Example", "Value", "keep");
  fake.registry.SetString(HKLM, "Software\\Example", "Value", "keep");
  Item("Item.ac1", Record("K", "hkey_current_user\\Software\\Example") +
                       Record("K", "HKCU\\Software\\Example") +
                       Record("K", "HKEY_CURRENT_USERSoftware\\Example") +
                       Record("V", "HKEY_CURRENT_USER", "Value") +
                       Record("V", "Hkey_Local_Machine\\Software\\Example", "Value") +
                       Record("k", "HKEY_CURRENT_USER\\Software\\Example") +
                       // A whole root is never deleted, however the sub-key is left out.
                       Record("K", "HKEY_CURRENT_USER\\") +
                       Record("K", "HKEY_LOCAL_MACHINE\\\\\\"));

  CleanCustomItems(context);

  EXPECT_TRUE(fake.registry.ValueExists(HKCU, "Software\\Example", "Value"));
  EXPECT_TRUE(fake.registry.ValueExists(HKLM, "Software\\Example", "Value"));
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

TEST_F(CustomItemsTest, PatternRemovesHiddenSystemAndReadOnlyMatchesWithAndWithoutBleach) {
  for (bool bleach : {false, true}) {
    SCOPED_TRACE(bleach ? "bleach on" : "bleach off");
    Bleach(bleach);
    context.filesRemoved = false;
    fake.files.AddFile(Data("a.tmp"), "plain");
    fake.files.AddFile(Data("b.tmp"), "hidden", file_attr::Hidden);
    fake.files.AddFile(Data("c.tmp"), "read-only", file_attr::ReadOnly);
    fake.files.AddFile(Data("d.tmp"), "system", file_attr::System | file_attr::Hidden);
    fake.files.AddFile(Data("keep.txt"), "other");
    fake.files.ClearCalls();
    Item("Temp.ac2", Record("F", Data("*.tmp")));

    CleanCustomItems(context);

    for (const char* name : {"a.tmp", "b.tmp", "c.tmp", "d.tmp"})
      EXPECT_FALSE(Exists(Data(name))) << name;
    EXPECT_TRUE(Exists(Data("keep.txt")));
    EXPECT_TRUE(context.filesRemoved);
    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::OpenForOverwrite), bleach ? 4u : 0u);
    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::SetAttributes), 4u);
  }
}

TEST_F(CustomItemsTest, APatternStaysInItsFolderAndRelativePatternsAreNotListed) {
  fake.files.AddFile(Data("disk.chk"));
  fake.files.AddFile(Data("one.txt"));
  fake.files.AddFile(Data("Sub\\deeper.chk"));
  fake.files.AddFolder(Data("Folder.chk"));
  // Relative patterns would be resolved against the program's current folder.
  Item("A.ac2", Record("F", Data("*.chk")) + Record("F", Data("Sub")) + Record("F", "NoSeparator") +
                    Record("F", Data("one.txt")) + Record("F", "C:\\NoSuchFolder\\*.*") +
                    Record("F", "Data\\*.tmp") + Record("F", "C:Data\\*.tmp") +
                    Record("F", "\\Data\\*.tmp") + Record("F", "1:\\Data\\*.tmp"));
  fake.files.ClearCalls();

  CleanCustomItems(context);

  EXPECT_FALSE(Exists(Data("disk.chk")));
  EXPECT_FALSE(Exists(Data("one.txt")));
  EXPECT_TRUE(Exists(Data("Sub\\deeper.chk")));
  EXPECT_TRUE(Exists(Data("Folder.chk")));
  for (const fakes::FsCall& call : fake.files.Calls()) {
    if (call.op == fakes::FsOp::ListDirectory) {
      EXPECT_TRUE(call.path.starts_with("C:\\")) << call.path;
    }
  }
}

TEST_F(CustomItemsTest, AFileInUseStaysAndTheNextMatchFollows) {
  Bleach(true);
  fake.files.AddFile(Data("a.log"), "locked");
  fake.files.AddFile(Data("b.log"), "free");
  fake.files.SetInUse(Data("a.log"));
  Item("A.ac2", Record("F", Data("*.log")));

  CleanCustomItems(context);

  EXPECT_EQ(fake.files.Content(Data("a.log")), "locked");
  EXPECT_FALSE(Exists(Data("b.log")));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(CustomItemsTest, DamagedItemFilesNeverStopTheGoodRecords) {
  fake.files.AddFile(Data("1.tmp"));
  fake.files.AddFile(Data("2.tmp"));
  fake.files.AddFile(Data("3.tmp"));
  fake.registry.SetString(HKCU, "Software\\Gone", "x", "y");
  std::string binary(5000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 131);
  Item("binary.ac1", binary + "\r\n" + Record("F", Data("1.tmp")));
  Item("short.ac2", "\"F\",\"" + Data("keep1.tmp") + "\"\r\n" + Record("F", Data("2.tmp")));
  Item("stray.ac2",
       "\"F\",\"C:\\Data\\\"*.tmp\",\"\"\r\n" + Record("K", "HKEY_CURRENT_USER\\Software\\Gone"));
  Item("long.ac2", "\"F\",\"" + std::string(300000, 'x') + "\r\n" + Record("F", Data("3.tmp")));
  Item("empty.ac1", "");
  fake.files.AddFile(Data("keep1.tmp"));
  fake.files.AddFile(Data("keep2.tmp"));

  CleanCustomItems(context);

  EXPECT_FALSE(Exists(Data("1.tmp")));
  EXPECT_FALSE(Exists(Data("2.tmp")));
  EXPECT_FALSE(Exists(Data("3.tmp")));
  EXPECT_FALSE(fake.registry.KeyExists(HKCU, "Software\\Gone"));
  EXPECT_TRUE(Exists(Data("keep1.tmp")));
  EXPECT_TRUE(Exists(Data("keep2.tmp")));
}

}  // namespace
}  // namespace quorvane
