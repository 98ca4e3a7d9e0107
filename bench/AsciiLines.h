// The ASCII test text of the benchmarks: lines of 20 to 79 lower-case
// letters, each ended by `lineBreak`, cut to `size` bytes. The same seed
// gives the same bytes.
#pragma once

#include <cstddef>
#include <string>

inline std::string AsciiLines(std::size_t size, const char* lineBreak, unsigned seed) {
    std::string text;
    text.reserve(size + 128);
    while (text.size() < size) {
        seed = seed * 1103515245 + 12345;
        const unsigned length = 20 + (seed >> 16) % 60;
        for (unsigned i = 0; i < length; ++i) text.push_back(static_cast<char>('a' + (i * 7 + seed) % 26));
        text += lineBreak;
    }
    text.resize(size);
    return text;
}
