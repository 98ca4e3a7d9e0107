#include "document/Memo.h"

#include "app/frame/Failure.h"
#include "document/LineBreaks.h"
#include "document/TextPositions.h"

#include <string_view>

namespace moke {

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 185, 89);
}

bool TMemo::ControlCountsCharacters() {
    // Asked once: a control that reports the selection of a double-byte
    // character as one position counts characters.
    static const bool counts = [] {
        if (SystemLeadBytes().Empty()) return false;
        HWND probe = CreateWindowExA(0, "EDIT", "", ES_MULTILINE, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        if (!probe) return false;
        SendMessageA(probe, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("表a"));
        SendMessageA(probe, EM_SETSEL, 0, -1);
        DWORD start = 0, end = 0;
        SendMessageA(probe, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        DestroyWindow(probe);
        return end == 2;
    }();
    return counts;
}

void TMemo::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.className = "EDIT";
    params.caption.clear();
    params.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_LEFT;
    if (!wordWrap_) params.style |= ES_AUTOHSCROLL;
    if (!hideSelection_) params.style |= ES_NOHIDESEL;
    if (readOnly_) params.style |= ES_READONLY;
    if (scrollBars_ == TScrollStyle::Horizontal || scrollBars_ == TScrollStyle::Both) params.style |= WS_HSCROLL;
    if (scrollBars_ == TScrollStyle::Vertical || scrollBars_ == TScrollStyle::Both) params.style |= WS_VSCROLL;
    params.exStyle |= WS_EX_CLIENTEDGE;
}

void TMemo::InitializeWnd() {
    HWND window = Window();
    sendingText_ = true;
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_.c_str()));
    sendingText_ = false;
    text_.clear();
    text_.shrink_to_fit();
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageA(window, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
}

void TMemo::FinalizeWnd() {
    HWND window = Window();
    if (!window) return;
    text_ = Text();
    modified_ = SendMessageA(window, EM_GETMODIFY, 0, 0) != 0;
}

void TMemo::Recreate() {
    if (!Window()) return;
    const bool hadFocus = Focused();
    RecreateWnd();
    if (hadFocus) SetFocus();
}

void TMemo::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    Recreate();
}

void TMemo::SetScrollBars(TScrollStyle value) {
    if (scrollBars_ == value) return;
    scrollBars_ = value;
    Recreate();
}

void TMemo::SetHideSelection(bool value) {
    if (hideSelection_ == value) return;
    hideSelection_ = value;
    Recreate();
}

void TMemo::SetReadOnly(bool value) {
    if (readOnly_ == value) return;
    readOnly_ = value;
    if (HWND window = Window()) SendMessageA(window, EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TMemo::SetMaxLength(int value) {
    maxLength_ = value;
    if (HWND window = Window()) SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

bool TMemo::Modified() const {
    if (HWND window = Window()) return SendMessageA(window, EM_GETMODIFY, 0, 0) != 0;
    return modified_;
}

void TMemo::SetModified(bool value) {
    modified_ = value;
    if (HWND window = Window()) SendMessageA(window, EM_SETMODIFY, value ? TRUE : FALSE, 0);
}

void TMemo::Clear() {
    HWND window = Handle();
    sendingText_ = true;
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    sendingText_ = false;
}

std::size_t TMemo::TextLength() const {
    if (HWND window = Window()) return static_cast<std::size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    return text_.size();
}

std::string TMemo::Text() const {
    HWND window = Window();
    if (!window) return text_;
    const auto length = static_cast<std::size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(length, '\0');
    const auto got = static_cast<std::size_t>(
        SendMessageA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
    text.resize(got < length ? got : length);
    return text;
}

void TMemo::SetText(const std::string& text) {
    std::string normalized;
    SetNormalizedText(NormalizeLineBreaks(text, normalized) ? normalized : text);
}

void TMemo::SetNormalizedText(const std::string& text) {
    HWND window = Handle();
    const auto current = static_cast<std::size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    if (current == text.size() && Text() == text) return;
    // The control takes text beyond its limit through WM_SETTEXT without a
    // word; what it would not let the user type is refused here as well.
    // Characters are never more than bytes: they are counted only when the
    // bytes alone are over the limit.
    const auto limit = static_cast<std::size_t>(SendMessageA(window, EM_GETLIMITTEXT, 0, 0));
    const std::string_view sent(text.c_str());
    if (sent.size() > limit &&
        (!ControlCountsCharacters() || CharacterIndexOfByte(sent, sent.size()) > limit))
        throw MakeFailure(FailureKind::Capacity);
    sendingText_ = true;
    const LRESULT accepted = SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    sendingText_ = false;
    if (!accepted) throw MakeFailure(FailureKind::Capacity);
    Change();
}

std::size_t TMemo::ToBytes(const std::string& text, std::size_t position) const {
    return ControlCountsCharacters() ? ByteOffsetOfCharacter(text, position) : position;
}

void TMemo::GetSelection(std::size_t& start, std::size_t& end) const {
    start = end = 0;
    HWND window = Window();
    if (!window) return;
    DWORD from = 0, to = 0;
    SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    if (ControlCountsCharacters() && (from != 0 || to != 0)) {
        const std::string text = Text();
        start = ByteOffsetOfCharacter(text, from);
        end = ByteOffsetOfCharacter(text, to);
        return;
    }
    start = from;
    end = to;
}

void TMemo::SetSelection(std::size_t start, std::size_t end) {
    HWND window = Handle();
    if (ControlCountsCharacters()) {
        const std::string text = Text();
        start = CharacterIndexOfByte(text, start);
        end = CharacterIndexOfByte(text, end);
    }
    SendMessageA(window, EM_SETSEL, start, static_cast<LPARAM>(end));
}

std::size_t TMemo::SelectionLength() const {
    HWND window = Window();
    if (!window) return 0;
    DWORD from = 0, to = 0;
    SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    if (from == to) return 0; // no need to fetch the text
    std::size_t start, end;
    GetSelection(start, end);
    return end - start;
}

std::string TMemo::SelectedText() const {
    HWND window = Window();
    if (!window) return {};
    DWORD from = 0, to = 0;
    SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    if (from == to) return {};
    const std::string text = Text();
    const std::size_t start = ToBytes(text, from), end = ToBytes(text, to);
    return text.substr(start, end - start);
}

void TMemo::ReplaceSelection(const std::string& text) {
    SendMessageA(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TMemo::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }
void TMemo::ClearSelection() { SendMessageA(Handle(), WM_CLEAR, 0, 0); }
void TMemo::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }
void TMemo::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }
void TMemo::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }

bool TMemo::CanUndo() const {
    HWND window = Window();
    return window && SendMessageA(window, EM_CANUNDO, 0, 0) != 0;
}

void TMemo::Undo() {
    if (HWND window = Window()) SendMessageA(window, EM_UNDO, 0, 0);
}

void TMemo::Change() {
    if (OnChange) OnChange(*this);
}

void TMemo::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        // The control's own report of a change; none while it is being made
        // or while the component itself sends a whole text.
        if (HIWORD(message.WParam) == EN_CHANGE && !Creating() && !sendingText_) Change();
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        // The platform's colours, with the text in the font's colour.
        TWinControl::WndProc(message);
        SetTextColor(reinterpret_cast<HDC>(message.WParam), Font().Color());
        return;
    case WM_GETDLGCODE:
        TWinControl::WndProc(message);
        if (wantTabs_) message.Result |= DLGC_WANTTAB;
        if (!wantReturns_) message.Result &= ~DLGC_WANTALLKEYS;
        return;
    default: break;
    }
    TWinControl::WndProc(message);
}

TComponent& Build(FormBuilder& b, const MemoDef& def) {
    auto& memo = b.Form().Make<TMemo>();
    memo.SetWordWrap(def.wordWrap);
    memo.SetScrollBars(def.scrollBars);
    memo.SetReadOnly(def.readOnly);
    memo.SetWantTabs(def.wantTabs);
    memo.SetWantReturns(def.wantReturns);
    memo.SetHideSelection(def.hideSelection);
    memo.SetMaxLength(def.maxLength);
    memo.OnChange = b.Notify(def.onChange);
    b.Place(memo, def.control);
    return memo;
}

} // namespace moke
