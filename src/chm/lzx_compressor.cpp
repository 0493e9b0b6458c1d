#include "chm/lzx_compressor.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

namespace leafsmith::chm {

namespace {

constexpr int kPositionSlots = 32;  // for the 64 KiB window
constexpr int kMainSymbols = 256 + 8 * kPositionSlots;
constexpr int kLengthSymbols = 249;
constexpr int kAlignedSymbols = 8;
constexpr int kPretreeSymbols = 20;
constexpr int kMaxMatch = 257;
constexpr int kMaxDistance = 65533;                           // the distance plus 2 must fit the last position slot
constexpr std::size_t kMaxFrameBytes = kLzxFrameSize + 6144;  // what readers buffer for one frame
constexpr int kFrame = static_cast<int>(kLzxFrameSize);

constexpr int kVerbatim = 1;
constexpr int kAligned = 2;
constexpr int kUncompressed = 3;

// Match finder settings.
constexpr int kHashBits = 15;
constexpr int kMaxChain = 48;
constexpr int kNiceLength = 96;  // a match this long ends the search
constexpr int kLazyLength = 48;  // a match this long is taken without looking one byte further
constexpr int kSlack = 16;       // zero bytes after the data, so that word loads never leave the buffer

struct SlotTables {
    std::array<std::uint32_t, kPositionSlots> base{};
    std::array<std::uint8_t, kPositionSlots> extra{};
};

constexpr SlotTables MakeSlotTables() {
    SlotTables t;
    for (int slot = 0; slot < kPositionSlots; ++slot) {
        t.extra[slot] = static_cast<std::uint8_t>(slot < 4 ? 0 : slot / 2 - 1);
        t.base[slot] = slot == 0 ? 0 : t.base[slot - 1] + (1u << t.extra[slot - 1]);
    }
    return t;
}
constexpr SlotTables kSlots = MakeSlotTables();

// The position slot of a formatted offset (distance + 2, at least 3).
int SlotOf(std::uint32_t formatted) {
    const int top = 31 - __builtin_clz(formatted);
    return 2 * top + static_cast<int>((formatted >> (top - 1)) & 1);
}

// 16-bit little-endian words, each filled from its most significant bit.
class BitWriter {
public:
    void Put(std::uint32_t value, int bits) {
        acc_ = (acc_ << bits) | value;
        pending_ += bits;
        while (pending_ >= 16) {
            pending_ -= 16;
            const auto word = static_cast<std::uint16_t>(acc_ >> pending_);
            out_.push_back(static_cast<char>(word & 0xFF));
            out_.push_back(static_cast<char>(word >> 8));
        }
    }
    void Align() {
        if (pending_ > 0)
            Put(0, 16 - pending_);
    }
    int Pending() const { return pending_; }
    void PutBytes(const void* data, std::size_t size) { out_.append(static_cast<const char*>(data), size); }
    std::size_t Bits() const { return out_.size() * 8 + static_cast<std::size_t>(pending_); }
    std::size_t Size() const { return out_.size(); }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
    std::uint64_t acc_ = 0;
    int pending_ = 0;
};

// Canonical Huffman code of N symbols.
template <int N>
struct Huffman {
    std::array<std::uint8_t, N> len{};
    std::array<std::uint16_t, N> code{};

    // Lengths from frequencies, none above `limit`; a lone used symbol gets a partner so that the
    // code is complete. No used symbol leaves every length 0.
    void Build(const std::uint32_t* freq, int limit) {
        len.fill(0);
        std::array<int, N> used{};
        int n = 0;
        for (int s = 0; s < N; ++s) {
            if (freq[s] != 0)
                used[n++] = s;
        }
        if (n == 0)
            return;
        if (n == 1) {
            len[used[0]] = 1;
            len[used[0] == 0 ? 1 : 0] = 1;
            AssignCodes();
            return;
        }
        std::array<std::uint32_t, N> weight{};
        for (int i = 0; i < n; ++i)
            weight[used[i]] = freq[used[i]];
        while (!TryLengths(used.data(), n, weight.data(), limit)) {
            for (int i = 0; i < n; ++i)
                weight[used[i]] = (weight[used[i]] + 1) / 2;
        }
        AssignCodes();
    }

    void AssignCodes() {
        std::array<int, 17> count{};
        for (int s = 0; s < N; ++s)
            ++count[len[s]];
        count[0] = 0;
        std::array<std::uint32_t, 17> next{};
        std::uint32_t c = 0;
        for (int bits = 1; bits <= 16; ++bits) {
            c = (c + static_cast<std::uint32_t>(count[bits - 1])) << 1;
            next[bits] = c;
        }
        for (int s = 0; s < N; ++s) {
            if (len[s] != 0)
                code[s] = static_cast<std::uint16_t>(next[len[s]]++);
        }
    }

private:
    // Huffman's construction over the leaves in order of weight (two queues); false when a code
    // comes out longer than `limit`.
    bool TryLengths(const int* used, int n, const std::uint32_t* weight, int limit) {
        std::array<int, N> order{};
        std::copy(used, used + n, order.begin());
        std::sort(order.begin(), order.begin() + n,
                  [&](int a, int b) { return weight[a] != weight[b] ? weight[a] < weight[b] : a < b; });
        std::array<std::uint32_t, 2 * N> w{};
        std::array<int, 2 * N> parent{};
        for (int i = 0; i < n; ++i)
            w[i] = weight[order[i]];
        int leaf = 0;
        int inner = n;
        for (int next = n; next < 2 * n - 1; ++next) {
            int pick[2];
            for (int& p : pick) {
                if (leaf < n && (inner >= next || w[leaf] <= w[inner]))
                    p = leaf++;
                else
                    p = inner++;
            }
            w[next] = w[pick[0]] + w[pick[1]];
            parent[pick[0]] = next;
            parent[pick[1]] = next;
        }
        std::array<std::uint8_t, 2 * N> depth{};
        depth[2 * n - 2] = 0;
        for (int i = 2 * n - 3; i >= 0; --i) {
            depth[i] = static_cast<std::uint8_t>(depth[parent[i]] + 1);
            if (depth[i] > limit)
                return false;
        }
        for (int i = 0; i < n; ++i)
            len[order[i]] = depth[i];
        return true;
    }
};

struct Token {
    std::uint16_t main;    // below 256 a literal, else 256 + slot * 8 + length header
    std::uint16_t footer;  // position footer of slots 3 and up
    std::uint8_t length;   // length symbol when the header is 7
};

// Symbol counts of a run of tokens, enough to price any tree built over them.
struct Stats {
    std::array<std::uint32_t, kMainSymbols> main{};
    std::array<std::uint32_t, kLengthSymbols> length{};
    std::array<std::uint32_t, kAlignedSymbols> aligned{};  // low three footer bits of slots with 3+ extra bits
    std::uint64_t extraBits = 0;                           // all footer bits, as a verbatim block sends them
    std::uint64_t alignedCount = 0;

    void Add(const Stats& o) {
        for (int i = 0; i < kMainSymbols; ++i)
            main[i] += o.main[i];
        for (int i = 0; i < kLengthSymbols; ++i)
            length[i] += o.length[i];
        for (int i = 0; i < kAlignedSymbols; ++i)
            aligned[i] += o.aligned[i];
        extraBits += o.extraBits;
        alignedCount += o.alignedCount;
    }
};

struct Trees {
    Huffman<kMainSymbols> main;
    Huffman<kLengthSymbols> length;
    Huffman<kAlignedSymbols> aligned;

    explicit Trees(const Stats& s) {
        main.Build(s.main.data(), 16);
        length.Build(s.length.data(), 16);
        aligned.Build(s.aligned.data(), 7);
    }
    // Bits of the tokens counted in `s` under these trees.
    std::uint64_t TokenBits(const Stats& s, bool alignedBlock) const {
        std::uint64_t bits = s.extraBits;
        for (int i = 0; i < kMainSymbols; ++i)
            bits += std::uint64_t{s.main[i]} * main.len[i];
        for (int i = 0; i < kLengthSymbols; ++i)
            bits += std::uint64_t{s.length[i]} * length.len[i];
        if (alignedBlock) {
            bits -= 3 * s.alignedCount;
            for (int i = 0; i < kAlignedSymbols; ++i)
                bits += std::uint64_t{s.aligned[i]} * aligned.len[i];
        }
        return bits;
    }
};

// Lengths as the previous block of this interval left them; all zero after a reset.
struct PreviousLengths {
    std::array<std::uint8_t, kMainSymbols> main{};
    std::array<std::uint8_t, kLengthSymbols> length{};
};

struct PathOp {
    std::uint8_t symbol;
    std::uint8_t extra;   // run length field of 17, 18 and 19
    std::uint8_t second;  // the delta symbol after a 19
};

std::uint8_t Delta(int previous, int wanted) {
    return static_cast<std::uint8_t>((previous - wanted + 17) % 17);
}

// Sends one part of a tree's lengths through a pretree of its own, as deltas from the previous
// lengths with runs, and makes them the previous lengths.
void WritePathLengths(BitWriter& out, const std::uint8_t* lens, std::uint8_t* previous, int n) {
    std::vector<PathOp> ops;
    ops.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n;) {
        const int value = lens[i];
        int run = 1;
        while (i + run < n && lens[i + run] == value)
            ++run;
        if (value == 0 && run >= 20) {
            const int k = std::min(run, 51);
            ops.push_back({18, static_cast<std::uint8_t>(k - 20), 0});
            i += k;
        } else if (value == 0 && run >= 4) {
            ops.push_back({17, static_cast<std::uint8_t>(run - 4), 0});
            i += run;
        } else if (run >= 4) {
            const int k = std::min(run, 5);
            ops.push_back({19, static_cast<std::uint8_t>(k - 4), Delta(previous[i], value)});
            i += k;
        } else {
            ops.push_back({Delta(previous[i], value), 0, 0});
            ++i;
        }
    }
    std::array<std::uint32_t, kPretreeSymbols> freq{};
    for (const PathOp& op : ops) {
        ++freq[op.symbol];
        if (op.symbol == 19)
            ++freq[op.second];
    }
    Huffman<kPretreeSymbols> pre;
    pre.Build(freq.data(), 15);
    for (int i = 0; i < kPretreeSymbols; ++i)
        out.Put(pre.len[i], 4);
    for (const PathOp& op : ops) {
        out.Put(pre.code[op.symbol], pre.len[op.symbol]);
        if (op.symbol == 17)
            out.Put(op.extra, 4);
        else if (op.symbol == 18)
            out.Put(op.extra, 5);
        else if (op.symbol == 19) {
            out.Put(op.extra, 1);
            out.Put(pre.code[op.second], pre.len[op.second]);
        }
    }
    std::memcpy(previous, lens, static_cast<std::size_t>(n));
}

void WriteTrees(BitWriter& out, const Trees& trees, PreviousLengths& previous, bool alignedBlock) {
    if (alignedBlock) {
        for (int i = 0; i < kAlignedSymbols; ++i)
            out.Put(trees.aligned.len[i], 3);
    }
    WritePathLengths(out, trees.main.len.data(), previous.main.data(), 256);
    WritePathLengths(out, trees.main.len.data() + 256, previous.main.data() + 256, kMainSymbols - 256);
    WritePathLengths(out, trees.length.len.data(), previous.length.data(), kLengthSymbols);
}

std::size_t TreeBits(const Trees& trees, PreviousLengths previous, bool alignedBlock) {
    BitWriter scratch;
    WriteTrees(scratch, trees, previous, alignedBlock);
    return scratch.Bits();
}

void WriteTokens(BitWriter& out, const Token* begin, const Token* end, const Trees& trees, bool alignedBlock) {
    for (const Token* t = begin; t != end; ++t) {
        out.Put(trees.main.code[t->main], trees.main.len[t->main]);
        if (t->main < 256)
            continue;
        const int m = t->main - 256;
        if ((m & 7) == 7)
            out.Put(trees.length.code[t->length], trees.length.len[t->length]);
        const int slot = m >> 3;
        const int extra = kSlots.extra[slot];
        if (slot < 3 || extra == 0)
            continue;
        if (alignedBlock && extra >= 3) {
            out.Put(t->footer >> 3, extra - 3);
            const int low = t->footer & 7;
            out.Put(trees.aligned.code[low], trees.aligned.len[low]);
        } else {
            out.Put(t->footer, extra);
        }
    }
}

void WriteBlockHeader(BitWriter& out, int type, std::uint32_t size) {
    out.Put(static_cast<std::uint32_t>(type), 3);
    out.Put(size >> 8, 16);
    out.Put(size & 0xFF, 8);
}

// Prices in sixteenths of a bit, for the parser to weigh a match against the literals it replaces.
// Literals are priced by how often each byte occurs in the frame; matches by rough figures taken
// from HTML and plain text.
struct CostModel {
    std::array<int, 256> literal{};

    void Learn(const std::uint8_t* data, int size) {
        std::array<int, 256> count{};
        for (int i = 0; i < size; ++i)
            ++count[data[i]];
        for (int b = 0; b < 256; ++b) {
            if (count[b] != 0)
                literal[b] = std::min(16 * 15, Log2x16(size) - Log2x16(count[b]) + 24);
        }
    }

    static int Match(int slot, int length) {
        static constexpr int kRepeat[3] = {5 * 16, 7 * 16, 8 * 16};
        int cost = slot < 3 ? kRepeat[slot] : 16 * (7 + slot / 4 + kSlots.extra[slot]);
        if (length >= 9)
            cost += 5 * 16;  // the length symbol
        return cost;
    }

private:
    static int Log2x16(int v) {
        const int top = 31 - __builtin_clz(static_cast<unsigned>(v));
        const int fraction = top >= 4 ? (v >> (top - 4)) & 15 : (v << (4 - top)) & 15;
        return 16 * top + fraction;
    }
};

struct Candidate {
    int length = 0;  // 0: a literal
    int which = 0;   // 0-2: repeated offset R0-R2; 3: a new offset
    std::uint32_t distance = 0;
    int gain = 0;  // sixteenths of a bit saved against literals
};

inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline std::uint32_t Load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Compresses one interval; kept per thread so that its tables are allocated once.
class IntervalCompressor {
public:
    IntervalCompressor() : head_(std::size_t{1} << kHashBits), prev_(kLzxResetInterval) {}

    LzxInterval Compress(std::string_view data) {
        LzxInterval result;
        if (data.empty())
            return result;
        const int frames = static_cast<int>((data.size() + kLzxFrameSize - 1) / kLzxFrameSize);
        size_ = frames * kFrame;
        buf_.assign(static_cast<std::size_t>(size_ + kSlack), 0);
        std::memcpy(buf_.data(), data.data(), data.size());
        Parse(frames);
        Encode(frames, result);
        return result;
    }

private:
    struct FrameInfo {
        std::size_t tokenEnd = 0;
        std::array<std::uint32_t, 3> repeatsAtEnd{};  // R0-R2 after the frame's last token
        Stats stats;
    };

    std::uint32_t Hash(int p) const {
        const std::uint32_t v = Load32(&buf_[static_cast<std::size_t>(p)]) & 0xFFFFFF;
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    void Insert(int p) {
        const std::uint32_t h = Hash(p);
        prev_[static_cast<std::size_t>(p)] = head_[h];
        head_[h] = p;
    }

    int MatchLength(int older, int p, int limit) const {
        const std::uint8_t* a = &buf_[static_cast<std::size_t>(older)];
        const std::uint8_t* b = &buf_[static_cast<std::size_t>(p)];
        int n = 0;
        while (n + 8 <= limit) {
            const std::uint64_t x = Load64(a + n) ^ Load64(b + n);
            if (x != 0)
                return n + __builtin_ctzll(x) / 8;
            n += 8;
        }
        while (n < limit && a[n] == b[n])
            ++n;
        return n;
    }

    int LiteralCost(int p, int length) const {
        return literalSums_[static_cast<std::size_t>(p - frameStart_ + length)] -
               literalSums_[static_cast<std::size_t>(p - frameStart_)];
    }

    // The best match at p by estimated gain; inserts p into the hash chains.
    Candidate Evaluate(int p, int frameEnd) {
        while (inserted_ < p)
            Insert(inserted_++);
        Candidate best;
        const int limit = std::min(kMaxMatch, frameEnd - p);
        if (limit >= 2) {
            for (int i = 0; i < 3; ++i) {
                const std::uint32_t r = repeats_[i];
                if (r > static_cast<std::uint32_t>(p) || (i > 0 && r == repeats_[0]) || (i > 1 && r == repeats_[1]))
                    continue;
                const int length = MatchLength(p - static_cast<int>(r), p, limit);
                if (length < 2)
                    continue;
                const int gain = LiteralCost(p, length) - CostModel::Match(i, length);
                if (gain > best.gain)
                    best = {length, i, r, gain};
            }
        }
        const std::uint32_t h = Hash(p);
        if (limit >= 3 && best.length < kNiceLength) {
            const std::uint8_t* here = &buf_[static_cast<std::size_t>(p)];
            const std::uint32_t first3 = Load32(here) & 0xFFFFFF;
            int longest = 2;
            int chain = kMaxChain;
            for (int c = head_[h]; c >= 0 && p - c <= kMaxDistance && chain-- > 0;
                 c = prev_[static_cast<std::size_t>(c)]) {
                const std::uint8_t* there = &buf_[static_cast<std::size_t>(c)];
                if (there[longest] != here[longest] || (Load32(there) & 0xFFFFFF) != first3)
                    continue;
                const int length = MatchLength(c, p, limit);
                if (length <= longest)
                    continue;
                longest = length;
                const auto distance = static_cast<std::uint32_t>(p - c);
                if (distance != repeats_[0] && distance != repeats_[1] && distance != repeats_[2]) {
                    const int gain = LiteralCost(p, length) - CostModel::Match(SlotOf(distance + 2), length);
                    if (gain > best.gain)
                        best = {length, 3, distance, gain};
                }
                if (length >= kNiceLength || length == limit)
                    break;
            }
        }
        prev_[static_cast<std::size_t>(p)] = head_[h];
        head_[h] = p;
        inserted_ = p + 1;
        return best;
    }

    void EmitLiteral(int p, Stats& stats) {
        const std::uint8_t byte = buf_[static_cast<std::size_t>(p)];
        tokens_.push_back({byte, 0, 0});
        ++stats.main[byte];
    }

    void EmitMatch(const Candidate& m, Stats& stats) {
        int slot = m.which;
        std::uint16_t footer = 0;
        if (m.which == 1) {
            std::swap(repeats_[0], repeats_[1]);
        } else if (m.which == 2) {
            std::swap(repeats_[0], repeats_[2]);
        } else if (m.which == 3) {
            const std::uint32_t formatted = m.distance + 2;
            slot = SlotOf(formatted);
            footer = static_cast<std::uint16_t>(formatted - kSlots.base[slot]);
            repeats_[2] = repeats_[1];
            repeats_[1] = repeats_[0];
            repeats_[0] = m.distance;
            const int extra = kSlots.extra[slot];
            stats.extraBits += static_cast<std::uint64_t>(extra);
            if (extra >= 3) {
                ++stats.aligned[footer & 7];
                ++stats.alignedCount;
            }
        }
        const int header = std::min(m.length - 2, 7);
        const auto main = static_cast<std::uint16_t>(256 + slot * 8 + header);
        const auto lengthSymbol = static_cast<std::uint8_t>(header == 7 ? m.length - 9 : 0);
        tokens_.push_back({main, footer, lengthSymbol});
        ++stats.main[main];
        if (header == 7)
            ++stats.length[lengthSymbol];
    }

    // Greedy parse with one step of lazy evaluation; no match runs past the end of its frame.
    void Parse(int frames) {
        std::fill(head_.begin(), head_.end(), -1);
        tokens_.clear();
        tokens_.reserve(static_cast<std::size_t>(size_) / 2);
        repeats_ = {1, 1, 1};
        inserted_ = 0;
        frameInfo_.assign(static_cast<std::size_t>(frames), FrameInfo{});
        literalSums_.resize(kFrame + 1);
        for (int f = 0; f < frames; ++f) {
            frameStart_ = f * kFrame;
            const std::uint8_t* frame = &buf_[static_cast<std::size_t>(frameStart_)];
            cost_.Learn(frame, kFrame);
            for (int i = 0; i < kFrame; ++i)
                literalSums_[static_cast<std::size_t>(i) + 1] =
                    literalSums_[static_cast<std::size_t>(i)] + cost_.literal[frame[i]];
            ParseFrame(f);
            FrameInfo& info = frameInfo_[static_cast<std::size_t>(f)];
            info.tokenEnd = tokens_.size();
            info.repeatsAtEnd = repeats_;
        }
    }

    void ParseFrame(int f) {
        const int frameEnd = (f + 1) * kFrame;
        Stats& stats = frameInfo_[static_cast<std::size_t>(f)].stats;
        int p = f * kFrame;
        Candidate current = Evaluate(p, frameEnd);
        while (p < frameEnd) {
            if (current.length == 0) {
                EmitLiteral(p, stats);
                if (++p < frameEnd)
                    current = Evaluate(p, frameEnd);
                continue;
            }
            if (current.length < kLazyLength && p + 1 < frameEnd) {
                const Candidate next = Evaluate(p + 1, frameEnd);
                if (next.gain > current.gain) {
                    EmitLiteral(p, stats);
                    ++p;
                    current = next;
                    continue;
                }
            }
            EmitMatch(current, stats);
            p += current.length;
            if (p < frameEnd)
                current = Evaluate(p, frameEnd);
        }
    }

    struct Choice {
        int type = kUncompressed;
        std::uint64_t bits = 0;
    };

    // The cheaper of a verbatim and an aligned block over tokens counted in `stats`.
    static Choice BestCompressed(const Trees& trees, const Stats& stats, const PreviousLengths& previous) {
        const std::uint64_t header = 27 + TreeBits(trees, previous, false);
        Choice choice{kVerbatim, header + trees.TokenBits(stats, false)};
        if (stats.alignedCount > 0) {
            const std::uint64_t aligned = header + 24 + trees.TokenBits(stats, true);
            if (aligned < choice.bits)
                choice = {kAligned, aligned};
        }
        return choice;
    }

    void Encode(int frames, LzxInterval& result) {
        // One block per frame, each verbatim, aligned or stored...
        std::vector<Choice> perFrame;
        std::uint64_t perFrameBits = 0;
        PreviousLengths previous;
        std::vector<Trees> frameTrees;
        frameTrees.reserve(static_cast<std::size_t>(frames));
        for (int f = 0; f < frames; ++f) {
            const Stats& stats = frameInfo_[static_cast<std::size_t>(f)].stats;
            frameTrees.emplace_back(stats);
            Choice choice = BestCompressed(frameTrees.back(), stats, previous);
            const std::uint64_t stored = 27 + 16 + 96 + std::uint64_t{kLzxFrameSize} * 8;
            if (choice.bits >= stored)
                choice = {kUncompressed, stored};
            else
                previous = PreviousLengths{frameTrees.back().main.len, frameTrees.back().length.len};
            perFrame.push_back(choice);
            perFrameBits += choice.bits;
        }
        // ...or one block over the whole interval, unless a frame of it would grow too long.
        bool single = false;
        Stats all;
        for (const FrameInfo& info : frameInfo_)
            all.Add(info.stats);
        std::optional<Trees> allTrees;
        Choice whole;
        if (frames > 1) {
            allTrees.emplace(all);
            whole = BestCompressed(*allTrees, all, PreviousLengths{});
            single = whole.bits < perFrameBits;
            std::uint64_t headerBits = whole.bits - allTrees->TokenBits(all, whole.type == kAligned);
            for (int f = 0; f < frames && single; ++f) {
                const Stats& stats = frameInfo_[static_cast<std::size_t>(f)].stats;
                const std::uint64_t bits =
                    (f == 0 ? 1 + headerBits : 0) + allTrees->TokenBits(stats, whole.type == kAligned);
                single = bits + 16 <= kMaxFrameBytes * 8;
            }
        }

        BitWriter out;
        out.Put(0, 1);  // no E8 call translation
        std::size_t tokenStart = 0;
        if (single) {
            const bool aligned = whole.type == kAligned;
            WriteBlockHeader(out, whole.type, static_cast<std::uint32_t>(size_));
            PreviousLengths fresh;
            WriteTrees(out, *allTrees, fresh, aligned);
            for (int f = 0; f < frames; ++f) {
                const std::size_t end = frameInfo_[static_cast<std::size_t>(f)].tokenEnd;
                result.FrameStarts.push_back(f == 0 ? 0 : static_cast<std::uint32_t>(out.Size()));
                WriteTokens(out, tokens_.data() + tokenStart, tokens_.data() + end, *allTrees, aligned);
                out.Align();
                tokenStart = end;
            }
        } else {
            PreviousLengths written;
            for (int f = 0; f < frames; ++f) {
                const FrameInfo& info = frameInfo_[static_cast<std::size_t>(f)];
                result.FrameStarts.push_back(f == 0 ? 0 : static_cast<std::uint32_t>(out.Size()));
                const int type = perFrame[static_cast<std::size_t>(f)].type;
                WriteBlockHeader(out, type, kFrame);
                if (type == kUncompressed) {
                    out.Put(0, 16 - out.Pending());  // 1 to 16 bits: a whole word when already aligned
                    for (std::uint32_t r : info.repeatsAtEnd) {
                        const std::uint8_t le[4] = {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(r >> 8),
                                                    static_cast<std::uint8_t>(r >> 16),
                                                    static_cast<std::uint8_t>(r >> 24)};
                        out.PutBytes(le, 4);
                    }
                    out.PutBytes(&buf_[static_cast<std::size_t>(f * kFrame)], kLzxFrameSize);
                } else {
                    const bool aligned = type == kAligned;
                    WriteTrees(out, frameTrees[static_cast<std::size_t>(f)], written, aligned);
                    WriteTokens(out, tokens_.data() + tokenStart, tokens_.data() + info.tokenEnd,
                                frameTrees[static_cast<std::size_t>(f)], aligned);
                    out.Align();
                }
                tokenStart = info.tokenEnd;
            }
        }
        result.Bytes = out.Take();
    }

    std::vector<std::uint8_t> buf_;
    int size_ = 0;
    std::vector<int> head_;
    std::vector<int> prev_;
    std::vector<Token> tokens_;
    std::vector<FrameInfo> frameInfo_;
    std::array<std::uint32_t, 3> repeats_{};
    int inserted_ = 0;
    int frameStart_ = 0;
    CostModel cost_;
    std::vector<int> literalSums_;
};

}  // namespace

LzxInterval CompressLzxInterval(std::string_view data) {
    if (data.size() > kLzxResetInterval)
        throw std::invalid_argument("CompressLzxInterval: more than one reset interval");
    thread_local IntervalCompressor compressor;
    return compressor.Compress(data);
}

// ---------------------------------------------------------------------------------------------

struct LzxStreamCompressor::State {
    struct Job {
        std::string input;
        LzxInterval output;
        std::exception_ptr error;
        bool done = false;
    };

    Sink sink;
    std::mutex mutex;
    std::condition_variable workReady;
    std::condition_variable jobDone;
    std::deque<std::shared_ptr<Job>> queued;   // waiting for a worker
    std::deque<std::shared_ptr<Job>> inOrder;  // every job not yet handed to the sink
    std::vector<std::thread> workers;
    std::size_t maxHeld = 0;
    bool stopping = false;
    bool finished = false;
    bool failed = false;

    std::string current;
    std::uint64_t uncompressed = 0;
    std::uint64_t compressed = 0;
    std::vector<std::uint64_t> frameStarts;

    void Work() {
        std::unique_lock lock(mutex);
        while (true) {
            workReady.wait(lock, [&] { return stopping || !queued.empty(); });
            if (stopping)
                return;
            std::shared_ptr<Job> job = queued.front();
            queued.pop_front();
            lock.unlock();
            try {
                job->output = CompressLzxInterval(job->input);
            } catch (...) {
                job->error = std::current_exception();
            }
            job->input = std::string();
            lock.lock();
            job->done = true;
            jobDone.notify_all();
        }
    }

    // Hands the oldest job to the sink, waiting for it when `wait`; false when it is not done.
    bool EmitOldest(bool wait) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(mutex);
            if (inOrder.empty())
                return false;
            if (wait)
                jobDone.wait(lock, [&] { return inOrder.front()->done; });
            else if (!inOrder.front()->done)
                return false;
            job = inOrder.front();
            inOrder.pop_front();
        }
        if (job->error)
            std::rethrow_exception(job->error);
        for (std::uint32_t start : job->output.FrameStarts)
            frameStarts.push_back(compressed + start);
        sink(job->output.Bytes);
        compressed += job->output.Bytes.size();
        return true;
    }

    void Submit() {
        auto job = std::make_shared<Job>();
        job->input = std::move(current);
        current = std::string();
        current.reserve(kLzxResetInterval);
        while (EmitOldest(false)) {
        }
        while (inOrder.size() >= maxHeld)
            EmitOldest(true);
        {
            std::lock_guard lock(mutex);
            inOrder.push_back(job);
            queued.push_back(job);
        }
        workReady.notify_one();
    }

    void StopWorkers() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        workReady.notify_all();
        for (std::thread& worker : workers) {
            if (worker.joinable())
                worker.join();
        }
    }

    void CheckUsable() const {
        if (finished)
            throw std::logic_error("LzxStreamCompressor used after Finish");
        if (failed)
            throw std::logic_error("LzxStreamCompressor used after a failure");
    }
};

LzxStreamCompressor::LzxStreamCompressor(Sink sink, unsigned threads) : state_(std::make_unique<State>()) {
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    state_->sink = std::move(sink);
    state_->maxHeld = 3 * static_cast<std::size_t>(threads);
    state_->current.reserve(kLzxResetInterval);
    try {
        for (unsigned i = 0; i < threads; ++i)
            state_->workers.emplace_back([s = state_.get()] { s->Work(); });
    } catch (...) {
        state_->StopWorkers();
        throw;
    }
}

LzxStreamCompressor::~LzxStreamCompressor() {
    state_->StopWorkers();
}

void LzxStreamCompressor::Write(std::string_view bytes) {
    State& s = *state_;
    s.CheckUsable();
    try {
        while (!bytes.empty()) {
            const std::size_t take = std::min(bytes.size(), kLzxResetInterval - s.current.size());
            s.current.append(bytes.data(), take);
            bytes.remove_prefix(take);
            s.uncompressed += take;
            if (s.current.size() == kLzxResetInterval)
                s.Submit();
        }
    } catch (...) {
        s.failed = true;
        throw;
    }
}

void LzxStreamCompressor::Finish() {
    State& s = *state_;
    s.CheckUsable();
    try {
        // Some readers decode one frame past data that ends at a frame's end or one byte short
        // of it, or refuse a section without frames; give them a frame of zeros there.
        const std::uint64_t tail = s.uncompressed % kLzxFrameSize;
        if (tail == 0 || tail == kLzxFrameSize - 1) {
            for (int i = 0; i < 2; ++i) {
                s.current.push_back('\0');
                if (s.current.size() == kLzxResetInterval)
                    s.Submit();
            }
        }
        if (!s.current.empty())
            s.Submit();
        while (s.EmitOldest(true)) {
        }
    } catch (...) {
        s.failed = true;
        throw;
    }
    s.finished = true;
}

std::uint64_t LzxStreamCompressor::UncompressedSize() const {
    return state_->uncompressed;
}

std::uint64_t LzxStreamCompressor::CompressedSize() const {
    return state_->compressed;
}

const std::vector<std::uint64_t>& LzxStreamCompressor::FrameStarts() const {
    return state_->frameStarts;
}

}  // namespace leafsmith::chm
