// Screenshots of windows as PNG files: the window's rectangle copied from the screen, written as an
// uncompressed PNG (stored deflate blocks), so no image library is needed.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace vlc::testing {

using Bytes = std::vector<std::uint8_t>;

inline void putBig32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Length, type, data and the CRC-32 of type and data.
inline void putChunk(Bytes& out, const char* type, const Bytes& data) {
    putBig32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    std::uint32_t crc = ~0u;
    for (std::size_t i = start; i < out.size(); ++i) {
        crc ^= out[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    putBig32(out, ~crc);
}

// Top-down 32-bit BGRA pixels, at least one, as the PNG bytes of their RGB.
inline Bytes encodePng(int width, int height, const std::uint8_t* bgra) {
    Bytes raw;  // each row after its filter byte (0, none)
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        raw.push_back(0);
        for (const std::uint8_t* p = bgra + 4 * y * width; p < bgra + 4 * (y + 1) * width; p += 4)
            raw.insert(raw.end(), {p[2], p[1], p[0]});
    }
    Bytes zlib = {0x78, 0x01};
    for (std::size_t at = 0; at < raw.size(); at += 65535) {
        const auto size = static_cast<std::uint16_t>(std::min<std::size_t>(65535, raw.size() - at));
        const auto last = static_cast<std::uint8_t>(at + size == raw.size());
        zlib.insert(zlib.end(), {last, std::uint8_t(size), std::uint8_t(size >> 8), std::uint8_t(~size),
                                 std::uint8_t(~size >> 8)});
        zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + size);
    }
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBig32(zlib, (b << 16) | a);

    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    putBig32(header, static_cast<std::uint32_t>(width));
    putBig32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter choice, no interlace
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlib);
    putChunk(out, "IEND", {});
    return out;
}

// Copies the window's rectangle from the screen (whatever lies on top of it included) into a PNG file.
// True when the file was written.
inline bool saveScreenshot(HWND window, const std::string& path) {
    RECT rect{};
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied =
        bitmap != nullptr && BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    const Bytes bytes =
        copied && GdiFlush() ? encodePng(width, height, static_cast<const std::uint8_t*>(bits)) : Bytes{};
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (bytes.empty()) return false;
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

}  // namespace vlc::testing
