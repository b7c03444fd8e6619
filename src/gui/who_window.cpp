#include "gui/who_window.h"

#include <utility>

#include "gui/log_window.h"
#include "res/resource.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

constexpr int kHostRightOffset = 433;
constexpr int kHostUpOffset = 410;
constexpr int kCorner = 20;
constexpr WPARAM kCaretEnd = 1024;

void ShowCursor(int id) {
  SetCursor(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
}

bool IsKey(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR;
}

}  // namespace

WhoWindow* WhoWindow::Open(HWND owner, const Links& links, std::function<void()> gone) {
  auto* window = new WhoWindow(links, std::move(gone));
  if (!window->CreateModeless(owner, IDD_WHO_WINDOW)) {
    delete window;
    return nullptr;
  }
  // Shown without taking activation: at the login it opens over the host the
  // user is working in, and from the bar the keys stay in the bar.
  ShowWindow(window->hwnd(), SW_SHOWNOACTIVATE);
  return window;
}

WhoWindow::WhoWindow(const Links& links, std::function<void()> gone)
    : links_(links), gone_(std::move(gone)) {}

BOOL WhoWindow::OnInitDialog() {
  owner_ = GetWindow(hwnd(), GW_OWNER);
  Place();
  RECT r{};
  GetWindowRect(hwnd(), &r);
  SetWindowRgn(hwnd(), CreateRoundRectRgn(0, 0, r.right - r.left, r.bottom - r.top, kCorner, kCorner),
               TRUE);
  brush_ = CreateSolidBrush(kWhoBackground);
  list_.Attach(GetDlgItem(hwnd(), IDC_WHO_LIST));
  list_.SetColours(kWhoText, kWhoBackground);
  // Muting elsewhere (the automatic mute) recolours the list too.
  links_.settings.SetMuteListSaved([this] { RequestRefresh(); });
  // The bar's focus goes back to its field; a bar in the background is left
  // there, since giving it the focus would activate it.
  if (owner_ && GetForegroundWindow() == owner_) PostMessageW(owner_, WM_SETFOCUS, 0, 0);
  // Opened in the middle of the run, the window shows who is there at once.
  RequestRefresh();
  return FALSE;
}

void WhoWindow::Place() {
  const Settings& s = links_.settings.settings();
  RECT host{};
  POINT at{};
  if (s.position_save_flag == 1)
    at = {s.position_who_window.x, s.position_who_window.y};
  else if (links_.host && GetWindowRect(links_.host, &host))
    at = {host.left + kHostRightOffset, host.bottom - kHostUpOffset};
  else
    return;
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WhoWindow::RequestRefresh() {
  if (refresh_posted_ || !hwnd()) return;
  refresh_posted_ = PostMessageW(hwnd(), kRefreshMessage, 0, 0) != FALSE;
}

void WhoWindow::Refresh() {
  refresh_posted_ = false;
  std::vector<WhoEntry> entries = WhoEntries(
      links_.objects, [this](const std::string& name) { return links_.settings.IsMuted(name); });
  if (entries == shown_ && list_.Count() == static_cast<int>(shown_.size())) return;
  HWND list = list_.hwnd();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  int k = 0;
  for (const WhoEntry& e : entries) {
    if (e.muted) list_.SetColours(kWhoMutedText, kWhoMutedBackground);
    list_.Insert(k, e.text, e.bitmap);
    if (e.muted) list_.SetColours(kWhoText, kWhoBackground);
    ++k;
  }
  while (SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(k), 0) != LB_ERR) {
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  shown_ = std::move(entries);
  ++rebuilds_;
  SetPropW(hwnd(), kRebuildsProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(rebuilds_)));
}

// The person the selected line shows, as the last rebuild put it there.
std::optional<std::string> WhoWindow::SelectedHandle() const {
  const LRESULT selected = SendMessageW(list_.hwnd(), LB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= shown_.size()) return std::nullopt;
  return shown_[static_cast<size_t>(selected)].name;
}

void WhoWindow::ToggleMute() {
  if (const auto handle = SelectedHandle()) {
    SettingsStore& s = links_.settings;
    // A handle the list cannot store is still muted for the run.
    if (s.IsMuted(*handle))
      s.ToggleMute(*handle);
    else
      s.Mute(*handle);
  }
  Refresh();
}

void WhoWindow::Address() {
  const auto handle = SelectedHandle();
  if (!handle || !links_.edit) return;
  SetWindowTextSjis(links_.edit, AddressedText(WindowText(links_.edit), *handle));
  SendMessageW(links_.edit, EM_SETSEL, kCaretEnd, kCaretEnd);
  SendMessageW(links_.edit, EM_SCROLLCARET, 0, 0);
  SetFocus(links_.edit);
}

bool WhoWindow::OnMouse(UINT message) {
  POINT at{};
  GetCursorPos(&at);
  switch (message) {
    case WM_LBUTTONDOWN:
      drag_point_ = at;
      GetWindowRect(hwnd(), &drag_rect_);
      SetCapture(hwnd());
      dragging_ = true;
      ShowCursor(IDC_HAND_OPEN);
      return true;
    case WM_MOUSEMOVE:
      if (!dragging_) return false;
      if (at.x != drag_point_.x || at.y != drag_point_.y)
        SetWindowPos(hwnd(), nullptr, drag_rect_.left + at.x - drag_point_.x,
                     drag_rect_.top + at.y - drag_point_.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ShowCursor(IDC_HAND_OPEN);
      return true;
    case WM_LBUTTONUP:
      if (!dragging_) return false;
      dragging_ = false;
      ReleaseCapture();
      return true;
    default:
      return false;
  }
}

bool WhoWindow::OnSetCursor(HWND under) {
  if (dragging_) {
    ShowCursor(IDC_HAND_OPEN);
    return true;
  }
  if (under == list_.hwnd()) return false;
  ShowCursor(IDC_HAND_POINT);
  return true;
}

INT_PTR WhoWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsKey(message)) return TRUE;
  switch (message) {
    case kRefreshMessage:
      Refresh();
      return TRUE;
    case WM_MEASUREITEM:
      if (wparam != IDC_WHO_LIST) return FALSE;
      PictureList::Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_DRAWITEM:
      if (wparam != IDC_WHO_LIST) return FALSE;
      PictureList::Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_DELETEITEM:
      if (wparam != IDC_WHO_LIST) return FALSE;
      PictureList::Delete(*reinterpret_cast<const DELETEITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, kWhoText);
      SetBkColor(dc, kWhoBackground);
      return reinterpret_cast<INT_PTR>(brush_);
    }
    case WM_RBUTTONUP:
      ToggleMute();
      return FALSE;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return OnMouse(message);
    case WM_DESTROY:
      RemovePropW(hwnd(), kRebuildsProperty);
      RemovePropW(hwnd(), kRepaintsProperty);
      return FALSE;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return FALSE;
    case WM_SETCURSOR:
      return OnSetCursor(reinterpret_cast<HWND>(wparam)) ? Result(TRUE) : FALSE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDC_WHO_LIST) {
        if (HIWORD(wparam) == LBN_DBLCLK) Address();
        if (HIWORD(wparam) == LBN_KILLFOCUS) SendMessageW(list_.hwnd(), LB_SETCURSEL, -1, 0);
        return TRUE;
      }
      // No close box and no key closes it: Enter and Escape do nothing.
      return LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL;
    default:
      return FALSE;
  }
}

LRESULT WhoWindow::List::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsKey(message)) return 0;
  if (message == WM_PAINT) {
    ++paints;
    SetPropW(window_.hwnd(), kRepaintsProperty,
             reinterpret_cast<HANDLE>(static_cast<INT_PTR>(paints)));
  }
  if (message == WM_RBUTTONUP) window_.ToggleMute();
  return CallOriginal(message, wparam, lparam);
}

void WhoWindow::Destroyed() {
  links_.settings.SetMuteListSaved(nullptr);
  if (brush_) DeleteObject(brush_);
  if (gone_) gone_();
  delete this;
}

}  // namespace tellu
