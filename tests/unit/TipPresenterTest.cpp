#include "tips/TipPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "MainWindowFixture.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;

TEST(SplitTipLinesTest, CarriageReturnsEndLinesAndLineFeedsStayInside) {
  EXPECT_THAT(SplitTipLines("one\r\ntwo\r\nthree"), ElementsAre("one", "two", "three"));
  EXPECT_THAT(SplitTipLines(" a \r\r\nb\nc\r"), ElementsAre(" a ", "", "b\nc"));
}

class TipPresenterTest : public testing::MainWindowFixture {};

// Tips are read in the system code page; an empty line is a tip too; a generator that strays
// out of [0, 1) still names a tip.
TEST_F(TipPresenterTest, EveryDrawIsOneOfTheLinesAndMayRepeat) {
  fake.files.AddFile(app.appFolder + "\\TIPOFDAY.TXT", "Caf\xE9\r\n\r\nThird\r\n");
  double r = 0.0;
  TipPresenter window(fake.platform(), app, [&] { return r; });
  window.Load();
  std::vector<std::string> shown = {window.lblTipText.Caption()};
  for (const double next : {0.34, 0.34, 0.999999, 1.0}) {
    r = next;
    window.cmdNextTip.Click();
    shown.push_back(std::to_string(window.CurrentTip()) + "=" + window.lblTipText.Caption());
  }
  EXPECT_THAT(shown, ElementsAre("Caf\xC3\xA9", "2=", "2=", "3=Third", "1=Caf\xC3\xA9"));
}

// Opening the window turns the tips on again, whatever was stored before.
TEST_F(TipPresenterTest, WithoutAFileTheWindowSaysHowToMakeOneAndTurnsTipsOnAgain) {
  fake.userSettings.SaveSetting("Quorvane", "Options", "Showtip", "0");
  TipPresenter window(fake.platform(), app, [] { return 0.5; });
  window.Load();
  window.cmdNextTip.Click();
  EXPECT_EQ(window.lblTipText.Caption(),
            "That the TIPOFDAY.TXT file was not found? \r\n\r\n"
            "Create a text file named TIPOFDAY.TXT using NotePad with 1 tip per line. "
            "Then place it in the same directory as the application. ");
  EXPECT_EQ(window.chkLoadTipsAtStartup.Value(), 1);
  EXPECT_EQ(ShowTipStored(), "1");
  window.chkLoadTipsAtStartup.Click();
  EXPECT_EQ(ShowTipStored(), "0");
}

// The shipped file: one tip per line, CRLF line ends, plain ASCII, no empty tip.
TEST(ShippedTipsFileTest, HoldsOneUsefulTipPerLine) {
  const std::string path = __FILE__;
  std::ifstream in(path.substr(0, path.rfind("tests")) + "src/tips/TIPOFDAY.TXT", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_TRUE(bytes.ends_with("\r\n"));
  const auto tips = SplitTipLines(bytes);
  for (const std::string& tip : tips) {
    EXPECT_FALSE(tip.empty() || tip.find('\n') != std::string::npos) << tip;
    EXPECT_TRUE(std::ranges::all_of(tip, [](unsigned char c) { return c < 0x80; })) << tip;
  }
}

}  // namespace
}  // namespace quorvane
