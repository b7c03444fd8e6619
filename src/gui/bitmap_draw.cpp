#include "gui/bitmap_draw.h"

#include <utility>

namespace tellu {

namespace {

// 32-bit top-down DIB memory holds blue, green, red, unused.
COLORREF FromDib(DWORD v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }
DWORD ToDib(COLORREF c) {
  return (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
}

BITMAPINFO TopDown32(int w, int h) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

bool IsLight(COLORREF c) {
  // Perceived brightness; the status pictures' light greys and whites are
  // above it, their coloured details below.
  int y = (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
  return y >= 176;
}

}  // namespace

void DrawTransparent(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) return;
  int w = bm.bmWidth, h = bm.bmHeight;
  HDC image = CreateCompatibleDC(dc);
  HDC mask = CreateCompatibleDC(dc);
  HBITMAP mask_bm = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ old_image = SelectObject(image, bitmap);
  HGDIOBJ old_mask = SelectObject(mask, mask_bm);
  // Mask: 1 where the picture has the see-through colour.
  COLORREF old_bk = SetBkColor(image, transparent);
  BitBlt(mask, 0, 0, w, h, image, 0, 0, SRCCOPY);
  SetBkColor(image, old_bk);
  // Background AND mask, then OR the picture with its see-through pixels
  // blackened: the mask's 1 bits keep the background.
  COLORREF old_dc_bk = SetBkColor(dc, RGB(255, 255, 255));
  COLORREF old_dc_text = SetTextColor(dc, RGB(0, 0, 0));
  HDC masked = CreateCompatibleDC(dc);
  HBITMAP masked_bm = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old_masked = SelectObject(masked, masked_bm);
  BitBlt(masked, 0, 0, w, h, image, 0, 0, SRCCOPY);
  SetBkColor(masked, RGB(0, 0, 0));
  SetTextColor(masked, RGB(255, 255, 255));
  BitBlt(masked, 0, 0, w, h, mask, 0, 0, SRCAND);  // 0 where the mask is 1
  BitBlt(dc, x, y, w, h, mask, 0, 0, SRCAND);
  BitBlt(dc, x, y, w, h, masked, 0, 0, SRCPAINT);
  SetBkColor(dc, old_dc_bk);
  SetTextColor(dc, old_dc_text);
  SelectObject(masked, old_masked);
  DeleteObject(masked_bm);
  DeleteDC(masked);
  SelectObject(mask, old_mask);
  SelectObject(image, old_image);
  DeleteObject(mask_bm);
  DeleteDC(mask);
  DeleteDC(image);
}

Pixels ReadPixels(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
    return {};
  }
  Pixels p(bm.bmWidth, bm.bmHeight, 0);
  std::vector<DWORD> raw(p.px.size());
  BITMAPINFO bi = TopDown32(p.width, p.height);
  HDC dc = GetDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, p.height, raw.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (lines != p.height) return {};
  for (size_t i = 0; i < raw.size(); ++i) p.px[i] = FromDib(raw[i]);
  return p;
}

void DrawPixels(HDC dc, const Pixels& p, int x, int y) {
  if (p.width <= 0 || p.height <= 0) return;
  std::vector<DWORD> raw(p.px.size());
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = ToDib(p.px[i]);
  BITMAPINFO bi = TopDown32(p.width, p.height);
  SetDIBitsToDevice(dc, x, y, p.width, p.height, 0, 0, 0, p.height, raw.data(), &bi,
                    DIB_RGB_COLORS);
}

void PasteCentred(Pixels& dst, const Pixels& src) {
  int ox = (dst.width - src.width) / 2;
  int oy = (dst.height - src.height) / 2;
  for (int y = 0; y < src.height; ++y) {
    int dy = y + oy;
    if (dy < 0 || dy >= dst.height) continue;
    for (int x = 0; x < src.width; ++x) {
      int dx = x + ox;
      if (dx >= 0 && dx < dst.width) dst.At(dx, dy) = src.At(x, y);
    }
  }
}

void RecolourForMenu(Pixels& p, COLORREF background, COLORREF shadow) {
  for (COLORREF& c : p.px) {
    if (c == RGB(255, 255, 255) || c == RGB(192, 192, 192)) {
      c = background;
    } else if (c == RGB(128, 128, 128)) {
      c = shadow;
    }
  }
}

void ReduceToTwoColours(Pixels& p, COLORREF background, COLORREF ink) {
  for (COLORREF& c : p.px) c = IsLight(c) ? background : ink;
}

void FloodChecker(Pixels& p, int x, int y, COLORREF a, COLORREF b) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
  COLORREF from = p.At(x, y);
  std::vector<char> seen(p.px.size(), 0);
  std::vector<std::pair<int, int>> todo{{x, y}};
  while (!todo.empty()) {
    auto [cx, cy] = todo.back();
    todo.pop_back();
    if (cx < 0 || cy < 0 || cx >= p.width || cy >= p.height) continue;
    size_t i = size_t(cy) * p.width + cx;
    if (seen[i] || p.px[i] != from) continue;
    seen[i] = 1;
    p.px[i] = ((cx + cy) & 1) ? b : a;
    todo.push_back({cx + 1, cy});
    todo.push_back({cx - 1, cy});
    todo.push_back({cx, cy + 1});
    todo.push_back({cx, cy - 1});
  }
}

}  // namespace tellu
