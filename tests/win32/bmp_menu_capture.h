// Test helper: saves a picture of a window and its children as a BMP artifact
// (folder TELLU_ARTIFACTS, else "artifacts"), so a person can look at it.
// The picture is taken from the screen, as the user would see it.
#pragma once
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "gui/bitmap_draw.h"

namespace tellu::wintest {

// Lets Wine hand what the windows drew to the X server: it does so while a
// thread waits for messages, at most every few dozen milliseconds.  Nothing
// is taken from the queue.
inline void LetTheScreenCatchUp() {
  for (int i = 0; i < 4; ++i) {
    GdiFlush();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 60, QS_ALLINPUT);
    Sleep(30);
    MSG m;
    PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
  }
}

// The window and its children as the screen shows them now; empty when the
// window has no area.
inline Pixels ScreenPixels(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r) || r.right <= r.left || r.bottom <= r.top) return {};
  const int w = r.right - r.left, h = r.bottom - r.top;
  LetTheScreenCatchUp();
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bm = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bm);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  Pixels p = ReadPixels(bm);
  DeleteObject(bm);
  return p;
}

inline bool SaveBmp(const Pixels& p, const char* name) {
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof(bi);
  bi.biWidth = p.width;
  bi.biHeight = p.height;  // bottom-up, as a BMP file stores it
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  bi.biCompression = BI_RGB;
  const int stride = (p.width * 3 + 3) & ~3;
  std::vector<unsigned char> rows(size_t(stride) * p.height);
  for (int y = 0; y < p.height; ++y) {
    unsigned char* row = &rows[size_t(stride) * (p.height - 1 - y)];
    for (int x = 0; x < p.width; ++x) {
      const COLORREF c = p.At(x, y);
      row[3 * x] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  const char* dir = std::getenv("TELLU_ARTIFACTS");
  std::string folder = dir && *dir ? dir : "artifacts";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi);
  fh.bfSize = fh.bfOffBits + DWORD(rows.size());
  std::fwrite(&fh, sizeof(fh), 1, f);
  std::fwrite(&bi, sizeof(bi), 1, f);
  std::fwrite(rows.data(), 1, rows.size(), f);
  std::fclose(f);
  return true;
}

// Repaints the window, saves what the screen then shows and, with `shot`,
// hands the pixels over for a test to look at.
inline bool CaptureWindow(HWND hwnd, const char* name, Pixels* shot = nullptr) {
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pixels p = ScreenPixels(hwnd);
  if (p.px.empty() || !SaveBmp(p, name)) return false;
  if (shot) *shot = std::move(p);
  return true;
}

}  // namespace tellu::wintest
