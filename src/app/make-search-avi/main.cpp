// Draws the busy animation shown while a search runs and writes it as an AVI clip.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <numbers>
#include <vector>

#include "core/animation/AviWriter.h"

namespace {

using trawlit::AviFrames;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kFrames = 16;
constexpr double kLensRadius = 9.0;
constexpr double kMagnify = 1.6;

enum Colour : std::uint8_t { Paper, Ink, Rim, Lens, Handle, LensInk };

// Lines of "words": dark stretches with gaps, on rows a few pixels apart.
bool IsText(double x, double y)
{
    const int row = static_cast<int>(std::floor(y));
    const int col = static_cast<int>(std::floor(x));
    if (row < 6 || row > 41 || (row - 6) % 6 > 1 || col < 5 || col > 58)
        return false;
    const int line = (row - 6) / 6;
    const int pos = (col - 5 + line * 7) % 17; // shift each line so the words differ
    return pos < 6 || (pos > 7 && pos < 14);
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax;
    const double dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

std::uint8_t PixelAt(int x, int y, double cx, double cy)
{
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double d = std::hypot(px - cx, py - cy);
    if (d < kLensRadius - 1.5) {
        const bool ink = IsText(cx + (px - cx) / kMagnify, cy + (py - cy) / kMagnify);
        return ink ? LensInk : Lens;
    }
    if (d < kLensRadius + 0.5)
        return Rim;
    const double handleStart = kLensRadius * std::numbers::sqrt2 / 2;
    const double hx = cx + handleStart;
    const double hy = cy + handleStart;
    if (DistanceToSegment(px, py, hx, hy, hx + 8, hy + 8) < 1.6)
        return Handle;
    return IsText(px, py) ? Ink : Paper;
}

// The glass circles over the page, so the last frame leads back into the first.
std::vector<std::uint8_t> DrawFrame(int frame)
{
    const double t = 2 * std::numbers::pi * frame / kFrames;
    const double cx = 30 + 14 * std::cos(t);
    const double cy = 22 + 8 * std::sin(t);
    std::vector<std::uint8_t> pixels;
    pixels.reserve(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(PixelAt(x, y, cx, cy));
    return pixels;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-search-avi OUTPUT.avi\n";
        return 2;
    }
    AviFrames clip;
    clip.width = kWidth;
    clip.height = kHeight;
    clip.microsecondsPerFrame = 100000;
    clip.palette = { 0xF4F1E8, 0x8C8C8C, 0x2E3440, 0xD6E8F8, 0x7A5230, 0x303030 };
    for (int frame = 0; frame < kFrames; ++frame)
        clip.frames.push_back(DrawFrame(frame));
    const std::string bytes = trawlit::WriteAvi(clip);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::cerr << "make-search-avi: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
