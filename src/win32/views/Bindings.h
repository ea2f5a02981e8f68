#pragma once
// Binds the presenters' control models to real controls. Each binding draws its model into
// the control now and whenever the model's `changed` fires, and forwards the user's input
// (a click, a selection) to the model. The model is the only source of truth: check boxes
// are plain (not automatic) buttons, so Windows never toggles one behind the model's back.
// A model must outlive its binding: presenters outlive their windows, and a window's
// bindings are detached when it is destroyed.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/ui/Controls.h"

namespace quorvane::views {

class Bindings {
 public:
  Bindings() = default;
  ~Bindings() { DetachAll(); }
  Bindings(const Bindings&) = delete;
  Bindings& operator=(const Bindings&) = delete;

  // Caption, enabled and visible state: labels, frames' own captions, window captions.
  void Bind(HWND control, ui::Control& model);
  // Enabled and visible state only: a page panel whose model carries no caption to show.
  void BindPanel(HWND window, ui::Control& model);
  void Bind(HWND control, ui::Button& model);
  void Bind(HWND control, ui::CheckBox& model);
  // A tick that only the program sets: drawn from the model, clicks are not forwarded.
  void BindTick(HWND control, ui::CheckBox& model);
  void Bind(HWND control, ui::TextBox& model);
  void Bind(HWND control, ui::ProgressBar& model);
  void Bind(HWND control, ui::ComboBox& model);
  void Bind(HWND control, ui::ListView& model);
  // A list box drawn with LBS_EXTENDEDSEL takes the model's multi-selection.
  void Bind(HWND control, ui::ListBox& model);
  // A check box on every row: the user's ticks go to the model.
  void Bind(HWND control, ui::CheckListView& model);
  void Bind(HWND control, ui::TabStrip& model);
  // A control that the view draws in its own way; `draw` runs now and on every change.
  void BindCustom(HWND control, ui::Control& model, std::function<void()> draw);

  // Draws every model again, for state a presenter changed without telling (a public field).
  void DrawAll();

  // Forward a control's notification to its model; true when a binding took it.
  bool Command(HWND control, int code);
  bool Notify(const NMHDR& header);

  // Stops every model from reaching its control; the window is about to go away while the
  // models (owned by presenters) may live on.
  void DetachAll();

 private:
  struct Binding {
    HWND control = nullptr;
    ui::Control* model = nullptr;
    std::function<void(int code)> onCommand;
    std::function<void(const NMHDR&)> onNotify;
  };
  void Attach(HWND control, ui::Control& model, std::function<void()> draw,
              std::function<void(int)> onCommand = {},
              std::function<void(const NMHDR&)> onNotify = {});

  // A report list; `drawMore` draws what a kind of list adds, `onItemChanged` hears every
  // change of a row the user made.
  void BindList(HWND control, ui::ListView& model, DWORD extendedStyle,
                std::function<void()> drawMore,
                std::function<void(const NMLISTVIEW&)> onItemChanged);

  std::vector<std::unique_ptr<Binding>> bindings_;
  // Set while a model is drawn into its control, so that the notifications the control
  // raises in answer are not taken for the user's input.
  bool drawing_ = false;
};

// Shared drawing steps, also used by views that draw a control of their own kind.
void DrawCaption(HWND control, const std::string& caption);
void DrawState(HWND control, const ui::Control& model);

}  // namespace quorvane::views
