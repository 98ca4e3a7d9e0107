// A block of UTF-16 code units, left untouched until written: a file's text
// is decoded straight into one and handed to the editor, which keeps its
// text in the same block, so a large text is never held twice. Room behind
// the text that is never written costs address space only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>

namespace moke::editor {

class TextBuffer {
public:
    TextBuffer() = default;
    // Room for `capacity` units, none of them in use. Raises std::bad_alloc.
    explicit TextBuffer(std::size_t capacity) : units_(new char16_t[capacity]), capacity_(capacity) {}
    // A buffer moved from is left empty.
    TextBuffer(TextBuffer&& other) noexcept
        : units_(std::move(other.units_)), capacity_(std::exchange(other.capacity_, 0)),
          length_(std::exchange(other.length_, 0)) {}
    TextBuffer& operator=(TextBuffer&& other) noexcept {
        units_ = std::move(other.units_);
        capacity_ = std::exchange(other.capacity_, 0);
        length_ = std::exchange(other.length_, 0);
        return *this;
    }

    // The room a text of `length` units is given: the text and a gap behind
    // it for what is typed next.
    static std::size_t CapacityFor(std::size_t length) { return length + std::max<std::size_t>(4096, length / 64); }

    // A buffer holding a copy of `text`, with the room CapacityFor gives it.
    // Raises std::bad_alloc.
    static TextBuffer Copy(std::u16string_view text) {
        TextBuffer buffer(CapacityFor(text.size()));
        std::copy(text.begin(), text.end(), buffer.Data());
        buffer.SetLength(text.size());
        return buffer;
    }

    char16_t* Data() { return units_.get(); }
    const char16_t* Data() const { return units_.get(); }
    std::size_t Capacity() const { return capacity_; }
    // The units in use, from the start.
    std::size_t Length() const { return length_; }
    void SetLength(std::size_t length) { length_ = std::min(length, capacity_); }
    std::u16string_view View() const { return {units_.get(), length_}; }

    // Empties the buffer and gives its memory back.
    void Reset() { *this = TextBuffer(); }

private:
    std::unique_ptr<char16_t[]> units_;
    std::size_t capacity_ = 0;
    std::size_t length_ = 0;
};

} // namespace moke::editor
