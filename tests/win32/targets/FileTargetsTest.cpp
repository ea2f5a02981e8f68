// The temporary folder on real files, pointed at a sandbox folder: the real one holds the
// sandbox itself.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "clean/WindowsTargets.h"
#include "core/Reg32.h"
#include "core/platform/ForwardingShell.h"
#include "support/GuiDriver.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32Platform.h"

namespace quorvane::testing {
namespace {

using win32::Widen;

class TempPathShell final : public ForwardingShell {
 public:
  using ForwardingShell::ForwardingShell;
  std::string GetTempPath() override { return tempPath; }
  // The system's protected folders and one more in the sandbox, standing for a profile.
  ProtectedFolderList ProtectedFolders() override {
    ProtectedFolderList list = ForwardingShell::ProtectedFolders();
    if (!alsoProtected.empty()) list.folders.push_back(alsoProtected);
    return list;
  }
  std::string tempPath;
  std::string alsoProtected;
};

bool Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string UnixPath(const std::string& path) {
  using Convert = char*(CDECL*)(LPCWSTR);
  const auto convert = reinterpret_cast<Convert>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  char* converted = convert ? convert(Widen(path).c_str()) : nullptr;
  const std::string result = converted ? converted : "";
  HeapFree(GetProcessHeap(), 0, converted);
  return result;
}

// No Windows call makes or removes a host link under Wine, so the host's own tools do. Wine
// starts a host program without a handle to wait on: the link's coming or going tells.
bool RunHostTool(const std::string& arguments, const std::string& link, bool linkAfter) {
  RunningProgram tool("Z:\\bin\\sh -c \"" + arguments + "\"", "C:\\");
  return WaitUntil([&] { return Exists(link) == linkAfter; }, 10000);
}

class TargetsTest : public ::testing::Test {
 protected:
  // The sandbox cannot go while a host link is left in it.
  ~TargetsTest() override {
    for (const std::string& link : links) {
      EXPECT_TRUE(RunHostTool("rm -f '" + UnixPath(link) + "'", link, false)) << link;
    }
  }

  bool Link(const std::string& target, const std::string& link) {
    links.push_back(sandbox / link);
    const std::string from = UnixPath(sandbox / target), to = UnixPath(links.back());
    return !from.empty() && !to.empty() &&
           RunHostTool("ln -s '" + from + "' '" + to + "'", links.back(), true);
  }

  win32::Win32Platform real;
  Platform base = real.platform();
  TempPathShell shell{base.shell};
  Platform platform{base.registry, base.profile, base.userSettings, base.files,     shell,
                    base.windows,  base.codec,   base.urlCache,     base.urlHistory};
  Reg32 reg{platform.registry, platform.windows};
  Sandbox sandbox;
  Settings settings{platform.profile, sandbox / "Local.Ini"};
  AppContext app;
  CleanContext context{platform, reg, settings, app};
  std::vector<std::string> links;
};

TEST_F(TargetsTest, TempFolderKeepsSystemFilesHiddenFoldersAndWhatLinksPointAtUnlessUnsafe) {
  sandbox.WriteFile("beside.txt", "the parent is not touched");
  sandbox.WriteFile("Outside\\precious.txt", "keep me");
  sandbox.WriteFile("Outside\\sub\\more.txt", "and me");
  sandbox.MakeFolder("Temp\\nested");
  ASSERT_TRUE(Link("Outside", "Temp\\link"));
  ASSERT_TRUE(Link("Outside\\sub", "Temp\\nested\\inner-link"));
  const std::tuple<const char*, DWORD, bool> seeded[] = {
      {"plain.tmp", FILE_ATTRIBUTE_NORMAL, false},
      {"hidden.tmp", FILE_ATTRIBUTE_HIDDEN, false},
      {"readonly.tmp", FILE_ATTRIBUTE_READONLY, false},
      {"tree\\deep\\readonly.txt", FILE_ATTRIBUTE_READONLY, false},
      {"tree\\deep\\system.txt", FILE_ATTRIBUTE_SYSTEM, false},
      {"system.tmp", FILE_ATTRIBUTE_SYSTEM, true},
      {"hidden-folder\\kept.txt", FILE_ATTRIBUTE_NORMAL, true}};
  for (const auto& [name, attributes, stays] : seeded) {
    sandbox.WriteFile("Temp\\" + std::string(name), "x");
    ASSERT_TRUE(
        SetFileAttributesW(Widen(sandbox / ("Temp\\" + std::string(name))).c_str(), attributes));
  }
  ASSERT_TRUE(
      SetFileAttributesW(Widen(sandbox / "Temp\\hidden-folder").c_str(), FILE_ATTRIBUTE_HIDDEN));
  // A temporary folder that is empty, relative, a drive root or protected is left alone.
  for (const std::string& temp : {std::string(), std::string("Temp\\"), std::string("C:\\"),
                                  std::string("C:"), shell.ProtectedFolders().folders.front()}) {
    shell.tempPath = temp;
    CleanTempFiles(context);
    ASSERT_TRUE(sandbox.Exists("Temp\\plain.tmp")) << temp;
  }
  EXPECT_TRUE(Exists("C:\\windows\\win.ini"));

  shell.tempPath = sandbox / "Temp\\";
  CleanTempFiles(context);

  for (const auto& [name, attributes, stays] : seeded) {
    EXPECT_EQ(sandbox.Exists("Temp\\" + std::string(name)), stays) << name;
  }
  EXPECT_FALSE(sandbox.Exists("Temp\\tree"));
  EXPECT_EQ(sandbox.ReadFile("beside.txt"), "the parent is not touched");
  EXPECT_EQ(sandbox.ReadFile("Outside\\precious.txt"), "keep me");
  EXPECT_EQ(sandbox.ReadFile("Outside\\sub\\more.txt"), "and me");
}

// The temporary folder is judged by where it leads: a link to a protected folder leaves that
// folder untouched, a link to a folder elsewhere (the temporary folder moved) is cleaned.
TEST_F(TargetsTest, TempFolderThatIsALinkIsJudgedByWhereItLeads) {
  sandbox.WriteFile("Profile\\thesis.doc", "keep me");
  sandbox.WriteFile("Moved\\old.tmp", "go");
  ASSERT_TRUE(Link("Profile", "TempToProfile"));
  ASSERT_TRUE(Link("Moved", "TempMoved"));
  shell.alsoProtected = sandbox / "Profile";
  shell.tempPath = sandbox / "TempToProfile\\";
  CleanTempFiles(context);
  EXPECT_EQ(sandbox.ReadFile("Profile\\thesis.doc"), "keep me");
  shell.tempPath = sandbox / "TempMoved\\";
  CleanTempFiles(context);
  EXPECT_FALSE(sandbox.Exists("Moved\\old.tmp"));
}

// Under Wine the bin is the host user's trash: it is pointed into the sandbox, so that the
// test neither needs nor empties a real one.
TEST_F(TargetsTest, RecycleBinIsEmptied) {
  const std::string data = UnixPath(sandbox / "data");
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(SetEnvironmentVariableW(L"XDG_DATA_HOME", Widen(data).c_str()));
  sandbox.WriteFile("data\\Trash\\files\\old.txt", "thrown away");
  sandbox.WriteFile("data\\Trash\\info\\old.txt.trashinfo",
                    "[Trash Info]\nPath=/tmp/old.txt\nDeletionDate=2024-01-01T00:00:00\n");

  EmptyRecycleBin(context, "", true, true, true);
  EXPECT_FALSE(sandbox.Exists("data\\Trash\\files\\old.txt"));
  SetEnvironmentVariableW(L"XDG_DATA_HOME", nullptr);
}

}  // namespace
}  // namespace quorvane::testing
