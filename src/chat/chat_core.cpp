#include "chat/chat_core.h"

namespace tellu {

// The voice and the dispatcher call each other; the voice only keeps the
// dispatcher's address until the first message arrives.
ChatCore::ChatCore(RelayPort& relay, SettingsStore& settings, LogStore& log, LogFile& log_file,
                   Ui& ui, std::function<uint64_t()> host_message_count)
    : movement_(objects_, relay),
      voice_(state_, relay, settings, dispatcher_),
      dispatcher_({state_, objects_, movement_, relay, settings, log, log_file, ui, voice_}) {
  dispatcher_.set_host_message_count(std::move(host_message_count));
  state_.who_window_flag = settings.settings().who_window_flag == 1;
}

}  // namespace tellu
