#include "gui/bmp_menu.h"

#include <windowsx.h>

#include <algorithm>

#include "win32/wide_text.h"

namespace tellu {

namespace {

const Window::Class kFrameClass{L"BitmapMenu", CS_SAVEBITS};
const Window::Class kBarClass{L"BitmapMenuItems"};
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr WPARAM kKeyboardPress = 0x8000;  // beside the MK_ flags of a press

wchar_t Upper(wchar_t ch) {
  auto v = reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(ULONG_PTR(ch))));
  return wchar_t(v & 0xFFFF);
}

// The desktop the menu must stay on: the monitor nearest the point.
RECT DesktopAround(POINT p) {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi)) return mi.rcMonitor;
  RECT r;
  GetWindowRect(GetDesktopWindow(), &r);
  return r;
}

bool Fits(POINT at, SIZE size, const RECT& d) {
  return at.x >= d.left && at.y >= d.top && at.x + size.cx <= d.right &&
         at.y + size.cy <= d.bottom;
}

// A menu larger than the desktop keeps its top-left corner on it.
POINT KeepOn(POINT at, SIZE size, const RECT& d) {
  at.x = std::max<LONG>(d.left, std::min<LONG>(at.x, d.right - size.cx));
  at.y = std::max<LONG>(d.top, std::min<LONG>(at.y, d.bottom - size.cy));
  return at;
}

}  // namespace

CBmpMenu::CBmpMenu(int side_width, bool side_picture_on, HBITMAP side_picture, bool stretch)
    : menu_(CreatePopupMenu()),
      side_picture_(side_picture && GetObjectType(side_picture) == OBJ_BITMAP ? side_picture
                                                                              : nullptr),
      side_picture_on_(side_picture_on),
      stretch_(stretch),
      side_width_(std::max(0, side_width)) {}

CBmpMenu::CBmpMenu(HMENU submenu, CBmpMenu* parent, int flags, int position)
    : menu_(submenu), owns_menu_(false), parent_(parent), position_in_parent_(position),
      flags_(flags) {
  if (parent->side_picture_on_) {
    side_picture_ = parent->side_picture_;
    side_picture_on_ = true;
    stretch_ = parent->stretch_;
    side_width_ = parent->side_width_;
  }
}

CBmpMenu::~CBmpMenu() {
  if (frame_.hwnd()) {
    closing_ = true;
    DestroyWindow(frame_.hwnd());
  }
  open_submenu_.reset();
  if (owns_menu_ && menu_) DestroyMenu(menu_);
}

void CBmpMenu::AppendItem(UINT id, std::string_view text, HBITMAP picture, UINT flags) {
  std::wstring w = Wide(text);
  if (!AppendMenuW(menu_, MF_STRING | flags, id, w.c_str())) return;
  if (picture) {
    SetMenuItemBitmaps(menu_, UINT(GetMenuItemCount(menu_) - 1), MF_BYPOSITION, picture, picture);
  }
}

void CBmpMenu::AppendSeparator() { AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr); }

void CBmpMenu::RemoveAll() {
  while (GetMenuItemCount(menu_) > 0) DeleteMenu(menu_, 0, MF_BYPOSITION);
}

POINT CBmpMenu::PlaceTopLevel(POINT at, SIZE size, const RECT& d) {
  bool past_right = at.x + size.cx > d.right;
  bool past_bottom = at.y + size.cy > d.bottom;
  if (!past_right && !past_bottom) return at;
  POINT left{at.x - size.cx, at.y};
  POINT above{at.x, at.y - size.cy};
  if (left.x >= d.left && !past_bottom) return KeepOn(left, size, d);
  if (!past_right) return KeepOn(above, size, d);
  return KeepOn({at.x - size.cx, at.y - size.cy}, size, d);
}

POINT CBmpMenu::PlaceSubmenu(const RECT& item, SIZE size, const RECT& d) {
  const POINT tries[] = {{item.right, item.top},
                         {item.right, item.bottom - size.cy},
                         {item.left - size.cx, item.top},
                         {item.left - size.cx, item.bottom - size.cy}};
  for (POINT p : tries) {
    if (Fits(p, size, d)) return p;
  }
  return KeepOn(tries[0], size, d);
}

bool CBmpMenu::Pane::Open(const Class& window_class, DWORD style, DWORD ex_style, POINT at,
                          SIZE size, HWND parent) {
  return Create(window_class, L"", style, ex_style, at.x, at.y, size.cx, size.cy, parent);
}

int CBmpMenu::Track(UINT, int x, int y, HWND owner, const RECT* exclude) {
  if (frame_.hwnd() || !menu_ || !owner || !IsWindow(owner)) return 0;
  bool submenu = flags_ & kSubmenu;
  owner_ = owner;
  closing_ = false;
  SendMessageW(owner_, submenu ? WM_INITMENUPOPUP : WM_INITMENU, WPARAM(menu_),
               submenu ? MAKELPARAM(position_in_parent_, FALSE) : 0);
  if (!IsMenu(menu_)) return 0;

  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  font_ = CreateFontIndirectW(&ncm.lfMenuFont);
  ReadItems();
  SIZE bar = LayOut();

  RECT frame{0, 0, side_width_ + bar.cx, bar.cy};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  POINT at{x, y};
  if (exclude) {
    POINT centre{(exclude->left + exclude->right) / 2, (exclude->top + exclude->bottom) / 2};
    at = PlaceSubmenu(*exclude, size, DesktopAround(centre));
  } else {
    at = PlaceTopLevel(at, size, DesktopAround(at));
  }

  HWND window_owner = submenu && parent_ ? parent_->frame_.hwnd() : owner_;
  if (frame_.Open(kFrameClass, kStyle, kExStyle, at, size, window_owner))
    bar_.Open(kBarClass, WS_CHILD | WS_VISIBLE, 0, {side_width_, 0}, bar, frame_.hwnd());
  if (!frame_.hwnd() || !bar_.hwnd()) {
    if (frame_.hwnd()) DestroyWindow(frame_.hwnd());
    items_.clear();
    DeleteObject(font_);
    font_ = nullptr;
    return 0;
  }

  if (!submenu) SetForegroundWindow(GetAncestor(owner_, GA_ROOT));
  ShowWindow(frame_.hwnd(), SW_SHOWNOACTIVATE);
  SetFocus(bar_.hwnd());
  if (flags_ & kFromKeyboard) MoveHot(1);
  SendMessageW(owner_, WM_ENTERMENULOOP, TRUE, 0);
  RunLoop();

  items_.clear();
  hot_ = last_clicked_ = hovered_ = -1;
  DeleteObject(font_);
  font_ = nullptr;
  return 1;
}

void CBmpMenu::RunLoop() {
  RunMessagesWhile([this] { return frame_.hwnd() && IsWindow(owner_); });
  // The owner has gone, or the application is ending (its quit is left to
  // the outer loop).
  if (frame_.hwnd()) CloseChain();
}

void CBmpMenu::ReadItems() {
  items_.clear();
  int n = GetMenuItemCount(menu_);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_STRING;
    if (!GetMenuItemInfoW(menu_, UINT(i), TRUE, &mii)) continue;
    Item item;
    item.state = mii.fState;
    item.id = mii.wID;
    item.type = mii.fType;
    item.submenu = mii.hSubMenu;
    item.checked = mii.hbmpChecked;
    item.unchecked = mii.hbmpUnchecked;
    if (!(mii.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) && mii.cch > 0) {
      std::vector<wchar_t> buf(mii.cch + 1);
      mii.fMask = MIIM_STRING;
      mii.dwTypeData = buf.data();
      mii.cch = UINT(buf.size());
      if (GetMenuItemInfoW(menu_, UINT(i), TRUE, &mii)) item.text.assign(buf.data());
    }
    items_.push_back(std::move(item));
  }
}

bool CBmpMenu::Enabled(int i) const {
  if (i < 0 || i >= int(items_.size())) return false;
  const Item& item = items_[size_t(i)];
  return !(item.type & MFT_SEPARATOR) && !(item.state & (MFS_GRAYED | MFS_DISABLED));
}

int CBmpMenu::HitTest(POINT p) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (PtInRect(&items_[i].rect, p)) return int(i);
  }
  return -1;
}

void CBmpMenu::SetHot(int i) {
  if (i == hot_) return;
  if (hot_ >= 0 && bar_.hwnd()) InvalidateRect(bar_.hwnd(), &items_[size_t(hot_)].rect, FALSE);
  hot_ = i;
  if (i < 0) return;
  const Item& item = items_[size_t(i)];
  if (bar_.hwnd()) InvalidateRect(bar_.hwnd(), &item.rect, FALSE);
  WPARAM which = item.submenu ? MAKEWPARAM(i, MF_POPUP) : MAKEWPARAM(item.id, 0);
  SendMessageW(owner_, WM_MENUSELECT, which, LPARAM(menu_));
}

void CBmpMenu::MoveHot(int step) {
  int n = int(items_.size());
  int i = hot_;
  for (int k = 0; k < n; ++k) {
    i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (Enabled(i)) {
      SetHot(i);
      return;
    }
  }
}

void CBmpMenu::Press(int i, bool from_keyboard) {
  if (!Enabled(i)) return;
  const Item& item = items_[size_t(i)];
  if (item.submenu) {
    SetHot(i);
    POINT c{(item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2};
    PostMessageW(frame_.hwnd(), kMenuSubmenuMessage, from_keyboard, MAKELPARAM(c.x, c.y));
  } else {
    Choose(item.id);
  }
}

void CBmpMenu::OpenSubmenu(POINT p, bool from_keyboard) {
  int i = HitTest(p);
  if (!frame_.hwnd() || !Enabled(i) || !items_[size_t(i)].submenu || open_submenu_) return;
  RECT r = items_[size_t(i)].rect;
  MapWindowPoints(bar_.hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  int flags = kSubmenu | (from_keyboard ? kFromKeyboard : 0);
  open_submenu_.reset(new CBmpMenu(items_[size_t(i)].submenu, this, flags, i));
  CBmpMenu* child = open_submenu_.get();
  child->Track(0, r.right, r.top, owner_, &r);
  // The submenu has closed, by itself or with the whole chain.
  if (open_submenu_.get() == child) open_submenu_.reset();
  last_clicked_ = -1;
}

void CBmpMenu::CloseSubmenu() {
  if (!open_submenu_ || !open_submenu_->frame_.hwnd()) return;
  std::vector<CBmpMenu*> chain;
  for (CBmpMenu* m = open_submenu_.get(); m && m->frame_.hwnd(); m = m->open_submenu_.get()) {
    chain.push_back(m);
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    (*it)->closing_ = true;
    if ((*it)->frame_.hwnd()) DestroyWindow((*it)->frame_.hwnd());
  }
}

void CBmpMenu::Choose(UINT id) {
  HWND owner = owner_;
  CloseChain();
  PostMessageW(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void CBmpMenu::Mnemonic(wchar_t ch) {
  wchar_t key = Upper(ch);
  std::vector<int> found;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (!Enabled(int(i))) continue;
    const std::wstring& t = items_[i].text;
    for (size_t k = 0; k + 1 < t.size(); ++k) {
      if (t[k] != L'&') continue;
      if (t[k + 1] == L'&') {  // "&&" is a plain ampersand
        ++k;
        continue;
      }
      if (Upper(t[k + 1]) == key) {
        found.push_back(int(i));
        break;
      }
    }
  }
  if (found.size() == 1) {
    SetHot(found[0]);
    Press(found[0], true);
  } else if (found.size() > 1) {
    auto next = std::find_if(found.begin(), found.end(), [&](int i) { return i > hot_; });
    SetHot(next != found.end() ? *next : found[0]);
  } else {
    LRESULT answer = SendMessageW(owner_, WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP), LPARAM(menu_));
    if (HIWORD(answer) == MNC_CLOSE) {
      CloseChain();
    } else if (HIWORD(answer) == MNC_EXECUTE) {
      Choose(LOWORD(answer));
    }
  }
}

CBmpMenu* CBmpMenu::Root() {
  CBmpMenu* m = this;
  while (m->parent_) m = m->parent_;
  return m;
}

bool CBmpMenu::InChain(HWND hwnd) {
  if (!hwnd) return false;
  for (CBmpMenu* m = Root(); m; m = m->open_submenu_.get()) {
    if (m->frame_.hwnd() == hwnd || m->bar_.hwnd() == hwnd) return true;
  }
  return false;
}

void CBmpMenu::CloseChain() {
  CBmpMenu* root = Root();
  if (root->closing_) return;
  std::vector<CBmpMenu*> chain;
  for (CBmpMenu* m = root; m && m->frame_.hwnd(); m = m->open_submenu_.get()) chain.push_back(m);
  for (CBmpMenu* m : chain) m->closing_ = true;
  // Innermost first, so each submenu goes before the menu it came from.
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if ((*it)->frame_.hwnd()) DestroyWindow((*it)->frame_.hwnd());
  }
}

// ---------------------------------------------------------------- windows

LRESULT CBmpMenu::OnMenuMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (PaintMessage(frame_.hwnd(), msg, wp, [this](HDC dc) { PaintFrame(dc); })) return 0;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ACTIVATE:
      // Losing the activation to anything but a menu of the chain closes it.
      if (LOWORD(wp) == WA_INACTIVE && !closing_ && !InChain(reinterpret_cast<HWND>(lp))) {
        CloseChain();
      }
      return 0;
    case WM_ACTIVATEAPP:
      if (!wp) CloseChain();
      return 0;
    case WM_CANCELMODE:
      CloseChain();
      return 0;
    case WM_COMMAND:
      return SendMessageW(owner_, WM_COMMAND, wp, lp);
    case kMenuSubmenuMessage:
      OpenSubmenu({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, wp != 0);
      return 0;
    case WM_DESTROY:
      CloseSubmenu();
      if (IsWindow(owner_)) SendMessageW(owner_, WM_EXITMENULOOP, TRUE, 0);
      if (parent_ && parent_->bar_.hwnd()) {
        parent_->last_clicked_ = -1;
        if (!Root()->closing_) SetFocus(parent_->bar_.hwnd());
      }
      return 0;
    default:
      return DefWindowProcW(frame_.hwnd(), msg, wp, lp);
  }
}

LRESULT CBmpMenu::OnBarMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (PaintMessage(bar_.hwnd(), msg, wp, [this](HDC dc) { PaintBar(dc); })) return 0;
  if (OnBarKey(msg, wp) || OnBarMouse(msg, wp, lp)) return 0;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    default:
      return DefWindowProcW(bar_.hwnd(), msg, wp, lp);
  }
}

bool CBmpMenu::OnBarKey(UINT msg, WPARAM wp) {
  switch (msg) {
    case WM_KEYDOWN:
      break;
    case WM_CHAR:
      if (wp >= 0x20) Mnemonic(wchar_t(wp));
      return true;
    case WM_SYSKEYDOWN:
      CloseChain();
      return true;
    case WM_SYSCHAR:
      return true;
    default:
      return false;
  }
  switch (wp) {
    case VK_RETURN:
      Press(hot_, true);
      break;
    case VK_RIGHT:
      if (Enabled(hot_) && items_[size_t(hot_)].submenu) Press(hot_, true);
      break;
    case VK_LEFT:
      if (flags_ & kSubmenu) {
        closing_ = true;
        DestroyWindow(frame_.hwnd());
      }
      break;
    case VK_ESCAPE:
      CloseChain();
      break;
    case VK_UP:
      MoveHot(-1);
      break;
    case VK_DOWN:
      MoveHot(1);
      break;
    default:
      break;  // letters reach Mnemonic as characters
  }
  return true;
}

bool CBmpMenu::OnBarMouse(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSELEAVE) {
    hovered_ = -1;
    if (!open_submenu_) SetHot(-1);
    return true;
  }
  if (msg != WM_MOUSEMOVE && msg != WM_MOUSEHOVER && msg != WM_LBUTTONDOWN &&
      msg != kMenuClickMessage)
    return false;
  // The item under the point each of these carries.
  const int i = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
  switch (msg) {
    case WM_MOUSEMOVE:
      if (Enabled(i)) {
        SetHot(i);
        if (i != hovered_) {
          hovered_ = i;
          TRACKMOUSEEVENT t{sizeof(t), TME_HOVER | TME_LEAVE, bar_.hwnd(), HOVER_DEFAULT};
          TrackMouseEvent(&t);
        }
      } else if (!open_submenu_) {
        SetHot(-1);
      }
      return true;
    case WM_MOUSEHOVER:
      if (!Enabled(i)) return true;
      if (!items_[size_t(i)].submenu) {
        CloseSubmenu();
      } else if (!open_submenu_ || open_submenu_->position_in_parent_ != i) {
        CloseSubmenu();
        last_clicked_ = i;
        Press(i, false);
      }
      return true;
    case WM_LBUTTONDOWN:
      if (Enabled(i) && i != last_clicked_) {
        CloseSubmenu();
        last_clicked_ = i;
        PostMessageW(bar_.hwnd(), kMenuClickMessage, wp & ~kKeyboardPress, lp);
      }
      return true;
    default:  // kMenuClickMessage
      Press(i, (wp & kKeyboardPress) != 0);
      return true;
  }
}

}  // namespace tellu
