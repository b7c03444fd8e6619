#include "gui/log_window.h"

#include <utility>
#include <vector>

#include "res/resource.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

constexpr AnchoredControl kLogControls[] = {{IDC_LOG_VIEW, 0, 3},
                                            {IDC_LOG_CLOSE, 3, 3},
                                            {IDC_LOG_FREEZE, 3, 3},
                                            {IDC_LOG_WHISPER_ONLY, 2, 2}};
constexpr int kLogMinWidth = 400;
constexpr int kLogMinHeight = 100;

}  // namespace

COLORREF ColourOf(Rgb rgb) { return RGB(rgb.r, rgb.g, rgb.b); }

LogWindow* LogWindow::Open(HWND owner, LogStore& store, Shell& shell, const Settings& settings,
                           std::function<void()> gone) {
  auto* window = new LogWindow(store, shell, settings, std::move(gone));
  if (!window->CreateModeless(owner, IDD_LOG_WINDOW)) {
    delete window;
    return nullptr;
  }
  ShowWindow(window->hwnd(), SW_SHOW);
  return window;
}

LogWindow::LogWindow(LogStore& store, Shell& shell, const Settings& settings,
                     std::function<void()> gone)
    : store_(store), settings_(settings), gone_(std::move(gone)), view_(shell) {}

BOOL LogWindow::OnInitDialog() {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TELLU));
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  model_ = std::make_unique<LogWindowModel>(store_, WindowText(hwnd()));
  tile_ = std::make_unique<TilePainter>(hwnd(), IDB_LOG_TILE);
  view_.CreateFromPlaceholder(hwnd(), IDC_LOG_VIEW, settings_.font_tenths, settings_.font_face);
  view_.SetLineLimit(kLogLineLimit);
  find_ = std::make_unique<LogFind>(hwnd(), view_);
  layout_.Capture(hwnd(), kLogControls, kLogMinWidth, kLogMinHeight);
  if (settings_.position_save_flag == 1) {
    SetWindowPos(hwnd(), nullptr, settings_.position_log_window.x,
                 settings_.position_log_window.y, settings_.size_log_window.x,
                 settings_.size_log_window.y, SWP_NOZORDER | SWP_NOACTIVATE);
    layout_.OnSize(SIZE_RESTORED);
  }
  view_.SetBackground(ColourOf(kLogRealTimeBackground));
  FullFill(model_->FullFill());
  return TRUE;
}

void LogWindow::FullFill(const std::string& text) {
  SetWindowTextW(view_.hwnd(), L"");
  view_.SetInsertColour(ColourOf(kLogTextColour));
  view_.BeginBatch();
  view_.AppendText(text);
  view_.EndBatch();
  SetCaption();
}

void LogWindow::Apply(const LogUpdate& update) {
  if (!update.ran) return;
  if (!update.segments.empty() && view_.hwnd()) {
    // Disabled and enabled again with redraw off, so the two state changes
    // cost no repaint of their own.
    view_.BeginBatch();
    EnableWindow(view_.hwnd(), FALSE);
    std::vector<LinkView::Run> runs;
    for (const LogSegment& segment : update.segments)
      LinkView::AddRuns(segment.text, ColourOf(segment.colour), runs);
    view_.AppendRuns(runs);
    EnableWindow(view_.hwnd(), TRUE);
    view_.EndBatch();
  }
  SetCaption();
}

// The caption changes only with the fill; setting it again redraws the
// frame for nothing.
void LogWindow::SetCaption() {
  const std::string caption = model_->Caption();
  if (caption == caption_) return;
  caption_ = caption;
  SetWindowTextSjis(hwnd(), caption);
}

void LogWindow::OnFreeze() {
  const LogUpdate update = model_->ToggleFreeze();
  SetDlgItemTextW(hwnd(), IDC_LOG_FREEZE, Wide(model_->ButtonText()).c_str());
  view_.SetBackground(ColourOf(model_->Background()));
  Apply(update);
  view_.Invalidate();
}

INT_PTR LogWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (find_ && find_->OnMessage(message, lparam)) return TRUE;
  switch (message) {
    case kRefreshMessage:
      // The paint that follows does the update, once for any number of
      // requests waiting in the queue.  Only the dialog itself is marked:
      // the view redraws what the update changed, the buttons need nothing.
      RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
      return TRUE;
    case WM_PAINT:
      if (model_->update_state() >= 0 && !store_.pending().empty()) Apply(model_->Update());
      return FALSE;
    case WM_ERASEBKGND:
      view_.ShowIfPending();
      if (tile_ && tile_->Paint(reinterpret_cast<HDC>(wparam))) return Result(TRUE);
      return FALSE;
    case WM_SIZE:
      layout_.OnSize(wparam);
      return FALSE;
    case WM_GETMINMAXINFO:
      layout_.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lparam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_LOG_FREEZE:
          if (HIWORD(wparam) == BN_CLICKED) OnFreeze();
          return TRUE;
        case IDOK:  // Enter presses the default button
          OnFreeze();
          return TRUE;
        case IDC_LOG_WHISPER_ONLY:
          if (HIWORD(wparam) == BN_CLICKED)
            FullFill(model_->SetWhispersOnly(IsDlgButtonChecked(hwnd(), IDC_LOG_WHISPER_ONLY) ==
                                            BST_CHECKED));
          return TRUE;
        case kFindCommand:
          if (find_) find_->Open();
          return TRUE;
        case kFindNextCommand:
          if (find_) find_->Next();
          return TRUE;
        case IDC_LOG_CLOSE:
        case IDCANCEL:
          Close();
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

void LogWindow::Destroyed() {
  tile_.reset();
  find_.reset();
  if (gone_) gone_();
  delete this;
}

}  // namespace tellu
