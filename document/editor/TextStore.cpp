#include "document/editor/TextStore.h"

#include <algorithm>
#include <cstring>

namespace moke::editor {

namespace {
constexpr std::size_t MinimumGap = 4096;
}

namespace {
// The start of every line of `text`: 0 and the position after each LF.
std::vector<std::size_t> LineStarts(std::u16string_view text) {
    std::size_t breaks = 0;
    for (char16_t c : text)
        if (c == u'\n') ++breaks;
    std::vector<std::size_t> starts;
    starts.reserve(breaks + 1);
    starts.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == u'\n') starts.push_back(i + 1);
    return starts;
}
} // namespace

void TextStore::Assign(std::u16string_view text) {
    TextBuffer buffer = TextBuffer::Copy(text); // may raise: nothing changed yet
    Adopt(buffer);
}

void TextStore::Adopt(TextBuffer& text) {
    std::vector<std::size_t> starts = LineStarts(text.View()); // may raise: nothing changed yet
    gapStart_ = text.Length();
    buffer_ = std::move(text);
    gapEnd_ = buffer_.Capacity();
    starts_.swap(starts);
    settled_ = starts_.size();
    pending_ = 0;
}

TextBuffer TextStore::Release() {
    moveGap(Length());
    TextBuffer text;
    std::swap(text, buffer_);
    text.SetLength(gapStart_);
    starts_.assign(1, 0);
    gapStart_ = gapEnd_ = 0;
    settled_ = 1;
    pending_ = 0;
    return text;
}

bool TextStore::Equals(std::u16string_view text) const {
    if (text.size() != Length()) return false;
    const std::u16string_view before(buffer_.Data(), gapStart_);
    const std::u16string_view after(buffer_.Data() + gapEnd_, buffer_.Capacity() - gapEnd_);
    return text.substr(0, before.size()) == before && text.substr(before.size()) == after;
}

void TextStore::moveGap(std::size_t position) {
    if (position < gapStart_) {
        const std::size_t n = gapStart_ - position;
        std::memmove(buffer_.Data() + gapEnd_ - n, buffer_.Data() + position, n * sizeof(char16_t));
        gapStart_ -= n;
        gapEnd_ -= n;
    } else if (position > gapStart_) {
        const std::size_t n = position - gapStart_;
        std::memmove(buffer_.Data() + gapStart_, buffer_.Data() + gapEnd_, n * sizeof(char16_t));
        gapStart_ += n;
        gapEnd_ += n;
    }
}

void TextStore::reserveGap(std::size_t count) {
    if (gapLength() >= count) return;
    const std::size_t length = Length();
    const std::size_t gap = std::max({count + MinimumGap, length / 8, MinimumGap});
    TextBuffer buffer(length + gap);
    std::copy(buffer_.Data(), buffer_.Data() + gapStart_, buffer.Data());
    const std::size_t tail = buffer_.Capacity() - gapEnd_;
    std::copy(buffer_.Data() + gapEnd_, buffer_.Data() + buffer_.Capacity(), buffer.Data() + buffer.Capacity() - tail);
    gapEnd_ = buffer.Capacity() - tail;
    std::swap(buffer_, buffer);
}

std::size_t TextStore::LineStart(std::size_t line) const {
    if (line >= starts_.size()) return Length();
    return line < settled_ ? starts_[line] : starts_[line] + pending_;
}

std::size_t TextStore::LineEnd(std::size_t line) const {
    if (line + 1 >= starts_.size()) return Length();
    const std::size_t start = LineStart(line);
    std::size_t end = LineStart(line + 1) - 1; // the LF
    for (int cr = 0; cr < 2 && end > start && At(end - 1) == u'\r'; ++cr) --end;
    return end;
}

std::size_t TextStore::LineFromPosition(std::size_t position) const {
    // The last line whose start is at or before the position.
    std::size_t low = 0, high = starts_.size();
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        if (LineStart(middle) <= position)
            low = middle;
        else
            high = middle;
    }
    return low;
}

void TextStore::settle(std::size_t line) const {
    const std::size_t end = std::min(line + 1, starts_.size());
    for (; settled_ < end; ++settled_) starts_[settled_] += pending_;
}

void TextStore::shiftFrom(std::size_t line, std::ptrdiff_t delta) {
    if (line >= settled_) {
        if (line > 0) settle(line - 1);
    } else {
        // Entries [line, settled_) join the pending ones: they hold their value
        // less the pending shift they will be given back.
        for (std::size_t i = line; i < settled_; ++i) starts_[i] -= pending_;
        settled_ = line;
    }
    pending_ += delta;
    if (settled_ >= starts_.size()) {
        settled_ = starts_.size();
        pending_ = 0;
    }
}

// Edits: the line starts after LFs an edit removes go, those after LFs it
// brings come, and the starts behind it move.
void TextStore::Insert(std::size_t position, std::u16string_view text) {
    position = std::min(position, Length());
    if (text.empty()) return;
    reserveGap(text.size());
    const std::size_t first = LineFromPosition(position) + 1; // first start after the position
    settle(first);
    moveGap(position);
    std::copy(text.begin(), text.end(), buffer_.Data() + gapStart_);
    gapStart_ += text.size();
    std::vector<std::size_t> made;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == u'\n') made.push_back(position + i + 1);
    starts_.insert(starts_.begin() + first, made.begin(), made.end());
    settled_ += made.size();
    shiftFrom(first + made.size(), static_cast<std::ptrdiff_t>(text.size()));
}

void TextStore::Erase(std::size_t position, std::size_t count) {
    position = std::min(position, Length());
    count = std::min(count, Length() - position);
    if (count == 0) return;
    // Starts after erased LFs: those in [position + 1, position + count].
    const std::size_t first = LineFromPosition(position) + 1;
    const std::size_t last = LineFromPosition(position + count); // inclusive
    settle(last);
    const std::size_t removed = last >= first ? last - first + 1 : 0;
    moveGap(position);
    gapEnd_ += count;
    starts_.erase(starts_.begin() + first, starts_.begin() + first + removed);
    settled_ -= removed;
    shiftFrom(first, -static_cast<std::ptrdiff_t>(count));
}

void TextStore::CopyTo(std::size_t position, std::size_t count, char16_t* out) const {
    position = std::min(position, Length());
    count = std::min(count, Length() - position);
    const std::size_t before = position < gapStart_ ? std::min(count, gapStart_ - position) : 0;
    std::memcpy(out, buffer_.Data() + position, before * sizeof(char16_t));
    std::memcpy(out + before, buffer_.Data() + position + before + gapLength(),
                (count - before) * sizeof(char16_t));
}

std::u16string TextStore::Substr(std::size_t position, std::size_t count) const {
    position = std::min(position, Length());
    count = std::min(count, Length() - position);
    std::u16string out(count, u'\0');
    CopyTo(position, count, out.data());
    return out;
}

const char16_t* TextStore::Contiguous(std::size_t position, std::size_t count) {
    position = std::min(position, Length());
    count = std::min(count, Length() - position);
    if (position < gapStart_ && position + count > gapStart_) moveGap(position + count);
    return position < gapStart_ ? buffer_.Data() + position : buffer_.Data() + position + gapLength();
}

} // namespace moke::editor
