// Icons compared by what they show: the colour and mask pixels of an icon
// handle, and an icon or image-list image drawn over a known background.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <vector>

namespace moke::test {

struct IconPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colour; // 32-bit pixels, top row first
    std::vector<std::uint32_t> mask;   // the AND mask read as 32-bit pixels
    bool operator==(const IconPicture&) const = default;
};

inline void PrintTo(const IconPicture& picture, std::ostream* out) {
    *out << "icon " << picture.width << "x" << picture.height;
}

namespace detail {
// A 32-bit surface of that size, top row first.
inline BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

inline std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    BITMAPINFO info = TopDown32(width, height);
    HDC dc = GetDC(nullptr);
    const int rows =
        GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != height) pixels.clear();
    return pixels;
}
} // namespace detail

// The pixels of an icon; an empty picture for a null or unreadable handle.
inline IconPicture PictureOf(HICON icon) {
    IconPicture picture;
    if (!icon) return picture;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return picture;
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    picture.width = mask.bmWidth;
    // A monochrome icon keeps its picture in the lower half of the mask.
    picture.height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    if (info.hbmColor) picture.colour = detail::BitmapPixels(info.hbmColor, picture.width, picture.height);
    picture.mask = detail::BitmapPixels(info.hbmMask, mask.bmWidth, mask.bmHeight);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return picture;
}

// Draws into a fresh 32-bit surface filled with `background` and returns its pixels.
template <class Draw>
std::vector<std::uint32_t> Drawn(int width, int height, COLORREF background, Draw draw) {
    BITMAPINFO info = detail::TopDown32(width, height);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, surface);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    draw(dc);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first,
                                      first + static_cast<size_t>(width) * static_cast<size_t>(height));
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
    return pixels;
}

// A COLORREF as the 32-bit pixel value of a top-down BI_RGB surface.
inline std::uint32_t PixelOf(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

} // namespace moke::test
