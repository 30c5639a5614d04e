#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trawlit {

// A short silent video clip of the kind the busy animation uses: one video stream of
// 8-bit palettized frames (uncompressed or RLE8) or 24-bit uncompressed frames.
// Anything else, or anything inconsistent, is refused so the caller shows no animation.
class AviClip {
public:
    // Reads a whole AVI file held in memory; nothing when the file is unusable.
    static std::optional<AviClip> Parse(std::string_view bytes);

    std::size_t Width() const { return width_; }
    std::size_t Height() const { return height_; }
    std::size_t FrameCount() const { return frames_.size(); }
    std::uint32_t MicrosecondsPerFrame() const { return microsecondsPerFrame_; }

    // Gives frame `index` as top-down rows of 0xAARRGGBB pixels. RLE8 frames only change
    // the previous picture, so frames are applied in order from the last one decoded; a
    // smaller index than the last restarts from frame 0. False (and a restart next time)
    // when the index is out of range or the frame's data is bad.
    bool DecodeFrame(std::size_t index, std::vector<std::uint32_t>& argb);

private:
    bool ReadHeaders(std::string_view hdrl);
    bool ReadFormat(std::string_view strf);
    bool CollectFrames(std::string_view movi);
    bool AddFrame(std::string_view data);
    bool ApplyFrame(const std::string& data);
    void ResetCanvas();
    std::size_t Stride() const;

    std::size_t width_ = 0;
    std::size_t height_ = 0;
    bool topDown_ = false;
    std::uint16_t bitCount_ = 0;
    std::uint32_t compression_ = 0;
    std::uint32_t microsecondsPerFrame_ = 0;
    std::string streamPrefix_; // "00" for stream 0: frame chunks are "00db" / "00dc"
    std::vector<std::uint32_t> palette_;
    std::vector<std::string> frames_;
    std::vector<std::uint32_t> canvas_;
    std::size_t framesApplied_ = 0;
};

} // namespace trawlit
