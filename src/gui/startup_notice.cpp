#include "gui/startup_notice.h"

#include "res/resource.h"

namespace tellu {

RECT StartupNotice::AroundPicture(const RECT& window, SIZE picture) {
  // The 8 pixels are the frame's allowance; counting them in the shift is
  // what keeps the centre in place.
  LONG w = window.right - window.left, h = window.bottom - window.top;
  LONG new_w = picture.cx + 8, new_h = picture.cy + 8;
  LONG left = window.left - (new_w - w) / 2;
  LONG top = window.top - (new_h - h) / 2;
  return {left, top, left + new_w, top + new_h};
}

bool StartupNotice::Create(HWND owner) {
  if (hwnd()) return true;
  if (!CreateModeless(owner, IDD_STARTUP_NOTICE)) return false;
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  return true;
}

void StartupNotice::BringToFront() {
  if (!hwnd()) return;
  SetForegroundWindow(hwnd());
  InvalidateRect(hwnd(), nullptr, TRUE);
  UpdateWindow(hwnd());
}

void StartupNotice::Destroy() { End(0); }

BOOL StartupNotice::OnInitDialog() {
  picture_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                             MAKEINTRESOURCEW(IDB_STARTUP), IMAGE_BITMAP, 0, 0,
                                             LR_DEFAULTCOLOR));
  BITMAP bm{};
  if (!picture_ || !GetObjectW(picture_, sizeof(bm), &bm)) return FALSE;
  picture_size_ = {bm.bmWidth, bm.bmHeight};

  RECT r;
  GetWindowRect(hwnd(), &r);
  RECT to = AroundPicture(r, picture_size_);
  MoveWindow(hwnd(), to.left, to.top, to.right - to.left, to.bottom - to.top, FALSE);

  // The empty line keeps its height and sits centred near the picture's foot.
  HWND line = GetDlgItem(hwnd(), IDC_NOTICE_TEXT);
  RECT lr;
  GetWindowRect(line, &lr);
  int h = lr.bottom - lr.top;
  int w = picture_size_.cx * 8 / 10;
  MoveWindow(line, (picture_size_.cx - w) / 2, picture_size_.cy - 2 * h, w, h, FALSE);
  return FALSE;  // the notice takes no focus
}

void StartupNotice::Paint(HDC dc) {
  int saved = SaveDC(dc);
  RECT rc;
  GetClientRect(hwnd(), &rc);
  if (picture_) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, picture_);
    BitBlt(dc, 0, 0, picture_size_.cx, picture_size_.cy, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    // The rest of the client area (the frame allowance) in the dialog colour.
    ExcludeClipRect(dc, 0, 0, picture_size_.cx, picture_size_.cy);
  }
  FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
  RestoreDC(dc, saved);
}

INT_PTR StartupNotice::HandleMessage(UINT msg, WPARAM wp, LPARAM) {
  if (PaintMessage(hwnd(), msg, wp, [this](HDC dc) { Paint(dc); })) return TRUE;
  switch (msg) {
    case WM_ERASEBKGND:
      return Result(1);
    case WM_CTLCOLORSTATIC: {
      // The empty line must never cover the picture.
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      SetROP2(dc, R2_XORPEN);
      return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    case WM_NCHITTEST:
      // Every point is the caption: the notice is dragged by any point.
      return Result(HTCAPTION);
    case WM_COMMAND:
      // No key closes the notice: the start-up does when it is done.
      return TRUE;
    default:
      return FALSE;
  }
}

void StartupNotice::Destroyed() {
  if (picture_) DeleteObject(picture_);
  picture_ = nullptr;
}

}  // namespace tellu
