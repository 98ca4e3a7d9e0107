// Handing a text to the shell's "OPEN" verb: a URL, a document, a program.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace moke {

// The longest text handed to the shell, in bytes. Some shells overrun their
// own buffers on longer names (Wine's ends the calling program at about 1000
// characters); such a text is not handed over and fails silently, like any
// other text the shell cannot open.
inline constexpr std::size_t kMaxShellTarget = 900;

// ShellExecuteA with "OPEN", the text as the file, empty parameters and
// directory, SW_SHOW. The result is ignored: a text the shell cannot open
// fails silently.
void ShellOpen(const std::string& target);

// Replaces the shell call, for tests that watch what would be opened; an
// empty function restores the shell.
void SetShellOpenHookForTesting(std::function<void(const std::string&)> hook);

// The makers' home page.
inline constexpr const char* kHomePage = "http://www.example.com/";

} // namespace moke
