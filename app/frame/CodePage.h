// The program's own strings (menus, captions, messages, the phrase list) are
// code page 932 whatever code page the system runs in. Wherever such a string
// meets a wide interface (the ANSI GDI calls follow the system's code page,
// not the process's), it is converted here, explicitly from 932.
#pragma once

#include <string>
#include <string_view>

namespace moke {

inline constexpr unsigned kProgramCodePage = 932;

// Code page 932 bytes as UTF-16; malformed bytes become the code page's
// default character, as the platform's own conversion does.
std::wstring WideFromProgram(std::string_view text);

// UTF-16 as code page 932 bytes for the program's own narrow interfaces (a
// character the code page lacks becomes its default character). Never used
// for document text, which leaves the program only through the file boundary.
std::string ProgramFromWide(std::wstring_view text);

} // namespace moke
