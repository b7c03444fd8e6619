// A window background filled by repeating one bitmap from the top-left
// corner, built off-screen by doubling strips; for WM_ERASEBKGND.
#pragma once
#include <windows.h>

namespace tellu {

class TilePainter {
 public:
  TilePainter(HWND window, int bitmap_id);
  ~TilePainter();
  TilePainter(const TilePainter&) = delete;
  TilePainter& operator=(const TilePainter&) = delete;

  // Fills the whole client area; false when the bitmap could not be had.
  bool Paint(HDC dc) const;

 private:
  HWND window_;
  HBITMAP bitmap_;
  int width_ = 0, height_ = 0;
};

}  // namespace tellu
