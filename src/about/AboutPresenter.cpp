#include "about/AboutPresenter.h"

#include <algorithm>
#include <cstdint>

#include "about/SupportInfo.h"

namespace quorvane {
namespace {

constexpr std::string_view kCopyrightWarning =
    "Warning: this program is protected by copyright law and international treaties. "
    "Copying or distributing it, or any part of it, without permission may result in civil "
    "and criminal penalties.";

// Where the system information tool registers itself: its full path, or else its folder.
constexpr std::string_view kToolPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kToolPathValue = "PATH";
constexpr std::string_view kToolFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr std::string_view kToolFolderValue = "MSINFO";
constexpr std::string_view kToolFileName = "\\MSINFO32.EXE";

// Reading is all the lookup does, so it asks for read access only: a standard user may not
// open these machine-wide keys for writing, and the tool would then never be found.
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kValueCapacity = 1024;

std::string HexCodesLastToFirst(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "&h";
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    const auto code = static_cast<unsigned char>(*it);
    if (code >= 16) text += kDigits[code / 16];
    text += kDigits[code % 16];
  }
  return text;
}

}  // namespace

bool QueryValueText(Registry& registry, RegKey root, std::string_view keyPath,
                    std::string_view valueName, std::string& text) {
  RegKey key = 0;
  if (registry.OpenKey(root, keyPath, kKeyRead, key) != reg_status::Success) {
    text.clear();
    return false;
  }
  std::string data(kValueCapacity, '\0');
  std::uint32_t type = reg_type::None;
  std::uint32_t size = kValueCapacity;
  if (registry.QueryValue(key, valueName, type, &data, size) != reg_status::Success) {
    text.clear();
    (void)registry.CloseKey(key);
    return false;
  }
  data.resize(std::min<std::size_t>(size, data.size()));
  // The data usually end in the NUL that terminated the stored text; it is not part of it.
  if (!data.empty() && data.back() == '\0') data.pop_back();

  if (type == reg_type::String) {
    text = data;
  } else if (type == reg_type::Dword) {
    text = HexCodesLastToFirst(data);
  }
  (void)registry.CloseKey(key);
  return true;
}

std::string AboutTitleLine() {
  return std::string(kAppTitle) + "  Version " + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

AboutPresenter::AboutPresenter(const Platform& platform) : platform_(platform) {
  lblTitle.SetCaption("Application Title");
  SkinLabel1.SetCaption("Web: ");
  SkinLabel2.SetCaption("Email: ");
  lblDisclaimer.SetCaption(std::string(kCopyrightWarning));
  cmdSysInfo.SetCaption("&System Info...");
  cmdSysInfo.onClick = [this] { ShowSystemInfo(); };
}

void AboutPresenter::ShowAboutInfo() {
  lblTitle.SetCaption(AboutTitleLine());
  lblSupport.SetCaption(std::string(kSupportEmailAddress));
  lblHome.SetCaption(std::string(kSupportWebAddress));
}

// The first location wins whenever it can be read, even when the program it names is gone:
// the start then fails and the user is told, rather than a second guess being started.
bool AboutPresenter::FindSystemInfoProgram(std::string& path) {
  if (QueryValueText(platform_.registry, reg_root::LocalMachine, kToolPathKey, kToolPathValue,
                     path)) {
    return !path.empty();
  }
  std::string folder;
  if (!QueryValueText(platform_.registry, reg_root::LocalMachine, kToolFolderKey, kToolFolderValue,
                      folder) ||
      folder.empty()) {
    // An empty folder would put the tool's name at the root of the current drive.
    return false;
  }
  const std::string candidate = folder + std::string(kToolFileName);
  std::uint32_t attributes = 0;
  if (platform_.files.GetAttributes(candidate, attributes) != FsResult::Ok ||
      (attributes & file_attr::Directory) != 0) {
    return false;
  }
  path = candidate;
  return true;
}

void AboutPresenter::ShowSystemInfo() {
  std::string path;
  if (FindSystemInfoProgram(path) && platform_.shell.StartProgram(path, WindowStyle::NormalFocus)) {
    return;
  }
  platform_.windows.MessageBox(kSystemInfoUnavailable, kAppTitle, message_box::Ok);
}

}  // namespace quorvane
