// artc: turns the pictures drawn as text in resources/art into Windows
// bitmaps and icons. Standard library only; built with the host compiler in
// the cross build.
//
// Usage: artc INPUT.art OUTPUT.bmp|OUTPUT.ico
//
// Picture format (one picture per file, plain ASCII; see resources/art/README.md)
// ---------------------------------------------------------------------------
//   ; a comment: from ';' to the end of the line (not inside image rows)
//   output bmp24          ; bmp24 | bmp8 | ico: what the file becomes
//   mask #FF00FF          ; colour written for transparent pixels (bmp only)
//   . none                ; palette entry: a code, then "none" (transparent) ...
//   K #000000             ; ... or #RRGGBB
//   image 16 16           ; an image: width, height; then exactly `height` rows
//   ................      ; each row: `width` palette codes
//   ...
//
// - `output` comes first (after comments and blank lines), once.
// - A palette code is one character, or two after `chars 2` (which must come
//   before the palette) for pictures of more colours than there are
//   characters. Its characters are printable ASCII, except blank and ';'.
//   Each code is defined once, before the first row that uses it.
// - Rows are taken as they are: no comments, no leading blanks; trailing
//   blanks are ignored.
// - bmp24: the images are laid side by side, left to right, into one strip
//   (all of the same height): an image-list strip. Transparent pixels get the
//   mask colour, which `mask` must give; no opaque pixel may have it.
// - bmp8: the same, written as an 8-bit palette bitmap of at most 256 colours
//   (the mask colour counts when transparent pixels use it).
// - ico: each `image W H DEPTH...` (DEPTH 4 and/or 8, width and height 1 to
//   256) becomes one icon image per depth: an XOR bitmap with a full colour
//   table and an AND mask in which transparent pixels are set. Transparent
//   pixels are black in the XOR bitmap, so black takes a colour-table entry
//   when they occur: a 4-bit image has room for 16 colours in all, an 8-bit
//   one for 256. No two images of an icon may share width, height and depth.
//
// Every error names the file and line; the exit code is then 1 (2 for a
// wrong command line) and an existing output file is left as it was.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace artc {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class OutputKind { Bmp24, Bmp8, Ico };

// One drawn image. A pixel without a value is transparent.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<int> depths;                // icon images only: 4 and/or 8
    std::vector<std::optional<Rgb>> pixels; // row by row, top row first
    int line = 0;                           // line of its `image` statement
};

inline bool HasTransparent(const Image& image) {
    return std::any_of(image.pixels.begin(), image.pixels.end(), [](const auto& p) { return !p.has_value(); });
}

struct Art {
    OutputKind kind = OutputKind::Bmp24;
    std::optional<Rgb> mask;
    std::vector<Image> images;
};

// Failure with a message ready to show ("file:line: what went wrong").
class ArtError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

namespace detail {

constexpr int kMaxBitmapSide = 4096;
constexpr int kMaxIconSide = 256;

[[noreturn]] inline void Fail(const std::string& file, int line, const std::string& what) {
    std::string message = file;
    if (line > 0) message += ":" + std::to_string(line);
    throw ArtError(message + ": " + what);
}

inline std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

inline std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

inline std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    for (;;) {
        s = TrimLeft(s);
        if (s.empty()) return words;
        std::size_t end = s.find_first_of(" \t");
        if (end == std::string_view::npos) end = s.size();
        words.push_back(s.substr(0, end));
        s.remove_prefix(end);
    }
}

inline bool IsPaletteChar(unsigned char c) {
    return c > ' ' && c < 0x7F && c != ';';
}

// Shows a character of the input readably in a message.
inline std::string Quoted(unsigned char c) {
    if (c >= ' ' && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", c);
    return std::string("byte ") + hex;
}

inline std::optional<int> ParseInt(std::string_view s) {
    if (s.empty() || s.size() > 6) return std::nullopt; // larger than any size allowed
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

inline std::optional<Rgb> ParseColour(std::string_view s) {
    if (s.size() != 7 || s[0] != '#') return std::nullopt;
    std::array<std::uint8_t, 3> parts{};
    for (int i = 0; i < 3; ++i) {
        int value = 0;
        for (int j = 0; j < 2; ++j) {
            const char c = s[1 + i * 2 + j];
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return std::nullopt;
            value = value * 16 + digit;
        }
        parts[i] = static_cast<std::uint8_t>(value);
    }
    return Rgb{parts[0], parts[1], parts[2]};
}

inline std::string ColourText(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.r, c.g, c.b);
    return text;
}

struct PaletteEntry {
    std::optional<Rgb> colour; // none: transparent
    int line = 0;
};

class Parser {
  public:
    Parser(std::string_view text, std::string file) : text_(text), file_(std::move(file)) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
    }

    Art Parse() {
        while (NextLine()) {
            std::string_view statement = line_;
            if (const std::size_t semicolon = statement.find(';'); semicolon != std::string_view::npos)
                statement = statement.substr(0, semicolon);
            statement = TrimRight(TrimLeft(statement));
            if (statement.empty()) continue;
            for (unsigned char c : statement)
                if (c < ' ' && c != '\t')
                    Fail(file_, lineNo_, "unexpected control character " + Quoted(c));
                else if (c >= 0x7F)
                    Fail(file_, lineNo_, "unexpected " + Quoted(c) + " (only ASCII is allowed)");
            const std::vector<std::string_view> words = Words(statement);
            if (!haveOutput_ && words[0] != "output")
                Fail(file_, lineNo_, "the file must begin with an `output` statement (bmp24, bmp8 or ico)");
            if (words[0] == "output")
                Output(words);
            else if (words[0] == "mask")
                Mask(words);
            else if (words[0] == "chars")
                Chars(words);
            else if (words[0] == "image")
                ReadImage(words);
            else if (words[0].size() <= 2)
                PaletteLine(words);
            else
                Fail(file_, lineNo_, "unknown statement `" + std::string(words[0]) + "`");
        }
        if (!haveOutput_) Fail(file_, 0, "empty picture: no `output` statement");
        if (art_.images.empty()) Fail(file_, lineNo_, "no image in the file");
        CheckWhole();
        return std::move(art_);
    }

  private:
    bool NextLine() {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line_ = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        ++lineNo_;
        return true;
    }

    void Output(const std::vector<std::string_view>& words) {
        if (haveOutput_) Fail(file_, lineNo_, "`output` given twice");
        if (words.size() != 2) Fail(file_, lineNo_, "expected `output bmp24`, `output bmp8` or `output ico`");
        if (words[1] == "bmp24")
            art_.kind = OutputKind::Bmp24;
        else if (words[1] == "bmp8")
            art_.kind = OutputKind::Bmp8;
        else if (words[1] == "ico")
            art_.kind = OutputKind::Ico;
        else
            Fail(file_, lineNo_, "unknown output `" + std::string(words[1]) + "` (bmp24, bmp8 or ico)");
        haveOutput_ = true;
    }

    void Mask(const std::vector<std::string_view>& words) {
        if (art_.kind == OutputKind::Ico)
            Fail(file_, lineNo_, "`mask` is for bitmaps; an icon keeps transparency in its AND mask");
        if (art_.mask) Fail(file_, lineNo_, "`mask` given twice");
        if (words.size() != 2) Fail(file_, lineNo_, "expected `mask #RRGGBB`");
        art_.mask = ParseColour(words[1]);
        if (!art_.mask) Fail(file_, lineNo_, "bad colour `" + std::string(words[1]) + "` (expected #RRGGBB)");
    }

    void Chars(const std::vector<std::string_view>& words) {
        if (!palette_.empty() || !art_.images.empty())
            Fail(file_, lineNo_, "`chars` must come before the palette and the images");
        if (words.size() != 2 || (words[1] != "1" && words[1] != "2"))
            Fail(file_, lineNo_, "expected `chars 1` or `chars 2` (characters per pixel)");
        charsPerPixel_ = words[1] == "1" ? 1 : 2;
    }

    void PaletteLine(const std::vector<std::string_view>& words) {
        const std::string code(words[0]);
        if (code.size() != charsPerPixel_)
            Fail(file_, lineNo_,
                 "unknown statement `" + code + "` (a palette code has " + std::to_string(charsPerPixel_) +
                     (charsPerPixel_ == 1 ? " character)" : " characters)"));
        for (unsigned char c : code)
            if (!IsPaletteChar(c)) Fail(file_, lineNo_, Quoted(c) + " cannot be used in a palette code");
        if (words.size() != 2)
            Fail(file_, lineNo_, "expected a palette line `" + code + " #RRGGBB` or `" + code + " none`");
        if (const auto known = palette_.find(code); known != palette_.end())
            Fail(file_, lineNo_,
                 "palette code '" + code + "' is already defined on line " +
                     std::to_string(known->second.line));
        PaletteEntry entry;
        entry.line = lineNo_;
        if (words[1] != "none") {
            entry.colour = ParseColour(words[1]);
            if (!entry.colour)
                Fail(file_, lineNo_, "bad colour `" + std::string(words[1]) + "` (expected #RRGGBB or none)");
        }
        palette_[code] = entry;
    }

    void ReadImage(const std::vector<std::string_view>& words) {
        Image image;
        image.line = lineNo_;
        const int number = static_cast<int>(art_.images.size()) + 1;
        const bool icon = art_.kind == OutputKind::Ico;
        if (icon ? words.size() < 4 : words.size() != 3)
            Fail(file_, lineNo_,
                 icon ? "expected `image WIDTH HEIGHT DEPTH...` (depth 4 and/or 8)"
                      : "expected `image WIDTH HEIGHT`");
        const int maxSide = icon ? kMaxIconSide : kMaxBitmapSide;
        const auto width = ParseInt(words[1]);
        const auto height = ParseInt(words[2]);
        if (!width || !height || *width < 1 || *height < 1 || *width > maxSide || *height > maxSide)
            Fail(file_, lineNo_,
                 "image size must be two whole numbers from 1 to " + std::to_string(maxSide) + ", got `" +
                     std::string(words[1]) + " " + std::string(words[2]) + "`");
        image.width = *width;
        image.height = *height;
        for (std::size_t i = 3; i < words.size(); ++i) {
            const auto depth = ParseInt(words[i]);
            if (!depth || (*depth != 4 && *depth != 8))
                Fail(file_, lineNo_, "icon depth must be 4 or 8, got `" + std::string(words[i]) + "`");
            if (std::find(image.depths.begin(), image.depths.end(), *depth) != image.depths.end())
                Fail(file_, lineNo_, "depth " + std::to_string(*depth) + " given twice");
            image.depths.push_back(*depth);
        }
        image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
        for (int row = 1; row <= image.height; ++row) {
            if (!NextLine())
                Fail(file_, lineNo_,
                     "the file ends inside image " + std::to_string(number) + " (line " +
                         std::to_string(image.line) + "): " + std::to_string(row - 1) + " of " +
                         std::to_string(image.height) + " rows found");
            const std::string_view text = TrimRight(line_);
            const std::size_t wanted = static_cast<std::size_t>(image.width) * charsPerPixel_;
            for (std::size_t col = 0; col + charsPerPixel_ <= std::min(text.size(), wanted);
                 col += charsPerPixel_) {
                const std::string code(text.substr(col, charsPerPixel_));
                const auto entry = palette_.find(code);
                if (entry == palette_.end()) {
                    std::string shown;
                    for (unsigned char c : code)
                        shown += shown.empty() ? Quoted(c) : " " + Quoted(c);
                    Fail(file_, lineNo_,
                         "row " + std::to_string(row) + " of image " + std::to_string(number) + ", pixel " +
                             std::to_string(col / charsPerPixel_ + 1) + ": " + shown +
                             " is not in the palette");
                }
                image.pixels.push_back(entry->second.colour);
            }
            if (text.size() != wanted)
                Fail(file_, lineNo_,
                     "row " + std::to_string(row) + " of image " + std::to_string(number) + " has " +
                         std::to_string(text.size()) + " characters; expected " + std::to_string(wanted) +
                         (charsPerPixel_ == 1 ? "" : " (" + std::to_string(image.width) + " pixels of 2)"));
        }
        art_.images.push_back(std::move(image));
    }

    void CheckWhole() {
        const bool icon = art_.kind == OutputKind::Ico;
        if (!icon) {
            const Image& first = art_.images.front();
            long long totalWidth = 0;
            for (const Image& image : art_.images) {
                if (image.height != first.height)
                    Fail(file_, image.line,
                         "all images of a strip must be " + std::to_string(first.height) + " pixels high");
                totalWidth += image.width;
            }
            if (totalWidth > kMaxBitmapSide)
                Fail(file_, art_.images.back().line,
                     "the strip is " + std::to_string(totalWidth) + " pixels wide; at most " +
                         std::to_string(kMaxBitmapSide) + " are allowed");
            for (const Image& image : art_.images) {
                if (HasTransparent(image) && !art_.mask)
                    Fail(file_, image.line,
                         "the image has transparent pixels but the file sets no `mask` colour");
                if (art_.mask &&
                    std::find(image.pixels.begin(), image.pixels.end(), art_.mask) != image.pixels.end())
                    Fail(file_, image.line,
                         "an opaque pixel has the mask colour " + ColourText(*art_.mask) +
                             " and would come out transparent");
            }
            return;
        }
        for (std::size_t i = 0; i < art_.images.size(); ++i)
            for (std::size_t j = 0; j < i; ++j) {
                const Image& a = art_.images[i];
                const Image& b = art_.images[j];
                if (a.width != b.width || a.height != b.height) continue;
                for (int depth : a.depths)
                    if (std::find(b.depths.begin(), b.depths.end(), depth) != b.depths.end())
                        Fail(file_, a.line,
                             "the icon already has a " + std::to_string(a.width) + " x " +
                                 std::to_string(a.height) + " image of depth " + std::to_string(depth) +
                                 " (line " + std::to_string(b.line) + ")");
            }
    }

    std::string_view text_;
    std::string file_;
    std::size_t pos_ = 0;
    std::string_view line_;
    int lineNo_ = 0;
    bool haveOutput_ = false;
    std::size_t charsPerPixel_ = 1;
    std::map<std::string, PaletteEntry> palette_;
    Art art_;
};

class Writer {
  public:
    void U8(unsigned v) { bytes.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) {
        U8(v & 0xFF);
        U8((v >> 8) & 0xFF);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Pad4(std::size_t rowStart) {
        while ((bytes.size() - rowStart) % 4 != 0)
            U8(0);
    }
    void Rgbquad(Rgb c) {
        U8(c.b);
        U8(c.g);
        U8(c.r);
        U8(0);
    }
    // Rows from the bottom up, `bits` bits per pixel (1, 4 or 8) packed from
    // the high bits of each byte, each row padded to four bytes.
    template <class ValueAt> void PackedRows(int width, int height, int bits, ValueAt valueAt) {
        for (int y = height - 1; y >= 0; --y) {
            const std::size_t rowStart = bytes.size();
            unsigned pending = 0;
            int filled = 0;
            for (int x = 0; x < width; ++x) {
                pending = (pending << bits) | static_cast<unsigned>(valueAt(x, y));
                filled += bits;
                if (filled == 8) {
                    U8(pending);
                    pending = 0;
                    filled = 0;
                }
            }
            if (filled != 0) U8(pending << (8 - filled));
            Pad4(rowStart);
        }
    }
    std::vector<std::uint8_t> bytes;
};

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

inline std::uint32_t Stride(int width, int bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// Lays the images of a bitmap file side by side; transparent pixels take the mask colour.
inline std::vector<Rgb> Strip(const Art& art, int& width, int& height) {
    width = 0;
    height = art.images.front().height;
    for (const Image& image : art.images)
        width += image.width;
    std::vector<Rgb> pixels(static_cast<std::size_t>(width) * height);
    int left = 0;
    for (const Image& image : art.images) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const auto& p = image.pixels[static_cast<std::size_t>(y) * image.width + x];
                pixels[static_cast<std::size_t>(y) * width + left + x] = p ? *p : art.mask.value_or(Rgb{});
            }
        left += image.width;
    }
    return pixels;
}

inline void BitmapInfoHeader(Writer& w, int width, int height, int bitsPerPixel, std::uint32_t imageSize,
                             std::uint32_t coloursUsed) {
    w.U32(kInfoHeaderSize);
    w.I32(width);
    w.I32(height); // positive: rows run bottom-up
    w.U16(1);      // planes
    w.U16(bitsPerPixel);
    w.U32(0); // BI_RGB
    w.U32(imageSize);
    w.I32(0); // pixels per metre, x and y: not given
    w.I32(0);
    w.U32(coloursUsed);
    w.U32(0); // all colours important
}

inline void FileHeader(Writer& w, std::uint32_t fileSize, std::uint32_t pixelOffset) {
    w.U8('B');
    w.U8('M');
    w.U32(fileSize);
    w.U32(0);
    w.U32(pixelOffset);
}

inline std::size_t IndexOf(const std::vector<Rgb>& palette, Rgb c) {
    return static_cast<std::size_t>(std::find(palette.begin(), palette.end(), c) - palette.begin());
}


} // namespace detail

// Parses a picture; `file` names it in error messages.
inline Art ParseArt(std::string_view text, const std::string& file) {
    return detail::Parser(text, file).Parse();
}

// 24-bit bitmap file of the images side by side.
inline std::vector<std::uint8_t> WriteBmp24(const Art& art) {
    using namespace detail;
    int width = 0, height = 0;
    const std::vector<Rgb> pixels = Strip(art, width, height);
    const std::uint32_t stride = Stride(width, 24);
    const std::uint32_t imageSize = stride * height;
    Writer w;
    FileHeader(w, kFileHeaderSize + kInfoHeaderSize + imageSize, kFileHeaderSize + kInfoHeaderSize);
    BitmapInfoHeader(w, width, height, 24, imageSize, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = w.bytes.size();
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixels[static_cast<std::size_t>(y) * width + x];
            w.U8(c.b);
            w.U8(c.g);
            w.U8(c.r);
        }
        w.Pad4(rowStart);
    }
    return std::move(w.bytes);
}

// 8-bit palette bitmap file of the images side by side; `file` names the
// picture in error messages.
inline std::vector<std::uint8_t> WriteBmp8(const Art& art, const std::string& file) {
    using namespace detail;
    int width = 0, height = 0;
    const std::vector<Rgb> pixels = Strip(art, width, height);
    std::vector<Rgb> palette;
    for (const Rgb& c : pixels)
        if (IndexOf(palette, c) == palette.size()) palette.push_back(c);
    if (palette.size() > 256)
        Fail(file, art.images.front().line,
             "a 256-colour bitmap can hold 256 colours; the picture has " + std::to_string(palette.size()));
    const std::uint32_t stride = Stride(width, 8);
    const std::uint32_t imageSize = stride * height;
    const std::uint32_t offset =
        kFileHeaderSize + kInfoHeaderSize + static_cast<std::uint32_t>(palette.size()) * 4;
    Writer w;
    FileHeader(w, offset + imageSize, offset);
    BitmapInfoHeader(w, width, height, 8, imageSize, static_cast<std::uint32_t>(palette.size()));
    for (const Rgb& c : palette)
        w.Rgbquad(c);
    w.PackedRows(width, height, 8,
                 [&](int x, int y) { return IndexOf(palette, pixels[static_cast<std::size_t>(y) * width + x]); });
    return std::move(w.bytes);
}

// Icon file: one entry per image and depth, in the order written.
inline std::vector<std::uint8_t> WriteIco(const Art& art, const std::string& file) {
    using namespace detail;
    struct Entry {
        const Image* image;
        int depth;
        std::vector<std::uint8_t> data; // header, colour table, XOR bitmap, AND mask
    };
    std::vector<Entry> entries;
    for (const Image& image : art.images) {
        const bool transparent = HasTransparent(image);
        // Transparent pixels are black in the XOR bitmap.
        std::vector<Rgb> colours;
        if (transparent) colours.push_back(Rgb{});
        for (const auto& p : image.pixels)
            if (p && IndexOf(colours, *p) == colours.size()) colours.push_back(*p);
        const auto pixel = [&image](int x, int y) -> const std::optional<Rgb>& {
            return image.pixels[static_cast<std::size_t>(y) * image.width + x];
        };
        for (int depth : image.depths) {
            const std::size_t room = std::size_t{1} << depth;
            if (colours.size() > room)
                Fail(file, image.line,
                     "a " + std::to_string(room) + "-colour icon image can hold " + std::to_string(room) +
                         " colours; this one needs " + std::to_string(colours.size()) +
                         (transparent ? " (black included for the transparent pixels)" : ""));
            std::vector<Rgb> palette = colours;
            palette.resize(room, Rgb{});
            const std::uint32_t xorStride = Stride(image.width, depth);
            const std::uint32_t andStride = Stride(image.width, 1);
            const std::uint32_t imageSize = (xorStride + andStride) * image.height;
            Writer w;
            BitmapInfoHeader(w, image.width, image.height * 2, depth, imageSize, 0);
            for (const Rgb& c : palette)
                w.Rgbquad(c);
            w.PackedRows(image.width, image.height, depth,
                         [&](int x, int y) { return IndexOf(palette, pixel(x, y).value_or(Rgb{})); });
            w.PackedRows(image.width, image.height, 1, [&](int x, int y) { return pixel(x, y) ? 0 : 1; });
            entries.push_back({&image, depth, std::move(w.bytes)});
        }
    }
    Writer w;
    w.U16(0); // reserved
    w.U16(1); // icon
    w.U16(static_cast<unsigned>(entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (const Entry& e : entries) {
        w.U8(e.image->width == 256 ? 0 : e.image->width);
        w.U8(e.image->height == 256 ? 0 : e.image->height);
        w.U8(e.depth == 4 ? 16 : 0); // colour count; 0 for 256 colours
        w.U8(0);
        w.U16(1); // planes
        w.U16(e.depth);
        w.U32(static_cast<std::uint32_t>(e.data.size()));
        w.U32(offset);
        offset += static_cast<std::uint32_t>(e.data.size());
    }
    for (const Entry& e : entries)
        w.bytes.insert(w.bytes.end(), e.data.begin(), e.data.end());
    return std::move(w.bytes);
}

inline std::vector<std::uint8_t> Convert(const Art& art, const std::string& file) {
    switch (art.kind) {
    case OutputKind::Bmp24: return WriteBmp24(art);
    case OutputKind::Bmp8: return WriteBmp8(art, file);
    case OutputKind::Ico: return WriteIco(art, file);
    }
    throw ArtError(file + ": unknown output kind");
}

inline std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Reads INPUT, converts it and writes OUTPUT (through a temporary file, so a
// failure leaves any earlier OUTPUT whole). Returns the process exit code.
inline int Run(int argc, const char* const* argv, std::ostream& err) {
    if (argc != 3) {
        err << "usage: artc INPUT.art OUTPUT.bmp|OUTPUT.ico\n";
        return 2;
    }
    const std::string input = argv[1];
    const std::filesystem::path output = argv[2];
    try {
        std::ifstream in(input, std::ios::binary);
        if (!in) throw ArtError(input + ": cannot open the file");
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) throw ArtError(input + ": cannot read the file");
        const Art art = ParseArt(text, input);
        const std::string extension = Lower(output.extension().string());
        const std::string wanted = art.kind == OutputKind::Ico ? ".ico" : ".bmp";
        if (extension != wanted)
            throw ArtError(output.string() + ": the picture " + input + " makes a " + wanted + " file");
        const std::vector<std::uint8_t> bytes = Convert(art, input);
        std::filesystem::path temporary = output;
        temporary += ".tmp";
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            if (!out) throw ArtError(temporary.string() + ": cannot create the file");
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) {
                std::error_code ignored;
                std::filesystem::remove(temporary, ignored);
                throw ArtError(temporary.string() + ": cannot write the file");
            }
        }
        std::error_code renameError;
        std::filesystem::rename(temporary, output, renameError);
        if (renameError) { // a system whose rename does not replace: remove, then rename
            std::error_code ignored;
            std::filesystem::remove(output, ignored);
            renameError.clear();
            std::filesystem::rename(temporary, output, renameError);
        }
        if (renameError) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw ArtError(output.string() + ": cannot replace the file: " + renameError.message());
        }
        return 0;
    } catch (const ArtError& e) {
        err << "artc: " << e.what() << "\n";
    } catch (const std::exception& e) {
        err << "artc: " << input << ": " << e.what() << "\n";
    }
    return 1;
}

} // namespace artc

#ifndef ARTC_NO_MAIN
int main(int argc, char** argv) {
    return artc::Run(argc, argv, std::cerr);
}
#endif
