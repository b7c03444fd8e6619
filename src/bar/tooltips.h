// The tooltips of the input bar's buttons.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tellu {

// The tooltip of a bar control, none for the others; the status button's
// names `status_label` (Shift-JIS, as the tooltip is).
std::optional<std::string> TooltipText(int control, std::string_view status_label);

}  // namespace tellu
