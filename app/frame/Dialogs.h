// The system's file-open, file-save and font dialogs as components whose
// properties carry over from one use to the next. Each is owned by the
// application window, modal to the whole program, and centred when it opens.
#pragma once

#include "app/frame/Control.h"

#include <string>

namespace moke {

enum TOpenOption : unsigned {
    ofReadOnly = 1u << 0,
    ofHideReadOnly = 1u << 1,
};

class TFileDialog : public TComponent {
public:
    explicit TFileDialog(TComponent* owner, bool save);

    const std::string& Filter() const { return filter_; }
    void SetFilter(std::string_view filter) { filter_ = filter; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string_view name) { fileName_ = name; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(std::string_view dir) { initialDir_ = dir; }
    const std::string& Title() const { return title_; }
    void SetTitle(std::string_view title) { title_ = title; }
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(std::string_view ext) { defaultExt_ = ext; }
    unsigned Options() const { return options_; }
    void SetOptions(unsigned options) { options_ = options; }

    // True when the user chose a file; its full path is then in FileName.
    bool Execute();
    // The flags handed to the system for the current options.
    unsigned long Flags() const;

private:
    bool save_;
    std::string filter_;
    int filterIndex_ = 1;
    std::string fileName_;
    std::string initialDir_;
    std::string title_;
    std::string defaultExt_;
    unsigned options_ = ofHideReadOnly;
};

class TOpenDialog : public TFileDialog {
public:
    explicit TOpenDialog(TComponent* owner) : TFileDialog(owner, false) {}
};

class TSaveDialog : public TFileDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TFileDialog(owner, true) {}
};

class TFontDialog : public TComponent {
public:
    explicit TFontDialog(TComponent* owner);

    TFont& Font() { return font_; }
    // True when the user pressed OK; the chosen font is then in Font.
    bool Execute();

private:
    friend UINT_PTR CALLBACK FontDialogHook(HWND, UINT, WPARAM, LPARAM);
    TFont font_;
    bool colorChanged_ = false;
    bool charsetChanged_ = false;
};

// Moves a dialog to the middle across, one third of the free height down.
void CenterDialog(HWND dialog);

} // namespace moke
