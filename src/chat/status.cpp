#include "chat/status.h"

#include "chat/objects.h"

namespace tellu {

namespace {

constexpr int kOfferedStatus[] = {0, 1, 2, 3, 4, 6};

}  // namespace

int StatusIcon(int index) { return index == kAwayStatus ? kAwayIcon : kNormalIcon; }

std::string_view StatusLabel(int index) {
  return index >= 0 && index < kStatusCount ? kTelluStatus[index].label : std::string_view();
}

std::array<StatusMenuItem, 6> StatusMenu() {
  std::array<StatusMenuItem, 6> items{};
  for (size_t i = 0; i < items.size(); ++i) {
    int index = kOfferedStatus[i];
    items[i] = {index, kTelluStatus[index].label, kTelluStatus[index].bitmap,
                kStatusCommandBase + index};
  }
  return items;
}

void SetStatus(int index, ChatState& state, const Movement& movement, RelayPort& relay, Ui& ui) {
  if (index == state.status || index < 0 || index >= kStatusCount) return;
  state.status = index;
  ui.StatusChanged(index);
  relay.SendToServer(movement.OwnRoomPosition(state.current_room, index));
}

}  // namespace tellu
