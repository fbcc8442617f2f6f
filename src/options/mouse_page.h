// The Mouse page of the options dialog: which button opens the list, how an entry is chosen, and
// the details (cursor tolerance, time-out, cancel distance, centring the cursor).
#pragma once

#include <windows.h>

#include <string>

#include "settings/preferences_file.h"

namespace mw {

// Ranges of the page's controls.
constexpr int kRangeSliderMax = kPermissibleRangeMax / 2; // slider position = PermissibleRange / 2
// The bounds of the values themselves are those of the preferences table (kTimeOutMin and the
// others in settings/preferences_file.h).
constexpr int kTimeOutStep = 100;
constexpr int kCancelPxStep = 10;

// The time-out in seconds with one decimal, tenths truncated: 500 -> "0.5", 2340 -> "2.3",
// 5000 -> "5.0". Hand-edited values outside three or four digits follow the same rule
// (50 -> "0.0", 12345 -> "12.3", -500 -> "-0.5").
std::wstring SecondsText(int milliseconds);

// Where an up-down step from `position` by `delta` leads, held within [low, high].
int SteppedPosition(int position, int delta, int low, int high);

// A cancel distance typed into its edit: decimal digits with an optional sign and blanks around
// them, held within [kCancelPxMin, kCancelPxMax] as the arrows hold it; false for anything else.
bool ParseCancelPx(const std::wstring& text, int* pixels);

INT_PTR CALLBACK MousePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace mw
