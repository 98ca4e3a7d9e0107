// The editor: a multi-line edit control holding the one document (the
// program's own "MokeEdit", which speaks the platform edit control's
// messages and takes any text at once). The component compares before it
// sends a whole text, normalises line breaks, keeps text and modified flag
// across window re-creation and raises the change notification exactly once
// per change.
//
// The text crosses into and out of the control as UTF-16, the form the
// control keeps it in, so no character is ever lost on the way; positions
// are the control's own, UTF-16 units. Bytes are chosen only where the text
// meets a file.
#pragma once

#include "app/frame/FormDefinition.h"
#include "document/editor/TextBuffer.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace moke {

enum class TScrollStyle { None, Horizontal, Vertical, Both };

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner);

    // Properties: a change on a live window re-creates it where the control
    // cannot take the change otherwise.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    // Both at once, with at most one re-creation of a live window.
    void SetWordWrapAndScrollBars(bool wordWrap, TScrollStyle scrollBars);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);

    // The modified flag: the control's while the window exists, kept by the
    // component otherwise.
    bool Modified() const;
    void SetModified(bool value);

    // Empties the control directly: no comparison, no change notification.
    void Clear();
    // The whole-text set: normalises line breaks, sends nothing when the text
    // is already there, raises the capacity failure when the control refuses.
    void SetText(std::wstring text);
    // The same for text whose line breaks are CR LF already.
    void SetNormalizedText(std::wstring_view text);
    // The same for such a text in the control's own kind of buffer, which
    // the control takes over without a copy: `text` is left empty, unless
    // the text was there already or a failure is raised.
    void TakeText(editor::TextBuffer& text);
    // The whole text. A control that gives back less than it says it holds
    // raises the out-of-memory failure: a cut text is never taken for the
    // document.
    std::wstring Text() const;
    std::size_t TextLength() const;

    // Selection in UTF-16 units, as the control counts.
    void GetSelection(std::size_t& start, std::size_t& end) const;
    void SetSelection(std::size_t start, std::size_t end);
    std::size_t SelectionLength() const;
    std::wstring SelectedText() const;
    // Replaces the selection (or inserts at the caret) as an edit that cannot be undone.
    void ReplaceSelection(std::wstring_view text);
    void SelectAll();
    void ClearSelection();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    bool CanUndo() const;
    void Undo();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void FinalizeWnd() override;
    void WndProc(TMessage& message) override;
    void Loaded() override { SetModified(false); }
    virtual void Change();

private:
    HWND Window() const { return ExistingHandle(); }
    void Recreate();

    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::None;
    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool wantTabs_ = false;
    bool wantReturns_ = true;
    int maxLength_ = 0;
    bool modified_ = false;
    editor::TextBuffer stored_; // the text while there is no window, and across a re-creation
    bool textTaken_ = false; // stored_ holds the window's text already
    bool sendingText_ = false;
};

struct MemoDef {
    ControlDef control;
    bool wordWrap = true;
    TScrollStyle scrollBars = TScrollStyle::None;
    bool readOnly = false;
    bool wantTabs = false;
    bool wantReturns = true;
    bool hideSelection = true;
    int maxLength = 0;
    const char* onChange = nullptr;
};

TComponent& Build(FormBuilder& b, const MemoDef& def);

} // namespace moke
