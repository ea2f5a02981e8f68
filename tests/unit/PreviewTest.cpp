// The preview runs the clean over a platform that records instead of changing anything: it
// must leave every store as it was, and list exactly what the clean then removes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "companion/CleanCommand.h"
#include "companion/RecordingPlatform.h"
#include "fakes/FakePlatform.h"

namespace quorvane::companion {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
constexpr RegKey HKCU = reg_root::CurrentUser;

const std::string kApp = "C:\\Program Files\\Quorvane";
const std::string kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

std::string Record(std::string_view kind, std::string_view path, std::string_view value = "") {
  return "\"" + std::string(kind) + "\",\"" + std::string(path) + "\",\"" + std::string(value) +
         "\"\r\n";
}

class PreviewTest : public ::testing::Test {
 protected:
  PreviewTest() {
    fake.files.AddDrive('C', DriveType::Fixed, 1'000'000, 10'000'000);
    fake.shell.applicationFolder = kApp;
    const std::string ini = kApp + "\\Local.Ini";
    fake.files.AddFile(ini);
    fake.profile.SetFileContent(
        ini,
        "[Standard Options]\r\nRunHistory=1\r\nTempFiles=1\r\nRecycleBin=1\r\n"
        "DocumentHistory=1\r\n[IEOptions]\r\nIE=1\r\nTempIEFiles=1\r\nCleanHistory=1\r\n"
        "IEConrolPanel=1\r\n[Wash Options]\r\nAddBleach=1\r\n");

    fake.shell.tempPath = "C:\\Temp\\";
    fake.files.AddFile("C:\\Temp\\a.tmp", "0123456789");
    fake.files.AddFile("C:\\Temp\\read-only.tmp", "ro", file_attr::ReadOnly);
    fake.files.AddFile("C:\\Temp\\setup\\deep\\b.log", "12345");
    fake.files.AddFile("C:\\Data\\old.tmp", "old");
    fake.files.AddFile("C:\\Data\\keep.txt", "keep");
    fake.files.AddFile(kApp + "\\Custom\\Junk.ac2", Record("F", "C:\\Data\\*.tmp"));
    fake.files.AddFile(kApp + "\\Custom\\Junk.ac1",
                       Record("K", "HKEY_CURRENT_USER\\Software\\Test\\Gone") +
                           Record("V", "HKEY_CURRENT_USER\\Software\\Test", "Drop") +
                           Record("K", "HKEY_CURRENT_USER\\Software\\Locked"));
    fake.registry.SetString(HKCU, "Software\\Test\\Gone\\Deeper", "x", "1");
    fake.registry.SetString(HKCU, "Software\\Test", "Drop", "x");
    fake.registry.SetString(HKCU, "Software\\Test", "Keep", "x");
    fake.registry.SetString(HKCU, "Software\\Locked", "x", "1");
    fake.registry.SetProtected(HKCU, "Software\\Locked");
    fake.registry.SetString(HKCU, kRunMru, "MRUList", "ba");
    fake.registry.SetString(HKCU, kRunMru, "a", "notepad");
    fake.registry.SetString(HKCU, kRunMru, "b", "regedit");
    fake.registry.SetString(HKCU, kTypedUrls, "url1", "http://typed.example/");
    fake.urlCache.AddEntry("http://example.com/a.html", url_cache_entry::Normal);
    fake.urlCache.AddEntry("Cookie:user@example.com/", url_cache_entry::Cookie);
    fake.urlCache.AddEntry("http://example.com/b.css", url_cache_entry::Normal);
  }

  nlohmann::json Run(RunKind kind) {
    CollectedOutput out;
    Platform platform = fake.platform();
    RunCleanCommand(platform, kind, true, out);
    EXPECT_FALSE(out.lines.empty());
    // Message boxes of the run come first; the document is the last line.
    return nlohmann::json::parse(out.lines.empty() ? "null" : out.lines.back());
  }

  fakes::FakePlatform fake;
};

TEST_F(PreviewTest, APreviewChangesNothingAndListsExactlyWhatTheCleanRemoves) {
  const nlohmann::json preview = Run(RunKind::Preview);

  for (fakes::FsOp op : {fakes::FsOp::DeleteFile, fakes::FsOp::RemoveDirectory,
                         fakes::FsOp::OpenForOverwrite, fakes::FsOp::WriteAt}) {
    EXPECT_EQ(fake.files.CountCalls(op), 0u) << static_cast<int>(op);
  }
  for (const char* file :
       {"C:\\Temp\\a.tmp", "C:\\Temp\\setup\\deep\\b.log", "C:\\Data\\old.tmp"}) {
    EXPECT_TRUE(fake.files.Exists(file)) << file;
  }
  EXPECT_EQ(fake.files.Content("C:\\Temp\\a.tmp"), "0123456789");  // not bleached
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kRunMru), ElementsAre("MRUList", "a", "b"));
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kTypedUrls), ElementsAre("url1"));
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, "Software\\Test\\Gone\\Deeper"));
  EXPECT_THAT(fake.registry.ValueNames(HKCU, "Software\\Test"), ElementsAre("Drop", "Keep"));
  EXPECT_EQ(fake.urlCache.Urls().size(), 3u);
  EXPECT_EQ(fake.urlCache.OpenFinds(), 0u);
  EXPECT_THAT(fake.shell.recycleBinCalls, IsEmpty());
  EXPECT_THAT(fake.shell.startedPrograms, IsEmpty());
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);

  EXPECT_EQ(preview["mode"], "preview");
  const nlohmann::json clean = Run(RunKind::Clean);
  EXPECT_EQ(clean["mode"], "clean");
  EXPECT_EQ(preview["targets"], clean["targets"]);
  EXPECT_EQ(preview["totals"], clean["totals"]);
  // The run really removed things, so the comparison above is not between two empty lists.
  EXPECT_EQ(
      clean["totals"],
      (nlohmann::json{
          {"files", 4}, {"bytes", 20}, {"folders", 2}, {"keys", 3}, {"values", 4}, {"urls", 2}}))
      << clean.dump(1);
  EXPECT_FALSE(fake.files.Exists("C:\\Temp\\setup"));
  EXPECT_FALSE(fake.files.Exists("C:\\Temp\\read-only.tmp"));
  EXPECT_TRUE(fake.files.Exists("C:\\Data\\keep.txt"));
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, "Software\\Locked"));
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, kTypedUrls));  // made again, empty
}

TEST(RecordingFileSystemTest, ChangesShowInLaterCallsAndNeverReachTheDisk) {
  fakes::FakeFileSystem disk;
  disk.AddFile("C:\\T\\a.txt", "aaa");
  disk.AddFile("C:\\T\\ro.txt", "r", file_attr::ReadOnly);
  disk.AddFile("C:\\T\\Sub\\b.txt", "bb");
  RecordingFileSystem files(disk);
  auto names = [&](std::string_view folder) {
    std::vector<DirEntry> entries;
    std::vector<std::string> listed;
    if (files.ListDirectory(folder, entries) != FsResult::Ok) return std::vector<std::string>{"?"};
    for (const DirEntry& entry : entries) listed.push_back(entry.name);
    return listed;
  };

  constexpr auto kAsFound = DeleteMode::AsFound;
  EXPECT_EQ(files.DeleteFile("c:\\t\\A.TXT", kAsFound), FsResult::Ok);  // case-blind, as Windows
  EXPECT_EQ(files.DeleteFile("C:\\T\\a.txt", kAsFound), FsResult::NotFound);
  std::uint32_t attrs = 0;
  std::string bytes;
  EXPECT_EQ(files.GetAttributes("C:\\T\\a.txt", attrs), FsResult::NotFound);
  EXPECT_EQ(files.ReadFile("C:\\T\\a.txt", bytes), FsResult::NotFound);

  // A read-only file goes only when the deletion may reset it, as on the disk.
  EXPECT_EQ(files.DeleteFile("C:\\T\\ro.txt", kAsFound), FsResult::AccessDenied);
  EXPECT_EQ(files.DeleteFile("C:\\T\\ro.txt", DeleteMode::ResetAttributes), FsResult::Ok);

  EXPECT_EQ(files.RemoveDirectory("C:\\T\\Sub"), FsResult::NotEmpty);
  // The overwrite before a deletion writes nothing; the deletion through the open file is
  // recorded like any other.
  FsResult opened = FsResult::Failed;
  auto file = files.OpenForOverwrite("C:\\T\\Sub\\b.txt", kAsFound, opened);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), 2u);
  EXPECT_EQ(file->WriteAt(0, "xx"), FsResult::Ok);
  EXPECT_EQ(file->Delete(), FsResult::Ok);
  EXPECT_EQ(files.RemoveDirectory("C:\\T\\Sub\\"), FsResult::Ok);
  EXPECT_THAT(names("C:\\T"), IsEmpty());
  // A folder made again is there and empty, though the disk still holds the old content.
  EXPECT_EQ(files.CreateDirectory("C:\\T\\Sub"), FsResult::Ok);
  EXPECT_THAT(names("C:\\T"), ElementsAre("Sub"));
  EXPECT_THAT(names("C:\\T\\Sub"), IsEmpty());
  EXPECT_EQ(files.GetAttributes("C:\\T\\Sub\\b.txt", attrs), FsResult::NotFound);
  EXPECT_EQ(files.WriteFile("C:\\T\\Sub\\new.txt", "12345"), FsResult::Ok);
  std::uint64_t size = 0;
  EXPECT_EQ(files.GetFileSize("C:\\T\\Sub\\new.txt", size), FsResult::Ok);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(files.ReadFile("C:\\T\\Sub\\new.txt", bytes), FsResult::Ok);
  EXPECT_EQ(bytes, "12345");
  EXPECT_EQ(files.CreateDirectory("C:\\Missing\\Sub"), FsResult::NotFound);

  EXPECT_EQ(files.OpenForOverwrite("C:\\T\\Sub\\b.txt", kAsFound, opened), nullptr);
  EXPECT_EQ(opened, FsResult::NotFound);

  EXPECT_EQ(disk.Content("C:\\T\\a.txt"), "aaa");
  EXPECT_EQ(disk.Attributes("C:\\T\\ro.txt"), file_attr::ReadOnly);
  EXPECT_EQ(disk.Content("C:\\T\\Sub\\b.txt"), "bb");
  EXPECT_FALSE(disk.Exists("C:\\T\\Sub\\new.txt"));
  EXPECT_EQ(disk.CountCalls(fakes::FsOp::DeleteFile), 0u);
  EXPECT_EQ(disk.CountCalls(fakes::FsOp::RemoveDirectory), 0u);
}

TEST(RecordingRegistryTest, ChangesShowInLaterCallsAndNeverReachTheRegistry) {
  fakes::FakeRegistry real;
  real.SetString(HKCU, "Software\\A\\B\\C", "v", "1");
  real.SetString(HKCU, "Software\\A", "one", "1");
  real.SetString(HKCU, "Software\\A", "two", "22");
  real.SetString(HKCU, "Software\\Locked", "v", "1");
  real.SetProtected(HKCU, "Software\\Locked");
  RecordingRegistry registry(real);
  auto subKeys = [&](std::string_view path) {
    std::vector<std::string> names;
    RegKey key = 0;
    if (registry.OpenKey(HKCU, path, 0, key) != reg_status::Success) return names;
    std::string name;
    for (std::uint32_t i = 0; registry.EnumKey(key, i, 256, name) == reg_status::Success; ++i) {
      names.push_back(name);
    }
    (void)registry.CloseKey(key);
    return names;
  };

  EXPECT_EQ(registry.DeleteKey(HKCU, "Software\\A\\B"), reg_status::AccessDenied);  // has C
  EXPECT_EQ(registry.DeleteKey(HKCU, "Software\\A\\B\\C"), reg_status::Success);
  EXPECT_EQ(registry.DeleteKey(HKCU, "software\\a\\b\\c"), reg_status::NotFound);
  RegKey a = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "Software\\A", 0, a), reg_status::Success);
  EXPECT_EQ(registry.DeleteKey(a, "B"), reg_status::Success);
  RegKey gone = 0;
  EXPECT_EQ(registry.OpenKey(HKCU, "Software\\A\\B\\C", 0, gone), reg_status::NotFound);
  EXPECT_THAT(subKeys("Software\\A"), IsEmpty());
  EXPECT_EQ(registry.DeleteKey(HKCU, "Software\\Locked"), reg_status::AccessDenied);

  EXPECT_EQ(registry.DeleteValue(a, "one"), reg_status::Success);
  KeyInfo info;
  ASSERT_EQ(registry.QueryInfoKey(a, info), reg_status::Success);
  EXPECT_EQ(info.SubKeyCount, 0u);
  EXPECT_EQ(info.ValueCount, 1u);
  std::string name, data;
  std::uint32_t type = 0, size = 8;
  EXPECT_EQ(registry.EnumValue(a, 0, 16, name, &type, &data, 8), reg_status::Success);
  EXPECT_EQ(name, "two");
  EXPECT_EQ(registry.QueryValue(a, "one", type, &data, size), reg_status::NotFound);
  EXPECT_EQ(registry.SetValue(a, "three", reg_type::String, "333"), reg_status::Success);
  size = 8;
  EXPECT_EQ(registry.QueryValue(a, "three", type, &data, size), reg_status::Success);
  EXPECT_EQ(data, "333");
  EXPECT_EQ(registry.CloseKey(a), reg_status::Success);

  // A key made again after its deletion is there and empty.
  RegKey made = 0;
  ASSERT_EQ(registry.CreateKey(HKCU, "Software\\A\\B\\C\\D", made), reg_status::Success);
  EXPECT_THAT(subKeys("Software\\A\\B"), ElementsAre("C"));
  ASSERT_EQ(registry.QueryInfoKey(made, info), reg_status::Success);
  EXPECT_EQ(info.ValueCount, 0u);
  EXPECT_EQ(registry.CloseKey(made), reg_status::Success);

  EXPECT_TRUE(real.KeyExists(HKCU, "Software\\A\\B\\C"));
  EXPECT_FALSE(real.KeyExists(HKCU, "Software\\A\\B\\C\\D"));
  EXPECT_THAT(real.ValueNames(HKCU, "Software\\A"), ElementsAre("one", "two"));
  EXPECT_EQ(real.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quorvane::companion
