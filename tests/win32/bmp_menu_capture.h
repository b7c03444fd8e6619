// Test helper: saves a picture of a window and its children as a BMP artifact
// (folder TELLU_ARTIFACTS, else "artifacts"), so a person can look at it.
// The picture is taken from the screen, as the user would see it.
#pragma once
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tellu::testing {

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

inline bool CaptureWindow(HWND hwnd, const char* name) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return false;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  LetTheScreenCatchUp();
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bm = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bm);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);

  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof(bi);
  bi.biWidth = w;
  bi.biHeight = h;  // bottom-up, as a BMP file stores it
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  bi.biCompression = BI_RGB;
  int stride = (w * 3 + 3) & ~3;
  std::vector<unsigned char> rows(size_t(stride) * h);
  GetDIBits(mem, bm, 0, UINT(h), rows.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  DeleteObject(bm);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);

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

}  // namespace tellu::testing
