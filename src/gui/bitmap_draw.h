// Bitmap drawing shared by the picture menu and the picture lists: copies with
// a see-through colour, and the menu's pixel-wise recolouring of pictures.
#pragma once
#include <windows.h>

#include <vector>

namespace tellu {

// Draws `bitmap` with its top-left corner at (x, y), leaving the background
// visible wherever a pixel has exactly the colour `transparent`.
void DrawTransparent(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent);

// A picture as plain colours, row by row from the top, for pixel-wise work.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> px;

  Pixels() = default;
  Pixels(int w, int h, COLORREF fill) : width(w), height(h), px(size_t(w) * h, fill) {}
  COLORREF& At(int x, int y) { return px[size_t(y) * width + x]; }
  COLORREF At(int x, int y) const { return px[size_t(y) * width + x]; }
};

// The pixels of a bitmap; empty when it is not a valid bitmap.
Pixels ReadPixels(HBITMAP bitmap);
// Copies `p` to the device with its top-left corner at (x, y).
void DrawPixels(HDC dc, const Pixels& p, int x, int y);
// Copies `src` centred into `dst`, clipped to it.
void PasteCentred(Pixels& dst, const Pixels& src);

// The menu look of a picture: white and light grey RGB(192, 192, 192) take
// `background`, grey RGB(128, 128, 128) takes `shadow`; black and every
// other colour stay.
void RecolourForMenu(Pixels& p, COLORREF background, COLORREF shadow);
// The greyed look: light pixels take `background`, all others `ink`.
void ReduceToTwoColours(Pixels& p, COLORREF background, COLORREF ink);
// Fills the 4-connected area of the colour found at (x, y) with an 8 x 8
// checkerboard of `a` and `b` (a plain fill when they are equal).
void FloodChecker(Pixels& p, int x, int y, COLORREF a, COLORREF b);

}  // namespace tellu
