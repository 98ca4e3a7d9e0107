#include "app/frame/Dialogs.h"

#include "app/frame/Application.h"
#include "app/frame/CodePage.h"
#include "app/frame/FilterText.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

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

// The dialog joins the folder it shows, a typed name and the default
// extension in buffers of MAX_PATH characters of its own, and Wine's overruns
// them (ending the program) when the whole is longer; the name buffer handed
// to the dialog holds no more either. So the file name box takes no more
// than what fits beside the folder and the extension. Byte counts of the
// folder and the extension are at least their character counts.
WPARAM TypedNameRoom(HWND dialog, const OPENFILENAMEA& ofn) {
    char folder[MAX_PATH * 2] = {};
    const LRESULT got = SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
    // A folder too long for the buffer counts at its full length.
    size_t folderLength = 0;
    if (got > 0)
        folderLength = static_cast<size_t>(got) <= sizeof folder ? std::strlen(folder) : static_cast<size_t>(got);
    const size_t extensionLength = ofn.lpstrDefExt ? std::strlen(ofn.lpstrDefExt) : 0;
    // The folder, a separator, the name, a dot, the extension and the NUL.
    const size_t taken = folderLength + 1 + (extensionLength ? extensionLength + 1 : 0) + 1;
    return taken < MAX_PATH ? MAX_PATH - taken : 1;
}

// The file name box is a combo box (cmb13: a plain one, or an extended one
// as in Wine, whose own edit takes the limit) or a plain edit (edt1). When
// `cut`, a name already there that is longer is cut (never inside a
// surrogate pair).
void LimitTypedName(HWND box, bool combo, WPARAM room, bool cut) {
    SendMessageA(box, combo ? CB_LIMITTEXT : EM_LIMITTEXT, room, 0);
    if (!cut || static_cast<WPARAM>(GetWindowTextLengthW(box)) <= room) return;
    wchar_t kept[MAX_PATH] = {};
    int length = GetWindowTextW(box, kept, static_cast<int>(room) + 1);
    if (length > 0 && IS_HIGH_SURROGATE(kept[length - 1])) kept[--length] = L'\0';
    SetWindowTextW(box, kept);
}

void LimitFileNameBox(HWND dialog, const OPENFILENAMEA& ofn, bool cut) {
    const WPARAM room = TypedNameRoom(dialog, ofn);
    if (HWND combo = GetDlgItem(dialog, cmb13)) {
        char className[32] = {};
        GetClassNameA(combo, className, sizeof className);
        if (lstrcmpiA(className, WC_COMBOBOXEXA) != 0) {
            LimitTypedName(combo, true, room, cut);
        } else if (auto edit = reinterpret_cast<HWND>(SendMessageA(combo, CBEM_GETEDITCONTROL, 0, 0))) {
            LimitTypedName(edit, false, room, cut);
        }
    }
    if (HWND edit = GetDlgItem(dialog, edt1)) LimitTypedName(edit, false, room, cut);
}

// Set on the dialog once its initialisation is complete.
const char* const kFileDialogReady = "MokeFileDialogReady";

// The explorer-style dialog calls the hook with its child dialog; the dialog
// to move and limit is the parent. Once its initialisation is complete it is
// moved and its name box limited, the name offered (the last one chosen,
// which fitted) left whole. Whenever it shows another folder afterwards, the
// limit follows and a name typed before is cut to it.
UINT_PTR CALLBACK FileDialogHook(HWND child, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_DESTROY) RemovePropA(GetParent(child), kFileDialogReady);
    if (msg != WM_NOTIFY) return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
    HWND dialog = GetParent(child);
    if (notify->hdr.code == CDN_INITDONE) {
        if (notify->lpOFN) LimitFileNameBox(dialog, *notify->lpOFN, false);
        SetPropA(dialog, kFileDialogReady, reinterpret_cast<HANDLE>(1));
        CenterDialog(dialog);
    } else if (notify->hdr.code == CDN_FOLDERCHANGE && notify->lpOFN && GetPropA(dialog, kFileDialogReady)) {
        LimitFileNameBox(dialog, *notify->lpOFN, true);
    }
    return 0;
}

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

// Whether the system has a face of this name, in any character set.
bool FaceExists(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    if (HDC screen = GetDC(nullptr)) {
        EnumFontFamiliesExW(screen, &wanted, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, screen);
    }
    return found;
}

// The face and character height (negative, in pixels) the system shows for
// a logical font; an empty face when it cannot tell.
struct ShownFont {
    std::wstring face;
    LONG height = 0;
};

ShownFont ShownFontOf(const LOGFONTA& logFont) {
    const LOGFONTW wide = WideLogFont(logFont);
    ShownFont shown;
    HFONT font = CreateFontIndirectW(&wide);
    if (!font) return shown;
    if (HDC screen = GetDC(nullptr)) {
        const HGDIOBJ previous = SelectObject(screen, font);
        wchar_t name[LF_FACESIZE] = {};
        TEXTMETRICW metrics{};
        if (GetTextFaceW(screen, LF_FACESIZE, name) > 0 && GetTextMetricsW(screen, &metrics)) {
            shown.face = name;
            shown.height = -(metrics.tmHeight - metrics.tmInternalLeading);
        }
        SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
    }
    DeleteObject(font);
    return shown;
}

// A face the system lacks is not in the dialog's list, and the dialog would
// start on the first face it lists, at its smallest size. Offer instead the
// face and height the system shows in its place, so that OK without a change
// keeps the look. A face that exists is offered as it is.
void OfferShownFace(LOGFONTA& logFont) {
    const std::wstring face = WideFromProgram(logFont.lfFaceName);
    if (FaceExists(face)) return;
    const ShownFont shown = ShownFontOf(logFont);
    const std::string name = ProgramFromWide(shown.face);
    // A name the program's code page cannot carry whole is left alone.
    if (shown.face.empty() || name.size() >= LF_FACESIZE || WideFromProgram(name) != shown.face) return;
    lstrcpynA(logFont.lfFaceName, name.c_str(), LF_FACESIZE);
    logFont.lfHeight = shown.height;
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
    OfferShownFace(logFont);
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
