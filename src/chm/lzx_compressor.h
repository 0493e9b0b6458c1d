// LZX compression as compiled help files use it: a 64 KiB window, 32 KiB frames, and a reset of the
// compressor every two frames. Every reset interval is an independent stream, so intervals are
// compressed in parallel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace leafsmith::chm {

constexpr std::size_t kLzxFrameSize = 0x8000;
constexpr std::size_t kLzxResetInterval = 0x10000;  // two frames; also the window size

// One reset interval compressed on its own.
struct LzxInterval {
    std::string Bytes;                       // the compressed stream of this interval
    std::vector<std::uint32_t> FrameStarts;  // where each of its frames begins in Bytes (the first at 0)
};

// Compresses at most one reset interval. A last frame shorter than a frame is padded with zero bytes,
// as readers decode whole frames.
LzxInterval CompressLzxInterval(std::string_view data);

// Compresses a stream of any length interval by interval on worker threads and hands the compressed
// bytes to `sink` in order. It holds only a few intervals per thread, whatever the stream's length.
// An exception from `sink` or from a worker reaches the caller of Write or Finish.
class LzxStreamCompressor {
public:
    using Sink = std::function<void(std::string_view compressed)>;
    explicit LzxStreamCompressor(Sink sink, unsigned threads = 0);  // 0: one per core
    ~LzxStreamCompressor();
    LzxStreamCompressor(const LzxStreamCompressor&) = delete;
    LzxStreamCompressor& operator=(const LzxStreamCompressor&) = delete;

    void Write(std::string_view bytes);
    // Pads the last frame and hands on everything still held. Data that ends at a frame's end (no
    // data too), or one byte short of it, gets one more frame of zeros: some readers decode that
    // far, or refuse a section without frames.
    void Finish();

    std::uint64_t UncompressedSize() const;  // bytes written, before padding
    std::uint64_t CompressedSize() const;
    // One entry per frame: where the frame's compressed data begins in the whole stream.
    const std::vector<std::uint64_t>& FrameStarts() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace leafsmith::chm
