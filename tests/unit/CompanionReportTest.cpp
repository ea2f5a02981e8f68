#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "companion/CompanionLog.h"
#include "companion/ItemReport.h"
#include "fakes/FakeFileSystem.h"

namespace quorvane::companion {
namespace {

TEST(ReportJsonTest, NamesOfEveryKindSurviveTheDocumentAndBadBytesAreReplaced) {
  const std::string awkward =
      "C:\\Temp\\\"quoted\" \\\\back\tslash\x01\x1f"
      "\xc3\xa9t\xc3\xa9 \xe6\x97\xa5.tmp";
  ItemReport report;
  report.BeginTarget(" Windows Run History");
  report.Removed({RemovedItem::Kind::Value, "HKEY_CURRENT_USER\\Software\\X", "a\"b\\c", 0});
  report.BeginTarget("Temporary Files Directory");
  report.Removed({RemovedItem::Kind::File, awkward, {}, 1536});
  report.Removed({RemovedItem::Kind::Folder, "C:\\Temp\\bad\xff\xfe", {}, 0});
  report.Removed({RemovedItem::Kind::Url, "http://example.com/?q=\"x\"", {}, 0});
  report.Removed({RemovedItem::Kind::Key, "HKEY_CURRENT_USER\\Software\\X\\Y", {}, 0});
  RemovalCounts totals;
  totals.files = 1;
  totals.bytes = 1536;
  totals.folders = 1;

  const std::string text = ReportJson(RunKind::Preview, report.Targets(), totals);
  EXPECT_EQ(text.find('\n'), std::string::npos);  // one line, one document
  // Throws on invalid UTF-8 and on a raw control character.
  const nlohmann::json json = nlohmann::json::parse(text);

  EXPECT_EQ(json["mode"], "preview");
  ASSERT_EQ(json["targets"].size(), 2u);
  EXPECT_EQ(json["targets"][0]["target"], "Windows Run History");
  EXPECT_EQ(
      json["targets"][0]["items"][0],
      (nlohmann::json{
          {"type", "value"}, {"path", "HKEY_CURRENT_USER\\Software\\X"}, {"name", "a\"b\\c"}}));
  const nlohmann::json& items = json["targets"][1]["items"];
  EXPECT_EQ(items[0], (nlohmann::json{{"type", "file"}, {"path", awkward}, {"bytes", 1536}}));
  EXPECT_EQ(items[1]["path"], "C:\\Temp\\bad\xef\xbf\xbd\xef\xbf\xbd");  // U+FFFD twice
  EXPECT_EQ(items[2], (nlohmann::json{{"type", "url"}, {"url", "http://example.com/?q=\"x\""}}));
  EXPECT_EQ(items[3],
            (nlohmann::json{{"type", "key"}, {"path", "HKEY_CURRENT_USER\\Software\\X\\Y"}}));
  EXPECT_EQ(
      json["totals"],
      (nlohmann::json{
          {"files", 1}, {"bytes", 1536}, {"folders", 1}, {"keys", 0}, {"values", 0}, {"urls", 0}}));
}

TEST(PreviewTextTest, ItemLinesAndTotals) {
  EXPECT_EQ(ItemLine({RemovedItem::Kind::File, "C:\\a.tmp", {}, 1}),
            "  file    C:\\a.tmp (1 byte)");
  EXPECT_EQ(ItemLine({RemovedItem::Kind::Value, "HKEY_CURRENT_USER\\X", "v", 0}),
            "  value   HKEY_CURRENT_USER\\X \"v\"");
  RemovalCounts totals;
  totals.files = 2;
  totals.bytes = 1536;
  totals.registryKeys = 1;
  totals.folders = 1;
  totals.urls = 3;
  EXPECT_EQ(PreviewSummary(totals),
            "Would remove: 2 files (1,536 bytes), 1 registry key, 0 registry values, 1 folder, "
            "3 cache entries");
}

TEST(CompanionLogTest, TheLogGrowsByWholeLinesAndKeepsOnlyItsNewestPart) {
  EXPECT_EQ(KeepTail("short\r\n", 100), "short\r\n");
  EXPECT_EQ(KeepTail("first line\r\nsecond\r\n", 10), "second\r\n");
  EXPECT_EQ(KeepTail("first\r\nsecond\r\n", 8), "second\r\n");  // cut right after a line end
  EXPECT_EQ(KeepTail("one very long line", 5), "");

  fakes::FakeFileSystem files;
  const std::string folder = "C:\\Users\\u\\AppData\\Local\\Quorvane";
  files.AddFolder("C:\\Users\\u\\AppData\\Local");
  AppendToLog(files, folder, {"2026-12-07 10:00:00 logon", "Custom Clean Items: done"});
  AppendToLog(files, folder, {"2026-12-07 18:00:00 shutdown"});
  EXPECT_EQ(files.Content(folder + "\\Kelverin.log"),
            "2026-12-07 10:00:00 logon\r\nCustom Clean Items: done\r\n"
            "2026-12-07 18:00:00 shutdown\r\n");

  const std::string line(99'998, 'x');
  for (int i = 0; i < 12; ++i) AppendToLog(files, folder, {line});
  const std::string log = files.Content(folder + "\\Kelverin.log");
  EXPECT_LE(log.size(), kLogLimit);
  EXPECT_GT(log.size(), kLogLimit - 100'000);
  EXPECT_TRUE(log.starts_with(line + "\r\n"));
}

}  // namespace
}  // namespace quorvane::companion
