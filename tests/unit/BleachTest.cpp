#include "clean/Bleach.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

using fakes::FsCall;
using fakes::FsOp;

constexpr const char* kFile = "C:\\Data\\secret.txt";

class BleachTest : public ::testing::Test, protected fakes::FakeCleanContext {
 protected:
  BleachTest() { app.appFolder = "C:\\Program Files\\Quorvane"; }

  // The calls made on `path` from opening it on, without the look-ups before.
  std::vector<FsCall> WritesAndDelete() const {
    std::vector<FsCall> calls;
    bool opened = false;
    for (const FsCall& call : fake.files.Calls()) {
      opened = opened || call.op == FsOp::OpenForOverwrite;
      if (opened || call.op == FsOp::DeleteFile) calls.push_back(call);
    }
    return calls;
  }
};

// What the disk holds after each pass: the bytes written since the previous flush, laid
// over the content before it.
struct Pass {
  std::string content;
  int writes = 0;
};

TEST_F(BleachTest, WritesAWholeXPassThenAWholeBlankPassEachFlushedThenDeletes) {
  for (std::uint64_t size : {0u, 4095u, 4096u, 1048576u + 10u}) {
    SCOPED_TRACE(size);
    fake.files.AddFile(kFile, std::string(size, 's'));
    fake.files.ClearCalls();
    context.filesRemoved = false;
    const std::uint64_t blocks = size / 4096 + 1;

    BleachFile(context, kFile);

    EXPECT_FALSE(fake.files.Exists(kFile));
    EXPECT_TRUE(context.filesRemoved);
    const auto calls = WritesAndDelete();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().op, FsOp::OpenForOverwrite);
    // Replay the calls: each pass covers every block with its own byte before its flush.
    std::vector<Pass> passes(1);
    std::size_t i = 1;
    for (; i < calls.size() && calls[i].op != FsOp::Close; ++i) {
      const FsCall& call = calls[i];
      if (call.op == FsOp::Flush) {
        passes.push_back({passes.back().content, 0});
        continue;
      }
      ASSERT_EQ(call.op, FsOp::WriteAt);
      std::string& content = passes.back().content;
      content.resize(std::max<std::size_t>(content.size(), call.offset + call.bytes.size()));
      content.replace(call.offset, call.bytes.size(), call.bytes);
      ++passes.back().writes;
    }
    ASSERT_EQ(passes.size(), 3u) << "two flushed passes, nothing written after the last flush";
    EXPECT_EQ(passes[2].writes, 0);
    EXPECT_EQ(passes[0].content, std::string(blocks * 4096, 'X'));
    EXPECT_EQ(passes[1].content, std::string(blocks * 4096, ' '));
    // Large pieces, not one call per block.
    EXPECT_LE(passes[0].writes, static_cast<int>(blocks / 256 + 1));
    // The file is closed before it is deleted, and nothing follows the delete.
    ASSERT_EQ(calls.size(), i + 2);
    EXPECT_EQ(calls[i].op, FsOp::Close);
    EXPECT_EQ(calls[i + 1].op, FsOp::DeleteFile);
    EXPECT_EQ(calls[i + 1].result, FsResult::Ok);
  }
}

TEST_F(BleachTest, HardLinksAndLinksAreOnlyRemovedAndWhatTheyShareKeepsItsContent) {
  fake.files.AddFile(kFile, "shared content");
  fake.files.AddHardLink(kFile, "C:\\Backup\\kept.txt");
  fake.files.AddFile("C:\\Elsewhere\\target.txt", "target content");
  fake.files.AddLink("C:\\Data\\link.txt", "C:\\Elsewhere\\target.txt");

  BleachFile(context, kFile);
  BleachFile(context, "C:\\Data\\link.txt");

  EXPECT_FALSE(fake.files.Exists(kFile));
  EXPECT_FALSE(fake.files.Exists("C:\\Data\\link.txt"));
  EXPECT_EQ(fake.files.Content("C:\\Backup\\kept.txt"), "shared content");
  EXPECT_EQ(fake.files.Content("C:\\Elsewhere\\target.txt"), "target content");
  EXPECT_EQ(fake.files.CountCalls(FsOp::OpenForOverwrite), 0u);
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(BleachTest, InUseMissingHiddenSystemReadOnlyAndFolderPathsAreNotTouched) {
  fake.files.AddFile(kFile, "locked");
  fake.files.SetInUse(kFile);
  fake.files.AddFile("C:\\Data\\hidden.txt", "h", file_attr::Hidden);
  fake.files.AddFile("C:\\Data\\system.txt", "s", file_attr::System);
  // A read-only file is a normal file to the listing, but cannot be opened for writing:
  // it is left as it is (the custom items reset attributes first).
  fake.files.AddFile("C:\\Data\\readonly.txt", "r", file_attr::ReadOnly);
  fake.files.AddFolder("C:\\Data\\Folder");

  for (const char* path :
       {kFile, "C:\\Data\\missing.txt", "C:\\Data\\hidden.txt", "C:\\Data\\system.txt",
        "C:\\Data\\readonly.txt", "C:\\Data\\Folder", "C:\\Data\\*.txt"}) {
    BleachFile(context, path);
  }
  EXPECT_EQ(fake.files.Content(kFile), "locked");
  EXPECT_EQ(fake.files.Content("C:\\Data\\readonly.txt"), "r");
  EXPECT_EQ(fake.files.CountCalls(FsOp::WriteAt), 0u);
  EXPECT_EQ(fake.files.CountCalls(FsOp::DeleteFile), 0u);
  EXPECT_FALSE(context.filesRemoved);
}

}  // namespace
}  // namespace quorvane
