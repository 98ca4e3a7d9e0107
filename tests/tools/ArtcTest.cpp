// The artwork converter: picture text in, bitmap and icon bytes out, checked
// byte by byte against files worked out by hand; and the errors bad pictures get.
#define ARTC_NO_MAIN
#include "tools/artc/artc.cpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::initializer_list<int> bytes) {
    for (int v : bytes)
        b.push_back(static_cast<std::uint8_t>(v));
}
void Put16(Bytes& b, unsigned v) {
    Put(b, {int(v & 0xFF), int(v >> 8)});
}
void Put32(Bytes& b, std::uint32_t v) {
    Put(b, {int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)});
}
void Zeros(Bytes& b, std::size_t n) {
    b.insert(b.end(), n, 0);
}

void InfoHeader(Bytes& b, int width, int height, int bpp, std::uint32_t imageSize, std::uint32_t used) {
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(bpp));
    Put32(b, 0);
    Put32(b, imageSize);
    Zeros(b, 8);
    Put32(b, used);
    Put32(b, 0);
}

Bytes ConvertText(const std::string& text) {
    return artc::Convert(artc::ParseArt(text, "t.art"), "t.art");
}

std::string ErrorOf(const std::string& text) {
    try {
        ConvertText(text);
    } catch (const artc::ArtError& e) {
        return e.what();
    }
    return "(no error)";
}

// A palette of `count` different colours under two-character codes, and one
// row using each once.
std::pair<std::string, std::string> ManyColours(int count) {
    const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string palette, row;
    for (int i = 0; i < count; ++i) {
        const std::string code{chars[static_cast<std::size_t>(i) / chars.size()],
                               chars[static_cast<std::size_t>(i) % chars.size()]};
        char colour[16];
        std::snprintf(colour, sizeof colour, "#%02X%02X10", i & 0xFF, i >> 8);
        palette += code + " " + colour + "\n";
        row += code;
    }
    return {palette, row};
}

TEST(ArtcBitmaps, Bmp24StripPutsFramesSideBySideWithMaskColourAndRowPadding) {
    const Bytes bytes = ConvertText("output bmp24\n"
                                    "mask #FF00FF\n"
                                    ". none\nR #FF0000\nG #00FF00\nB #0000FF\n"
                                    "image 1 2\nR\nG\n"
                                    "image 1 2 ; second frame\n.\nB\n");
    Bytes want;
    Put(want, {'B', 'M'});
    Put32(want, 70);
    Put32(want, 0);
    Put32(want, 54);
    InfoHeader(want, 2, 2, 24, 16, 0);
    Put(want, {0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0, 0}); // bottom row: green, blue
    Put(want, {0x00, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0, 0}); // top row: red, magenta
    EXPECT_EQ(bytes, want);
}

TEST(ArtcBitmaps, Bmp8KeepsTheColoursUsedInFirstSeenOrder) {
    const Bytes bytes = ConvertText("output bmp8\n"
                                    "mask #00FFFF\n"
                                    "R #FF0000\nG #00FF00\nW #FFFFFF\n. none\n"
                                    "image 3 2\nRGR\n.RR\n");
    Bytes want;
    Put(want, {'B', 'M'});
    Put32(want, 14 + 40 + 12 + 8);
    Put32(want, 0);
    Put32(want, 14 + 40 + 12);
    InfoHeader(want, 3, 2, 8, 8, 3);
    Put(want, {0x00, 0x00, 0xFF, 0, 0x00, 0xFF, 0x00, 0, 0xFF, 0xFF, 0x00, 0}); // red, green, aqua (mask)
    Put(want, {2, 0, 0, 0}); // bottom row, padded to four bytes
    Put(want, {0, 1, 0, 0});
    EXPECT_EQ(bytes, want);
}

TEST(ArtcBitmaps, Bmp8HoldsAtMost256Colours) {
    const auto [palette256, row256] = ManyColours(256);
    const Bytes bytes = ConvertText("output bmp8\nchars 2\n" + palette256 + "image 256 1\n" + row256 + "\n");
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[46] | bytes[47] << 8, 256); // colours used

    const auto [palette257, row257] = ManyColours(257);
    EXPECT_EQ(ErrorOf("output bmp8\nchars 2\n" + palette257 + "image 257 1\n" + row257 + "\n"),
              "t.art:260: a 256-colour bitmap can hold 256 colours; the picture has 257");
}

TEST(ArtcIcons, IconHasOneEntryPerDepthWithDoubledHeightAndAndMask) {
    const Bytes bytes = ConvertText("output ico\n"
                                    ". none\nR #FF0000\nG #00FF00\n"
                                    "image 2 2 4 8\nR.\n.G\n");
    Bytes want;
    Put(want, {0, 0, 1, 0, 2, 0});                                    // icon, two images
    Put(want, {2, 2, 16, 0, 1, 0, 4, 0, 120, 0, 0, 0, 38, 0, 0, 0});  // 16 colours at 38
    Put(want, {2, 2, 0, 0, 1, 0, 8, 0, 0x38, 4, 0, 0, 158, 0, 0, 0}); // 256 colours at 158

    InfoHeader(want, 2, 4, 4, 16, 0);
    Put(want, {0, 0, 0, 0, 0x00, 0x00, 0xFF, 0, 0x00, 0xFF, 0x00, 0}); // black (transparent), red, green
    Zeros(want, 13 * 4);
    Put(want, {0x02, 0, 0, 0, 0x10, 0, 0, 0}); // XOR rows, bottom up: (clear, green), (red, clear)
    Put(want, {0x80, 0, 0, 0, 0x40, 0, 0, 0}); // AND rows: transparent pixels set

    InfoHeader(want, 2, 4, 8, 16, 0);
    Put(want, {0, 0, 0, 0, 0x00, 0x00, 0xFF, 0, 0x00, 0xFF, 0x00, 0});
    Zeros(want, 253 * 4);
    Put(want, {0, 2, 0, 0, 1, 0, 0, 0});
    Put(want, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    EXPECT_EQ(bytes, want);
}

TEST(ArtcIcons, SixteenColourImageCountsBlackForTransparentPixels) {
    const std::string sixteen = "output ico\n. none\n"
                                "0 #000000\n1 #800000\n2 #008000\n3 #808000\n4 #000080\n5 #800080\n"
                                "6 #008080\n7 #C0C0C0\n8 #808080\n9 #FF0000\na #00FF00\nb #FFFF00\n"
                                "c #0000FF\nd #FF00FF\ne #00FFFF\nf #FFFFFF\n";
    EXPECT_EQ(ErrorOf(sixteen + "image 16 1 4\n0123456789abcdef\n"), "(no error)");
    // Black shared by a black pixel and the transparent ones: still 16.
    EXPECT_EQ(ErrorOf(sixteen + "image 17 1 4\n0123456789abcdef.\n"), "(no error)");
    // Fifteen colours without black, and transparent pixels: black makes 16.
    EXPECT_EQ(ErrorOf(sixteen + "image 16 1 4\n.123456789abcdef\n"), "(no error)");
    const std::string noBlack = "output ico\n. none\n"
                                "1 #800000\n2 #008000\n3 #808000\n4 #000080\n5 #800080\n6 #008080\n"
                                "7 #C0C0C0\n8 #808080\n9 #FF0000\na #00FF00\nb #FFFF00\nc #0000FF\n"
                                "d #FF00FF\ne #00FFFF\nf #FFFFFF\ng #F0F0F0\n";
    EXPECT_EQ(ErrorOf(noBlack + "image 16 1 8\n.123456789abcdef\n"), "(no error)");
    EXPECT_EQ(ErrorOf(noBlack + "image 17 1 8 4\n.123456789abcdefg\n"),
              "t.art:19: a 16-colour icon image can hold 16 colours; this one needs 17 "
              "(black included for the transparent pixels)");
}

TEST(ArtcIcons, TwoHundredFiftySixPixelSideIsWrittenAsZero) {
    const Bytes bytes = ConvertText("output ico\nK #000000\nimage 256 1 4\n" + std::string(256, 'K') + "\n");
    ASSERT_GE(bytes.size(), 22u);
    EXPECT_EQ(bytes[6], 0);
    EXPECT_EQ(bytes[7], 1);
    EXPECT_EQ(ErrorOf("output ico\nK #000000\nimage 257 1 4\n" + std::string(257, 'K') + "\n"),
              "t.art:3: image size must be two whole numbers from 1 to 256, got `257 1`");
}

TEST(ArtcErrors, BadPicturesNameFileLineAndFault) {
    const std::string head = "output bmp24\nmask #FF00FF\n. none\nK #000000\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "t.art: empty picture: no `output` statement"},
        {"; only a comment\n", "t.art: empty picture: no `output` statement"},
        {"K #000000\noutput bmp24\n", "t.art:1: the file must begin with an `output` statement"},
        {"output png\n", "t.art:1: unknown output `png` (bmp24, bmp8 or ico)"},
        {"output bmp24\noutput bmp8\n", "t.art:2: `output` given twice"},
        {"output bmp24\n", "t.art:1: no image in the file"},
        {head + "colour K #000000\n", "t.art:5: unknown statement `colour`"},
        {head + "KK #000000\n", "t.art:5: unknown statement `KK` (a palette code has 1 character)"},
        {head + "K #111111\n", "t.art:5: palette code 'K' is already defined on line 4"},
        {head + "W #FFFFF\n", "t.art:5: bad colour `#FFFFF` (expected #RRGGBB or none)"},
        {head + "W #GGFFFF\n", "t.art:5: bad colour `#GGFFFF`"},
        {head + "W\n", "t.art:5: expected a palette line `W #RRGGBB` or `W none`"},
        {head + "chars 2\n", "t.art:5: `chars` must come before the palette and the images"},
        {"output bmp24\nchars 3\n", "t.art:2: expected `chars 1` or `chars 2`"},
        {head + "image 2 2\nK.\nKX\n", "t.art:7: row 2 of image 1, pixel 2: 'X' is not in the palette"},
        {head + "image 2 2\nK.\nK\n", "t.art:7: row 2 of image 1 has 1 characters; expected 2"},
        {head + "image 2 2\nK.\nK..\n", "t.art:7: row 2 of image 1 has 3 characters; expected 2"},
        {head + "image 2 2\nK.\n", "t.art:6: the file ends inside image 1 (line 5): 1 of 2 rows found"},
        {head + "image 2 2\nK.\n\nKK\n", "t.art:7: row 2 of image 1 has 0 characters; expected 2"},
        {head + "image 2 2\n K\nKK\n", "t.art:6: row 1 of image 1, pixel 1: ' ' is not in the palette"},
        {head + "image 0 2\n", "t.art:5: image size must be two whole numbers from 1 to 4096, got `0 2`"},
        {head + "image 2 x\n", "t.art:5: image size must be two whole numbers from 1 to 4096, got `2 x`"},
        {head + "image 99999999 1\n", "from 1 to 4096, got `99999999 1`"},
        {head + "image 2 2 8\n", "t.art:5: expected `image WIDTH HEIGHT`"},
        {head + "image 1 1\nK\nimage 1 2\nK\nK\n", "t.art:7: all images of a strip must be 1 pixels high"},
        {"output bmp24\nK #000000\n. none\nimage 1 1\n.\n",
         "t.art:4: the image has transparent pixels but the file sets no `mask` colour"},
        {head + "M #FF00FF\nimage 1 1\nM\n",
         "t.art:6: an opaque pixel has the mask colour #FF00FF and would come out transparent"},
        {"output ico\nmask #FF00FF\n", "t.art:2: `mask` is for bitmaps"},
        {"output ico\nK #000000\nimage 1 1\nK\n", "t.art:3: expected `image WIDTH HEIGHT DEPTH...`"},
        {"output ico\nK #000000\nimage 1 1 24\nK\n", "t.art:3: icon depth must be 4 or 8, got `24`"},
        {"output ico\nK #000000\nimage 1 1 4 4\nK\n", "t.art:3: depth 4 given twice"},
        {"output ico\nK #000000\nimage 1 1 4\nK\nimage 1 1 8 4\nK\n",
         "t.art:5: the icon already has a 1 x 1 image of depth 4 (line 3)"},
        {"output bmp24\n\xE3\x81\x82 #000000\n", "t.art:2: unexpected byte 0xE3 (only ASCII is allowed)"},
        {"output bmp24\n\x01\n", "t.art:2: unexpected control character byte 0x01"},
    };
    for (const auto& [text, message] : cases) {
        const std::string got = ErrorOf(text);
        EXPECT_NE(got.find(message), std::string::npos) << "picture:\n" << text << "\nmessage: " << got;
    }
}

TEST(ArtcErrors, CommentsBlankLinesByteOrderMarkAndCrLfAreAccepted) {
    const std::string text = "\xEF\xBB\xBF; picture\r\n\r\noutput bmp24 ; kind\r\n  K #000000 ; black\r\n"
                             "image 2 1\r\nKK  \r\n";
    const Bytes bytes = ConvertText(text);
    ASSERT_EQ(bytes.size(), 62u);
    EXPECT_EQ(Bytes(bytes.begin() + 54, bytes.end()), Bytes(8, 0));
}

class ArtcRun : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("artc-test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), "artc");
        std::vector<const char*> argv;
        for (const std::string& a : args)
            argv.push_back(a.c_str());
        err_.str("");
        return artc::Run(static_cast<int>(argv.size()), argv.data(), err_);
    }
    std::filesystem::path dir_;
    std::ostringstream err_;
};

TEST_F(ArtcRun, WritesTheConvertedFileOverAnOlderOne) {
    const std::string text = "output ico\nK #000000\n. none\nimage 2 2 4\nK.\n.K\n";
    const std::string in = Write("p.art", text);
    const std::string out = Write("p.ico", "an older icon, replaced");
    ASSERT_EQ(Run({in, out}), 0) << err_.str();
    const Bytes want = ConvertText(text);
    EXPECT_EQ(Read(out), std::string(want.begin(), want.end()));
    EXPECT_FALSE(std::filesystem::exists(out + ".tmp"));
}

TEST_F(ArtcRun, BadPictureFailsAndLeavesTheEarlierOutput) {
    const std::string out = Write("p.bmp", "earlier");
    const std::string in = Write("p.art", "output bmp24\nK #000000\nimage 2 1\nKQ\n");
    EXPECT_EQ(Run({in, out}), 1);
    EXPECT_EQ(err_.str(), "artc: " + in + ":4: row 1 of image 1, pixel 2: 'Q' is not in the palette\n");
    EXPECT_EQ(Read(out), "earlier");
    EXPECT_FALSE(std::filesystem::exists(out + ".tmp"));
}

TEST_F(ArtcRun, WrongExtensionMissingInputAndUsageFail) {
    const std::string in = Write("p.art", "output bmp8\nK #000000\nimage 1 1\nK\n");
    EXPECT_EQ(Run({in, (dir_ / "p.ico").string()}), 1);
    EXPECT_NE(err_.str().find("makes a .bmp file"), std::string::npos) << err_.str();
    EXPECT_FALSE(std::filesystem::exists(dir_ / "p.ico"));

    EXPECT_EQ(Run({(dir_ / "missing.art").string(), (dir_ / "m.bmp").string()}), 1);
    EXPECT_NE(err_.str().find("missing.art: cannot open the file"), std::string::npos) << err_.str();

    EXPECT_EQ(Run({in}), 2);
    EXPECT_NE(err_.str().find("usage: artc"), std::string::npos);

    EXPECT_EQ(Run({in, (dir_ / "no-such-folder" / "p.bmp").string()}), 1);
    EXPECT_NE(err_.str().find("cannot create the file"), std::string::npos) << err_.str();
}

} // namespace
