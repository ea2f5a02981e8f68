// The tip, then every tab of the main window shows its own page and no other, and the clean
// window shows its report. Each view is also saved as a picture: into the folder named by
// QUORVANE_SCREENSHOTS (a Linux path, as scripts/screenshots sets it) or into the sandbox.

#include <cstdlib>
#include <string>
#include <vector>

#include "GuiFixture.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

constexpr wchar_t kNetscape6Key[] = L"Software\\Netscape\\Netscape 6";

// Netscape 6 seen as installed for the life of the object, so that its page can be shown.
// Other tests share the registry: only the value this one adds is taken away again.
class NetscapeInstalled {
 public:
  explicit NetscapeInstalled(const wchar_t* version) {
    wchar_t before[256] = {};
    DWORD size = sizeof(before);
    hadVersion_ = RegGetValueW(HKEY_LOCAL_MACHINE, kNetscape6Key, L"CurrentVersion", RRF_RT_REG_SZ,
                               nullptr, before, &size) == ERROR_SUCCESS;
    before_ = before;
    SetUserValue(HKEY_LOCAL_MACHINE, kNetscape6Key, L"CurrentVersion", version);
  }
  ~NetscapeInstalled() {
    if (hadVersion_) {
      SetUserValue(HKEY_LOCAL_MACHINE, kNetscape6Key, L"CurrentVersion", before_);
      return;
    }
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kNetscape6Key, L"CurrentVersion");
    // The keys go only when nothing else is left in them.
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kNetscape6Key);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Netscape");
  }
  NetscapeInstalled(const NetscapeInstalled&) = delete;
  NetscapeInstalled& operator=(const NetscapeInstalled&) = delete;

 private:
  bool hadVersion_ = false;
  std::wstring before_;
};

struct Page {
  int tab;
  const char* control;  // a caption that only this page holds
  const char* picture;
};

constexpr Page kPages[] = {
    {kStandardTab, "Windows Find/Search History", "standard-clean-items.png"},
    {kCustomTab, "&Add", "custom-clean-items.png"},
    {kOptionsTab, "Show tips at startup", "additional-options.png"},
    {kIETab, "Clean Internet Explorer", "internet-explorer.png"},
    {kNetscapeTab, "Clean Netscape", "netscape.png"},
    {kOfficeTab, "Clean Microsoft Office", "ms-office-tracks.png"},
    {kAboutTab, "&System Info...", "about.png"},
};

RECT Union(RECT a, const RECT& b) {
  UnionRect(&a, &a, &b);
  return a;
}

RECT Outline(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

class PagesGui : public QuorvaneGui {
 protected:
  void SetUp() override {
    QuorvaneGui::SetUp();
    const char* folder = std::getenv("QUORVANE_SCREENSHOTS");
    pictures_ = folder ? std::string(folder) : UnixPath(sandbox_.Path());
    // The tips the program ships with, which the build puts beside it.
    const std::string shipped = ExecutableFolder() + "\\TIPOFDAY.TXT";
    ASSERT_TRUE(CopyFileW(win32::Widen(shipped).c_str(),
                          win32::Widen(sandbox_ / "TIPOFDAY.TXT").c_str(), FALSE))
        << shipped;
  }

  // Saves the area as a picture and checks that a picture was written.
  void Picture(const char* name, const RECT& area) {
    const std::string path = pictures_ + "/" + name;
    ASSERT_TRUE(SaveScreenshot(path, &area)) << path;
    std::wstring windowsPath = win32::Widen("Z:" + path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(windowsPath.c_str(), GetFileExInfoStandard, &data)) << path;
    EXPECT_GT(data.nFileSizeLow, 1000u) << path;
  }

  std::string pictures_;
};

TEST_F(PagesGui, TheTipThenEveryTabShowsItsOwnPage) {
  NetscapeInstalled netscape(L"6.2");
  // A few options on each page, so that the pictures show both states; the clean itself
  // touches only the Run history and Media Player's list.
  sandbox_.WriteFile("Local.Ini",
                     "[Standard Options]\r\nRunHistory=1\r\nMediaPlayer=1\r\n"
                     "[IEOptions]\r\nIE=0\r\nTempIEFiles=1\r\nCookies=1\r\nCleanHistory=1\r\n"
                     "[Netscape Options]\r\nNetscape=0\r\nCache=1\r\n"
                     "[MSOffice]\r\nMSOffice=0\r\nMSWord=1\r\nMSExcel=1\r\n"
                     "[Wash Options]\r\nSkipMessages=1\r\nSkipAllCustomWashItems=1\r\n"
                     "AddBleach=1\r\nRunAutowash=1\r\nSchedule=4\r\n");
  SetUserValue(HKEY_CURRENT_USER, kUserSettingsKey, L"Showtip", L"1");
  RunningProgram& program = Start();
  HWND tip = WaitForWindow(program.Id(), kTipCaption);
  ASSERT_NE(tip, nullptr);
  Picture("tip-of-the-day.png", Outline(tip));
  Press(FindControl(tip, "OK"));
  HWND main = WaitForWindow(program.Id(), kMainCaption);
  ASSERT_NE(main, nullptr);
  HWND tabs = TabStrip(main);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(TabText(tabs, kNetscapeTab), "Netscape 6.2");
  EXPECT_EQ(TabText(tabs, kAboutTab), "About");

  for (const Page& page : kPages) {
    SCOPED_TRACE(page.picture);
    ASSERT_TRUE(ClickTab(tabs, page.tab));
    HWND own = FindControl(main, page.control);
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsShown(own); }));
    for (const Page& other : kPages) {
      if (other.tab != page.tab) EXPECT_FALSE(IsShown(FindControl(main, other.control)));
    }
    Picture(page.picture, Outline(main));
  }
  // Netscape 6 has profiles to choose from: its page offers the wizard.
  ASSERT_TRUE(ClickTab(tabs, kNetscapeTab));
  EXPECT_TRUE(WaitUntil([&] { return IsShown(FindControl(main, "Netscape Profile")); }));

  Press(FindControl(main, "&Clean Now"));
  HWND wash = WaitForWindow(program_->Id(), kWashCaption);
  ASSERT_NE(wash, nullptr);
  HWND done = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (done = FindControl(wash, "&Done")) != nullptr; }, 60000));
  Picture("clean-window.png", Union(Outline(main), Outline(wash)));
  Press(done);
}

}  // namespace
}  // namespace quorvane::testing
