#include "document/Memo.h"

#include "app/frame/Failure.h"
#include "document/TextEncoding.h"
#include "document/editor/EditorWindow.h"

#include <new>
#include <string_view>

namespace moke {

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 185, 89);
}

void TMemo::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // The editor's own control, which speaks the platform edit control's
    // messages: it takes any text at once and lays out only what is seen.
    editor::RegisterEditorClass(GetModuleHandleW(nullptr));
    params.className = "MokeEdit";
    params.caption.clear();
    // The control keeps its text in UTF-16: its messages pass through here in
    // their wide form, so that no character is lost on the way, ours or those
    // of other programs reading the text.
    params.wideProcedure = true;
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
    // The font and the limit go first: a font sent after the text would make
    // the control lay the whole text out a second time.
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    textTaken_ = false;
    // The text kept while there was no window moves in without a copy.
    if (stored_.Length() > 0) {
        sendingText_ = true;
        const LRESULT taken = SendMessageW(window, editor::EM_TAKETEXT, editor::TextKey(), reinterpret_cast<LPARAM>(&stored_));
        sendingText_ = false;
        // Refused, the text stays here rather than being lost with the window.
        if (!taken) throw MakeFailure(FailureKind::OutOfMemory);
    }
    stored_.Reset();
    SendMessageW(window, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
}

void TMemo::FinalizeWnd() {
    HWND window = Window();
    if (!window) return;
    if (textTaken_) return;
    modified_ = SendMessageW(window, EM_GETMODIFY, 0, 0) != 0;
    // The window is going with the program: its text is kept, moved out of
    // the control without a copy.
    SendMessageW(window, editor::EM_GIVETEXT, editor::TextKey(), reinterpret_cast<LPARAM>(&stored_));
    textTaken_ = true;
}

void TMemo::Recreate() {
    if (!Window()) return;
    const bool hadFocus = Focused();
    // The text moves out of the old window and into the new one, never
    // copied, so that a text as large as memory allows survives the change.
    // The flag is read first: the emptied control has nothing modified.
    modified_ = SendMessageW(Window(), EM_GETMODIFY, 0, 0) != 0;
    if (!SendMessageW(Window(), editor::EM_GIVETEXT, editor::TextKey(), reinterpret_cast<LPARAM>(&stored_)))
        throw MakeFailure(FailureKind::OutOfMemory);
    textTaken_ = true;
    RecreateWnd();
    if (hadFocus) SetFocus();
}

void TMemo::SetWordWrap(bool value) { SetWordWrapAndScrollBars(value, scrollBars_); }

void TMemo::SetScrollBars(TScrollStyle value) { SetWordWrapAndScrollBars(wordWrap_, value); }

void TMemo::SetWordWrapAndScrollBars(bool wordWrap, TScrollStyle scrollBars) {
    if (wordWrap_ == wordWrap && scrollBars_ == scrollBars) return;
    const bool oldWrap = wordWrap_;
    const TScrollStyle oldBars = scrollBars_;
    wordWrap_ = wordWrap;
    scrollBars_ = scrollBars;
    try {
        Recreate();
    } catch (...) {
        wordWrap_ = oldWrap;
        scrollBars_ = oldBars;
        throw;
    }
}

void TMemo::SetHideSelection(bool value) {
    if (hideSelection_ == value) return;
    hideSelection_ = value;
    Recreate();
}

void TMemo::SetReadOnly(bool value) {
    if (readOnly_ == value) return;
    readOnly_ = value;
    if (HWND window = Window()) SendMessageW(window, EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TMemo::SetMaxLength(int value) {
    maxLength_ = value;
    if (HWND window = Window()) SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

bool TMemo::Modified() const {
    if (HWND window = Window()) return SendMessageW(window, EM_GETMODIFY, 0, 0) != 0;
    return modified_;
}

void TMemo::SetModified(bool value) {
    modified_ = value;
    if (HWND window = Window()) SendMessageW(window, EM_SETMODIFY, value ? TRUE : FALSE, 0);
}

void TMemo::Clear() {
    HWND window = Handle();
    sendingText_ = true;
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    sendingText_ = false;
}

std::size_t TMemo::TextLength() const {
    if (HWND window = Window()) return static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    return stored_.Length();
}

std::wstring TMemo::Text() const {
    HWND window = Window();
    if (!window) {
        const std::u16string_view stored = stored_.View();
        try {
            return std::wstring(stored.begin(), stored.end());
        } catch (const std::bad_alloc&) {
            throw MakeFailure(FailureKind::OutOfMemory);
        }
    }
    const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text;
    try {
        text.resize(length);
    } catch (const std::bad_alloc&) {
        throw MakeFailure(FailureKind::OutOfMemory);
    }
    const auto got = static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
    if (got < length) throw MakeFailure(FailureKind::OutOfMemory);
    return text;
}

void TMemo::SetText(std::wstring text) {
    NormalizeLineBreaksInPlace(text);
    SetNormalizedText(text);
}

void TMemo::SetNormalizedText(std::wstring_view text) {
    editor::TextBuffer buffer;
    try {
        buffer = editor::TextBuffer::Copy(
            std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
    } catch (const std::bad_alloc&) {
        throw MakeFailure(FailureKind::OutOfMemory);
    }
    TakeText(buffer);
}

void TMemo::TakeText(editor::TextBuffer& text) {
    HWND window = Handle();
    // The control takes text beyond its limit through a whole-text set
    // without a word; what it would not let the user type is refused here.
    const auto limit = static_cast<std::size_t>(SendMessageW(window, EM_GETLIMITTEXT, 0, 0));
    if (text.Length() > limit) throw MakeFailure(FailureKind::Capacity);
    sendingText_ = true;
    const LRESULT result = SendMessageW(window, editor::EM_TAKETEXT, editor::TextKey() | editor::CompareFirst,
                                      reinterpret_cast<LPARAM>(&text));
    sendingText_ = false;
    if (result == 2) return; // that text is there already
    if (!result) throw MakeFailure(FailureKind::Capacity);
    Change();
}

void TMemo::GetSelection(std::size_t& start, std::size_t& end) const {
    start = end = 0;
    HWND window = Window();
    if (!window) return;
    DWORD from = 0, to = 0;
    SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    start = from;
    end = to;
}

void TMemo::SetSelection(std::size_t start, std::size_t end) {
    SendMessageW(Handle(), EM_SETSEL, start, static_cast<LPARAM>(end));
}

std::size_t TMemo::SelectionLength() const {
    std::size_t start, end;
    GetSelection(start, end);
    return end - start;
}

std::wstring TMemo::SelectedText() const {
    std::size_t start, end;
    GetSelection(start, end);
    if (start == end) return {};
    return Text().substr(start, end - start);
}

void TMemo::ReplaceSelection(std::wstring_view text) {
    const std::wstring terminated(text);
    SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(terminated.c_str()));
}

void TMemo::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }
void TMemo::ClearSelection() { SendMessageW(Handle(), WM_CLEAR, 0, 0); }
void TMemo::CutToClipboard() { SendMessageW(Handle(), WM_CUT, 0, 0); }
void TMemo::CopyToClipboard() { SendMessageW(Handle(), WM_COPY, 0, 0); }
void TMemo::PasteFromClipboard() { SendMessageW(Handle(), WM_PASTE, 0, 0); }

bool TMemo::CanUndo() const {
    HWND window = Window();
    return window && SendMessageW(window, EM_CANUNDO, 0, 0) != 0;
}

void TMemo::Undo() {
    if (HWND window = Window()) SendMessageW(window, EM_UNDO, 0, 0);
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
