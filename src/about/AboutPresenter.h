#pragma once
// The About page of the main window: the program's name and version, the support
// addresses, a copyright warning, and a button that starts the system information tool.

#include <string>
#include <string_view>

#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "core/platform/Registry.h"
#include "core/ui/Controls.h"

namespace quorvane {

inline constexpr std::string_view kSystemInfoUnavailable =
    "System Information Is Unavailable At This Time";

// Reads a registry value as the system information lookup needs it: a text value as its
// characters without the terminating NUL, a 32-bit number as "&h" followed by the hex codes
// of its bytes from the last to the first (each without leading zeros, the final NUL byte
// dropped). Any other type leaves `text` as passed. False (and `text` empty) when the key
// cannot be opened or the value cannot be read into 1024 bytes.
bool QueryValueText(Registry& registry, RegKey root, std::string_view keyPath,
                    std::string_view valueName, std::string& text);

// "Quorvane  Version 5.0.0": two blanks before "Version", as the page has always shown it.
std::string AboutTitleLine();

class AboutPresenter {
 public:
  explicit AboutPresenter(const Platform& platform);
  AboutPresenter(const AboutPresenter&) = delete;
  AboutPresenter& operator=(const AboutPresenter&) = delete;

  ui::Label lblTitle;       // "Application Title" until filled
  ui::Label SkinLabel1;     // "Web: "
  ui::Label lblHome;        // the support web address
  ui::Label SkinLabel2;     // "Email: "
  ui::Label lblSupport;     // the support e-mail address
  ui::Label lblDisclaimer;  // the copyright warning
  ui::Button cmdSysInfo;    // "&System Info..."

  // Fills the page's texts; the main window runs it every time the About tab is selected.
  void ShowAboutInfo();
  // Starts the system information tool, or says that it is unavailable.
  void ShowSystemInfo();

 private:
  bool FindSystemInfoProgram(std::string& path);

  Platform platform_;
};

}  // namespace quorvane
