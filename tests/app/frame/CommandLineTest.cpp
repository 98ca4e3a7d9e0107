#include "app/frame/CommandLine.h"

#include <gtest/gtest.h>

using namespace moke;

using Tokens = std::vector<std::string>;

TEST(CommandLine, Splitting) {
    struct Case {
        std::string line;
        Tokens tokens;
    };
    const Case cases[] = {
        {"moke.exe", {"moke.exe"}},
        {"", {""}},
        {"   ", {""}},
        {"moke a b", {"moke", "a", "b"}},
        {"moke a   ", {"moke", "a"}},
        // Quoted blanks stay, the quotes go.
        {"\"C:\\Program Files\\moke.exe\" \"C:\\My Docs\\a b.txt\"",
         {"C:\\Program Files\\moke.exe", "C:\\My Docs\\a b.txt"}},
        {"moke C:\\My Docs\\a b.txt", {"moke", "C:\\My", "Docs\\a", "b.txt"}},
        {"moke a\"b c\"d e", {"moke", "ab cd", "e"}},
        {"moke \"a\tb\"", {"moke", "a\tb"}},
        // "" before an argument is skipped, together with what separates it.
        {"moke \"\"file", {"moke", "file"}},
        {"moke \"\" file", {"moke", "file"}},
        {"moke \"\"\"\" x", {"moke", "x"}},
        {"moke a\"\"b", {"moke", "ab"}},
        {"moke \"\"", {"moke"}},
        // Runs of bytes 1..32 separate.
        {"moke\x01\x1F a\t\r\nb\x20\x0B"
         "c",
         {"moke", "a", "b", "c"}},
        {"moke !a \x7F", {"moke", "!a", "\x7F"}},
        {"moke 表示\x81\x40 \xA0", {"moke", "表示\x81\x40", "\xA0"}},
        // Unterminated quote: the run goes to the end.
        {"moke \"a b", {"moke", "a b"}},
        {"moke a\"b c", {"moke", "ab c"}},
        {"moke \"", {"moke"}},
        {"moke a \"", {"moke", "a"}},
        // Nothing after a NUL is read.
        {std::string("moke a\0b c", 10), {"moke", "a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitCommandLine(c.line), c.tokens);
    }
}

TEST(CommandLine, LongArgumentIsKeptWhole) {
    std::string path = "C:\\";
    while (path.size() < 10000)
        path += "long folder name\\";
    path.resize(10000);
    const Tokens tokens = SplitCommandLine("moke.exe \"" + path + "\" second");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[1], path);
    EXPECT_EQ(tokens[2], "second");
    const std::string word(10000, 'x');
    EXPECT_EQ(SplitCommandLine("moke " + word), (Tokens{"moke", word}));
}
