#include "document/PathParts.h"

#include <gtest/gtest.h>

using namespace moke;

TEST(PathParts, NameAndFolder) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    struct Case {
        const char* path;
        const char* name;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\dir\\a.txt", "a.txt", "C:\\dir\\"},
        {"C:a.txt", "a.txt", "C:"},
        {"a.txt", "a.txt", ""},
        {"", "", ""},
        {"C:\\dir\\", "", "C:\\dir\\"},
        {"\\\\server\\share\\x.txt", "x.txt", "\\\\server\\share\\"},
        {"C:\\表\\a.txt", "a.txt", "C:\\表\\"},
        {"C:\\dir\\表", "表", "C:\\dir\\"}, // 95 5C at the end is no separator
        {"C:\\dir\\表示.txt", "表示.txt", "C:\\dir\\"},
        {"表", "表", ""},
        {"無題", "無題", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(NamePart(c.path, sjis), c.name);
        EXPECT_EQ(FolderPart(c.path, sjis), c.folder);
    }
}

TEST(PathParts, DirectoryPart) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    struct Case {
        const char* path;
        const char* directory;
    };
    const Case cases[] = {
        {"C:\\dir\\a.txt", "C:\\dir"},
        {"C:\\dir\\sub\\", "C:\\dir\\sub"},
        {"C:\\a.txt", "C:\\"},
        {"C:\\", "C:\\"},
        {"C:a.txt", "C:"},
        {"C:", "C:"},
        {"a.txt", ""},
        {"", ""},
        {"a\\b", "a"},
        {"\\a.txt", "\\"},
        {"\\", "\\"},
        {"\\\\server\\share\\a", "\\\\server\\share"},
        {"\\\\server\\share", "\\\\server"},
        {"\\\\server", "\\\\"},
        {"C:\\dir\\\\a", "C:\\dir\\\\"},
        // A 5C that ends 表 is neither the delimiter nor a "\" before it.
        {"C:\\表\\a.txt", "C:\\表"},
        {"C:\\dir\\表", "C:\\dir"},
        {"表\\a", "表"},
        {"C:\\表", "C:\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DirectoryPart(c.path, sjis), c.directory);
    }
    // Read without lead bytes, 表 does end in "\" and that one counts.
    EXPECT_EQ(DirectoryPart("C:\\表\\a.txt", LeadBytes()), "C:\\表\\");
}

TEST(PathParts, ListFileBesideTheProgram) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    EXPECT_EQ(ListFileNameFor("C:\\Program Files\\moke\\MokeMemo.exe", sjis),
              "C:\\Program Files\\moke\\MokeList.txt");
    EXPECT_EQ(ListFileNameFor("C:\\表\\MokeMemo.exe", sjis), "C:\\表\\MokeList.txt");
    EXPECT_EQ(ListFileNameFor("C:\\tools\\表示.exe", sjis), "C:\\tools\\MokeList.txt");
    EXPECT_EQ(ListFileNameFor("D:MokeMemo.exe", sjis), "D:MokeList.txt");
    EXPECT_EQ(ListFileNameFor("MokeMemo.exe", sjis), "MokeList.txt");
}
