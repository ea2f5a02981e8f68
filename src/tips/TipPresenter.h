#pragma once
// The tip window: one hint at a time, drawn at random from "TIPOFDAY.TXT" beside the
// program, and the choice whether the window opens at every start. One presenter serves
// one showing of the window: the app creates it, calls Load, and shows it modally.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"

namespace quorvane {

inline constexpr std::string_view kTipsFileName = "TIPOFDAY.TXT";

// The text shown instead of a tip when the tips file is missing: two paragraphs with an
// empty line between them, each ending in a blank.
std::string MissingTipsFileMessage();

// The lines of a tips file: a CR or a CR LF ends a line, a lone LF stays in the line's
// text, and every line (an empty one too) is a tip. Nothing is trimmed.
std::vector<std::string> SplitTipLines(std::string_view text);

class TipPresenter {
 public:
  // `random` returns a number r with 0 <= r < 1; by default a generator seeded from the
  // clock. Tests pass their own sequence.
  TipPresenter(const Platform& platform, const AppContext& app,
               std::function<double()> random = {});
  TipPresenter(const TipPresenter&) = delete;
  TipPresenter& operator=(const TipPresenter&) = delete;

  ui::Control Form;                   // window caption "Tip of the Day"
  ui::Label Label1;                   // "Did you know..."
  ui::Label lblTipText;               // the tip on display, empty at first
  ui::CheckBox chkLoadTipsAtStartup;  // "&Show Tips at Startup"
  ui::Button cmdNextTip;              // "&Next Tip"
  ui::Button cmdOK;                   // "OK"

  // Raised by OK; the view closes the window.
  std::function<void()> onClose;

  // The window's load: ticks the start-up box (which stores "1"), reads the tips file from
  // the program folder and shows a first tip, or the missing-file message.
  void Load();
  // True when the file exists and was read; then a first tip is shown.
  bool LoadTips(std::string_view path);
  void DoNextTip();
  void DisplayCurrentTip();
  void ChkLoadTipsAtStartupClick();

  const std::vector<std::string>& Tips() const { return tips_; }
  int CurrentTip() const { return currentTip_; }

 private:
  Platform platform_;
  const AppContext& app_;
  std::function<double()> random_;
  std::vector<std::string> tips_;
  int currentTip_ = 0;
};

}  // namespace quorvane
