// The Real-time Who window (dialog 137): the people around in a PictureList,
// muted with a right click, addressed in the bar with a double click, moved
// by dragging its body.  Modeless, owned by the bar; it deletes itself once
// destroyed.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "chat/objects.h"
#include "chat/who_list.h"
#include "settings/settings_store.h"
#include "gui/picture_list.h"
#include "win32/window.h"

namespace tellu {

inline constexpr COLORREF kWhoText = RGB(255, 255, 255);
inline constexpr COLORREF kWhoBackground = RGB(64, 128, 64);
inline constexpr COLORREF kWhoMutedText = RGB(0, 255, 255);
inline constexpr COLORREF kWhoMutedBackground = RGB(255, 0, 0);

class WhoWindow : public Dialog {
 public:
  struct Links {
    SettingsStore& settings;  // the mute list and the saved position
    const ObjectTable& objects;
    HWND host;  // its rectangle places the window; may be nullptr
    HWND edit;  // the bar's field, for the double click
  };
  // Creates and shows the window; `gone` runs once it is destroyed, by
  // whatever path.  nullptr when the dialog cannot be made.
  static WhoWindow* Open(HWND owner, const Links& links, std::function<void()> gone);
  void Close() { End(0); }

  // A refresh request, unless one is waiting already.
  void RequestRefresh();
  const PictureList& list() const { return list_; }
  // Rebuilds of the list and paints of it, also kept in the window's
  // properties kRebuildsProperty and kRepaintsProperty for a benchmark or
  // test in another process.
  int rebuilds() const { return rebuilds_; }
  int repaints() const { return list_.paints; }
  static constexpr wchar_t kRebuildsProperty[] = L"tellu.who.rebuilds";
  static constexpr wchar_t kRepaintsProperty[] = L"tellu.who.repaints";

 protected:
  BOOL OnInitDialog() override;
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Destroyed() override;

 private:
  // Keys never move through the list; a right click on it mutes.
  class List : public PictureList {
   public:
    explicit List(WhoWindow& window) : window_(window) {}
    int paints = 0;

   protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

   private:
    WhoWindow& window_;
  };

  WhoWindow(const Links& links, std::function<void()> gone);
  void Place();
  void Refresh();
  void ToggleMute();
  void Address();
  std::optional<std::string> SelectedHandle() const;
  bool OnMouse(UINT message);
  bool OnSetCursor(HWND under);

  Links links_;
  std::function<void()> gone_;
  HWND owner_ = nullptr;
  List list_{*this};
  HBRUSH brush_ = nullptr;
  std::vector<WhoEntry> shown_;  // what the last rebuild put in the list
  bool refresh_posted_ = false;
  int rebuilds_ = 0;
  bool dragging_ = false;
  POINT drag_point_{};
  RECT drag_rect_{};
};

}  // namespace tellu
