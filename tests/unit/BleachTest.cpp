#include "clean/Bleach.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

using fakes::FsOp;

constexpr const char* kFile = "C:\\Data\\secret.txt";

class BleachTest : public ::testing::Test, protected fakes::FakeCleanContext {};

TEST_F(BleachTest, WritesAWholeXPassThenAWholeBlankPassEachFlushedThenDeletes) {
  for (std::size_t size : {0u, 4096u, 5000u}) {
    fake.files.AddFile(kFile, std::string(size, 's'));
    fake.files.ClearCalls();
    BleachFile(context, kFile, DeleteMode::AsFound);

    // Replay the writes: what each flushed pass left on the disk.
    std::vector<std::string> passes(1);
    for (const fakes::FsCall& call : fake.files.Calls()) {
      if (call.op == FsOp::Flush) passes.emplace_back();
      if (call.op != FsOp::WriteAt) continue;
      std::string& pass = passes.back();
      pass.resize(std::max(pass.size(), call.offset + call.bytes.size()));
      pass.replace(call.offset, call.bytes.size(), call.bytes);
    }
    const std::size_t whole = (size / 4096 + 1) * 4096;
    ASSERT_EQ(passes.size(), 3u);  // two flushes, nothing written after the last
    EXPECT_TRUE(passes[2].empty());
    EXPECT_EQ(passes[0], std::string(whole, 'X'));
    EXPECT_EQ(passes[1], std::string(whole, ' '));
    EXPECT_FALSE(fake.files.Exists(kFile));
    EXPECT_TRUE(context.filesRemoved);
  }
}

// One open per file: what the file is, its overwrite and its deletion all come from it.
TEST_F(BleachTest, LinksAreOnlyRemovedAndWhatCannotBeOverwrittenIsLeftAlone) {
  fake.files.AddFile(kFile, "shared");
  fake.files.AddHardLink(kFile, "C:\\Backup\\kept.txt");
  fake.files.AddFile("C:\\Elsewhere\\target.txt", "target");
  fake.files.AddLink("C:\\Data\\link.txt", "C:\\Elsewhere\\target.txt");
  fake.files.AddFile("C:\\Data\\locked.txt", "locked");
  fake.files.SetInUse("C:\\Data\\locked.txt");
  fake.files.AddFile("C:\\Data\\readonly.txt", "r", file_attr::ReadOnly);
  fake.files.AddFile("C:\\Data\\hidden.txt", "h", file_attr::Hidden);
  fake.files.ClearCalls();
  for (const char* name :
       {"secret.txt", "link.txt", "locked.txt", "hidden.txt", "readonly.txt", "missing.txt"}) {
    BleachFile(context, std::string("C:\\Data\\") + name, DeleteMode::AsFound);
  }
  EXPECT_EQ(fake.files.CountCalls(FsOp::OpenForOverwrite), 6u);
  EXPECT_EQ(fake.files.CountCalls(FsOp::GetAttributes), 0u);
  EXPECT_FALSE(fake.files.Exists(kFile));
  EXPECT_FALSE(fake.files.Exists("C:\\Data\\link.txt"));
  EXPECT_EQ(fake.files.Content("C:\\Backup\\kept.txt"), "shared");
  EXPECT_EQ(fake.files.Content("C:\\Elsewhere\\target.txt"), "target");
  for (const char* name : {"locked.txt", "readonly.txt", "hidden.txt"}) {
    EXPECT_TRUE(fake.files.Exists(std::string("C:\\Data\\") + name)) << name;
  }
  EXPECT_EQ(fake.files.CountCalls(FsOp::WriteAt), 0u);
}

// With the attributes reset, hidden and read-only files are bleached too, but a link is
// removed as it stands: its target keeps its content and its attributes.
TEST_F(BleachTest, ResetAttributesReachesTheFileButNeverALinksTarget) {
  fake.files.AddFile(kFile, "hidden and read-only", file_attr::Hidden | file_attr::ReadOnly);
  fake.files.AddFile("C:\\Elsewhere\\target.txt", "target", file_attr::ReadOnly);
  fake.files.AddLink("C:\\Data\\link.txt", "C:\\Elsewhere\\target.txt");
  BleachFile(context, kFile, DeleteMode::ResetAttributes);
  BleachFile(context, "C:\\Data\\link.txt", DeleteMode::ResetAttributes);
  EXPECT_FALSE(fake.files.Exists(kFile));
  EXPECT_FALSE(fake.files.Exists("C:\\Data\\link.txt"));
  EXPECT_EQ(fake.files.Content("C:\\Elsewhere\\target.txt"), "target");
  EXPECT_EQ(fake.files.Attributes("C:\\Elsewhere\\target.txt"), file_attr::ReadOnly);
  EXPECT_EQ(fake.files.CountCalls(FsOp::WriteAt), 2u);  // one pass of each pattern, one file
}

}  // namespace
}  // namespace quorvane
