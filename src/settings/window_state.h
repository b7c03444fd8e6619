// SaveWindowState: the settings dialog's "save the present state" button,
// written at once from the windows' outer rectangles.
#pragma once
#include <optional>

#include "settings/settings_store.h"

namespace tellu {

struct WindowRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct WindowRects {
  std::optional<WindowRect> host;        // absent when its rectangle cannot be read
  WindowRect bar;
  std::optional<WindowRect> log_window;  // present while the log window is open
  int log_window_real = 0;               // its update state
  bool who_window_flag = false;          // the Who-window flag of this run
  std::optional<WindowRect> who_window;  // present while the Who window is open
};

// Writes the state in its fixed order and keeps the values in the settings.
void SaveWindowState(SettingsStore& store, const WindowRects& state);

}  // namespace tellu
