#include "main/MainPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "about/SupportInfo.h"
#include "fakes/FakeWindowServices.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using testing::MainWindowFixture;

class MainPresenterTest : public MainWindowFixture {
 protected:
  // The one visible page; fails the test when there is not exactly one.
  static PageFrame* VisiblePage(MainPresenter& main) {
    PageFrame* visible = nullptr;
    int count = 0;
    for (PageFrame* page : main.Pages()) {
      if (page->Visible()) {
        visible = page;
        ++count;
      }
    }
    EXPECT_EQ(count, 1);
    return visible;
  }

  const fakes::MessageBoxCall kNotInstalled{"Netscape is not installed in your system.", "Quorvane",
                                            message_box::IconInformation};
};

TEST_F(MainPresenterTest, LoadSetsCaptionTabsAndFirstPage) {
  auto main = LoadMain();
  EXPECT_EQ(main->Form.Caption(), "Quorvane Version 5.0");
  EXPECT_THAT(main->TabStrip1.tabs,
              ElementsAre("Standard Clean Items", "Custom Clean Items", "Additional Options",
                          "Internet Explorer", "Netscape", "MS-Office Tracks", "About"));
  EXPECT_EQ(VisiblePage(*main), &main->FrameStandardOptions);
}

TEST_F(MainPresenterTest, EveryTabShowsExactlyItsOwnPage) {
  InstallNetscape6("6.2");
  auto main = LoadMain();
  const auto pages = main->Pages();
  for (int tab = 0; tab < MainPresenter::kTabCount; ++tab) {
    main->TabStrip1.Select(tab);
    EXPECT_EQ(VisiblePage(*main), pages[static_cast<std::size_t>(tab)]) << tab;
    const int expectedLeft =
        tab == MainPresenter::kAboutTab ? main_layout::kAboutPageLeft : main_layout::kPageLeft;
    EXPECT_EQ(pages[static_cast<std::size_t>(tab)]->Left(), expectedLeft) << tab;
  }
  // Back from the About page, the About frame returns to the common place when shown again.
  main->TabStrip1.Select(MainPresenter::kStandardTab);
  EXPECT_EQ(main->FrameStandardOptions.Left(), main_layout::kPageLeft);
  main->ShowPage(main->FrameAbout);
  EXPECT_EQ(main->FrameAbout.Left(), main_layout::kPageLeft);
}

TEST_F(MainPresenterTest, Netscape6NamesTheTabAndShowsTheProfileButton) {
  InstallNetscape6("6.2.3");
  InstallNavigator("4.79");
  auto main = LoadMain();
  EXPECT_EQ(main->TabStrip1.tabs[MainPresenter::kNetscapeTab], "Netscape 6.2.3");
  EXPECT_EQ(main->TabTag(MainPresenter::kNetscapeTab), "");

  int wizardShown = 0;
  main->hooks.showProfileWizard = [&] { ++wizardShown; };
  main->SelectTab(MainPresenter::kNetscapeTab);
  main->options.ChkNetscape.Click();
  main->options.CmdProfile.Click();
  EXPECT_EQ(wizardShown, 1);
}

TEST_F(MainPresenterTest, NavigatorNamesTheTabButHidesTheProfileButton) {
  InstallNavigator("4.79");
  auto main = LoadMain();
  EXPECT_EQ(main->TabStrip1.tabs[MainPresenter::kNetscapeTab], "Netscape 4.79");
  EXPECT_FALSE(main->options.CmdProfile.Visible());
  main->ClickMenu("mnuNetscape");
  EXPECT_EQ(VisiblePage(*main), &main->FrameNetscape);
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

TEST_F(MainPresenterTest, AbsentNetscapeIsRefusedByTabAndByMenuAlike) {
  auto main = LoadMain();
  EXPECT_EQ(main->TabStrip1.tabs[MainPresenter::kNetscapeTab], "Netscape");
  EXPECT_EQ(main->TabTag(MainPresenter::kNetscapeTab), "Disable");
  EXPECT_FALSE(main->options.CmdProfile.Visible());

  main->TabStrip1.Select(MainPresenter::kOptionsTab);
  const int writes = fake.profile.writeCount;
  main->TabStrip1.Select(MainPresenter::kNetscapeTab);
  EXPECT_EQ(VisiblePage(*main), &main->FrameWashOptions);
  EXPECT_THAT(fake.windows.messageBoxes, ElementsAre(kNotInstalled));

  main->ClickMenu("mnuOffice");
  main->ClickMenu("mnuNetscape");
  EXPECT_EQ(VisiblePage(*main), &main->FrameMSOffice);
  EXPECT_THAT(fake.windows.messageBoxes, ElementsAre(kNotInstalled, kNotInstalled));
  // The refused page's master handler did not run: only the Office master wrote.
  EXPECT_EQ(fake.profile.writeCount, writes + 1);
  EXPECT_EQ(Stored(keys::Netscape), "");
}

TEST_F(MainPresenterTest, MastersRunWhenTheirPagesAreSelected) {
  InstallNetscape6("6.1");
  auto main = LoadMain();
  main->SelectTab(MainPresenter::kIETab);
  EXPECT_EQ(Stored(keys::IE), "0");
  EXPECT_FALSE(main->options.ChkTempIEFiles.Enabled());
  main->SelectTab(MainPresenter::kNetscapeTab);
  EXPECT_EQ(Stored(keys::Netscape), "0");
  EXPECT_FALSE(main->options.ChkCache.Enabled());
  main->SelectTab(MainPresenter::kOfficeTab);
  EXPECT_EQ(Stored(keys::MSOffice), "0");
  EXPECT_FALSE(main->options.ChkPPT.Enabled());
}

TEST_F(MainPresenterTest, MenuItemsSelectTabsAsAClickDoes) {
  InstallNetscape6("6.2");
  auto main = LoadMain();
  const std::vector<std::pair<std::string, int>> items = {
      {"mnuCustomCleanItems", MainPresenter::kCustomTab},
      {"mnuAdditionalOptions", MainPresenter::kOptionsTab},
      {"mnuIE", MainPresenter::kIETab},
      {"mnuNetscape", MainPresenter::kNetscapeTab},
      {"mnuOffice", MainPresenter::kOfficeTab},
      {"mnuAbout", MainPresenter::kAboutTab},
      {"mnuStandard", MainPresenter::kStandardTab},
  };
  for (const auto& [name, tab] : items) {
    main->ClickMenu(name);
    EXPECT_EQ(main->TabStrip1.SelectedIndex(), tab) << name;
    EXPECT_EQ(VisiblePage(*main), main->Pages()[static_cast<std::size_t>(tab)]) << name;
  }
  main->ClickMenu("mnuAbout");
  EXPECT_EQ(main->about.lblTitle.Caption(), "Quorvane  Version 5.0.0");
}

TEST_F(MainPresenterTest, CustomPageRefreshesItsListOnEverySelection) {
  auto main = LoadMain();
  int refreshes = 0;
  main->hooks.refreshCustomList = [&] {
    // The list is refreshed after its page is shown.
    EXPECT_TRUE(main->FrameCustomWash.Visible());
    ++refreshes;
  };
  main->TabStrip1.Select(MainPresenter::kCustomTab);
  main->ClickMenu("mnuCustomCleanItems");
  EXPECT_EQ(refreshes, 2);
}

TEST_F(MainPresenterTest, ButtonsAndMenusReachTheApplicationsHooks) {
  auto main = LoadMain();
  // Without hooks nothing happens.
  main->CmdClean.Click();
  main->ClickMenu("mnuExit");
  main->ClickMenu("mnuNoSuchItem");

  std::vector<std::string> calls;
  main->hooks.showCleanWindow = [&] { calls.push_back("clean"); };
  main->hooks.showTipWindow = [&] { calls.push_back("tip"); };
  main->hooks.unloadMainWindow = [&] { calls.push_back("exit"); };
  main->CmdClean.Click();
  main->ClickMenu("mnuTip");
  main->ClickMenu("mnuExit");
  EXPECT_THAT(calls, ElementsAre("clean", "tip", "exit"));
}

// A shell that fails to open them shows nothing.
TEST_F(MainPresenterTest, HelpWebAndMailOpenThroughTheShell) {
  fake.shell.openDocumentSucceeds = false;
  auto main = LoadMain();
  main->CmdHelp.Click();
  main->ClickMenu("mnuUserGuide");
  main->ClickMenu("mnuVisitWeb");
  main->ClickMenu("mnuEmailus");
  EXPECT_THAT(
      fake.shell.openedDocuments,
      ElementsAre("C:\\Program Files\\Quorvane\\Help\\Help.chm",
                  "C:\\Program Files\\Quorvane\\Help\\Help.chm", std::string(kSupportWebAddress),
                  "mailto:" + std::string(kSupportEmailAddress)));
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

TEST_F(MainPresenterTest, StatusBarFollowsTheClockAndTheLockKeys) {
  auto main = LoadMain();
  main->Tick({true, false, "05/06/2024", "10:41 AM"});
  EXPECT_TRUE(main->StatusBar1[0].Enabled());
  EXPECT_FALSE(main->StatusBar1[1].Enabled());
  EXPECT_EQ(main->StatusBar1[2].Caption(), "05/06/2024");
  EXPECT_EQ(main->StatusBar1[3].Caption(), "10:41 AM");

  main->Tick({false, true, "05/06/2024", "10:42 AM"});
  EXPECT_FALSE(main->StatusBar1[0].Enabled());
  EXPECT_TRUE(main->StatusBar1[1].Enabled());
}

TEST_F(MainPresenterTest, ViewHearsOfChangesMadeWhileLoading) {
  InstallNetscape6("6.2");
  MainPresenter main(fake.platform(), app);
  int tabRedraws = 0;
  int menuRedraws = 0;
  main.TabStrip1.changed = [&] { ++tabRedraws; };
  main.menusChanged = [&] { ++menuRedraws; };
  main.Load();
  EXPECT_GE(tabRedraws, 1);
  EXPECT_EQ(menuRedraws, 1);
}

}  // namespace
}  // namespace quorvane
