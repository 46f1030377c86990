#pragma once
// Pixels of the 24-bit BMP screenshots a scripted run writes.
#include "support/test_support.h"

#include <cstdint>
#include <string>

struct Screenshot {
    int width = 0, height = 0;
    std::string bytes;
    explicit Screenshot(const std::string& path) : bytes(read_text(path)) {
        if (bytes.size() < 54) return;
        width = int(u32(18));
        height = int(u32(22));
    }
    bool valid() const { return width > 0 && height > 0; }
    // Pixel (x, y), origin top-left.
    Rgba at(int x, int y) const {
        const uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
        const size_t o = 54 + size_t(height - 1 - y) * stride + size_t(x) * 3;
        if (x < 0 || y < 0 || x >= width || y >= height || o + 2 >= bytes.size()) return {};
        return {uint8_t(bytes[o + 2]), uint8_t(bytes[o + 1]), uint8_t(bytes[o]), 255};
    }

  private:
    uint32_t u32(size_t o) const {
        auto b = [&](size_t i) { return uint32_t(uint8_t(bytes[i])); };
        return b(o) | b(o + 1) << 8 | b(o + 2) << 16 | b(o + 3) << 24;
    }
};
