#include "win32/startup_notice.h"

#include "win32/resource.h"

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
  if (hwnd_) return true;
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_STARTUP_NOTICE), owner, Proc,
                     LPARAM(this));
  if (!hwnd_) return false;
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  return true;
}

void StartupNotice::BringToFront() {
  if (!hwnd_) return;
  SetForegroundWindow(hwnd_);
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void StartupNotice::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void StartupNotice::OnInit() {
  picture_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                             MAKEINTRESOURCEW(IDB_STARTUP), IMAGE_BITMAP, 0, 0,
                                             LR_DEFAULTCOLOR));
  BITMAP bm{};
  if (!picture_ || !GetObjectW(picture_, sizeof(bm), &bm)) return;
  picture_size_ = {bm.bmWidth, bm.bmHeight};

  RECT r;
  GetWindowRect(hwnd_, &r);
  RECT to = AroundPicture(r, picture_size_);
  MoveWindow(hwnd_, to.left, to.top, to.right - to.left, to.bottom - to.top, FALSE);

  // The empty line keeps its height and sits centred near the picture's foot.
  HWND line = GetDlgItem(hwnd_, IDC_NOTICE_TEXT);
  RECT lr;
  GetWindowRect(line, &lr);
  int h = lr.bottom - lr.top;
  int w = picture_size_.cx * 8 / 10;
  MoveWindow(line, (picture_size_.cx - w) / 2, picture_size_.cy - 2 * h, w, h, FALSE);
}

void StartupNotice::Paint(HDC dc) {
  int saved = SaveDC(dc);
  RECT rc;
  GetClientRect(hwnd_, &rc);
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

INT_PTR CALLBACK StartupNotice::Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<StartupNotice*>(GetWindowLongPtrW(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      self = reinterpret_cast<StartupNotice*>(lp);
      SetWindowLongPtrW(dlg, DWLP_USER, lp);
      self->hwnd_ = dlg;
      self->OnInit();
      return FALSE;  // the notice takes no focus
    case WM_ERASEBKGND:
      SetWindowLongPtrW(dlg, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_PAINT: {
      if (!self) return FALSE;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dlg, &ps);
      self->Paint(dc);
      EndPaint(dlg, &ps);
      return TRUE;
    }
    case WM_PRINTCLIENT:
      if (!self) return FALSE;
      self->Paint(reinterpret_cast<HDC>(wp));
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      // The empty line must never cover the picture.
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      SetROP2(dc, R2_XORPEN);
      return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    case WM_NCHITTEST:
      // Every point is the caption: the notice is dragged by any point.
      SetWindowLongPtrW(dlg, DWLP_MSGRESULT, HTCAPTION);
      return TRUE;
    case WM_NCDESTROY:
      if (self) {
        self->hwnd_ = nullptr;
        if (self->picture_) DeleteObject(self->picture_);
        self->picture_ = nullptr;
      }
      SetWindowLongPtrW(dlg, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace tellu
