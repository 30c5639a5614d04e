#include "core/animation/AviClip.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "core/animation/AviWriter.h"

namespace trawlit {
namespace {

const std::vector<std::uint32_t> kPalette = { 0x102030, 0xFFFFFF, 0xC00000, 0x00A000, 0x0000B0 };

std::uint32_t Argb(std::uint8_t index)
{
    return 0xFF000000u | kPalette[index];
}

// A picture mixing long runs, short runs and literal stretches, different in every frame.
std::vector<std::uint8_t> Picture(std::size_t width, std::size_t height, std::size_t frame)
{
    std::vector<std::uint8_t> pixels;
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t value = x < width / 2 ? (x / 4 + y + frame) : (x * 7 + y * 3 + frame);
            pixels.push_back(static_cast<std::uint8_t>(value % kPalette.size()));
        }
    return pixels;
}

AviFrames MakeClip(std::size_t width, std::size_t height, std::size_t frames, AviEncoding encoding)
{
    AviFrames clip;
    clip.width = width;
    clip.height = height;
    clip.microsecondsPerFrame = 66666;
    clip.palette = kPalette;
    clip.encoding = encoding;
    for (std::size_t i = 0; i < frames; ++i)
        clip.frames.push_back(Picture(width, height, i));
    return clip;
}

std::vector<std::uint32_t> ToArgb(const std::vector<std::uint8_t>& pixels)
{
    std::vector<std::uint32_t> argb;
    for (std::uint8_t index : pixels)
        argb.push_back(Argb(index));
    return argb;
}

std::string Chunk(std::string_view id, std::string body)
{
    std::string out(id);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((body.size() >> shift) & 0xFF));
    if (body.size() % 2 != 0)
        body.push_back('\0');
    return out + body;
}

void SetU32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The written clip's headers with the 'movi' list's contents replaced (and no index).
std::string WithMovi(const std::string& avi, const std::string& content)
{
    const std::size_t movi = avi.find("movi");
    std::string out = avi.substr(0, movi + 4) + content;
    SetU32(out, movi - 4, static_cast<std::uint32_t>(content.size() + 4));
    SetU32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

// Offset of a BITMAPINFOHEADER field in a written clip.
std::size_t FormatField(const std::string& avi, std::size_t offset)
{
    return avi.find("strf") + 8 + offset;
}

template <typename Case> std::string CaseName(const testing::TestParamInfo<Case>& param)
{
    return param.param.name;
}

struct RoundTripCase {
    const char* name;
    std::size_t width;
    std::size_t height;
    AviEncoding encoding;
    bool topDown;
};

class AviRoundTrip : public testing::TestWithParam<RoundTripCase> { };

TEST_P(AviRoundTrip, DecodesWhatWasWritten)
{
    const RoundTripCase& c = GetParam();
    AviFrames written = MakeClip(c.width, c.height, 4, c.encoding);
    written.topDown = c.topDown;
    std::optional<AviClip> clip = AviClip::Parse(WriteAvi(written));
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->Width(), c.width);
    EXPECT_EQ(clip->Height(), c.height);
    EXPECT_EQ(clip->FrameCount(), 4u);
    EXPECT_EQ(clip->MicrosecondsPerFrame(), 66666u);
    std::vector<std::uint32_t> argb;
    // Forwards, then backwards to force restarts from frame 0.
    for (std::size_t i : { 0u, 1u, 2u, 3u, 2u, 1u, 0u, 3u }) {
        ASSERT_TRUE(clip->DecodeFrame(i, argb)) << i;
        EXPECT_EQ(argb, ToArgb(written.frames[i])) << "frame " << i;
    }
    EXPECT_FALSE(clip->DecodeFrame(4, argb));
}

INSTANTIATE_TEST_SUITE_P(AviClips, AviRoundTrip,
    testing::Values(RoundTripCase { "rle_one_pixel", 1, 1, AviEncoding::Rle8, false },
        RoundTripCase { "rle_odd", 13, 5, AviEncoding::Rle8, false },
        RoundTripCase { "rle_long_rows", 601, 3, AviEncoding::Rle8, false },
        RoundTripCase { "raw_odd", 7, 4, AviEncoding::Uncompressed, false },
        RoundTripCase { "raw_padded_by_one", 3, 5, AviEncoding::Uncompressed, false },
        RoundTripCase { "raw_top_down", 6, 3, AviEncoding::Uncompressed, true },
        RoundTripCase { "raw_aligned", 8, 2, AviEncoding::Uncompressed, false }),
    CaseName<RoundTripCase>);

std::vector<std::uint8_t> Alternating(std::size_t length)
{
    std::vector<std::uint8_t> row;
    for (std::size_t i = 0; i < length; ++i)
        row.push_back(static_cast<std::uint8_t>(i % 2 + 1));
    return row;
}

// Rows chosen to hit the encoder's boundaries: runs and literals around 1, 2, 3 and 255.
TEST(AviRle8, RowPatternsSurviveEncoding)
{
    const std::vector<std::vector<std::uint8_t>> rows = {
        { 1 },
        { 1, 2 },
        { 1, 2, 3 },
        { 1, 1, 2, 3, 3, 4 },
        { 1, 2, 3, 3, 4 },
        std::vector<std::uint8_t>(255, 2),
        std::vector<std::uint8_t>(256, 2),
        std::vector<std::uint8_t>(511, 3),
        Alternating(254),
        Alternating(255),
        Alternating(256),
        Alternating(257),
    };
    for (const std::vector<std::uint8_t>& row : rows) {
        AviFrames written = MakeClip(row.size(), 2, 0, AviEncoding::Rle8);
        std::vector<std::uint8_t> frame = row;
        frame.insert(frame.end(), row.rbegin(), row.rend());
        written.frames.push_back(frame);
        std::optional<AviClip> clip = AviClip::Parse(WriteAvi(written));
        ASSERT_TRUE(clip);
        std::vector<std::uint32_t> argb;
        ASSERT_TRUE(clip->DecodeFrame(0, argb));
        EXPECT_EQ(argb, ToArgb(frame)) << "row of " << row.size();
    }
}

// Pictures as top-down rows of palette digits, e.g. "0110/0000"; 'x' is a colour the palette
// leaves undefined (opaque black).
std::vector<std::uint32_t> FromRows(std::string_view rows)
{
    std::vector<std::uint32_t> argb;
    for (char c : rows)
        if (c == 'x')
            argb.push_back(0xFF000000u);
        else if (c != '/')
            argb.push_back(Argb(static_cast<std::uint8_t>(c - '0')));
    return argb;
}

struct RleCase {
    const char* name;
    std::string data; // one RLE8 frame applied to an all-zero 4x3 picture
    bool decodes;
    const char* expected;
};

class AviRle8Hostile : public testing::TestWithParam<RleCase> { };

TEST_P(AviRle8Hostile, ClipsOrRefusesWithoutStrayWrites)
{
    const RleCase& c = GetParam();
    const std::string avi = WithMovi(WriteAvi(MakeClip(4, 3, 1, AviEncoding::Rle8)),
        Chunk("00dc", std::string(8, '\0') + std::string("\0\1", 2)) + Chunk("00dc", c.data));
    std::optional<AviClip> clip = AviClip::Parse(avi);
    ASSERT_TRUE(clip);
    std::vector<std::uint32_t> argb;
    ASSERT_EQ(clip->DecodeFrame(1, argb), c.decodes);
    if (c.decodes) {
        EXPECT_EQ(argb, FromRows(c.expected));
    }
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(AviFrames, AviRle8Hostile,
    testing::Values(RleCase { "run_on_bottom_row", "\2\1\0\1"s, true, "0000/0000/1100" },
        RleCase { "run_past_right_edge", "\x08\1\0\1"s, true, "0000/0000/1111" },
        RleCase { "end_of_line_moves_up", "\0\0\1\2\0\1"s, true, "0000/2000/0000" },
        RleCase { "delta_then_run", "\0\2\1\2\2\3\0\1"s, true, "0330/0000/0000" },
        RleCase { "delta_past_top", "\0\2\3\xC8\5\1\0\1"s, true, "0000/0000/0000" },
        RleCase { "delta_past_right", "\0\2\xFF\0\5\1\0\0\1\4\0\1"s, true, "0000/4000/0000" },
        RleCase { "absolute_past_edge", "\0\5\1\2\3\4\1\0\0\1"s, true, "0000/0000/1234" },
        RleCase { "many_lines_then_run", "\0\0\0\0\0\0\0\0\x20\1\0\1"s, true, "0000/0000/0000" },
        RleCase { "no_end_of_bitmap", "\1\4"s, true, "0000/0000/4000" },
        RleCase { "stops_at_end_of_bitmap", "\0\1\4\4"s, true, "0000/0000/0000" },
        RleCase { "palette_index_past_colours", "\1\xFF\0\1"s, true, "0000/0000/x000" },
        RleCase { "truncated_absolute", "\0\5\1"s, false, "" },
        RleCase { "truncated_delta", "\0\2\1"s, false, "" }),
    CaseName<RleCase>);

TEST(AviClip, RleFramesChangeOnlyWhatTheyTouch)
{
    const std::string avi = WithMovi(WriteAvi(MakeClip(4, 3, 1, AviEncoding::Rle8)),
        Chunk("00dc", "\4\1\0\0\4\2\0\0\4\3\0\1"s) + Chunk("00dc", "\0\2\1\1\2\4\0\1"s)
            + Chunk("00dc", ""));
    std::optional<AviClip> clip = AviClip::Parse(avi);
    ASSERT_TRUE(clip);
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(clip->DecodeFrame(2, argb));
    EXPECT_EQ(argb, FromRows("3333/2442/1111"));
    ASSERT_TRUE(clip->DecodeFrame(0, argb));
    EXPECT_EQ(argb, FromRows("3333/2222/1111"));
}

TEST(AviClip, FindsFramesInRecordListsAndSkipsOtherChunks)
{
    const std::string avi = WithMovi(WriteAvi(MakeClip(2, 1, 1, AviEncoding::Uncompressed)),
        Chunk("JUNK", "xyz") + Chunk("01wb", "sound") + Chunk("00db", "\1\2\0\0"s)
            + Chunk("LIST", "rec " + Chunk("01wb", "ab") + Chunk("00db", "\3\4\0\0"s))
            + Chunk("00pc", "\0\0\0\0"s) + Chunk("00db", ""));
    std::optional<AviClip> clip = AviClip::Parse(avi);
    ASSERT_TRUE(clip);
    ASSERT_EQ(clip->FrameCount(), 3u);
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(clip->DecodeFrame(1, argb));
    EXPECT_EQ(argb, FromRows("34"));
    ASSERT_TRUE(clip->DecodeFrame(2, argb)); // an empty chunk repeats the picture
    EXPECT_EQ(argb, FromRows("34"));
}

TEST(AviClip, DecodesUncompressedTrueColour)
{
    std::string avi = WriteAvi(MakeClip(2, 2, 1, AviEncoding::Uncompressed));
    avi[FormatField(avi, 14)] = 24;
    // Bottom row first; blue, green, red per pixel; rows padded to 8 bytes.
    avi = WithMovi(avi, Chunk("00db", "\1\2\3\4\5\6\0\0\x10\x20\x30\x40\x50\x60\0\0"s));
    std::optional<AviClip> clip = AviClip::Parse(avi);
    ASSERT_TRUE(clip);
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(clip->DecodeFrame(0, argb));
    EXPECT_EQ(
        argb, (std::vector<std::uint32_t> { 0xFF302010, 0xFF605040, 0xFF030201, 0xFF060504 }));
}

struct Damage {
    const char* name;
    std::string (*apply)(std::string);
};

std::string SetFormat(std::string avi, std::size_t offset, std::uint32_t value)
{
    SetU32(avi, FormatField(avi, offset), value);
    return avi;
}

std::string SetChunkSize(std::string avi, std::string_view id, std::uint32_t value)
{
    SetU32(avi, avi.find(id) + 4, value);
    return avi;
}

std::string SetListSize(std::string avi, std::string_view type, std::uint32_t value)
{
    SetU32(avi, avi.find(type) - 4, value);
    return avi;
}

class AviRefused : public testing::TestWithParam<Damage> { };

TEST_P(AviRefused, DamagedClipIsRefused)
{
    const std::string avi = WriteAvi(MakeClip(5, 3, 2, AviEncoding::Rle8));
    ASSERT_TRUE(AviClip::Parse(avi));
    EXPECT_FALSE(AviClip::Parse(GetParam().apply(avi)));
}

INSTANTIATE_TEST_SUITE_P(AviHeaders, AviRefused,
    testing::Values(Damage { "zero_width", [](std::string a) { return SetFormat(a, 4, 0); } },
        Damage { "negative_width", [](std::string a) { return SetFormat(a, 4, 0xFFFFFFFB); } },
        Damage { "zero_height", [](std::string a) { return SetFormat(a, 8, 0); } },
        Damage {
            "most_negative_height", [](std::string a) { return SetFormat(a, 8, 0x80000000u); } },
        Damage { "too_many_pixels",
            [](std::string a) { return SetFormat(SetFormat(a, 4, 4097), 8, 4096); } },
        Damage { "four_bit", [](std::string a) { return SetFormat(a, 12, 0x00040001); } },
        Damage { "rle4", [](std::string a) { return SetFormat(a, 16, 2); } },
        Damage { "too_many_colours", [](std::string a) { return SetFormat(a, 32, 300); } },
        Damage { "palette_past_chunk", [](std::string a) { return SetFormat(a, 32, 200); } },
        Damage { "header_past_chunk", [](std::string a) { return SetFormat(a, 0, 2000); } },
        Damage { "riff_past_end", [](std::string a) { return SetChunkSize(a, "RIFF", 99999); } },
        Damage { "riff_huge", [](std::string a) { return SetChunkSize(a, "RIFF", 0xFFFFFFFF); } },
        Damage { "strf_past_end", [](std::string a) { return SetChunkSize(a, "strf", 99999); } },
        Damage {
            "frame_past_end", [](std::string a) { return SetChunkSize(a, "00dc", 0xFFFFFFF0); } },
        Damage { "hdrl_past_end", [](std::string a) { return SetListSize(a, "hdrl", 99999); } },
        Damage { "strl_too_short", [](std::string a) { return SetListSize(a, "strl", 2); } },
        Damage { "avih_too_short", [](std::string a) { return SetChunkSize(a, "avih", 40); } },
        Damage {
            "movi_past_end", [](std::string a) { return SetListSize(a, "movi", 0xFFFFFFF0); } },
        Damage {
            "no_video_stream", [](std::string a) { return a.replace(a.find("vids"), 4, "auds"); } },
        Damage { "no_frames", [](std::string a) { return WithMovi(a, ""); } }),
    CaseName<Damage>);

TEST(AviClip, RefusesShortUncompressedFrame)
{
    const std::string avi = WriteAvi(MakeClip(5, 3, 1, AviEncoding::Uncompressed));
    EXPECT_FALSE(AviClip::Parse(WithMovi(avi, Chunk("00db", std::string(23, '\1')))));
    EXPECT_TRUE(AviClip::Parse(WithMovi(avi, Chunk("00db", std::string(24, '\1')))));
}

// Every cut of a valid clip must be refused or decoded without touching memory it does not own.
TEST(AviClip, SurvivesEveryTruncation)
{
    for (AviEncoding encoding : { AviEncoding::Rle8, AviEncoding::Uncompressed }) {
        const std::string avi = WriteAvi(MakeClip(5, 3, 2, encoding));
        for (std::size_t length = 0; length < avi.size(); ++length) {
            std::optional<AviClip> clip = AviClip::Parse(std::string_view(avi).substr(0, length));
            std::vector<std::uint32_t> argb;
            for (std::size_t i = 0; clip && i < clip->FrameCount(); ++i)
                if (clip->DecodeFrame(i, argb)) {
                    EXPECT_EQ(argb.size(), 15u);
                }
        }
    }
}

TEST(AviClip, MadeSearchAnimationDecodes)
{
#ifdef TRAWLIT_SEARCH_AVI
    std::ifstream in(TRAWLIT_SEARCH_AVI, std::ios::binary);
    if (!in)
        GTEST_SKIP() << "Search.avi was not built";
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::optional<AviClip> clip = AviClip::Parse(bytes.str());
    ASSERT_TRUE(clip);
    ASSERT_GE(clip->FrameCount(), 2u);
    EXPECT_GT(clip->MicrosecondsPerFrame(), 0u);
    std::vector<std::uint32_t> first;
    ASSERT_TRUE(clip->DecodeFrame(0, first));
    EXPECT_EQ(first.size(), clip->Width() * clip->Height());
    std::vector<std::uint32_t> argb;
    for (std::size_t i = 1; i < clip->FrameCount(); ++i) {
        ASSERT_TRUE(clip->DecodeFrame(i, argb));
        EXPECT_NE(argb, first) << "frame " << i << " does not move";
    }
#else
    GTEST_SKIP() << "Search.avi is not part of this build";
#endif
}

} // namespace
} // namespace trawlit
