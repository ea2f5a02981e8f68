#pragma once
// The Netscape profile wizard: page 1 names the Netscape version found, page 2 shows the
// search of every fixed drive for profiles, page 3 lists what was found with a check box on
// every row. OK stores the rows and the ticked ones in the per-user store, where the
// Netscape clean reads them. The window is not modal.
//
// The search runs on a worker thread, so the wizard and the main window stay responsive.
// The worker only reports into a guarded record; Tick, which the view calls about ten times
// a second, draws that record on the window's thread. Closing the wizard stops the worker
// and waits for it, which takes at most one folder listing.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "core/AppContext.h"
#include "core/Reg32.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"

namespace quorvane {

inline constexpr std::string_view kWizardCaption = "Tavrel Netscape Wizard";
inline constexpr std::string_view kNoProfileSelected = "No profiles has been selected.";

// The wizard's size in twips (1/1440 inch).
namespace wizard_layout {
inline constexpr int kWindowWidth = 7500;
inline constexpr int kWindowHeight = 4800;
}  // namespace wizard_layout

class ProfileWizardPresenter {
 public:
  ProfileWizardPresenter(const Platform& platform, AppContext& app);
  ~ProfileWizardPresenter();
  ProfileWizardPresenter(const ProfileWizardPresenter&) = delete;
  ProfileWizardPresenter& operator=(const ProfileWizardPresenter&) = delete;

  ui::Control Form;  // the window's caption

  // Page 1: the version found.
  ui::Control Frame1;
  ui::Label Label1;
  ui::Label lblNetscapeVersion;
  ui::Label Label2;
  ui::Button cmdNext;  // "Next >"
  ui::Button cmdSkip;  // "Skip"

  // Page 2: the search.
  ui::Control Frame2;
  ui::Label Label3;
  ui::Label lblScan;
  ui::Label lblPath;  // the folder being searched
  ui::ProgressBar ProgressBar1;
  ui::Button CmdStop;  // "Stop"

  // Page 3: the profiles found.
  ui::Control Frame3;
  ui::Label Label4;
  ui::CheckListView ListView1;  // "Profile Names", "Directory containing ..."
  ui::Button cmdOK;
  ui::Button CmdCancel;

  // The view closes the window (OK with a selection, Skip, Cancel).
  std::function<void()> onClose;

  // The window's load: the version found, page 1 shown.
  void Load();
  // Draws the search's progress and, once it has ended, shows page 3.
  void Tick();
  // True while a search runs that the user has not asked to stop (the busy pointer).
  bool Busy() const;
  // Waits until the worker has ended; Tick then shows page 3.
  void WaitForScan();
  // The window goes away: the search ends and nothing is drawn any more.
  void Shutdown();

 private:
  class Search;

  void Next();
  void Stop();
  void Ok();
  void Close();
  void ShowResults();

  Platform platform_;
  AppContext& app_;
  Reg32 reg_;
  std::unique_ptr<Search> search_;
  std::jthread worker_;
  bool stopRequested_ = false;  // StopRequested, as the window sees it
  bool shutDown_ = false;       // the window is gone
};

}  // namespace quorvane
