// Reading and setting the main window's items, shared by the window and its Convert command.
#pragma once

#include <windows.h>

#include <cstdint>

#include "windows/CommandHelpers.h"

namespace vlc {

// What the file name fields show before a file is chosen.
inline constexpr const char* NoFileSelected = "No file selected";

inline bool isChecked(HWND window, int id) {
    return IsDlgButtonChecked(window, id) == BST_CHECKED;
}

inline void setChecked(HWND window, int id, bool on) {
    CheckDlgButton(window, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// A number edit as the settings file keeps it: its text read as a leading decimal integer.
inline std::int32_t editNumber(HWND window, int id) {
    char text[64] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return leadingInteger(text);
}

}  // namespace vlc
