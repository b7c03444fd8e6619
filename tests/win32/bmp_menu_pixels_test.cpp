// The pixel work behind the menu's pictures and the see-through copy.
#include <gtest/gtest.h>

#include "gui/bitmap_draw.h"

namespace tellu {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kLight = RGB(192, 192, 192);
constexpr COLORREF kGrey = RGB(128, 128, 128), kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(224, 0, 0), kBack = RGB(10, 20, 30), kShadow = RGB(40, 50, 60);

Pixels Row(std::initializer_list<COLORREF> colours) {
  Pixels p(int(colours.size()), 1, 0);
  p.px.assign(colours);
  return p;
}

TEST(MenuPictureColours, LightPixelsTakeTheBackgroundAndGreyTheShadow) {
  Pixels p = Row({kWhite, kLight, kGrey, kBlack, kRed, RGB(250, 250, 250)});
  RecolourForMenu(p, kBack, kShadow);
  EXPECT_EQ(p.px, (std::vector<COLORREF>{kBack, kBack, kShadow, kBlack, kRed, RGB(250, 250, 250)}));
}

TEST(MenuPictureColours, GreyedPicturesHaveTwoColours) {
  Pixels p = Row({kWhite, kLight, kGrey, kBlack, kRed, RGB(255, 224, 0)});
  ReduceToTwoColours(p, kBack, kShadow);
  EXPECT_EQ(p.px, (std::vector<COLORREF>{kBack, kBack, kShadow, kShadow, kShadow, kBack}));
}

TEST(MenuPictureColours, FloodFillsOnlyTheConnectedAreaWithACheckerboard) {
  // A 4 x 3 square split by a black column.
  Pixels p(4, 3, kLight);
  for (int y = 0; y < 3; ++y) p.At(2, y) = kBlack;
  FloodChecker(p, 0, 0, kWhite, kRed);
  EXPECT_EQ(p.At(0, 0), kWhite);
  EXPECT_EQ(p.At(1, 0), kRed);
  EXPECT_EQ(p.At(0, 1), kRed);
  EXPECT_EQ(p.At(1, 1), kWhite);
  EXPECT_EQ(p.At(2, 1), kBlack);
  EXPECT_EQ(p.At(3, 1), kLight);  // beyond the wall
  // A fill whose colours include the one it replaces still ends.
  Pixels q(3, 3, kLight);
  FloodChecker(q, 1, 1, kLight, kWhite);
  EXPECT_EQ(q.At(0, 1), kWhite);
  const Pixels filled = q;
  FloodChecker(q, 7, 7, kRed, kRed);  // outside: nothing
  EXPECT_EQ(q.px, filled.px);
}

TEST(MenuPictureColours, PasteCentresAndClips) {
  Pixels big(4, 4, kBlack);
  Pixels small(2, 2, kRed);
  PasteCentred(big, small);
  EXPECT_EQ(big.At(0, 0), kBlack);
  EXPECT_EQ(big.At(1, 1), kRed);
  EXPECT_EQ(big.At(2, 2), kRed);
  EXPECT_EQ(big.At(3, 3), kBlack);
  Pixels tiny(2, 2, kBlack);
  Pixels wide(4, 4, kRed);
  wide.At(1, 1) = kWhite;
  PasteCentred(tiny, wide);  // the middle of the larger one shows
  EXPECT_EQ(tiny.At(0, 0), kWhite);
  EXPECT_EQ(tiny.At(1, 1), kRed);
}

TEST(TransparentDraw, LeavesTheBackgroundWhereThePictureHasTheClearColour) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, 5, 1);
  HGDIOBJ old = SelectObject(dc, target);
  RECT all{0, 0, 5, 1};
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &all, blue);
  DeleteObject(blue);

  HBITMAP picture = CreateCompatibleBitmap(screen, 3, 1);
  Pixels p = Row({kRed, kLight, kBlack});
  HDC pdc = CreateCompatibleDC(screen);
  HGDIOBJ pold = SelectObject(pdc, picture);
  DrawPixels(pdc, p, 0, 0);
  SelectObject(pdc, pold);
  DeleteDC(pdc);

  DrawTransparent(dc, picture, 1, 0, kLight);
  SelectObject(dc, old);
  Pixels out = ReadPixels(target);
  EXPECT_EQ(out.px, (std::vector<COLORREF>{RGB(0, 0, 255), kRed, RGB(0, 0, 255), kBlack,
                                           RGB(0, 0, 255)}));
  DeleteObject(picture);
  DeleteObject(target);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(ReadPixels(nullptr).px.empty());
}

}  // namespace
}  // namespace tellu
