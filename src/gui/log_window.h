// The log window (dialog 134): the recent chat from the log store in a
// LinkView, live or frozen, all lines or whispers only.  Modeless, owned by
// the bar; it deletes itself once destroyed.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "log/log_store.h"
#include "log/log_window_model.h"
#include "platform/shell.h"
#include "settings/settings.h"
#include "win32/dialog_layout.h"
#include "gui/link_view.h"
#include "gui/tile_painter.h"
#include "gui/log_find.h"
#include "win32/window.h"

namespace tellu {

// The refresh request (WM_USER+100), both parameters 0.
inline constexpr UINT kRefreshMessage = WM_USER + 100;
inline constexpr int kLogLineLimit = 1024;
inline constexpr COLORREF kServerLostColour = RGB(0, 128, 0);

class LogWindow : public Dialog {
 public:
  // Creates and shows the window; `gone` runs once it is destroyed, by
  // whatever path.  nullptr when the dialog cannot be made.
  static LogWindow* Open(HWND owner, LogStore& store, Shell& shell, const Settings& settings,
                         std::function<void()> gone);

  LinkView& view() { return view_; }
  // The dispatcher asks the model whether to send refresh requests.
  const LogWindowModel* model() const { return model_.get(); }
  void Close() { End(0); }

 protected:
  BOOL OnInitDialog() override;
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Destroyed() override;

 private:
  LogWindow(LogStore& store, Shell& shell, const Settings& settings, std::function<void()> gone);
  void FullFill(const std::string& text);
  void Apply(const LogUpdate& update);
  void SetCaption();
  void OnFreeze();

  LogStore& store_;
  const Settings& settings_;
  std::function<void()> gone_;
  std::unique_ptr<LogWindowModel> model_;
  LinkView view_;
  std::unique_ptr<LogFind> find_;
  DialogLayout layout_;
  std::unique_ptr<TilePainter> tile_;
  std::string caption_;  // as last set
};

COLORREF ColourOf(Rgb rgb);

}  // namespace tellu
