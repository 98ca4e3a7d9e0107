// Long path expansion on real files and folders: short (8.3) names, as Wine
// makes them up for its drive mappings, come back long and in the letter case
// stored on disk; what cannot be found stays as it is.
#include "document/LongPath.h"

#include "tests/support/Files.h"
#include "tests/support/Gui.h"

#include <gtest/gtest.h>

namespace moke::test {
namespace {

std::string ShortPath(const std::string& path) {
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(shortPath, length) : std::string();
}

// Lower case after the drive: a drive root is never found as an entry, so
// its letter stays as it was written.
std::string Lower(std::string text) {
    for (size_t i = 2; i < text.size(); ++i)
        if (text[i] >= 'A' && text[i] <= 'Z') text[i] = static_cast<char>(text[i] - 'A' + 'a');
    return text;
}

class LongPathTest : public testing::Test {
  protected:
    void SetUp() override {
        longFolder = folder / "Long Folder Name";
        ASSERT_TRUE(CreateDirectoryA(longFolder.c_str(), nullptr));
        longFile = longFolder + "\\Long File Name.txt";
        WriteBytes(longFile, "text");
        shortFile = ShortPath(longFile);
        ASSERT_FALSE(shortFile.empty());
        shortFolder = ShortPath(longFolder);
        ASSERT_FALSE(shortFolder.empty());
    }

    ScratchFolder folder;
    std::string longFolder, longFile, shortFolder, shortFile;
};

TEST_F(LongPathTest, ShortNamesComeBackLongInTheCaseStoredOnDisk) {
    // Wine gives the long names made-up short ones.
    ASSERT_NE(shortFile, longFile);
    EXPECT_EQ(shortFile.find("Long File Name"), std::string::npos) << shortFile;
    EXPECT_EQ(ExpandLongPath(shortFile), longFile) << shortFile;
    EXPECT_EQ(ExpandLongPath(shortFolder), longFolder) << shortFolder;
    // Any letter case comes back as stored.
    EXPECT_EQ(ExpandLongPath(Lower(longFile)), longFile);
    EXPECT_EQ(ExpandLongPath(Lower(shortFile)), longFile);
    // Long names stay long.
    EXPECT_EQ(ExpandLongPath(longFile), longFile);
    // The drive is kept as written.
    EXPECT_EQ(ExpandLongPath("z" + shortFile.substr(1)), "z" + longFile.substr(1));
}

TEST_F(LongPathTest, HiddenFilesAndFoldersMatchToo) {
    ASSERT_TRUE(SetFileAttributesA(longFile.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(longFolder.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(ExpandLongPath(shortFile), longFile);
}

TEST_F(LongPathTest, FileInTheRootOfADrive) {
    const std::string name = "Moke Root Test " + std::to_string(GetCurrentProcessId()) + ".txt";
    const std::string root = "C:\\" + name;
    WriteBytes(root, "root");
    struct Remove {
        std::string path;
        ~Remove() { DeleteFileA(path.c_str()); }
    } remove{root};
    const std::string shortRoot = ShortPath(root);
    ASSERT_FALSE(shortRoot.empty());
    EXPECT_EQ(ExpandLongPath(shortRoot), root) << shortRoot;
    EXPECT_EQ(ExpandLongPath(Lower(root)), root);
}

TEST_F(LongPathTest, WhatCannotBeFoundStaysAsItIs) {
    const std::string missing = folder / "Missing Name.txt";
    EXPECT_EQ(ExpandLongPath(missing), missing);
    // One final "\" goes.
    EXPECT_EQ(ExpandLongPath(missing + "\\"), missing);
    EXPECT_EQ(ExpandLongPath(folder / "Missing Folder\\"), folder / "Missing Folder");
    // Existing short folders with a missing file: the whole path unchanged.
    EXPECT_EQ(ExpandLongPath(shortFolder + "\\missing.txt"), shortFolder + "\\missing.txt");
    EXPECT_EQ(ExpandLongPath("Q:\\nowhere\\a.txt"), "Q:\\nowhere\\a.txt");
    EXPECT_EQ(ExpandLongPath(""), "");
}

// A bare name stays a name in the current folder (not "\" and the name, which
// would point at the root of the drive and open another file, or none).
TEST_F(LongPathTest, BareNameInTheCurrentFolderStaysRelative) {
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(longFolder.c_str()));
    const std::string shortName = shortFile.substr(shortFile.find_last_of('\\') + 1);
    const std::string expanded = ExpandLongPath(shortName);
    const std::string missing = ExpandLongPath("missing.txt");
    SetCurrentDirectoryA(before);
    EXPECT_EQ(expanded, "Long File Name.txt");
    EXPECT_EQ(missing, "missing.txt");
}

// "C:" alone is the drive's current folder; it is kept as it is, and the
// full path of a drive-relative or dotted name is the one in that folder.
TEST_F(LongPathTest, DriveAloneAndDottedNamesResolveAgainstTheCurrentFolder) {
    const std::string drive = longFolder.substr(0, 2);
    ASSERT_EQ(drive[1], ':');
    std::string expanded, full, dotted, parent;
    {
        CurrentFolder in(longFolder);
        ASSERT_TRUE(in.Changed());
        expanded = ExpandLongPath(drive);
        full = FullPathName(drive + "Long File Name.txt");
        dotted = ExpandLongPath(FullPathName(".\\" + shortFile.substr(shortFile.find_last_of('\\') + 1)));
        parent = FullPathName("..\\Long Folder Name\\Long File Name.txt");
    }
    EXPECT_EQ(expanded, drive);
    EXPECT_EQ(full, longFile);
    EXPECT_EQ(dotted, longFile);
    EXPECT_EQ(parent, longFile);
    EXPECT_EQ(FullPathName(""), "");
}

TEST_F(LongPathTest, WildcardTakesTheNameOfTheFirstMatch) {
    EXPECT_EQ(ExpandLongPath(shortFolder + "\\*.txt"), longFile);
    EXPECT_EQ(ExpandLongPath(shortFolder + "\\Long?File*"), longFile);
    // Only the last component may be a pattern: a wildcard folder is not found.
    EXPECT_EQ(ExpandLongPath(folder / "Long*\\Long File Name.txt"), folder / "Long*\\Long File Name.txt");
    EXPECT_EQ(ExpandLongPath(shortFolder + "\\*.none"), shortFolder + "\\*.none");
}

TEST_F(LongPathTest, DoubleByteNamesWhoseSecondByteIsABackslashAreNotSplit) {
    // 表 is 95 5C: its second byte is "\".
    const std::string hyo = folder / "表";
    ASSERT_TRUE(CreateDirectoryA(hyo.c_str(), nullptr));
    const std::string inHyo = hyo + "\\表示テキスト長い名前.txt";
    WriteBytes(inHyo, "text");
    EXPECT_EQ(ExpandLongPath(inHyo), inHyo) << Utf8(inHyo);
    EXPECT_EQ(ExpandLongPath(hyo), hyo);
    EXPECT_EQ(ExpandLongPath(Lower(folder.Path()) + "\\表\\表示テキスト長い名前.txt"), inHyo);
    const std::string shortInHyo = ShortPath(inHyo);
    ASSERT_FALSE(shortInHyo.empty());
    EXPECT_EQ(ExpandLongPath(shortInHyo), inHyo) << Utf8(shortInHyo);
    // A missing file in 表 keeps the path; a final "\" after 表 is a real one.
    EXPECT_EQ(ExpandLongPath(hyo + "\\missing.txt"), hyo + "\\missing.txt");
    EXPECT_EQ(ExpandLongPath(folder / "表\\missing\\"), folder / "表\\missing");

    // A long double-byte folder name with a made-up short name.
    const std::string longJapanese = folder / "長いフォルダ名の表";
    ASSERT_TRUE(CreateDirectoryA(longJapanese.c_str(), nullptr));
    WriteBytes(longJapanese + "\\a.txt", "a");
    const std::string shortJapanese = ShortPath(longJapanese + "\\a.txt");
    ASSERT_FALSE(shortJapanese.empty());
    EXPECT_EQ(ExpandLongPath(shortJapanese), longJapanese + "\\a.txt") << Utf8(shortJapanese);
}

} // namespace
} // namespace moke::test
