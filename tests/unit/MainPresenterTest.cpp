#include "main/MainPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "MainWindowFixture.h"
#include "about/SupportInfo.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;

class MainPresenterTest : public testing::MainWindowFixture {
 protected:
  void ExpectOnlyVisible(MainPresenter& main, const PageFrame* page) {
    for (const PageFrame* frame : main.Pages()) EXPECT_EQ(frame->Visible(), frame == page);
  }
};

TEST_F(MainPresenterTest, EveryMenuItemSelectsItsTabAndShowsOnlyItsPage) {
  InstallNetscape("Netscape 6", "6.2");
  auto main = LoadMain();
  ExpectOnlyVisible(*main, &main->FrameStandardOptions);
  const char* items[] = {"mnuStandard", "mnuCustomCleanItems", "mnuAdditionalOptions",
                         "mnuIE",       "mnuNetscape",         "mnuOffice",
                         "mnuAbout"};
  for (int i = 1; i <= MainPresenter::kTabCount; ++i) {
    const int tab = i % MainPresenter::kTabCount;  // the first page last, to come back to it
    SCOPED_TRACE(items[tab]);
    main->ClickMenu(items[tab]);
    EXPECT_EQ(main->TabStrip1.SelectedIndex(), tab);
    PageFrame* page = main->Pages()[static_cast<std::size_t>(tab)];
    ExpectOnlyVisible(*main, page);
    EXPECT_EQ(page->Left(), tab == MainPresenter::kAboutTab ? main_layout::kAboutPageLeft
                                                            : main_layout::kPageLeft);
  }
  EXPECT_EQ(main->about.lblTitle.Caption(), "Quorvane  Version 5.0.0");
  // Each master, unchecked, disabled its group when its page was shown.
  const OptionsPresenter& o = main->options;
  for (const ui::CheckBox* member : {&o.ChkCookies, &o.ChkCache, &o.ChkWord}) {
    EXPECT_FALSE(member->Enabled()) << member->Caption();
  }
}

// Netscape is detected at each load; Netscape 6 wins only with a version, and only it has
// profiles to choose from.
TEST_F(MainPresenterTest, NetscapeTabNamesTheInstalledVersionOrRefusesToOpen) {
  const fakes::MessageBoxCall notInstalled{"Netscape is not installed in your system.", "Quorvane",
                                           message_box::IconInformation};
  auto main = LoadMain();
  EXPECT_EQ(main->TabStrip1.tabs[MainPresenter::kNetscapeTab], "Netscape");
  main->TabStrip1.Select(MainPresenter::kOptionsTab);
  main->ClickMenu("mnuNetscape");
  ExpectOnlyVisible(*main, &main->FrameWashOptions);
  EXPECT_EQ(main->TabStrip1.SelectedIndex(), MainPresenter::kOptionsTab);
  EXPECT_THAT(fake.windows.messageBoxes, ElementsAre(notInstalled));

  InstallNetscape("Netscape 6", "6.2.3");
  main = LoadMain();
  EXPECT_EQ(main->TabStrip1.tabs[MainPresenter::kNetscapeTab], "Netscape 6.2.3");
  EXPECT_TRUE(main->options.CmdProfile.Visible());
  InstallNetscape("Netscape 6", "");
  InstallNetscape("Netscape Navigator", "4.79");
  main = LoadMain();
  EXPECT_EQ(main->TabStrip1.tabs[MainPresenter::kNetscapeTab], "Netscape 4.79");
  EXPECT_FALSE(main->options.CmdProfile.Visible());
}

// The custom list is refreshed at every showing of its page. Help and links open through the
// shell; one it cannot open shows nothing.
TEST_F(MainPresenterTest, MenusReachTheCustomListAndTheShell) {
  fake.shell.openDocumentSucceeds = false;
  auto main = LoadMain();
  main->CmdClean.Click();  // without a hook nothing happens
  int refreshes = 0;
  main->hooks.refreshCustomList = [&] { ++refreshes; };
  for (const char* item : {"mnuCustomCleanItems", "mnuCustomCleanItems", "mnuUserGuide",
                           "mnuVisitWeb", "mnuEmailus"}) {
    main->ClickMenu(item);
  }
  main->CmdHelp.Click();
  EXPECT_EQ(refreshes, 2);
  const std::string guide = "C:\\Program Files\\Quorvane\\Help\\Help.chm";
  EXPECT_THAT(fake.shell.openedDocuments,
              ElementsAre(guide, std::string(kSupportWebAddress),
                          "mailto:" + std::string(kSupportEmailAddress), guide));
  // The guide fills the screen; the web site opens in a normal window.
  EXPECT_THAT(fake.shell.openedDocumentStyles,
              ElementsAre(WindowStyle::Maximized, WindowStyle::NormalFocus, WindowStyle::Shown,
                          WindowStyle::Maximized));
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

}  // namespace
}  // namespace quorvane
