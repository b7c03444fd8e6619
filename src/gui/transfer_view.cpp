#include "gui/transfer_view.h"

#include <commctrl.h>

#include <utility>

#include "gui/bar_keys.h"
#include "res/resource.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

// "ＭＳ ゴシック" at 12 points for the animated face.
HFONT FaceFont(HWND window) {
  HDC dc = GetDC(window);
  const int height = -MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(window, dc);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     FIXED_PITCH | FF_MODERN, L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF");
}

}  // namespace

std::unique_ptr<TransferView> TransferView::Open(HWND owner, MessageWindow& loop,
                                                 std::function<void()> cancel) {
  std::unique_ptr<TransferView> view(new TransferView(loop, std::move(cancel)));
  if (!view->CreateModeless(owner, IDD_TRANSFER)) return nullptr;
  return view;
}

TransferView::TransferView(MessageWindow& loop, std::function<void()> cancel)
    : loop_(loop), cancel_(std::move(cancel)) {}

TransferView::~TransferView() {
  Close();
  if (face_font_) DeleteObject(face_font_);
}

BOOL TransferView::OnInitDialog() {
  BarKeyFilter::IgnoreKeys(hwnd());
  ShowWindow(hwnd(), SW_SHOW);
  SetActiveWindow(hwnd());
  SendDlgItemMessageW(hwnd(), IDC_TRANSFER_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  face_font_ = FaceFont(hwnd());
  SendDlgItemMessageW(hwnd(), IDC_TRANSFER_FACE, WM_SETFONT, reinterpret_cast<WPARAM>(face_font_),
                      TRUE);
  return FALSE;
}

void TransferView::SetTexts(const std::string& title, const std::string& message) {
  if (!hwnd()) return;
  SetWindowTextSjis(hwnd(), title);
  SetWindowTextSjis(GetDlgItem(hwnd(), IDC_TRANSFER_MESSAGE), message);
}

void TransferView::SetShare(const std::string& share, int bar, const std::string& face) {
  if (!hwnd()) return;
  SetWindowTextSjis(GetDlgItem(hwnd(), IDC_TRANSFER_PERCENT), share);
  SendDlgItemMessageW(hwnd(), IDC_TRANSFER_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(bar), 0);
  SetWindowTextSjis(GetDlgItem(hwnd(), IDC_TRANSFER_FACE), face);
}

void TransferView::Close() {
  *alive_ = false;
  if (hwnd()) End(0);
}

INT_PTR TransferView::HandleMessage(UINT message, WPARAM wparam, LPARAM) {
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wparam) == IDCANCEL) {
    if (cancel_queued_) return TRUE;
    cancel_queued_ = true;
    // The transfer may end this view; it does so from the loop, not from
    // inside the window's own message.
    loop_.Defer([alive = std::weak_ptr<bool>(alive_), cancel = cancel_] {
      if (auto a = alive.lock(); a && *a && cancel) cancel();
    });
    return TRUE;
  }
  return LOWORD(wparam) == IDOK;  // Enter does nothing
}

}  // namespace tellu
