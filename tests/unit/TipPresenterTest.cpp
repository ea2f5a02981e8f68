#include "tips/TipPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/AppContext.h"
#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SplitTipLinesTest, CarriageReturnsEndLinesAndLineFeedsStayInside) {
  EXPECT_THAT(SplitTipLines("one\r\ntwo\r\nthree"), ElementsAre("one", "two", "three"));
  EXPECT_THAT(SplitTipLines("one\rtwo\r"), ElementsAre("one", "two"));
  EXPECT_THAT(SplitTipLines("one\ntwo\r\n"), ElementsAre("one\ntwo"));
  EXPECT_THAT(SplitTipLines("a\r\r\nc"), ElementsAre("a", "", "c"));
  EXPECT_THAT(SplitTipLines("  padded  \r\n"), ElementsAre("  padded  "));
  EXPECT_THAT(SplitTipLines(""), IsEmpty());
}

class TipPresenterTest : public ::testing::Test {
 protected:
  TipPresenterTest() { app.appFolder = "C:\\Program Files\\Quorvane"; }

  std::string TipsPath() const { return app.appFolder + "\\TIPOFDAY.TXT"; }
  // A tip window whose generator returns the given numbers in turn, the last one for ever.
  std::unique_ptr<TipPresenter> OpenWindow(std::vector<double> draws) {
    auto next = std::make_shared<std::size_t>(0);
    auto window = std::make_unique<TipPresenter>(fake.platform(), app, [draws, next] {
      const double r = draws[std::min(*next, draws.size() - 1)];
      ++*next;
      return r;
    });
    window->Load();
    return window;
  }
  std::string ShowTipStored() {
    return fake.userSettings.GetSetting("Quorvane", "Options", "Showtip", "<absent>");
  }

  fakes::FakePlatform fake;
  AppContext app;
};

// An empty line is a tip too, and shows as an empty label.
TEST_F(TipPresenterTest, EveryDrawIsOneOfTheLinesAndMayRepeat) {
  fake.files.AddFile(TipsPath(), "First\r\n\r\nThird\r\n");
  auto window = OpenWindow({0.0, 0.34, 0.34, 0.999999});
  EXPECT_EQ(window->lblTipText.Caption(), "First");
  std::vector<std::string> shown;
  for (int i = 0; i < 3; ++i) {
    window->cmdNextTip.Click();
    shown.push_back(std::to_string(window->CurrentTip()) + "=" + window->lblTipText.Caption());
  }
  EXPECT_THAT(shown, ElementsAre("2=", "2=", "3=Third"));
}

TEST_F(TipPresenterTest, ClockSeededGeneratorOnlyDrawsExistingTips) {
  fake.files.AddFile(TipsPath(), "First\r\nSecond\r\nThird\r\n");
  TipPresenter window(fake.platform(), app);
  window.Load();
  std::vector<int> seen(4, 0);
  for (int i = 0; i < 300; ++i) {
    window.cmdNextTip.Click();
    ASSERT_GE(window.CurrentTip(), 1);
    ASSERT_LE(window.CurrentTip(), 3);
    ++seen[static_cast<std::size_t>(window.CurrentTip())];
  }
  // Each of three tips is drawn by 300 fair draws unless something is badly wrong.
  EXPECT_GT(seen[1], 0);
  EXPECT_GT(seen[2], 0);
  EXPECT_GT(seen[3], 0);
}

TEST_F(TipPresenterTest, MissingFileShowsHowToCreateOne) {
  auto window = OpenWindow({0.5});
  const std::string expected =
      "That the TIPOFDAY.TXT file was not found? \r\n\r\n"
      "Create a text file named TIPOFDAY.TXT using NotePad with 1 tip per line. "
      "Then place it in the same directory as the application. ";
  EXPECT_EQ(window->lblTipText.Caption(), expected);
  window->cmdNextTip.Click();
  EXPECT_EQ(window->lblTipText.Caption(), expected);
  EXPECT_FALSE(window->LoadTips(""));

  // An empty file counts as present and shows nothing.
  fake.files.AddFile(TipsPath(), "");
  window = OpenWindow({0.5});
  window->cmdNextTip.Click();
  EXPECT_EQ(window->lblTipText.Caption(), "");
}

TEST_F(TipPresenterTest, TipsAreReadInTheSystemCodePage) {
  fake.files.AddFile(TipsPath(), "Caf\xE9 au lait\r\n");
  auto window = OpenWindow({0.0});
  EXPECT_EQ(window->lblTipText.Caption(), "Caf\xC3\xA9 au lait");
}

TEST_F(TipPresenterTest, OpeningTheWindowTurnsTipsOnAgain) {
  fake.userSettings.SaveSetting("Quorvane", "Options", "Showtip", "0");
  auto window = OpenWindow({0.0});
  EXPECT_EQ(window->chkLoadTipsAtStartup.Value(), 1);
  EXPECT_EQ(ShowTipStored(), "1");

  window->chkLoadTipsAtStartup.Click();
  EXPECT_EQ(ShowTipStored(), "0");

  auto again = OpenWindow({0.0});
  EXPECT_EQ(again->chkLoadTipsAtStartup.Value(), 1);
  EXPECT_EQ(ShowTipStored(), "1");
}

// The file the program ships: one tip per line, CRLF line ends, plain ASCII, no empty tip.
TEST(ShippedTipsFileTest, HoldsOneUsefulTipPerLine) {
  std::string path = __FILE__;
  path = path.substr(0, path.rfind("tests")) + "src/tips/TIPOFDAY.TXT";
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << path;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    EXPECT_LT(c, 0x80u) << "at " << i;
    if (c == '\n') {
      EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
    }
  }
  const auto tips = SplitTipLines(bytes);
  EXPECT_GE(tips.size(), 10u);
  for (const std::string& tip : tips) EXPECT_FALSE(tip.empty());
}

}  // namespace
}  // namespace quorvane
