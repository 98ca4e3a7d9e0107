// A text file is read in blocks, twice, so that its bytes are never held
// whole beside its characters: the first pass (TextScan) tells the encoding
// and the exact length of the text, the second decodes block after block
// straight into the text's place, each block cut where a character ends
// (CompletePrefix) and its line breaks made CR LF on the way (LineBreakWriter).
#pragma once

#include "document/TextEncoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace moke {

// A byte-order mark decides UTF-8, UTF-16LE or UTF-16BE; otherwise bytes
// that are valid UTF-8 and hold at least one multi-byte sequence are UTF-8;
// otherwise Shift-JIS.
TextEncoding DetectEncoding(std::string_view bytes);

// True when some character of Shift-JIS text has a second code for the same
// character in code page 932 (the NEC row 13, the NEC-selected IBM rows and
// the IBM rows, or the bytes the code page maps to private characters), so
// that converting its characters back may give other bytes than it had.
bool MayHoldSecondCodes(std::string_view shiftJis);

class TextScan {
public:
    // The file's bytes, in order, in blocks of any size.
    void Feed(std::string_view block);
    // After the last block; the answers below hold from then on.
    void Finish();

    // As DetectEncoding tells it of the whole file.
    TextEncoding Encoding() const { return encoding_; }
    // The length of the byte-order mark that begins the file.
    std::size_t MarkLength() const { return ByteOrderMark(encoding_).size(); }
    // True when the file cannot be the editor's text: a NUL character (the
    // editor would show the text only up to it), an odd number of UTF-16
    // bytes, or bytes after a UTF-8 mark that are not well-formed UTF-8.
    // Whether Shift-JIS bytes are characters of the code page is told when
    // they are decoded.
    bool Refused() const { return refused_; }
    // The UTF-16 units of the text once its line breaks are CR LF: exact for
    // a text that decodes.
    std::size_t Units() const;
    // As MayHoldSecondCodes tells it of the whole file.
    bool MayHoldSecondCodes() const { return secondCodes_; }

private:
    void Body(std::string_view bytes);
    void Utf16(std::string_view bytes);
    void Utf8(std::string_view bytes);
    void ShiftJis(std::string_view bytes);
    void LineBreak(bool cr, bool lf);

    std::string head_;       // the first bytes, until the mark can be told
    bool begun_ = false;     // the mark is told
    TextEncoding encoding_ = TextEncoding::ShiftJis; // a mark's, until Finish
    bool refused_ = false;
    std::uint64_t bytes_ = 0; // after the mark
    // Line breaks: CR LF stays, a lone CR or LF gains a unit.
    bool afterCr_ = false;
    std::size_t extra_ = 0;
    // UTF-16: a byte waiting for its pair.
    bool oddByte_ = false;
    unsigned char firstByte_ = 0;
    // UTF-8: whether the bytes so far are well-formed, their units, and a
    // sequence cut by the end of a block.
    bool utf8_ = true;
    std::size_t utf8Units_ = 0;
    std::string utf8Cut_;
    // Shift-JIS: double-byte characters so far (one unit each), whether a
    // block ended between the two bytes of one, second codes seen.
    std::size_t pairs_ = 0;
    bool inPair_ = false;
    bool secondCodes_ = false;
};

// How much of `bytes`, which begin at a character, ends where a character
// ends: the rest is the start of a character cut by the end of the block.
// UTF-16 counts in units of two bytes.
std::size_t CompletePrefix(std::string_view bytes, TextEncoding encoding);

// Writes UTF-16 text given in pieces with its line breaks made CR LF, as
// NormalizeLineBreaksInPlace makes them in a whole text: a CR at the end of
// a piece waits for the next one.
template <class Unit> class LineBreakWriter {
public:
    LineBreakWriter(Unit* out, std::size_t capacity) : out_(out), capacity_(capacity) {}
    // False when the text would pass the capacity.
    bool Write(const Unit* in, std::size_t count) {
        std::size_t i = 0;
        while (i < count) {
            if (afterCr_) {
                afterCr_ = false;
                if (!PutBreak()) return false;
                if (in[i] == Unit('\n') && ++i == count) break;
            }
            // Runs without a line break are copied whole.
            std::size_t j = i;
            while (j < count && in[j] != Unit('\r') && in[j] != Unit('\n')) ++j;
            if (j - i > capacity_ - written_) return false;
            std::copy(in + i, in + j, out_ + written_);
            written_ += j - i;
            if (j == count) break;
            if (in[j] == Unit('\r'))
                afterCr_ = true;
            else if (!PutBreak())
                return false;
            i = j + 1;
        }
        return true;
    }
    bool Finish() {
        if (!afterCr_) return true;
        afterCr_ = false;
        return PutBreak();
    }
    std::size_t Written() const { return written_; }

private:
    bool PutBreak() {
        if (capacity_ - written_ < 2) return false;
        out_[written_++] = Unit('\r');
        out_[written_++] = Unit('\n');
        return true;
    }
    Unit* out_;
    std::size_t capacity_;
    std::size_t written_ = 0;
    bool afterCr_ = false;
};

} // namespace moke
