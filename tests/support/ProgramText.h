// The tests write their texts as the program's own (code page 932) literals;
// the editor holds UTF-16. W() turns a literal into the characters it means.
#pragma once

#include "app/frame/CodePage.h"

#include <string>
#include <string_view>

namespace moke::test {

inline std::wstring W(std::string_view text) { return WideFromProgram(text); }

} // namespace moke::test
