// Text files in and out: a file read whole into the editor or into a list,
// and the editor's text written back byte for byte without ever putting what
// is on disk at risk.
#pragma once

#include "app/frame/StdCtrls.h"
#include "document/Memo.h"

#include <string>

namespace moke {

// Reads the whole file (opened exclusively) and makes it the editor's text
// through the whole-text set. Raises the file-open failure when the file
// cannot be opened or read whole, out-of-memory when its bytes do not fit in
// memory, and the capacity failure when the editor cannot hold the text
// whole and unchanged (it holds a NUL byte, the control refuses it, or the
// control gives back other bytes than it was given: then the editor holds
// that changed text, which the caller must not keep).
void LoadTextFile(TMemo& memo, const std::string& path);

// Reads the whole file and replaces the list's entries by its lines (a NUL
// ends the list). Raises the failures of reading and the list-insert failure.
void LoadListFile(TComboBox& list, const std::string& path);

// Writes the editor's text to `path`. The text goes to a new file in the same
// folder, is flushed, and only then replaces the target; on any failure the
// target is as before and the new file is gone. Raises the file-create
// failure when the target cannot be created or replaced and the write failure
// when writing or flushing fails.
void SaveTextFile(const TMemo& memo, const std::string& path);

// True when `path` names an existing file (not a folder).
bool FileExists(const std::string& path);

} // namespace moke
