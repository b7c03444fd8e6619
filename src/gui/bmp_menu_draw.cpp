// CBmpMenu's layout and drawing, in the look of the system's menus.
#include <algorithm>

#include "gui/bitmap_draw.h"
#include "gui/bmp_menu.h"

namespace tellu {

namespace {

constexpr int kSeparatorHeight = 8;

// The item text's label and, after a tab, its right-aligned part.
void SplitTab(const std::wstring& text, std::wstring& left, std::wstring& right) {
  size_t tab = text.find(L'\t');
  left = text.substr(0, tab);
  right = tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

int TextWidth(HDC dc, const std::wstring& s) {
  if (s.empty()) return 0;
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, s.c_str(), int(s.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right - r.left;
}

void Fill(HDC dc, const RECT& r, COLORREF c) {
  COLORREF old = SetBkColor(dc, c);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

// The system's check mark, black on white, at the menu check-mark size.
Pixels SystemCheckMark() {
  int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bm = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bm);
  RECT r{0, 0, w, h};
  Fill(mem, r, RGB(255, 255, 255));
  DrawFrameControl(mem, &r, DFC_MENU, DFCS_MENUCHECK);
  SelectObject(mem, old);
  Pixels p = ReadPixels(bm);
  DeleteObject(bm);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return p;
}

}  // namespace

SIZE CBmpMenu::LayOut() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font_);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  int check_w = GetSystemMetrics(SM_CXMENUCHECK);
  int item_h = std::max<int>(GetSystemMetrics(SM_CYMENUCHECK), tm.tmHeight) + 6;
  int widest = 0;
  for (const Item& item : items_) {
    if (item.type & MFT_SEPARATOR) continue;
    std::wstring left, right;
    SplitTab(item.text, left, right);
    int w = item_h + 2 + TextWidth(dc, left) + 6;
    if (!right.empty()) w += tm.tmAveCharWidth * 3 + TextWidth(dc, right);
    widest = std::max(widest, w);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);

  int width = widest + check_w;
  int y = 0;
  for (Item& item : items_) {
    int h = (item.type & MFT_SEPARATOR) ? kSeparatorHeight : item_h;
    item.rect = {0, y, width, y + h};
    y += h;
  }
  return {width, y};
}

void CBmpMenu::PaintFrame(HDC dc) {
  RECT rc;
  GetClientRect(frame_.hwnd(), &rc);
  Fill(dc, rc, GetSysColor(COLOR_MENU));
  if (!side_picture_ || side_width_ <= 0) return;
  BITMAP bm{};
  GetObjectW(side_picture_, sizeof(bm), &bm);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, side_picture_);
  if (stretch_) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, side_width_, rc.bottom, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  } else {
    for (int y = 0; y < rc.bottom; y += bm.bmHeight) {
      for (int x = 0; x < side_width_; x += bm.bmWidth) {
        BitBlt(dc, x, y, std::min<int>(bm.bmWidth, side_width_ - x), bm.bmHeight, mem, 0, 0,
               SRCCOPY);
      }
    }
  }
  SelectObject(mem, old);
  DeleteDC(mem);
}

void CBmpMenu::PaintBar(HDC dc) {
  RECT rc;
  GetClientRect(bar_.hwnd(), &rc);
  // Drawn off screen, so moving the highlight does not flicker.
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bm = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
  HGDIOBJ old = SelectObject(mem, bm);
  Fill(mem, rc, GetSysColor(COLOR_MENU));
  for (size_t i = 0; i < items_.size(); ++i) DrawItem(mem, int(i));
  BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bm);
  DeleteDC(mem);
}

void CBmpMenu::DrawItem(HDC dc, int index) {
  const Item& item = items_[size_t(index)];
  RECT r = item.rect;
  if (item.type & MFT_SEPARATOR) {
    Fill(dc, r, GetSysColor(COLOR_MENU));
    RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  bool hot = index == hot_;
  bool greyed = item.state & (MFS_GRAYED | MFS_DISABLED);
  COLORREF back = GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_MENU);
  COLORREF ink = greyed ? GetSysColor(COLOR_GRAYTEXT)
                        : GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  RECT body = r;
  body.left += 1;
  Fill(dc, body, back);
  HGDIOBJ old_font = SelectObject(dc, font_);

  RECT square{r.left, r.top, r.left + (r.bottom - r.top), r.bottom};
  DrawPicture(dc, item, square, hot, greyed);

  int check_w = GetSystemMetrics(SM_CXMENUCHECK);
  RECT text{square.right + 2, r.top, r.right - check_w, r.bottom};
  std::wstring left, right;
  SplitTab(item.text, left, right);
  SetBkMode(dc, TRANSPARENT);
  auto draw = [&](int dx, int dy, COLORREF c) {
    SetTextColor(dc, c);
    RECT t = text;
    OffsetRect(&t, dx, dy);
    DrawTextW(dc, left.c_str(), int(left.size()), &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!right.empty()) {
      DrawTextW(dc, right.c_str(), int(right.size()), &t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
  };
  if (greyed && !hot) draw(1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  draw(0, 0, ink);

  if (item.submenu) {
    int sx = r.right - check_w * 3 / 4 - 2;  // clear of the frame
    int x0 = sx + check_w * 3 / 10;
    int x1 = sx + check_w - check_w * 3 / 10;
    int cy = (r.top + r.bottom) / 2;
    int half = std::min<int>(x1 - x0, (r.bottom - r.top) / 2 - 2);
    POINT tri[3] = {{x0, cy - half}, {x1, cy}, {x0, cy + half}};
    HBRUSH brush = CreateSolidBrush(ink);
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    Polygon(dc, tri, 3);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
  }
  SelectObject(dc, old_font);
}

void CBmpMenu::DrawPicture(HDC dc, const Item& item, const RECT& square, bool hot,
                           bool greyed) {
  bool checked = item.state & MFS_CHECKED;
  HBITMAP own = checked ? item.checked : item.unchecked;
  Pixels picture = ReadPixels(own);
  bool has_own = picture.width > 0;
  if (!has_own && !checked) return;

  COLORREF menu = GetSysColor(COLOR_MENU);
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  // The colour the picture's light pixels take.
  COLORREF light = hot && !greyed ? highlight : menu;
  int side = square.right - square.left;
  Pixels sq(side, side, hot ? highlight : menu);
  COLORREF surface;
  if (has_own) {
    if (checked) sq = Pixels(side, side, menu);
    if (greyed) {
      ReduceToTwoColours(picture, light, GetSysColor(COLOR_GRAYTEXT));
    } else {
      RecolourForMenu(picture, light, GetSysColor(COLOR_BTNSHADOW));
    }
    PasteCentred(sq, picture);
    surface = menu;
  } else {
    Pixels mark = SystemCheckMark();
    RecolourForMenu(mark, light, GetSysColor(COLOR_BTNSHADOW));
    PasteCentred(sq, mark);
    surface = hot ? highlight : menu;
  }
  if (checked && side > 2 && sq.At(1, 1) == surface) {
    COLORREF a = hot ? menu : GetSysColor(COLOR_BTNHIGHLIGHT);
    FloodChecker(sq, 1, 1, a, menu);
  }
  DrawPixels(dc, sq, square.left, square.top);
  if (checked) {
    RECT edge = square;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
}

}  // namespace tellu
