#include "clean/CustomItems.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

constexpr RegKey HKCU = reg_root::CurrentUser;
constexpr RegKey HKLM = reg_root::LocalMachine;

std::string Record(std::string_view kind, std::string_view target, std::string_view value = {}) {
  return "\"" + std::string(kind) + "\",\"" + std::string(target) + "\",\"" + std::string(value) +
         "\"\r\n";
}
std::string Data(std::string_view name) { return "C:\\Data\\" + std::string(name); }

class CustomItemsTest : public ::testing::Test, protected fakes::FakeCleanContext {
 protected:
  CustomItemsTest() {
    app.appFolder = "C:\\Program Files\\Quorvane";
    fake.files.AddFolder(app.CustomFolder());
  }
  void Item(std::string_view fileName, const std::string& content) {
    fake.files.AddFile(app.CustomFolder() + "\\" + std::string(fileName), content);
  }
};

TEST_F(CustomItemsTest, TheKindDecidesAndOnlyExactAbsolutePathsBelowARootAreCleaned) {
  fake.registry.SetString(HKCU, "Software\\Example\\Recent\\Inner", "File1", "x");
  fake.registry.SetString(HKCU, "Software\\Example", "LastFile", "x");
  fake.registry.SetString(HKCU, "Software\\Keep", "Value", "keep");
  fake.registry.SetString(HKLM, "Software\\Keep", "Value", "keep");
  // A whole root is never deleted, however the sub-key is left out.
  Item("Roots.ac1",
       Record("K", "hkey_current_user\\Software\\Keep") + Record("K", "HKCU\\Software\\Keep") +
           Record("K", "HKEY_CURRENT_USERSoftware\\Keep") +
           Record("V", "HKEY_CURRENT_USER", "Value") + Record("K", "HKEY_CURRENT_USER\\") +
           Record("K", "HKEY_LOCAL_MACHINE\\\\\\"));
  for (const char* name : {"old.chk", "Sub\\deeper.chk", "a.tmp", "1.tmp"}) {
    fake.files.AddFile(Data(name));
  }
  fake.files.AddFolder(Data("Folder.chk"));
  Item("Keys.ac2", Record("K", "HKEY_CURRENT_USER\\Software\\Example\\Recent"));
  Item("Values.txt", Record("V", "HKEY_CURRENT_USER\\Software\\Example", "LastFile"));
  // Relative patterns would be resolved against the program's current folder.
  Item("Files", Record("F", Data("*.chk")) + Record("F", Data("Sub")) + Record("F", "NoSeparator") +
                    Record("F", "Data\\*.tmp") + Record("F", "C:Data\\*.tmp") +
                    Record("F", "\\Data\\*.tmp") + Record("F", "1:\\Data\\*.tmp"));
  Item("Nested\\Item.ac2", Record("F", Data("a.tmp")));
  Item("binary.ac1", std::string("\x01\xff\0,,\r\n", 7));
  Item("damaged.ac2", "\"F\",\"C:\\Data\\\"*.tmp\",\"\"\r\n\"F\",\"" + std::string(300000, 'x') +
                          "\r\n" + Record("F", Data("1.tmp")));
  CleanCustomItems(context);
  EXPECT_FALSE(fake.registry.KeyExists(HKCU, "Software\\Example\\Recent"));
  EXPECT_TRUE(fake.registry.ValueNames(HKCU, "Software\\Example").empty());
  EXPECT_TRUE(fake.registry.GetValue(HKCU, "Software\\Keep", "Value"));
  EXPECT_TRUE(fake.registry.GetValue(HKLM, "Software\\Keep", "Value"));
  EXPECT_FALSE(fake.files.Exists(Data("old.chk")));
  EXPECT_FALSE(fake.files.Exists(Data("1.tmp")));
  for (const char* name : {"Sub\\deeper.chk", "Folder.chk", "a.tmp"}) {
    EXPECT_TRUE(fake.files.Exists(Data(name))) << name;
  }
  for (const fakes::FsCall& call : fake.files.Calls()) {
    EXPECT_TRUE(call.op != fakes::FsOp::ListDirectory || call.path.starts_with("C:\\"))
        << call.path;
  }
}

TEST_F(CustomItemsTest, PatternRemovesEveryMatchButAFileInUseWithAndWithoutBleach) {
  for (bool bleach : {false, true}) {
    ASSERT_TRUE(settings.Write(keys::AddBleach, bleach ? "1" : "0"));
    fake.files.AddFile(Data("b.tmp"), "hidden", file_attr::Hidden);
    fake.files.AddFile(Data("c.tmp"), "read-only", file_attr::ReadOnly);
    fake.files.AddFile(Data("busy.tmp"), "locked");
    fake.files.SetInUse(Data("busy.tmp"));
    fake.files.ClearCalls();
    Item("Temp.ac2", Record("F", Data("*.tmp")));
    CleanCustomItems(context);
    for (const char* name : {"b.tmp", "c.tmp"}) EXPECT_FALSE(fake.files.Exists(Data(name)));
    EXPECT_EQ(fake.files.Content(Data("busy.tmp")), "locked");
    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::OpenForOverwrite), bleach ? 3u : 0u);
  }
}

// A pattern that matches a link removes the link; the file it leads to keeps its content and
// its attributes, which are reset only on files that are no link.
TEST_F(CustomItemsTest, AMatchedLinkGoesAsALinkAndItsTargetKeepsItsAttributes) {
  for (bool bleach : {false, true}) {
    ASSERT_TRUE(settings.Write(keys::AddBleach, bleach ? "1" : "0"));
    fake.files.AddFile("D:\\Keep\\target.log", "keep", file_attr::ReadOnly | file_attr::Hidden);
    fake.files.AddLink(Data("link.log"), "D:\\Keep\\target.log");
    Item("Logs.ac2", Record("F", Data("*.log")));
    CleanCustomItems(context);
    EXPECT_FALSE(fake.files.Exists(Data("link.log")));
    EXPECT_EQ(fake.files.Content("D:\\Keep\\target.log"), "keep");
    EXPECT_EQ(fake.files.Attributes("D:\\Keep\\target.log"),
              file_attr::ReadOnly | file_attr::Hidden);
  }
}

}  // namespace
}  // namespace quorvane
