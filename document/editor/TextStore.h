// The editor's text: UTF-16 code units in a gap buffer, with the start of
// every line kept in an array that every edit keeps up to date. As in the
// platform's edit control a line ends at LF; one or two CRs just before the LF
// belong to the line break (CR LF, and CR CR LF), a CR alone is a character. The array is adjusted lazily: starts after the last edited line
// carry one pending shift, applied as later edits or queries move past them,
// so typing in one place costs no walk over the lines that follow it.
#pragma once

#include "document/editor/TextBuffer.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace moke::editor {

class TextStore {
public:
    std::size_t Length() const { return buffer_.Capacity() - gapLength(); }
    char16_t At(std::size_t position) const {
        return position < gapStart_ ? buffer_.Data()[position] : buffer_.Data()[position + gapLength()];
    }

    // Replaces the whole text. Raises std::bad_alloc, with the old text kept,
    // when the new one cannot be held.
    void Assign(std::u16string_view text);
    // Replaces the whole text with the units in use in `text`, taking its
    // memory over (the room behind them becomes the gap); `text` is left
    // empty. Raises std::bad_alloc with both unchanged when the line index
    // cannot be made.
    void Adopt(TextBuffer& text);
    // Gives the whole text away in the store's own memory, without a copy;
    // the store is left empty.
    TextBuffer Release();
    bool Equals(std::u16string_view text) const;
    void Insert(std::size_t position, std::u16string_view text);
    void Erase(std::size_t position, std::size_t count);

    // Copies `count` units from `position` (both clamped to the text).
    void CopyTo(std::size_t position, std::size_t count, char16_t* out) const;
    std::u16string Substr(std::size_t position, std::size_t count) const;
    // The units of [position, position + count) as one contiguous span (the
    // gap is moved out of the way when it lies inside).
    const char16_t* Contiguous(std::size_t position, std::size_t count);

    // Lines: a line's characters end before its line break; the last line runs to the end.
    std::size_t LineCount() const { return starts_.size(); }
    std::size_t LineStart(std::size_t line) const;
    // The end of the line's characters (before its line break).
    std::size_t LineEnd(std::size_t line) const;
    std::size_t LineLength(std::size_t line) const { return LineEnd(line) - LineStart(line); }
    // The line that holds `position` (a position after the last one gives the last line).
    std::size_t LineFromPosition(std::size_t position) const;

private:
    std::size_t gapLength() const { return gapEnd_ - gapStart_; }
    void moveGap(std::size_t position);
    void reserveGap(std::size_t count);
    void settle(std::size_t line) const; // applies the pending shift to starts_[.. line]
    void shiftFrom(std::size_t line, std::ptrdiff_t delta);

    TextBuffer buffer_; // the whole capacity: text, gap, text
    std::size_t gapStart_ = 0;
    std::size_t gapEnd_ = 0;
    // Starts of lines; starts_[0] == 0. Entries from settled_ on still lack
    // pending_ (which may be negative).
    mutable std::vector<std::size_t> starts_{0};
    mutable std::size_t settled_ = 1;
    mutable std::ptrdiff_t pending_ = 0;
};

} // namespace moke::editor
