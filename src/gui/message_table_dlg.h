// The message table (dialog 131): sixteen buttons labelled from the table's
// entries; a click ends the dialog with that entry's result.
#pragma once
#include <windows.h>

#include <array>
#include <optional>

#include "settings/settings.h"

namespace tellu {

// Button n ends the dialog with kMessageResultBase + n.
inline constexpr INT_PTR kMessageResultBase = 100;

// Runs the table modally over `owner`: 100 + n for a click on button n,
// IDCANCEL for Escape or the close box, -1 when it could not be shown.
INT_PTR RunMessageTable(HWND owner, const std::array<MessageEntry, kMessageCount>& entries);

// The entry a result of RunMessageTable chose, if any.
std::optional<int> ChosenMessage(INT_PTR result);

}  // namespace tellu
