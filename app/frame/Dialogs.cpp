#include "app/frame/Dialogs.h"

#include "app/frame/Application.h"
#include "app/frame/FilterText.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

namespace moke {

void CenterDialog(HWND dialog) {
    RECT r;
    if (!GetWindowRect(dialog, &r)) return;
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 3;
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// The explorer-style dialog calls the hook with its child dialog; the
// dialog to move is the parent, once its initialisation is complete.
UINT_PTR CALLBACK FileDialogHook(HWND child, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE) CenterDialog(GetParent(child));
    return 0;
}

const char* const kFontDialogProperty = "MokeFontDialog";
constexpr int kColorList = 1139;
constexpr int kScriptList = 1140;

} // namespace

// ---------------------------------------------------------------------------
// File dialogs

TFileDialog::TFileDialog(TComponent* owner, bool save) : TComponent(owner), save_(save) {}

unsigned long TFileDialog::Flags() const {
    unsigned long flags = OFN_ENABLEHOOK;
    if (options_ & ofReadOnly) flags |= OFN_READONLY;
    if (options_ & ofHideReadOnly) flags |= OFN_HIDEREADONLY;
    flags |= OFN_EXPLORER;
    return flags;
}

bool TFileDialog::Execute() {
    const std::string filter = FilterToNulList(filter_);
    char name[262] = {};
    std::memcpy(name, fileName_.data(), std::min<size_t>(fileName_.size(), 260));

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Application().Handle();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = name;
    ofn.nMaxFile = 260;
    // Empty texts leave the system's own title and starting folder.
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.Flags = Flags();
    ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
    ofn.lpfnHook = FileDialogHook;

    TaskWindowsDisabled disabled;
    const BOOL chosen = save_ ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    disabled.Restore(true);
    if (!chosen) return false;
    fileName_ = name;
    options_ = (ofn.Flags & OFN_READONLY) ? (options_ | ofReadOnly) : (options_ & ~ofReadOnly);
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}

// ---------------------------------------------------------------------------
// Font dialog

UINT_PTR CALLBACK FontDialogHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        const auto* choose = reinterpret_cast<const CHOOSEFONTA*>(lParam);
        SetPropA(dialog, kFontDialogProperty, reinterpret_cast<HANDLE>(choose->lCustData));
        CenterDialog(dialog);
    } else if (msg == WM_COMMAND && HIWORD(wParam) == CBN_SELENDOK) {
        if (auto* owner = static_cast<TFontDialog*>(GetPropA(dialog, kFontDialogProperty))) {
            if (LOWORD(wParam) == kColorList) owner->colorChanged_ = true;
            if (LOWORD(wParam) == kScriptList) owner->charsetChanged_ = true;
        }
    } else if (msg == WM_DESTROY) {
        RemovePropA(dialog, kFontDialogProperty);
    }
    return 0;
}

TFontDialog::TFontDialog(TComponent* owner) : TComponent(owner) {}

bool TFontDialog::Execute() {
    LOGFONTA logFont = font_.Describe();
    const std::string keptFace = logFont.lfFaceName;

    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = Application().Handle();
    choose.lpLogFont = &logFont;
    choose.Flags = CF_SCREENFONTS | CF_ENABLEHOOK | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    choose.rgbColors = font_.Color();
    choose.lCustData = reinterpret_cast<LPARAM>(this);
    choose.lpfnHook = FontDialogHook;

    colorChanged_ = false;
    charsetChanged_ = false;
    TaskWindowsDisabled disabled;
    const BOOL chosen = ChooseFontA(&choose);
    disabled.Restore(true);
    if (!chosen) return false;

    if (lstrcmpiA(logFont.lfFaceName, keptFace.c_str()) != 0) charsetChanged_ = true;
    font_.SetName(logFont.lfFaceName);
    font_.SetHeight(logFont.lfHeight);
    if (charsetChanged_) font_.SetCharset(logFont.lfCharSet);
    font_.SetStyles(TFont::StylesOf(logFont));
    if (colorChanged_) font_.SetColor(choose.rgbColors);
    return true;
}

} // namespace moke
