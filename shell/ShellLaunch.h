// Handing a text to the shell's "open" verb: a URL, a document, a program.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace moke {

// The program's own texts (the home page, the link labels): ShellExecuteA
// with "OPEN", the text as the file, empty parameters and directory, SW_SHOW.
void ShellOpen(const std::string& target);
// Text of the document, whatever its characters: the same through
// ShellExecuteW.
void ShellOpen(std::wstring_view target);
// Either way the text is handed over whole or not at all, and the result is
// ignored: a text the shell cannot open, or one too long for the system's
// shell to take safely, fails silently.

// The longest text, in UTF-16 units, that the system's shell is handed.
std::size_t ShellTargetLimit();

// Replace the shell call (and its length limit), for tests that watch what
// would be opened; an empty function restores the shell. The first sees
// every call, a wide text as the program's code page bytes; the second, when
// set, sees the wide calls exactly instead.
void SetShellOpenHookForTesting(std::function<void(const std::string&)> hook);
void SetWideShellOpenHookForTesting(std::function<void(const std::wstring&)> hook);

// The makers' home page.
inline constexpr const char* kHomePage = "http://www.example.com/";

} // namespace moke
