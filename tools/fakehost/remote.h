// What a test may ask of a running fakehost through its window.
#pragma once
#include <windows.h>

namespace tellu::fakehost {

// WM_COPYDATA with this dwData: send the bytes as one framed payload to the
// server, as the host's own chat traffic.
inline constexpr ULONG_PTR kSendPayload = 0x54454C4C;

}  // namespace tellu::fakehost
