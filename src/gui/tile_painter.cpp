#include "gui/tile_painter.h"

namespace tellu {

TilePainter::TilePainter(HWND window, int bitmap_id)
    : window_(window),
      bitmap_(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmap_id),
                                              IMAGE_BITMAP, 0, 0, 0))) {
  BITMAP info{};
  if (bitmap_ && GetObjectW(bitmap_, sizeof info, &info)) {
    width_ = info.bmWidth;
    height_ = info.bmHeight;
  }
}

TilePainter::~TilePainter() {
  if (bitmap_) DeleteObject(bitmap_);
}

bool TilePainter::Paint(HDC dc) const {
  if (!bitmap_ || width_ <= 0 || height_ <= 0) return false;
  RECT client;
  GetClientRect(window_, &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return true;
  HDC off = CreateCompatibleDC(dc);
  HBITMAP canvas = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old_canvas = SelectObject(off, canvas);
  HDC tile = CreateCompatibleDC(dc);
  HGDIOBJ old_tile = SelectObject(tile, bitmap_);
  BitBlt(off, 0, 0, width_, height_, tile, 0, 0, SRCCOPY);
  // Each copy doubles the filled strip, so a large window takes a few
  // copies instead of one per tile.
  int done = width_;
  for (; done < w / 2; done *= 2) BitBlt(off, done, 0, done, height_, off, 0, 0, SRCCOPY);
  if (w > done) BitBlt(off, done, 0, w - done, height_, off, 0, 0, SRCCOPY);
  done = height_;
  for (; done < h / 2; done *= 2) BitBlt(off, 0, done, w, done, off, 0, 0, SRCCOPY);
  if (h > done) BitBlt(off, 0, done, w, h - done, off, 0, 0, SRCCOPY);
  BitBlt(dc, 0, 0, w, h, off, 0, 0, SRCCOPY);
  SelectObject(tile, old_tile);
  DeleteDC(tile);
  SelectObject(off, old_canvas);
  DeleteObject(canvas);
  DeleteDC(off);
  return true;
}

}  // namespace tellu
