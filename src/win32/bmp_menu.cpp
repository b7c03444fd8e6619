#include "win32/bmp_menu.h"

#include <windowsx.h>

#include <algorithm>

#include "text/sjis.h"

namespace tellu {

namespace {

constexpr wchar_t kMenuClass[] = L"BitmapMenu";
constexpr wchar_t kBarClass[] = L"BitmapMenuItems";
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr WPARAM kKeyboardPress = 0x8000;  // beside the MK_ flags of a press

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

std::wstring Wide(std::string_view sjis) {
  std::u16string u = text::SjisToUtf16(sjis);
  return std::wstring(u.begin(), u.end());
}

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
  if (hwnd_) {
    closing_ = true;
    DestroyWindow(hwnd_);
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

void CBmpMenu::RegisterClasses() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.style = CS_SAVEBITS;
  wc.lpszClassName = kMenuClass;
  wc.lpfnWndProc = MenuProc;
  RegisterClassExW(&wc);
  wc.style = 0;
  wc.lpszClassName = kBarClass;
  wc.lpfnWndProc = BarProc;
  RegisterClassExW(&wc);
  done = true;
}

int CBmpMenu::Track(UINT, int x, int y, HWND owner, const RECT* exclude) {
  if (hwnd_ || !menu_ || !owner || !IsWindow(owner)) return 0;
  bool submenu = flags_ & kSubmenu;
  owner_ = owner;
  closing_ = false;
  SendMessageW(owner_, submenu ? WM_INITMENUPOPUP : WM_INITMENU, WPARAM(menu_),
               submenu ? MAKELPARAM(position_in_parent_, FALSE) : 0);
  if (!IsMenu(menu_)) return 0;

  RegisterClasses();
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

  HWND window_owner = submenu && parent_ ? parent_->hwnd_ : owner_;
  CreateWindowExW(kExStyle, kMenuClass, L"", kStyle, at.x, at.y, size.cx, size.cy, window_owner,
                  nullptr, Instance(), this);
  if (hwnd_) {
    CreateWindowExW(0, kBarClass, L"", WS_CHILD | WS_VISIBLE, side_width_, 0, bar.cx, bar.cy,
                    hwnd_, nullptr, Instance(), this);
  }
  if (!hwnd_ || !bar_) {
    if (hwnd_) DestroyWindow(hwnd_);
    items_.clear();
    DeleteObject(font_);
    font_ = nullptr;
    return 0;
  }

  if (!submenu) SetForegroundWindow(GetAncestor(owner_, GA_ROOT));
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  SetFocus(bar_);
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
  MSG msg;
  while (hwnd_) {
    if (!IsWindow(owner_)) {
      CloseChain();
      break;
    }
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The application is ending: close, and leave the quit to the outer loop.
      if (got == 0) PostQuitMessage(int(msg.wParam));
      CloseChain();
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
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
  if (hot_ >= 0 && bar_) InvalidateRect(bar_, &items_[size_t(hot_)].rect, FALSE);
  hot_ = i;
  if (i < 0) return;
  const Item& item = items_[size_t(i)];
  if (bar_) InvalidateRect(bar_, &item.rect, FALSE);
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
    PostMessageW(hwnd_, kMenuSubmenuMessage, from_keyboard, MAKELPARAM(c.x, c.y));
  } else {
    Choose(item.id);
  }
}

void CBmpMenu::OpenSubmenu(POINT p, bool from_keyboard) {
  int i = HitTest(p);
  if (!hwnd_ || !Enabled(i) || !items_[size_t(i)].submenu || open_submenu_) return;
  RECT r = items_[size_t(i)].rect;
  MapWindowPoints(bar_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  int flags = kSubmenu | (from_keyboard ? kFromKeyboard : 0);
  open_submenu_.reset(new CBmpMenu(items_[size_t(i)].submenu, this, flags, i));
  CBmpMenu* child = open_submenu_.get();
  child->Track(0, r.right, r.top, owner_, &r);
  // The submenu has closed, by itself or with the whole chain.
  if (open_submenu_.get() == child) open_submenu_.reset();
  last_clicked_ = -1;
}

void CBmpMenu::CloseSubmenu() {
  if (!open_submenu_ || !open_submenu_->hwnd_) return;
  std::vector<CBmpMenu*> chain;
  for (CBmpMenu* m = open_submenu_.get(); m && m->hwnd_; m = m->open_submenu_.get()) {
    chain.push_back(m);
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    (*it)->closing_ = true;
    if ((*it)->hwnd_) DestroyWindow((*it)->hwnd_);
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
    if (m->hwnd_ == hwnd || m->bar_ == hwnd) return true;
  }
  return false;
}

void CBmpMenu::CloseChain() {
  CBmpMenu* root = Root();
  if (root->closing_) return;
  std::vector<CBmpMenu*> chain;
  for (CBmpMenu* m = root; m && m->hwnd_; m = m->open_submenu_.get()) chain.push_back(m);
  for (CBmpMenu* m : chain) m->closing_ = true;
  // Innermost first, so each submenu goes before the menu it came from.
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if ((*it)->hwnd_) DestroyWindow((*it)->hwnd_);
  }
}

// ---------------------------------------------------------------- windows

LRESULT CALLBACK CBmpMenu::MenuProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  CBmpMenu* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<CBmpMenu*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, LONG_PTR(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<CBmpMenu*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->OnMenuMessage(msg, wp, lp);
}

LRESULT CALLBACK CBmpMenu::BarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  CBmpMenu* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<CBmpMenu*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, LONG_PTR(self));
    self->bar_ = hwnd;
  } else {
    self = reinterpret_cast<CBmpMenu*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->bar_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->OnBarMessage(msg, wp, lp);
}

LRESULT CBmpMenu::OnMenuMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      PaintFrame(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintFrame(reinterpret_cast<HDC>(wp));
      return 0;
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
      if (parent_ && parent_->bar_) {
        parent_->last_clicked_ = -1;
        if (!Root()->closing_) SetFocus(parent_->bar_);
      }
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

LRESULT CBmpMenu::OnBarMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(bar_, &ps);
      PaintBar(dc);
      EndPaint(bar_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintBar(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
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
            DestroyWindow(hwnd_);
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
      return 0;
    case WM_CHAR:
      if (wp >= 0x20) Mnemonic(wchar_t(wp));
      return 0;
    case WM_SYSKEYDOWN:
      CloseChain();
      return 0;
    case WM_SYSCHAR:
      return 0;
    case WM_MOUSEMOVE: {
      int i = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (Enabled(i)) {
        SetHot(i);
        if (i != hovered_) {
          hovered_ = i;
          TRACKMOUSEEVENT t{sizeof(t), TME_HOVER | TME_LEAVE, bar_, HOVER_DEFAULT};
          TrackMouseEvent(&t);
        }
      } else if (!open_submenu_) {
        SetHot(-1);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      hovered_ = -1;
      if (!open_submenu_) SetHot(-1);
      return 0;
    case WM_MOUSEHOVER: {
      int i = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (!Enabled(i)) return 0;
      bool its_submenu_open = open_submenu_ && open_submenu_->position_in_parent_ == i;
      if (items_[size_t(i)].submenu) {
        if (!its_submenu_open) {
          CloseSubmenu();
          last_clicked_ = i;
          Press(i, false);
        }
      } else {
        CloseSubmenu();
      }
      return 0;
    }
    case WM_LBUTTONDOWN: {
      int i = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (Enabled(i) && i != last_clicked_) {
        CloseSubmenu();
        last_clicked_ = i;
        PostMessageW(bar_, kMenuClickMessage, wp & ~kKeyboardPress, lp);
      }
      return 0;
    }
    case kMenuClickMessage:
      Press(HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}), (wp & kKeyboardPress) != 0);
      return 0;
    default:
      return DefWindowProcW(bar_, msg, wp, lp);
  }
}

}  // namespace tellu
