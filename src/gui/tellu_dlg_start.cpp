// CTelluDlg's start-up and end: the host window of attach or launch mode, its
// captions, the docking slide, fatal errors and the shutdown.
#include <algorithm>

#include "app/config.h"
#include "app/fatal_report.h"
#include "app/host_title.h"
#include "app/launch.h"
#include "res/resource.h"
#include "settings/keys.h"
#include "settings/startup.h"
#include "gui/host_window.h"
#include "gui/tellu_dlg.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

constexpr char kTagAttach[] = " with Tellu";
constexpr char kTagLaunch[] = " with Tellu.";
constexpr UINT_PTR kSlideTimer = 1;
// The bar docks this far in from the host window's lower-left corner.
constexpr int kDockRight = 9;
constexpr int kDockUp = 36;

constexpr char kHostTaken[] = "you can execute Tellu with auto exec mode only one";
// edit windowが見つかりません　(^^;
constexpr char kNoEditWindow[] =
    "edit window\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x40(^^;";

}  // namespace

Session::Hooks CTelluDlg::MakeHooks() {
  Session::Hooks hooks;
  hooks.host_there = [this](int slot) {
    std::string title;
    if (FindSlotHost(slot, title) != Found::kYes) return false;
    host_title_ = title;
    TagHost(kTagAttach);
    return true;
  };
  hooks.host_ready = [this] { LaunchedHostReady(); };
  hooks.fatal = [this](const std::string& report) { Fatal(report); };
  hooks.server_lost = [this](const std::string& text) { AppendServerLost(text); };
  return hooks;
}

bool CTelluDlg::AttachToRunningHost(int slot_choice) {
  const int first = slot_choice != 0 ? slot_choice : 1;
  const int last = slot_choice != 0 ? slot_choice : kSlotCount;
  for (int slot = first; slot <= last; ++slot) {
    std::string title;
    const Found found = FindSlotHost(slot, title);
    if (found == Found::kBarEnded) return false;
    if (found == Found::kNo) continue;
    host_title_ = title;
    session_->Attach(slot);
    // Read in attach mode too: the host's own Who button is what the bar's
    // clicks, and attach mode has no Who window of its own to show instead.
    session_->settings().settings().position_who_btn =
        session_->settings().ReadPoint(keys::kPositionWhoBtn);
    TagHost(kTagAttach);
    ApplyFont();
    StartSlide();
    return true;
  }
  return false;
}

CTelluDlg::Found CTelluDlg::FindSlotHost(int slot, std::string& title) {
  title = HostTitleOfSlot(session_->tellu_ini(), files_, registry_, windows_dir_, slot).text;
  if (title.empty()) return Found::kNo;
  return FindHostWindow(title);
}

CTelluDlg::Found CTelluDlg::FindHostWindow(const std::string& title) {
  if (HWND window = FindTopLevelWindow(title)) {
    host_ = window;
    // Typing goes through the edit; a bar without it is of no use.
    HWND first = GetWindow(hwnd(), GW_CHILD);
    if (!first || !GetWindow(first, GW_HWNDNEXT)) {
      ui_.Notice(kNoEditWindow, std::string(kLaunchCaption), NoticeIcon::Exclamation);
      EndBar(kExitHostTaken);
      return Found::kBarEnded;
    }
    return Found::kYes;
  }
  if (HostTaggedByLauncher(title)) {
    ui_.Notice(kHostTaken, std::string(kLaunchCaption), NoticeIcon::Exclamation);
    EndBar(kExitHostTaken);
    return Found::kBarEnded;
  }
  return Found::kNo;
}

void CTelluDlg::TagHost(std::string_view tag) {
  tagged_title_ = host_title_ + std::string(tag);
  SetWindowTextSjis(host_, tagged_title_);
  host_sender_.SetHost(host_, tagged_title_, caption_height_);
}

void CTelluDlg::LaunchedHostReady() {
  notice_.BringToFront();
  TagHost(kTagLaunch);
  StartSlide();
}

void CTelluDlg::StartSlide() {
  caption_height_ = GetSystemMetrics(SM_CYCAPTION);
  host_sender_.SetHost(host_, tagged_title_, caption_height_);
  const Settings& s = session_->settings().settings();
  RECT host{};
  if (s.position_save_flag == 1 && GetWindowRect(host_, &host)) {
    SetWindowPos(host_, nullptr, s.position_rv.x, s.position_rv.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (s.log_window_flag == 1 && !log_window_) {
      // The saved mode is read, but a log window always opens real-time.
      ReadLogWindowReal(session_->settings());
      OpenLogWindow();
    }
  }
  GetWindowRect(host_, &host);
  slide_target_ = s.position_save_flag == 1
                      ? SlidePoint{s.position_tellu_window.x, s.position_tellu_window.y}
                      : SlidePoint{host.left + kDockRight, host.bottom - kDockUp};
  RECT bar{};
  GetWindowRect(hwnd(), &bar);
  slide_start_ = {bar.left, bar.top};
  slide_count_ = 0;
  sliding_ = true;
  SetTimer(hwnd(), kSlideTimer, kSlideTickMs, nullptr);
}

void CTelluDlg::SlideTick() {
  const int k = slide_count_++;
  const SlidePoint at = SlidePosition(slide_start_, slide_target_, k);
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!SlideEnds(k)) return;
  KillTimer(hwnd(), kSlideTimer);
  sliding_ = false;
  // The notice, owned by the bar, goes first: an owner does not become
  // topmost above its owned popups on every system (Wine).
  notice_.Destroy();
  const bool topmost = session_->settings().settings().most_top_chk != 0;
  SetWindowPos(hwnd(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CTelluDlg::Fatal(const std::string& report) {
  if (ending_) return;
  ui_.ShowPendingNotices();  // what led to the failure, before the report
  MessageBoxW(hwnd(), Wide(report).c_str(), Wide(kFatalCaption).c_str(), MB_OK | MB_ICONSTOP);
  EndBar(kExitFatal);
}

void CTelluDlg::HostLost() { Fatal(FatalReport(kFatalHostLost, session_->history())); }

void CTelluDlg::EndBar(int exit_status) {
  if (ending_) return;
  ui_.ShowPendingNotices();
  ending_ = true;
  exit_status_ = exit_status;
  End(exit_status);
}

void CTelluDlg::OnDestroy() {
  KillTimer(hwnd(), kSlideTimer);
  sliding_ = false;
  keys_.reset();
  typing_.reset();
  if (log_window_) log_window_->Close();
  CloseWhoWindow();
  if (session_) session_->Shutdown();
  notice_.Destroy();
  if (host_) SetWindowTextSjis(host_, host_title_);
}

}  // namespace tellu
