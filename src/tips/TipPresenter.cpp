#include "tips/TipPresenter.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <utility>

#include "core/StartUp.h"

namespace quorvane {
namespace {

std::function<double()> ClockSeededRandom() {
  auto engine = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(
      std::chrono::system_clock::now().time_since_epoch().count()));
  return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

}  // namespace

std::string MissingTipsFileMessage() {
  return "That the " + std::string(kTipsFileName) + " file was not found? \r\n\r\n" +
         "Create a text file named " + std::string(kTipsFileName) +
         " using NotePad with 1 tip per line. " +
         "Then place it in the same directory as the application. ";
}

std::vector<std::string> SplitTipLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;  // a line has begun that no CR has ended yet
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      lines.push_back(std::move(line));
      line.clear();
      pending = false;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
      pending = true;
    }
  }
  // The last line needs no line end of its own.
  if (pending) lines.push_back(std::move(line));
  return lines;
}

TipPresenter::TipPresenter(const Platform& platform, const AppContext& app,
                           std::function<double()> random)
    : platform_(platform), app_(app), random_(random ? std::move(random) : ClockSeededRandom()) {
  Form.SetCaption("Tip of the Day");
  Label1.SetCaption("Did you know...");
  chkLoadTipsAtStartup.SetCaption("&Show Tips at Startup");
  cmdNextTip.SetCaption("&Next Tip");
  cmdOK.SetCaption("OK");

  chkLoadTipsAtStartup.onClick = [this] { ChkLoadTipsAtStartupClick(); };
  cmdNextTip.onClick = [this] { DoNextTip(); };
  cmdOK.onClick = [this] {
    if (onClose) onClose();
  };
}

void TipPresenter::Load() {
  // Opening the window turns the tips on again, whatever was stored before.
  if (chkLoadTipsAtStartup.Value() == 1) {
    ChkLoadTipsAtStartupClick();
  } else {
    chkLoadTipsAtStartup.SetValue(1);
  }
  if (!LoadTips(app_.appFolder + "\\" + std::string(kTipsFileName))) {
    lblTipText.SetCaption(MissingTipsFileMessage());
  }
}

bool TipPresenter::LoadTips(std::string_view path) {
  if (path.empty()) return false;
  std::string bytes;
  if (platform_.files.ReadFile(path, bytes) != FsResult::Ok) return false;
  tips_ = SplitTipLines(platform_.codec.AnsiToUtf8(bytes));
  DoNextTip();
  return true;
}

void TipPresenter::DoNextTip() {
  const auto count = static_cast<int>(tips_.size());
  double r = random_();
  // A generator that strays out of [0, 1) must still name an existing tip.
  if (!(r >= 0.0 && r < 1.0)) r = 0.0;
  currentTip_ = count == 0 ? 1 : std::min(static_cast<int>(r * count) + 1, count);
  DisplayCurrentTip();
}

void TipPresenter::DisplayCurrentTip() {
  if (tips_.empty()) return;
  lblTipText.SetCaption(tips_[static_cast<std::size_t>(currentTip_ - 1)]);
}

void TipPresenter::ChkLoadTipsAtStartupClick() {
  SaveShowTip(platform_.userSettings, chkLoadTipsAtStartup.Value());
}

}  // namespace quorvane
