// The editor's own window class: a multi-line text control that answers the
// messages of the platform's multi-line edit control (text, selection,
// single-level undo, modified flag, limits, line queries, clipboard, font,
// notifications to the parent and colours asked of it), made for large
// texts: the text lives once, as UTF-16, and only what is on screen is
// measured and drawn.
//
// Made with CreateWindowExA or CreateWindowExW and the edit control's styles
// (ES_MULTILINE, ES_AUTOVSCROLL, ES_AUTOHSCROLL, ES_READONLY, ES_NOHIDESEL,
// WS_HSCROLL, WS_VSCROLL). The class is a wide one: positions are UTF-16
// code units for every caller, and narrow text messages are converted by the
// system. Without ES_AUTOHSCROLL lines wrap at the window's width.
#pragma once

#include <windows.h>

namespace moke::editor {

// Registers the class once per process (later calls only answer the name).
// Raises std::runtime_error when the system refuses the class.
const wchar_t* RegisterEditorClass(HINSTANCE instance);

} // namespace moke::editor
