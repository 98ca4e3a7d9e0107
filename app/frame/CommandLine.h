// Splitting the process command line into the program token and arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace moke {

// Element 0 is the program token (possibly empty), followed by the arguments
// up to, not including, the first one that comes out empty.
//
// Tokens are separated by runs of bytes 1..32; a NUL ends the line. Inside a
// token a double quote starts a quoted run that goes to the next double quote
// or to the end of the line: blanks in it belong to the token, the quotes are
// dropped. Before a token begins, separators and pairs of double quotes ("")
// are skipped, as often as they come: so `"" a` is the one argument "a",
// and an argument can only come out empty at the end of the line (or from a
// lone quote there). Tokens have no length limit.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

} // namespace moke
