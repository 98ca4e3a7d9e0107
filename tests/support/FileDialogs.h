// Answers for the system's file dialogs, given as the user gives them.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>

#include <functional>
#include <string>

namespace moke::test {

// The file name field of the explorer-style dialog: the combo box 0x47C or
// the plain edit 0x480.
inline HWND FileNameField(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, cmb13); combo && IsWindowVisible(combo)) return combo;
    return GetDlgItem(dialog, edt1);
}

// Selects a row of one of a dialog's lists as the user does: the list
// reports the confirmed choice, then the change.
inline void Select(HWND dialog, int list, int row) {
    HWND combo = GetDlgItem(dialog, list);
    SendMessageA(combo, CB_SETCURSEL, row, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// Types `name` (after choosing the file type row `filterRow`, if any) and
// confirms.
inline std::function<void(HWND)> ChooseFile(const std::string& name, int filterRow = -1) {
    return [name, filterRow](HWND dialog) {
        if (filterRow >= 0) Select(dialog, cmb1, filterRow);
        SetWindowTextA(FileNameField(dialog), name.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
}

inline std::function<void(HWND)> CancelDialog() {
    return [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); };
}

} // namespace moke::test
