#include "core/animation/AviClip.h"

#include <algorithm>

namespace trawlit {
namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::int64_t kMaxPixels = std::int64_t { 4096 } * 4096;
constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t Byte(std::string_view s, std::size_t at)
{
    return static_cast<unsigned char>(s[at]);
}

// Callers check that the bytes exist.
std::uint16_t ReadU16(std::string_view s, std::size_t at)
{
    return static_cast<std::uint16_t>(Byte(s, at) | (Byte(s, at + 1) << 8));
}

std::uint32_t ReadU32(std::string_view s, std::size_t at)
{
    return Byte(s, at) | (Byte(s, at + 1) << 8) | (Byte(s, at + 2) << 16) | (Byte(s, at + 3) << 24);
}

struct Chunk {
    std::string_view id;
    std::string_view body;
};

// Splits a run of chunks; false when a chunk claims more bytes than its container holds.
// A missing pad byte after the last odd-sized chunk is tolerated.
bool SplitChunks(std::string_view data, std::vector<Chunk>& out)
{
    std::size_t pos = 0;
    while (data.size() - pos >= 8) {
        const std::uint32_t size = ReadU32(data, pos + 4);
        if (size > data.size() - pos - 8)
            return false;
        out.push_back({ data.substr(pos, 4), data.substr(pos + 8, size) });
        pos += 8 + size;
        if (size % 2 != 0 && pos < data.size())
            ++pos;
    }
    return true;
}

bool IsList(const Chunk& chunk, std::string_view type)
{
    return chunk.id == "LIST" && chunk.body.size() >= 4 && chunk.body.substr(0, 4) == type;
}

const Chunk* FindList(const std::vector<Chunk>& chunks, std::string_view type)
{
    for (const Chunk& chunk : chunks)
        if (IsList(chunk, type))
            return &chunk;
    return nullptr;
}

const Chunk* FindChunk(const std::vector<Chunk>& chunks, std::string_view id)
{
    for (const Chunk& chunk : chunks)
        if (chunk.id == id)
            return &chunk;
    return nullptr;
}

// The picture being built, addressed in DIB row order; writes outside it are dropped.
struct Canvas {
    std::vector<std::uint32_t>& pixels;
    std::size_t width;
    std::size_t height;
    bool topDown;

    void Put(std::size_t x, std::size_t dibRow, std::uint32_t argb)
    {
        if (x >= width || dibRow >= height)
            return;
        const std::size_t row = topDown ? dibRow : height - 1 - dibRow;
        pixels[row * width + x] = argb;
    }
};

// Applies one RLE8 picture on top of the canvas. Runs and deltas past the edges are clipped;
// an escape cut short by the end of the data is refused.
bool DecodeRle8(std::string_view data, const std::vector<std::uint32_t>& palette, Canvas& canvas)
{
    std::size_t pos = 0;
    std::size_t x = 0;
    std::size_t y = 0;
    while (data.size() - pos >= 2) {
        const std::uint32_t count = Byte(data, pos);
        const std::uint32_t value = Byte(data, pos + 1);
        pos += 2;
        if (count > 0) {
            for (std::uint32_t i = 0; i < count; ++i)
                canvas.Put(x++, y, palette[value]);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (data.size() - pos < 2)
                return false;
            x += Byte(data, pos);
            y += Byte(data, pos + 1);
            pos += 2;
        } else {
            const std::size_t padded = value + (value % 2);
            if (data.size() - pos < value)
                return false;
            for (std::uint32_t i = 0; i < value; ++i)
                canvas.Put(x++, y, palette[Byte(data, pos + i)]);
            pos = std::min(data.size(), pos + padded);
        }
    }
    return true;
}

void DecodeRaw(std::string_view data, std::uint16_t bitCount, std::size_t stride,
    const std::vector<std::uint32_t>& palette, Canvas& canvas)
{
    for (std::size_t row = 0; row < canvas.height; ++row) {
        const std::size_t start = row * stride;
        for (std::size_t x = 0; x < canvas.width; ++x) {
            if (bitCount == 8) {
                canvas.Put(x, row, palette[Byte(data, start + x)]);
                continue;
            }
            const std::size_t at = start + 3 * x;
            canvas.Put(x, row,
                kOpaque | (Byte(data, at + 2) << 16) | (Byte(data, at + 1) << 8) | Byte(data, at));
        }
    }
}

// Gathers the stream's frame chunks in order, also those grouped one level down in 'rec '
// lists; deeper nesting is not followed.
bool FrameChunks(std::string_view data, std::string_view prefix, bool inRecord,
    std::vector<std::string_view>& out)
{
    std::vector<Chunk> chunks;
    if (!SplitChunks(data, chunks))
        return false;
    for (const Chunk& chunk : chunks) {
        if (!inRecord && IsList(chunk, "rec ")) {
            if (!FrameChunks(chunk.body.substr(4), prefix, true, out))
                return false;
        } else if (chunk.id.substr(0, 2) == prefix
            && (chunk.id.substr(2) == "db" || chunk.id.substr(2) == "dc")) {
            out.push_back(chunk.body);
        }
    }
    return true;
}

} // namespace

std::optional<AviClip> AviClip::Parse(std::string_view bytes)
{
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "AVI ")
        return std::nullopt;
    const std::uint32_t riffSize = ReadU32(bytes, 4);
    if (riffSize < 4 || riffSize > bytes.size() - 8)
        return std::nullopt;
    std::vector<Chunk> top;
    if (!SplitChunks(bytes.substr(12, riffSize - 4), top))
        return std::nullopt;
    const Chunk* hdrl = FindList(top, "hdrl");
    const Chunk* movi = FindList(top, "movi");
    AviClip clip;
    if (hdrl == nullptr || movi == nullptr || !clip.ReadHeaders(hdrl->body.substr(4))
        || !clip.CollectFrames(movi->body.substr(4)) || clip.frames_.empty())
        return std::nullopt;
    clip.ResetCanvas();
    return clip;
}

bool AviClip::ReadHeaders(std::string_view hdrl)
{
    std::vector<Chunk> chunks;
    if (!SplitChunks(hdrl, chunks))
        return false;
    const Chunk* avih = FindChunk(chunks, "avih");
    if (avih == nullptr || avih->body.size() < 56)
        return false;
    microsecondsPerFrame_ = ReadU32(avih->body, 0);
    std::size_t stream = 0;
    for (const Chunk& chunk : chunks) {
        if (!IsList(chunk, "strl"))
            continue;
        std::vector<Chunk> parts;
        if (!SplitChunks(chunk.body.substr(4), parts))
            return false;
        const Chunk* strh = FindChunk(parts, "strh");
        const Chunk* strf = FindChunk(parts, "strf");
        if (strh != nullptr && strh->body.size() >= 4 && strh->body.substr(0, 4) == "vids") {
            if (strf == nullptr || stream > 99)
                return false;
            streamPrefix_
                = { static_cast<char>('0' + stream / 10), static_cast<char>('0' + stream % 10) };
            return ReadFormat(strf->body);
        }
        ++stream;
    }
    return false;
}

bool AviClip::ReadFormat(std::string_view strf)
{
    if (strf.size() < 40)
        return false;
    const std::uint32_t headerSize = ReadU32(strf, 0);
    const std::int64_t width = static_cast<std::int32_t>(ReadU32(strf, 4));
    const std::int64_t height = static_cast<std::int32_t>(ReadU32(strf, 8));
    bitCount_ = ReadU16(strf, 14);
    compression_ = ReadU32(strf, 16);
    const std::uint32_t colorsUsed = ReadU32(strf, 32);
    const std::int64_t rows = height < 0 ? -height : height;
    if (headerSize < 40 || headerSize > strf.size() || width <= 0 || rows == 0
        || width * rows > kMaxPixels)
        return false;
    width_ = static_cast<std::size_t>(width);
    height_ = static_cast<std::size_t>(rows);
    topDown_ = height < 0;
    if (bitCount_ == 24 && compression_ == kRgb)
        return true;
    if (bitCount_ != 8 || (compression_ != kRgb && compression_ != kRle8))
        return false;
    const std::size_t colors = colorsUsed == 0 ? 256 : colorsUsed;
    if (colors > 256 || (strf.size() - headerSize) / 4 < colors)
        return false;
    palette_.assign(256, kOpaque);
    for (std::size_t i = 0; i < colors; ++i) {
        const std::size_t at = headerSize + 4 * i;
        palette_[i]
            = kOpaque | (Byte(strf, at + 2) << 16) | (Byte(strf, at + 1) << 8) | Byte(strf, at);
    }
    return true;
}

bool AviClip::CollectFrames(std::string_view movi)
{
    std::vector<std::string_view> bodies;
    if (!FrameChunks(movi, streamPrefix_, false, bodies))
        return false;
    for (std::string_view body : bodies)
        if (!AddFrame(body))
            return false;
    return true;
}

bool AviClip::AddFrame(std::string_view data)
{
    // An empty chunk repeats the previous picture; any other raw frame must be whole.
    if (compression_ == kRgb && !data.empty() && data.size() / Stride() < height_)
        return false;
    frames_.emplace_back(data);
    return true;
}

std::size_t AviClip::Stride() const
{
    return (width_ * bitCount_ + 31) / 32 * 4;
}

void AviClip::ResetCanvas()
{
    canvas_.assign(width_ * height_, palette_.empty() ? kOpaque : palette_[0]);
    framesApplied_ = 0;
}

bool AviClip::ApplyFrame(const std::string& data)
{
    Canvas canvas { canvas_, width_, height_, topDown_ };
    if (data.empty())
        return true;
    if (compression_ == kRle8)
        return DecodeRle8(data, palette_, canvas);
    DecodeRaw(data, bitCount_, Stride(), palette_, canvas);
    return true;
}

bool AviClip::DecodeFrame(std::size_t index, std::vector<std::uint32_t>& argb)
{
    if (index >= frames_.size())
        return false;
    if (index + 1 < framesApplied_)
        ResetCanvas();
    while (framesApplied_ <= index) {
        if (!ApplyFrame(frames_[framesApplied_])) {
            ResetCanvas();
            return false;
        }
        ++framesApplied_;
    }
    argb = canvas_;
    return true;
}

} // namespace trawlit
