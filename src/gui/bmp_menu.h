// CBmpMenu: a popup menu of the program's own making that shows a menu handle
// with a picture beside each item, runs its own modal loop and reports the
// choice to its owner as one WM_COMMAND, like a platform popup menu.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "win32/window.h"

namespace tellu {

// Messages of the menu's own conversation (posted, so a press finishes first).
inline constexpr UINT kMenuClickMessage = WM_USER + 101;    // to the item bar: flags, point
inline constexpr UINT kMenuSubmenuMessage = WM_USER + 103;  // to the menu window: keyboard, point

class CBmpMenu {
 public:
  // flags bits: a submenu, and one opened from the keyboard (first item hot).
  static constexpr int kSubmenu = 0x1;
  static constexpr int kFromKeyboard = 0x100;

  // The side picture (a strip `side_width` pixels wide at the left edge) is
  // taken only if it is a valid bitmap; the caller keeps owning it.
  CBmpMenu(int side_width, bool side_picture_on, HBITMAP side_picture, bool stretch);
  ~CBmpMenu();
  CBmpMenu(const CBmpMenu&) = delete;
  CBmpMenu& operator=(const CBmpMenu&) = delete;

  // The menu shown; fill it with the usual menu calls.  An item's picture is
  // its unchecked check-mark bitmap (its checked one for a checked item).
  HMENU Menu() const { return menu_; }
  // Appends an item with a Shift-JIS text and its picture (kept by the caller).
  void AppendItem(UINT id, std::string_view text, HBITMAP picture = nullptr, UINT flags = 0);
  void AppendSeparator();
  void RemoveAll();

  // Shows the menu at (x, y) in screen pixels and returns once it has closed:
  // 1 when it was shown, 0 when it could not be (no valid owner, no window).
  // `flags` is accepted for the platform call's shape and has no effect.
  int Track(UINT flags, int x, int y, HWND owner, const RECT* exclude = nullptr);

  // The open menu window, none when closed.
  HWND Window() const { return frame_.hwnd(); }

  // Where a top-level menu of `size` opens for the point `at`, and where a
  // submenu opens beside its parent's `item`, inside `desktop`.
  static POINT PlaceTopLevel(POINT at, SIZE size, const RECT& desktop);
  static POINT PlaceSubmenu(const RECT& item, SIZE size, const RECT& desktop);

 private:
  struct Item {
    UINT state = 0;
    UINT id = 0;
    UINT type = 0;
    HMENU submenu = nullptr;
    HBITMAP checked = nullptr;
    HBITMAP unchecked = nullptr;
    std::wstring text;
    RECT rect{};
  };

  // One of the menu's two windows (the frame, and the item bar inside it
  // that has the focus), its messages handed to the menu.
  class Pane : public tellu::Window {
   public:
    using Handler = LRESULT (CBmpMenu::*)(UINT, WPARAM, LPARAM);
    Pane(CBmpMenu& menu, Handler handler) : menu_(menu), handler_(handler) {}
    bool Open(const Class& window_class, DWORD style, DWORD ex_style, POINT at, SIZE size,
              HWND parent);

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
      return (menu_.*handler_)(msg, wp, lp);
    }

   private:
    CBmpMenu& menu_;
    Handler handler_;
  };

  CBmpMenu(HMENU submenu, CBmpMenu* parent, int flags, int position);

  LRESULT OnMenuMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnBarMessage(UINT msg, WPARAM wp, LPARAM lp);
  bool OnBarKey(UINT msg, WPARAM wp);
  bool OnBarMouse(UINT msg, WPARAM wp, LPARAM lp);

  void ReadItems();
  SIZE LayOut();
  void RunLoop();
  void PaintFrame(HDC dc);
  void PaintBar(HDC dc);
  void DrawItem(HDC dc, int index);
  void DrawPicture(HDC dc, const Item& item, const RECT& square, bool hot, bool greyed);

  int HitTest(POINT bar_point) const;
  bool Enabled(int index) const;
  void SetHot(int index);
  void MoveHot(int step);
  void Press(int index, bool from_keyboard);
  void OpenSubmenu(POINT bar_point, bool from_keyboard);
  void CloseSubmenu();
  void Choose(UINT id);
  void Mnemonic(wchar_t ch);

  CBmpMenu* Root();
  bool InChain(HWND hwnd);
  void CloseChain();

  HMENU menu_ = nullptr;
  bool owns_menu_ = true;
  CBmpMenu* parent_ = nullptr;
  std::unique_ptr<CBmpMenu> open_submenu_;
  int position_in_parent_ = 0;

  HWND owner_ = nullptr;
  HBITMAP side_picture_ = nullptr;
  bool side_picture_on_ = false;
  bool stretch_ = true;
  int side_width_ = 0;
  int flags_ = 0;

  Pane frame_{*this, &CBmpMenu::OnMenuMessage};
  Pane bar_{*this, &CBmpMenu::OnBarMessage};
  HFONT font_ = nullptr;
  std::vector<Item> items_;
  int hot_ = -1;
  int last_clicked_ = -1;
  int hovered_ = -1;
  bool closing_ = false;
};

}  // namespace tellu
