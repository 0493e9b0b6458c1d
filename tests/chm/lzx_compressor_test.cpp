#include "chm/lzx_compressor.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "chm/lzx_test_data.h"

// The decoded output is checked through the readers in chm_archive_test.cpp; these tests check
// how the stream is cut and laid out.

namespace leafsmith::chm {
namespace {

using test_data::Text;

// The type of the block starting a frame; a frame at a reset point starts with the E8 bit.
int BlockType(const std::string& bytes, std::size_t frameStart, bool reset) {
    const unsigned word =
        static_cast<unsigned char>(bytes[frameStart]) | static_cast<unsigned char>(bytes[frameStart + 1]) << 8;
    if (!reset)
        return static_cast<int>(word >> 13);
    EXPECT_EQ(word >> 15, 0u) << "E8 translation must be off";
    return static_cast<int>((word >> 12) & 7);
}

TEST(LzxCompressor, StreamIsItsIntervalsInOrder) {
    // Data ending at a frame end or one byte short of it (no data too) gets a frame of zeros.
    for (std::size_t size :
         {std::size_t{0}, std::size_t{5 * 65536 + 12345}, std::size_t{4 * 32768}, std::size_t{3 * 32768 - 1}}) {
        const bool padded = size % 32768 == 0 || size % 32768 == 32767;
        const std::string data = Text(size, 1) + (padded ? std::string(2, '\0') : "");
        std::string expected;
        std::vector<std::uint64_t> frames;
        for (std::size_t at = 0; at < data.size(); at += kLzxResetInterval) {
            const LzxInterval interval = CompressLzxInterval(std::string_view(data).substr(at, kLzxResetInterval));
            for (std::uint32_t start : interval.FrameStarts)
                frames.push_back(expected.size() + start);
            expected += interval.Bytes;
        }
        std::string out;
        LzxStreamCompressor stream([&](std::string_view bytes) { out += bytes; }, 3);
        for (std::size_t at = 0, piece = 1; at < size; at += piece, piece = piece * 7 + 1)
            stream.Write(std::string_view(data).substr(at, std::min(piece, size - at)));
        stream.Finish();
        SCOPED_TRACE(size);
        EXPECT_TRUE(out == expected);
        EXPECT_EQ(stream.FrameStarts(), frames);
        EXPECT_EQ(frames.size(), (data.size() + 32767) / 32768);
        EXPECT_EQ(stream.UncompressedSize(), size);
        EXPECT_EQ(stream.CompressedSize(), out.size());
    }
}

TEST(LzxCompressor, BlockTypeFollowsTheData) {
    // Noise is stored: per frame a 32-bit block header, R0-R2, the bytes.
    const std::string noise = test_data::RandomBytes(kLzxResetInterval, 2);
    const LzxInterval stored = CompressLzxInterval(noise);
    EXPECT_EQ(stored.FrameStarts, (std::vector<std::uint32_t>{0, 32784}));
    ASSERT_EQ(stored.Bytes.size(), 2 * 32784u);
    EXPECT_EQ(BlockType(stored.Bytes, 0, true), 3);
    EXPECT_EQ(BlockType(stored.Bytes, 32784, false), 3);
    EXPECT_TRUE(stored.Bytes.substr(16, 32768) == noise.substr(0, 32768));
    EXPECT_TRUE(stored.Bytes.substr(32784 + 16) == noise.substr(32768));

    const LzxInterval text = CompressLzxInterval(Text(kLzxResetInterval, 3));
    EXPECT_EQ(BlockType(text.Bytes, 0, true), 1);
    EXPECT_LT(text.Bytes.size(), kLzxResetInterval / 3);

    EXPECT_EQ(BlockType(CompressLzxInterval(test_data::Records(kLzxResetInterval, 4)).Bytes, 0, true), 2);

    // A short interval decodes as one whole frame.
    EXPECT_EQ(CompressLzxInterval("a").FrameStarts.size(), 1u);
    EXPECT_TRUE(CompressLzxInterval("").Bytes.empty());

    // No frame grows past what readers buffer for it, whatever the frames next to it hold.
    const LzxInterval mixed = CompressLzxInterval(noise.substr(0, 32768) + std::string(32768, 'z'));
    ASSERT_EQ(mixed.FrameStarts.size(), 2u);
    EXPECT_LE(mixed.FrameStarts[1], 32768u + 6144u);
    EXPECT_LE(mixed.Bytes.size() - mixed.FrameStarts[1], 32768u + 6144u);
}

TEST(LzxCompressor, SinkErrorReachesTheCaller) {
    int calls = 0;
    LzxStreamCompressor stream(
        [&](std::string_view) {
            if (++calls == 2)
                throw std::runtime_error("disk full");
        },
        2);
    EXPECT_THROW(
        {
            stream.Write(Text(1 << 20, 5));
            stream.Finish();
        },
        std::runtime_error);
    EXPECT_EQ(calls, 2);
    EXPECT_THROW(stream.Write("more"), std::logic_error);
}

}  // namespace
}  // namespace leafsmith::chm
