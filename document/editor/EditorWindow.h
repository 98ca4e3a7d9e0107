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

#include "document/editor/TextBuffer.h"

#include <windows.h>

namespace moke::editor {

// Messages of the class beyond the edit control's. They carry a pointer to
// the caller's memory, so their wParam must hold this process's TextKey():
// one without it (sent from another process, whose lParam would be no
// pointer here) is refused with 0 before anything is read. Any thread of
// the process may send them.
// EM_TAKETEXT: the units in use in the TextBuffer at lParam become the whole
//   text, as WM_SETTEXT sets one, without a copy: the buffer is left empty.
//   With CompareFirst in wParam, a text equal to the one held changes nothing
//   and the buffer keeps it. Answers 1 when taken, 2 when equal, 0 when the
//   text cannot be held (EN_ERRSPACE is sent then, and the buffer keeps it).
// EM_GIVETEXT: the whole text moves into the TextBuffer at lParam, without a
//   copy, and the control is left empty. Answers 1, 0 when refused.
WPARAM TextKey();
constexpr WPARAM CompareFirst = 1;
constexpr UINT EM_TAKETEXT = WM_USER + 0x4D00;
constexpr UINT EM_GIVETEXT = WM_USER + 0x4D01;

// Registers the class once per process (later calls only answer the name).
// Raises std::runtime_error when the system refuses the class.
const wchar_t* RegisterEditorClass(HINSTANCE instance);

} // namespace moke::editor
