#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace trawlit {

enum class AviEncoding { Rle8, Uncompressed };

// An 8-bit palettized clip to be written: frames are top-down rows of palette indices,
// width * height bytes each.
struct AviFrames {
    std::size_t width = 0;
    std::size_t height = 0;
    std::uint32_t microsecondsPerFrame = 100000;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB, at most 256
    std::vector<std::vector<std::uint8_t>> frames;
    AviEncoding encoding = AviEncoding::Rle8;
    // Uncompressed frames only: store rows top-down (negative height) instead of bottom-up.
    bool topDown = false;
};

// The bytes of an AVI file holding the clip; every RLE8 frame encodes the whole picture.
std::string WriteAvi(const AviFrames& clip);

// RLE8 bytes of one picture, stored bottom-up; `pixels` must hold width * height indices as
// top-down rows.
std::string EncodeRle8(std::span<const std::uint8_t> pixels, std::size_t width, std::size_t height);

} // namespace trawlit
