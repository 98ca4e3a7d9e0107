// Document files in every encoding through a real edit control: each file
// read, then saved unedited (the very bytes again) and saved after an edit
// (the edit in the file's own encoding); a Shift-JIS save never puts another
// character in place of one the encoding lacks.
#include "document/TextFile.h"

#include "app/frame/Application.h"
#include "app/frame/Failure.h"
#include "tests/support/Files.h"
#include "tests/support/Gui.h"
#include "tests/support/ProgramText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace moke::test {
namespace {

using namespace std::string_literals;

class TextEncodingFiles : public testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<TForm>(&Application(), "TTextEncodingTestForm");
        form->SetBounds(60, 60, 420, 300);
        memo = &form->Make<TMemo>();
        memo->SetParent(form.get());
        memo->SetBounds(0, 0, 400, 200);
        form->Show();
        Pump();
    }
    void TearDown() override {
        form.reset();
        Pump();
    }
    // Saves as the program does: in the document's encoding, unmodified
    // unless edited since it was read.
    std::string SaveAndRead(const std::string& name, DocumentFormat& format) {
        const std::string path = folder / name;
        EXPECT_TRUE(SaveTextFile(*memo, path, format.encoding, format));
        return ReadBytes(path);
    }

    ScratchFolder folder;
    std::unique_ptr<TForm> form;
    TMemo* memo = nullptr;
};

TEST_F(TextEncodingFiles, EachFileSavesUneditedAsItWasAndEditedInItsOwnEncoding) {
    struct Case {
        const char* what;
        std::string file;
        TextEncoding encoding;
        std::wstring text;     // as the editor holds it
        std::string unedited;  // saved with no edit
        std::string edited;    // saved after "+表" is typed at the end
    };
    const std::string sjis = "日本語\r\nﾃｷｽﾄ"; // the literals are code page 932
    const Case cases[] = {
        {"Shift-JIS", sjis, TextEncoding::ShiftJis, W(sjis), sjis, sjis + "+表"},
        {"Shift-JIS, characters with two codes", "\xED\x40\xFA\x4A\x87\x90\xEE\xF9\xFA\x54", TextEncoding::ShiftJis,
         L"\u7e8a\u2160\u2252\uffe2\uffe2", "\xED\x40\xFA\x4A\x87\x90\xEE\xF9\xFA\x54",
         "\xFA\x5C\x87\x54\x81\xE0\x81\xCA\x81\xCA+\x95\x5C"},
        {"UTF-8", "\xE6\x97\xA5\xE6\x9C\xAC\r\n", TextEncoding::Utf8, L"\u65e5\u672c\r\n",
         "\xE6\x97\xA5\xE6\x9C\xAC\r\n", "\xE6\x97\xA5\xE6\x9C\xAC\r\n+\xE8\xA1\xA8"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" "abc \xC3\xA4", TextEncoding::Utf8Bom, L"abc \u00e4",
         "\xEF\xBB\xBF" "abc \xC3\xA4", "\xEF\xBB\xBF" "abc \xC3\xA4+\xE8\xA1\xA8"},
        {"UTF-16LE", "\xFF\xFE" "A\0\x3D\xD8\x00\xDE"s, TextEncoding::Utf16Le, L"A\U0001F600",
         "\xFF\xFE" "A\0\x3D\xD8\x00\xDE"s, "\xFF\xFE" "A\0\x3D\xD8\x00\xDE+\0\x68\x88"s},
        {"UTF-16BE", "\xFE\xFF\0A\xD8\x3D\xDE\x00"s, TextEncoding::Utf16Be, L"A\U0001F600",
         "\xFE\xFF\0A\xD8\x3D\xDE\x00"s, "\xFE\xFF\0A\xD8\x3D\xDE\x00\0+\x88\x68"s},
        {"UTF-16LE, an LF line break", "\xFF\xFE" "a\0\n\0"s, TextEncoding::Utf16Le, L"a\r\n",
         "\xFF\xFE" "a\0\r\0\n\0"s, "\xFF\xFE" "a\0\r\0\n\0+\0\x68\x88"s},
        {"ASCII", "plain\r\n", TextEncoding::ShiftJis, L"plain\r\n", "plain\r\n", "plain\r\n+\x95\x5C"},
        {"empty", "", TextEncoding::ShiftJis, L"", "", "+\x95\x5C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(folder / "in.txt", c.file);
        DocumentFormat format = LoadTextFile(*memo, folder / "in.txt");
        memo->SetModified(false);
        EXPECT_EQ(format.encoding, c.encoding);
        EXPECT_EQ(memo->Text(), c.text);
        EXPECT_EQ(SaveAndRead("unedited.txt", format), c.unedited);
        EXPECT_EQ(SaveAndRead("again.txt", format), c.unedited) << "and again";

        memo->SetSelection(memo->TextLength(), memo->TextLength());
        memo->ReplaceSelection(W("+表"));
        EXPECT_EQ(SaveAndRead("edited.txt", format), c.edited);
        EXPECT_EQ(format.encoding, c.encoding);
    }
}

TEST_F(TextEncodingFiles, ACharacterOrLineBreakCutByTheEndOfAReadBlockArrivesWhole) {
    // A file is read a mebibyte at a time: whatever straddles that point
    // must come out as it would from the whole file.
    constexpr std::size_t kBlock = std::size_t(1) << 20;
    const auto a = [](std::size_t n) { return std::string(n, 'a'); };
    const auto wa = [](std::size_t n) { return std::wstring(n, L'a'); };
    // UTF-16LE: a mark, 'a' units, and a surrogate pair whose first half
    // ends the first block.
    std::string utf16 = "\xFF\xFE";
    for (std::size_t i = 0; i < (kBlock - 4) / 2; ++i) utf16 += "a\0"s;
    utf16 += "\x3D\xD8\x00\xDEz\0"s;
    struct Case {
        const char* what;
        std::string file;
        TextEncoding encoding;
        std::wstring text;
    };
    const Case cases[] = {
        {"a double-byte character", a(kBlock - 1) + "表z", TextEncoding::ShiftJis, wa(kBlock - 1) + W("表z")},
        {"CR LF", a(kBlock - 1) + "\r\nz", TextEncoding::ShiftJis, wa(kBlock - 1) + L"\r\nz"},
        {"a lone CR", a(kBlock - 1) + "\rz", TextEncoding::ShiftJis, wa(kBlock - 1) + L"\r\nz"},
        {"a lone LF after the cut", a(kBlock) + "\nz", TextEncoding::ShiftJis, wa(kBlock) + L"\r\nz"},
        {"a UTF-8 sequence", a(kBlock - 2) + "\xE6\x97\xA5z", TextEncoding::Utf8, wa(kBlock - 2) + L"\u65e5z"},
        {"a UTF-16 surrogate pair", utf16, TextEncoding::Utf16Le, wa((kBlock - 4) / 2) + L"\U0001F600z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(folder / "big.txt", c.file);
        DocumentFormat format = LoadTextFile(*memo, folder / "big.txt");
        EXPECT_EQ(format.encoding, c.encoding);
        const std::wstring text = memo->Text();
        EXPECT_EQ(text.size(), c.text.size());
        EXPECT_TRUE(text == c.text) << "differs first at "
                                    << std::mismatch(text.begin(), text.end(), c.text.begin(), c.text.end()).first -
                                           text.begin();
    }
}

TEST_F(TextEncodingFiles, ALargeFileWithSecondCodesSavesUneditedAsItWas) {
    // Far beyond a read block, and the second codes near its end.
    const std::string bytes = std::string(3 << 20, 'x') + "\r\n\xED\x40\xFA\x4A\x87\x90";
    WriteBytes(folder / "in.txt", bytes);
    DocumentFormat format = LoadTextFile(*memo, folder / "in.txt");
    memo->SetModified(false);
    EXPECT_EQ(memo->TextLength(), (3u << 20) + 5);
    EXPECT_EQ(SaveAndRead("out.txt", format), bytes);
}

TEST_F(TextEncodingFiles, MalformedBytesAreRefusedWhole) {
    const std::string files[] = {
        "ab\x81",                 // a lead byte at the very end
        "ab\x81\ncd",             // a lead byte before a line break
        "\xEF\xBB\xBF" "a\xC3",   // a cut sequence after a UTF-8 mark
        "\xFF\xFE" "a\0b"s,       // an odd number of UTF-16 bytes
        "\xEF\xBB\xBF" "a\0b"s,   // a NUL in UTF-8
    };
    memo->SetText(L"before");
    for (const std::string& bytes : files) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        WriteBytes(folder / "bad.txt", bytes);
        try {
            LoadTextFile(*memo, folder / "bad.txt");
            ADD_FAILURE() << "loaded";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Kind(), FailureKind::Capacity);
        }
        EXPECT_EQ(memo->Text(), L"before");
    }
}

TEST_F(TextEncodingFiles, ShiftJisSaveWritesNothingWhenACharacterHasNoCode) {
    // Characters the code page lacks, some with a look-alike it would offer.
    const std::wstring missing[] = {L"\u00e4", L"\u20ac", L"\ud55c", L"\U0001F600", L"\u2014", L"\u00a0"};
    WriteBytes(folder / "doc.txt", "kept");
    for (const std::wstring& character : missing) {
        memo->SetText(L"a" + character + L"z");
        DocumentFormat format;
        EXPECT_FALSE(SaveTextFile(*memo, folder / "doc.txt", TextEncoding::ShiftJis, format));
        EXPECT_EQ(ReadBytes(folder / "doc.txt"), "kept");
        EXPECT_EQ(format.encoding, TextEncoding::ShiftJis);
        // UTF-8 holds it.
        EXPECT_TRUE(SaveTextFile(*memo, folder / "utf8.txt", TextEncoding::Utf8, format));
        EXPECT_EQ(format.encoding, TextEncoding::Utf8);
        std::string expected = "a";
        bool lossless = true;
        EncodeUtf8(std::wstring_view(character), expected, lossless);
        EXPECT_EQ(ReadBytes(folder / "utf8.txt"), expected + "z");
    }
}

} // namespace
} // namespace moke::test
