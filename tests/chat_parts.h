// The chat core on the in-memory doubles, as the unit tests, fuzz targets and
// benchmarks build it; `Relay` is the caller's relay double.
#pragma once
#include <cstdint>

#include "chat/chat_core.h"
#include "log/log_file.h"
#include "log/log_store.h"
#include "platform/fake_files.h"
#include "platform/fake_profile.h"
#include "platform/fake_timers.h"
#include "platform/fake_ui.h"
#include "settings/settings_store.h"

namespace tellu {

template <class Relay>
struct ChatParts {
  FakeProfile profile;
  SettingsStore settings{profile, "SYS1"};
  FakeFiles files;
  FakeTimers timers;
  LogStore log;
  LogFile log_file{files, timers, settings.settings().log_chk, [this] { settings.ForgetLogName(); }};
  FakeUi ui;
  Relay relay;
  uint64_t host_count = 0;  // messages from the host so far, as the relay counts them
  ChatCore core{relay, settings, log, log_file, ui, [this] { return host_count; }};
};

}  // namespace tellu
