#include "core/animation/AviWriter.h"

namespace trawlit {
namespace {

void PutU16(std::string& out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutSize(std::string& out, std::size_t value)
{
    PutU32(out, static_cast<std::uint32_t>(value));
}

std::string RiffChunk(std::string_view id, std::string_view body)
{
    std::string out(id);
    PutSize(out, body.size());
    out += body;
    if (body.size() % 2 != 0)
        out.push_back('\0');
    return out;
}

std::string List(std::string_view type, std::string_view body)
{
    return RiffChunk("LIST", std::string(type) + std::string(body));
}

std::size_t RunAt(std::span<const std::uint8_t> row, std::size_t at)
{
    std::size_t end = at + 1;
    while (end < row.size() && end - at < 255 && row[end] == row[at])
        ++end;
    return end - at;
}

void EncodeRow(std::span<const std::uint8_t> row, std::string& out)
{
    std::size_t x = 0;
    while (x < row.size()) {
        const std::size_t run = RunAt(row, x);
        if (run >= 2) {
            out.push_back(static_cast<char>(run));
            out.push_back(static_cast<char>(row[x]));
            x += run;
            continue;
        }
        std::size_t end = x + 1;
        while (end < row.size() && end - x < 255 && RunAt(row, end) < 2)
            ++end;
        const std::size_t literal = end - x;
        if (literal < 3) {
            // Absolute mode needs three bytes at least; shorter stretches go as runs of one.
            for (; x < end; ++x) {
                out.push_back(1);
                out.push_back(static_cast<char>(row[x]));
            }
            continue;
        }
        out.push_back(0);
        out.push_back(static_cast<char>(literal));
        for (; x < end; ++x)
            out.push_back(static_cast<char>(row[x]));
        if (literal % 2 != 0)
            out.push_back(0);
    }
}

std::size_t Stride(std::size_t width)
{
    return (width + 3) / 4 * 4;
}

std::string RawFrame(std::span<const std::uint8_t> pixels, const AviFrames& clip)
{
    std::string out;
    for (std::size_t i = 0; i < clip.height; ++i) {
        const std::size_t row = clip.topDown ? i : clip.height - 1 - i;
        const auto line = pixels.subspan(row * clip.width, clip.width);
        out.append(line.begin(), line.end());
        out.append(Stride(clip.width) - clip.width, '\0');
    }
    return out;
}

std::string MainHeader(const AviFrames& clip)
{
    std::string avih;
    for (std::uint32_t value : { clip.microsecondsPerFrame, 0u, 0u, 0x10u /* has index */ })
        PutU32(avih, value);
    PutSize(avih, clip.frames.size());
    PutU32(avih, 0);
    PutU32(avih, 1); // streams
    PutSize(avih, clip.width * clip.height * 2);
    PutSize(avih, clip.width);
    PutSize(avih, clip.height);
    avih.append(16, '\0');
    return RiffChunk("avih", avih);
}

std::string StreamHeader(const AviFrames& clip)
{
    std::string strh = "vids";
    PutU32(strh, 0); // handler
    for (std::uint32_t value : { 0u, 0u, 0u, clip.microsecondsPerFrame, 1000000u, 0u })
        PutU32(strh, value); // flags, priority+language, initial frames, scale, rate, start
    PutSize(strh, clip.frames.size());
    PutSize(strh, clip.width * clip.height * 2);
    PutU32(strh, 0xFFFFFFFFu); // quality
    PutU32(strh, 0); // sample size
    for (std::size_t value : { std::size_t { 0 }, std::size_t { 0 }, clip.width, clip.height })
        PutU16(strh, static_cast<std::uint32_t>(value));
    return RiffChunk("strh", strh);
}

std::string StreamFormat(const AviFrames& clip)
{
    const bool rle = clip.encoding == AviEncoding::Rle8;
    const auto height = static_cast<std::int32_t>(clip.height);
    std::string strf;
    PutU32(strf, 40);
    PutSize(strf, clip.width);
    PutU32(strf, static_cast<std::uint32_t>(clip.topDown && !rle ? -height : height));
    PutU16(strf, 1); // planes
    PutU16(strf, 8);
    PutU32(strf, rle ? 1 : 0);
    PutSize(strf, rle ? 0 : Stride(clip.width) * clip.height);
    PutU32(strf, 0);
    PutU32(strf, 0);
    PutSize(strf, clip.palette.size());
    PutU32(strf, 0);
    for (std::uint32_t rgb : clip.palette)
        PutU32(strf, rgb & 0x00FFFFFFu); // blue, green, red, reserved in file order
    return RiffChunk("strf", strf);
}

} // namespace

std::string EncodeRle8(std::span<const std::uint8_t> pixels, std::size_t width, std::size_t height)
{
    std::string out;
    for (std::size_t i = 0; i < height; ++i) {
        EncodeRow(pixels.subspan((height - 1 - i) * width, width), out);
        if (i + 1 < height) {
            out.push_back(0);
            out.push_back(0);
        }
    }
    out.push_back(0);
    out.push_back(1);
    return out;
}

std::string WriteAvi(const AviFrames& clip)
{
    const bool rle = clip.encoding == AviEncoding::Rle8;
    const std::string id = rle ? "00dc" : "00db";
    std::string movi = "movi";
    std::string index;
    for (std::vector<std::uint8_t> frame : clip.frames) {
        frame.resize(clip.width * clip.height); // a short frame is padded with index 0
        const std::string data
            = rle ? EncodeRle8(frame, clip.width, clip.height) : RawFrame(frame, clip);
        index += id;
        PutU32(index, 0x10); // key frame
        PutSize(index, movi.size());
        PutSize(index, data.size());
        movi += RiffChunk(id, data);
    }
    const std::string headers
        = List("hdrl", MainHeader(clip) + List("strl", StreamHeader(clip) + StreamFormat(clip)));
    const std::string body = "AVI " + headers + RiffChunk("LIST", movi) + RiffChunk("idx1", index);
    return RiffChunk("RIFF", body);
}

} // namespace trawlit
