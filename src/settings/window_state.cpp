#include "settings/window_state.h"

#include "settings/keys.h"

namespace tellu {
namespace {

Pair Position(const WindowRect& r) { return {r.left, r.top}; }
Pair Size(const WindowRect& r) { return {r.right - r.left, r.bottom - r.top}; }

void Put(SettingsStore& store, const char* key, Pair& field, Pair value) {
  field = value;
  store.WritePoint(key, value.x, value.y);
}

void Put(SettingsStore& store, const char* key, int& field, int value) {
  field = value;
  store.WriteInt(key, value);
}

}  // namespace

void SaveWindowState(SettingsStore& store, const WindowRects& state) {
  Settings& s = store.settings();
  // Without the host's rectangle there is no position to save; the one saved
  // before stays.
  if (state.host) Put(store, keys::kPositionRv, s.position_rv, Position(*state.host));
  Put(store, keys::kPositionTelluWindow, s.position_tellu_window, Position(state.bar));
  Put(store, keys::kSizeTelluWindow, s.size_tellu_window, Size(state.bar));
  Put(store, keys::kLogWindowFlag, s.log_window_flag, state.log_window ? 1 : 0);
  if (state.log_window) {
    Put(store, keys::kPositionLogWindow, s.position_log_window, Position(*state.log_window));
    Put(store, keys::kSizeLogWindow, s.size_log_window, Size(*state.log_window));
    Put(store, keys::kLogWindowReal, s.log_window_real, state.log_window_real);
  }
  Put(store, keys::kWhoWindowFlag, s.who_window_flag, state.who_window_flag ? 1 : 0);
  if (state.who_window) {
    Put(store, keys::kPositionWhoWindow, s.position_who_window, Position(*state.who_window));
  }
}

}  // namespace tellu
