// Text files in and out: a file read whole into the editor or into a list,
// and the editor's text written back byte for byte without ever putting what
// is on disk at risk.
#pragma once

#include "app/frame/StdCtrls.h"
#include "document/Memo.h"
#include "document/TextEncoding.h"

#include <string>

namespace moke {

// What a document's file holds beyond its characters: its encoding (with or
// without a byte-order mark), and the file's bytes themselves where the
// characters alone would not give them back (a Shift-JIS character written
// with its second code), so that a document saved unedited is written
// byte for byte as it was read.
struct DocumentFormat {
    TextEncoding encoding = TextEncoding::ShiftJis;
    std::string bytes;
};

// Reads the whole file (opened exclusively), tells its encoding from its
// bytes and makes its characters the editor's text through the whole-text
// set, with line breaks made CR LF. Raises the file-open failure when the
// file cannot be opened or read whole, out-of-memory when it does not fit in
// memory, and the capacity failure when the editor cannot hold the text
// whole and unchanged: a NUL character, malformed Shift-JIS, UTF-8 or
// UTF-16, or a control that refuses the text.
DocumentFormat LoadTextFile(TMemo& memo, const std::string& path);

// Reads the whole file and replaces the list's entries by its lines (a NUL
// ends the list). Raises the failures of reading and the list-insert failure.
void LoadListFile(TComboBox& list, const std::string& path);

// Writes the editor's text to `path` in `encoding`, and on success makes
// `format` describe the file written. An editor that is unmodified since
// `format` was read or written, in the same encoding, writes the same bytes
// again. The text goes to a new file in the same folder, is flushed, and
// only then replaces the file that `path` finally names (a link stays a
// link); on any failure that file is as before and the new file is gone.
// Returns false, writing nothing, when the text holds a character that the
// encoding cannot hold (none is ever replaced by another). Raises the
// file-create failure when the target cannot be created or replaced and the
// write failure when writing or flushing fails.
bool SaveTextFile(const TMemo& memo, const std::string& path, TextEncoding encoding, DocumentFormat& format);

// True when `path` names an existing file (not a folder).
bool FileExists(const std::string& path);

} // namespace moke
