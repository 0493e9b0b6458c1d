#include "chm/full_text_index.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "chm/code_page.h"
#include "core/errors.h"

namespace leafsmith::chm {

namespace {

constexpr std::size_t kNodeSize = 4096;
constexpr std::size_t kHeaderSize = 0x400;
constexpr std::size_t kLongestWord = 99;            // bytes in the code page; longer words are left out
constexpr std::uint32_t kUnencodable = 0xFFFFFFFF;  // terms of words left out
constexpr std::uint32_t kTooLong = 0xFFFFFFFE;

void AppendVarint(std::vector<std::uint8_t>& out, std::uint32_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

std::uint32_t ReadVarint(const std::uint8_t*& data) {
    std::uint32_t value = 0;
    for (int shift = 0;; shift += 7) {
        std::uint8_t byte = *data++;
        value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
        if (byte < 0x80)
            return value;
    }
}

// The file's ENCINT: 7 bits a byte, least significant group first, bit 7 on all but the last byte.
void AppendEncInt(std::string& out, std::uint32_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

void PutDword(std::string& out, std::size_t at, std::uint64_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutWord(std::string& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void AppendDword(std::string& out, std::uint32_t value) {
    out.append(4, '\0');
    PutDword(out, out.size() - 4, value);
}

// Word order: bytes compared as a reader comparing without regard to ASCII case sees them (that
// matters only for trail bytes of double-byte code pages), ties broken by the plain bytes.
bool WordLess(const std::string& a, const std::string& b) {
    std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::size_t SharedPrefix(const std::string& a, const std::string& b) {
    std::size_t common = std::min(a.size(), b.size());
    std::size_t n = 0;
    while (n < common && a[n] == b[n])
        ++n;
    return n;
}

// Bits written most significant first.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}

    void Put(std::uint64_t value, unsigned count) {  // count <= 32
        pending_ = (pending_ << count) | (value & ((std::uint64_t{1} << count) - 1));
        filled_ += count;
        while (filled_ >= 8) {
            filled_ -= 8;
            out_.push_back(static_cast<char>((pending_ >> filled_) & 0xFF));
        }
    }
    void PutOnes(unsigned count) {
        for (; count > 32; count -= 32)
            Put(0xFFFFFFFF, 32);
        Put(0xFFFFFFFF, count);
    }
    void Align() {
        if (filled_ > 0)
            Put(0, 8 - filled_);
    }

    // Scale 2, root `root`: "0" and the value in `root` bits when it fits; else as many "1" as the
    // value has bits beyond the root, a "0", and the value without its top bit.
    void PutScaleRoot(std::uint32_t value, unsigned root) {
        unsigned bits = static_cast<unsigned>(std::bit_width(value));
        if (bits <= root) {
            Put(value, 1 + root);
            return;
        }
        PutOnes(bits - root);
        Put(0, 1);
        Put(value, bits - 1);
    }

private:
    std::string& out_;
    std::uint64_t pending_ = 0;  // the low `filled_` bits are not written yet
    unsigned filled_ = 0;
};

unsigned ScaleRootCost(unsigned bits, unsigned root) {
    return bits <= root ? 1 + root : 2 * bits - root;
}

// The root that codes values with these bit-length counts shortest.
unsigned BestRoot(const std::array<std::uint64_t, 33>& bitLengths) {
    unsigned best = 1;
    std::uint64_t bestCost = UINT64_MAX;
    for (unsigned root = 1; root <= 31; ++root) {
        std::uint64_t cost = 0;
        for (unsigned bits = 0; bits <= 32; ++bits)
            cost += bitLengths[bits] * ScaleRootCost(bits, root);
        if (cost < bestCost) {
            bestCost = cost;
            best = root;
        }
    }
    return best;
}

// Node entries in word order, packed into 4 KiB nodes with the words prefix-compressed per node.
class NodeWriter {
public:
    NodeWriter(std::string& file, std::size_t headerSize) : file_(file), headerSize_(headerSize) { Start(); }

    std::size_t EntrySize(const std::string& word, std::size_t tailSize) const {
        std::size_t shared = node_.size() > headerSize_ ? std::min<std::size_t>(SharedPrefix(previous_, word), 255) : 0;
        return 2 + word.size() - shared + tailSize;
    }
    bool Fits(std::size_t size) const { return node_.size() + size <= kNodeSize; }
    bool Empty() const { return node_.size() == headerSize_; }

    void Add(const std::string& word, std::string_view tail) {
        std::size_t shared = Empty() ? 0 : std::min<std::size_t>(SharedPrefix(previous_, word), 255);
        node_.push_back(static_cast<char>(word.size() - shared + 1));
        node_.push_back(static_cast<char>(shared));
        node_.append(word, shared);
        node_.append(tail);
        previous_ = word;
    }

    // Appends the node to the file; returns its offset and the last word in it.
    std::pair<std::uint32_t, std::string> Finish(std::size_t freeFieldAt) {
        std::size_t freeBytes = kNodeSize - node_.size();
        PutWord(node_, freeFieldAt, static_cast<std::uint32_t>(freeBytes));
        node_.append(freeBytes, '\0');
        auto offset = static_cast<std::uint32_t>(file_.size());
        file_ += node_;
        lastFree_ = freeBytes;
        std::pair<std::uint32_t, std::string> result(offset, previous_);
        Start();
        return result;
    }
    std::size_t LastFree() const { return lastFree_; }

private:
    void Start() {
        node_.assign(headerSize_, '\0');
        previous_.clear();
    }

    std::string& file_;
    std::size_t headerSize_;
    std::string node_;
    std::string previous_;
    std::size_t lastFree_ = 0;
};

// The index nodes above the leaves, written as their children close. python3-chm reads an index node
// below the root from the byte where the parent's entry for it stood, not from its first entry; so
// such a node starts with filler entries up to that byte. Fillers hold a word below every real word
// ("\1" bytes) and point to the node's first child, so readers that start at the first entry agree.
class IndexTree {
public:
    explicit IndexTree(std::string& file) : file_(file) {}

    // Adds an entry for a node of the level below (0 for the leaves).
    void Add(std::size_t level, const std::string& lastWord, std::uint32_t child) {
        if (levels_.size() <= level)
            levels_.resize(level + 1);
        if (!levels_[level].Open)
            Open(level);
        if (Size(*levels_[level].Open, lastWord) > kNodeSize - levels_[level].Open->Bytes.size()) {
            Close(level);
            Open(level);
        }
        Node& node = *levels_[level].Open;
        std::size_t shared = node.Entries == 0 ? 0 : std::min<std::size_t>(SharedPrefix(node.Previous, lastWord), 255);
        node.Bytes.push_back(static_cast<char>(lastWord.size() - shared + 1));
        node.Bytes.push_back(static_cast<char>(shared));
        node.Bytes.append(lastWord, shared);
        AppendDword(node.Bytes, child);
        node.Bytes.append(2, '\0');
        if (node.Entries++ == 0)
            for (std::size_t at : node.Fillers)
                PutDword(node.Bytes, at, child);
        node.Previous = lastWord;
    }

    // Closes the open nodes; returns the root and sets `levels` to the number of index levels.
    std::uint32_t Finish(std::size_t& levels) {
        for (std::size_t level = 0;; ++level) {
            if (levels_[level].Closed == 0) {
                levels = level + 1;
                return Write(*levels_[level].Open);
            }
            Close(level);
        }
    }

private:
    struct Node {
        std::string Bytes;
        std::string Previous;
        std::size_t Entries = 0;           // real entries
        std::vector<std::size_t> Fillers;  // where the fillers' child offsets go
    };
    struct Level {
        std::optional<Node> Open;
        std::size_t Closed = 0;
    };
    static constexpr std::size_t kLargestEntry = 2 + kLongestWord + 6;

    static std::size_t Size(const Node& node, const std::string& word) {
        std::size_t shared = node.Entries == 0 ? 0 : std::min<std::size_t>(SharedPrefix(node.Previous, word), 255);
        return 2 + word.size() - shared + 6;
    }

    // Opens a node at `level` whose entries start where its entry in the parent will stand.
    void Open(std::size_t level) {
        std::size_t start = 2;
        if (levels_[level].Closed > 0) {
            std::size_t parent = level + 1;  // open since the first node of `level` closed
            if (levels_[parent].Open->Bytes.size() + kLargestEntry > kNodeSize) {
                Close(parent);
                Open(parent);
            }
            start = levels_[parent].Open->Bytes.size();
        }
        Node node;
        node.Bytes.assign(2, '\0');
        if (start > 2) {
            std::size_t fillers = (start - 2) / 8;
            std::size_t extra = (start - 2) % 8;
            for (std::size_t i = 0; i < fillers; ++i) {
                node.Bytes.push_back(static_cast<char>(i == 0 ? extra + 1 : 1));
                node.Bytes.push_back(static_cast<char>(i == 0 ? 0 : extra));
                node.Bytes.append(i == 0 ? extra : 0, '\1');
                node.Fillers.push_back(node.Bytes.size());
                node.Bytes.append(6, '\0');
            }
        }
        levels_[level].Open = std::move(node);
    }

    void Close(std::size_t level) {
        Node node = std::move(*levels_[level].Open);
        levels_[level].Open.reset();
        ++levels_[level].Closed;
        std::uint32_t offset = Write(node);
        Add(level + 1, node.Previous, offset);
    }

    std::uint32_t Write(Node& node) {
        std::size_t freeBytes = kNodeSize - node.Bytes.size();
        PutWord(node.Bytes, 0, static_cast<std::uint32_t>(freeBytes));
        node.Bytes.append(freeBytes, '\0');
        auto offset = static_cast<std::uint32_t>(file_.size());
        file_ += node.Bytes;
        return offset;
    }

    std::string& file_;
    std::vector<Level> levels_;
};

}  // namespace

struct FullTextIndex::State {
    struct Posting {
        std::vector<std::uint8_t> Data;  // per document: document delta, count, location deltas
        std::uint32_t LastDocument = 0;
        std::uint32_t Documents = 0;
    };
    struct Term {
        std::string Bytes;  // the word in the code page
        Posting Title;
        Posting Body;
    };

    // A word met before, in an open-addressing table.
    struct Word {
        std::string Text;  // UTF-8
        std::uint32_t Hash = 0;
        std::uint32_t Term = 0;  // or kUnencodable, kTooLong
        bool Used = false;
    };

    explicit State(std::uint32_t lcid, unsigned codePage) : Lcid(lcid), Converter(codePage), Table(1024) {}

    std::uint32_t TermOf(std::string_view word) {
        auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>()(word));
        std::size_t mask = Table.size() - 1;
        std::size_t i = hash & mask;
        for (; Table[i].Used; i = (i + 1) & mask)
            if (Table[i].Hash == hash && Table[i].Text == word)
                return Table[i].Term;
        std::uint32_t term = kUnencodable;
        if (Converter.TryConvert(word, Encoded) && !Encoded.empty()) {
            if (Encoded.size() > kLongestWord) {
                term = kTooLong;
            } else {
                auto [it, added] = TermOfBytes.try_emplace(Encoded, static_cast<std::uint32_t>(Terms.size()));
                if (added)
                    Terms.push_back(Term{Encoded, {}, {}});
                term = it->second;
            }
        }
        Table[i] = {std::string(word), hash, term, true};
        if (++WordCount * 4 > Table.size() * 3) {
            std::vector<Word> old(Table.size() * 2);
            old.swap(Table);
            mask = Table.size() - 1;
            for (Word& entry : old) {
                if (!entry.Used)
                    continue;
                std::size_t at = entry.Hash & mask;
                while (Table[at].Used)
                    at = (at + 1) & mask;
                Table[at] = std::move(entry);
            }
        }
        return term;
    }

    void AddWords(std::uint32_t topic, const WordList& words, bool title) {
        Occurrences.clear();
        std::uint32_t location = title ? 0 : 1;
        for (std::string_view word : words) {
            std::uint32_t term = TermOf(word);
            if (term == kUnencodable) {
                ++Unencodable;
            } else if (term == kTooLong) {
                ++TooLong;
            } else {
                Occurrences.push_back(static_cast<std::uint64_t>(term) << 32 | location);
            }
            ++location;
        }
        std::sort(Occurrences.begin(), Occurrences.end());
        for (std::size_t i = 0; i < Occurrences.size();) {
            auto term = static_cast<std::uint32_t>(Occurrences[i] >> 32);
            std::size_t end = i;
            while (end < Occurrences.size() && (Occurrences[end] >> 32) == term)
                ++end;
            Posting& posting = title ? Terms[term].Title : Terms[term].Body;
            AppendVarint(posting.Data, topic - posting.LastDocument);
            AppendVarint(posting.Data, static_cast<std::uint32_t>(end - i));
            std::uint32_t previous = 0;
            for (; i < end; ++i) {
                auto at = static_cast<std::uint32_t>(Occurrences[i]);
                AppendVarint(posting.Data, at - previous);
                previous = at;
            }
            posting.LastDocument = topic;
            ++posting.Documents;
        }
    }

    std::uint32_t Lcid;
    CodePageConverter Converter;
    std::vector<Word> Table;
    std::size_t WordCount = 0;
    std::unordered_map<std::string, std::uint32_t> TermOfBytes;  // encoded word → term
    std::vector<Term> Terms;
    std::vector<std::uint64_t> Occurrences;  // term << 32 | location, for one page
    std::string Encoded;
    std::size_t Pages = 0;
    std::uint32_t LastTopic = 0;
    std::size_t Unencodable = 0;
    std::size_t TooLong = 0;
};

FullTextIndex::FullTextIndex(std::uint32_t lcid, unsigned codePage) : state_(std::make_unique<State>(lcid, codePage)) {}

FullTextIndex::~FullTextIndex() = default;

void FullTextIndex::AddPage(std::uint32_t topic, const PageWords& words) {
    if (state_->Pages > 0 && topic <= state_->LastTopic)
        throw ELeafsmithError("Pages must go into the search index in increasing topic order (topic " +
                              std::to_string(topic) + " after " + std::to_string(state_->LastTopic) + ").");
    state_->AddWords(topic, words.TitleWords, true);
    state_->AddWords(topic, words.BodyWords, false);
    state_->LastTopic = topic;
    ++state_->Pages;
}

std::size_t FullTextIndex::PageCount() const {
    return state_->Pages;
}

std::size_t FullTextIndex::DistinctWordCount() const {
    return state_->Terms.size();
}

std::size_t FullTextIndex::LeftOutWordCount() const {
    return state_->Unencodable;
}

std::size_t FullTextIndex::TooLongWordCount() const {
    return state_->TooLong;
}

std::string FullTextIndex::Build() const {
    using Posting = State::Posting;
    const std::vector<State::Term>& terms = state_->Terms;

    std::vector<std::uint32_t> order(terms.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return WordLess(terms[a].Bytes, terms[b].Bytes); });

    // Roots that code this index's numbers shortest.
    std::array<std::array<std::uint64_t, 33>, 3> bitLengths{};  // documents, counts, locations
    std::uint64_t occurrences = 0;
    std::uint64_t occurrenceBytes = 0;
    auto measure = [&](const State::Term& term, const Posting& posting) {
        const std::uint8_t* data = posting.Data.data();
        for (std::uint32_t document = 0; document < posting.Documents; ++document) {
            ++bitLengths[0][std::bit_width(ReadVarint(data))];
            std::uint32_t count = ReadVarint(data);
            ++bitLengths[1][std::bit_width(count)];
            occurrences += count;
            occurrenceBytes += std::uint64_t{count} * term.Bytes.size();
            for (std::uint32_t i = 0; i < count; ++i)
                ++bitLengths[2][std::bit_width(ReadVarint(data))];
        }
    };
    for (const State::Term& term : terms) {
        measure(term, term.Title);
        measure(term, term.Body);
    }
    const unsigned documentRoot = BestRoot(bitLengths[0]);
    const unsigned countRoot = BestRoot(bitLengths[1]);
    const unsigned locationRoot = BestRoot(bitLengths[2]);

    std::string file(kHeaderSize, '\0');
    std::size_t estimate = kHeaderSize + 4 * kNodeSize;
    for (const State::Term& term : terms)
        estimate += term.Title.Data.size() + term.Body.Data.size() + 2 * term.Bytes.size() + 32;
    file.reserve(estimate + estimate / 16);
    auto writeList = [&](const Posting& posting) {
        auto offset = static_cast<std::uint32_t>(file.size());
        BitWriter bits(file);
        const std::uint8_t* data = posting.Data.data();
        for (std::uint32_t document = 0; document < posting.Documents; ++document) {
            bits.PutScaleRoot(ReadVarint(data), documentRoot);
            std::uint32_t count = ReadVarint(data);
            bits.PutScaleRoot(count, countRoot);
            for (std::uint32_t i = 0; i < count; ++i)
                bits.PutScaleRoot(ReadVarint(data), locationRoot);
            bits.Align();
        }
        return std::pair(offset, static_cast<std::uint32_t>(file.size() - offset));
    };
    auto leafTail = [](bool title, const Posting& posting, std::pair<std::uint32_t, std::uint32_t> list) {
        std::string tail(1, title ? '\1' : '\0');
        AppendEncInt(tail, posting.Documents);
        AppendDword(tail, list.first);
        tail.append(2, '\0');
        AppendEncInt(tail, list.second);
        return tail;
    };

    // Leaves, each after the lists of most of its entries.
    NodeWriter leaves(file, 8);
    std::vector<std::pair<std::uint32_t, std::string>> children;
    auto finishLeaf = [&]() {
        children.push_back(leaves.Finish(6));
        if (children.size() > 1)
            PutDword(file, children[children.size() - 2].first, children.back().first);
    };
    std::size_t longest = 0;
    std::uint64_t distinctBytes = 0;
    for (std::uint32_t index : order) {
        const State::Term& term = terms[index];
        longest = std::max(longest, term.Bytes.size());
        distinctBytes += term.Bytes.size();
        std::string titleTail, bodyTail;
        if (term.Title.Documents > 0)
            titleTail = leafTail(true, term.Title, writeList(term.Title));
        if (term.Body.Documents > 0)
            bodyTail = leafTail(false, term.Body, writeList(term.Body));
        // Both entries of a word go into one leaf.
        std::size_t size = 0;
        if (!titleTail.empty())
            size += leaves.EntrySize(term.Bytes, titleTail.size());
        if (!bodyTail.empty())
            size += titleTail.empty() ? leaves.EntrySize(term.Bytes, bodyTail.size()) : 2 + bodyTail.size();
        if (!leaves.Fits(size))
            finishLeaf();
        if (!titleTail.empty())
            leaves.Add(term.Bytes, titleTail);
        if (!bodyTail.empty())
            leaves.Add(term.Bytes, bodyTail);
    }
    finishLeaf();
    const std::size_t leafCount = children.size();
    const std::size_t lastLeafFree = leaves.LastFree();

    // Index levels up to a single root; each entry names the last word of its child.
    std::uint32_t root = children.front().first;
    std::size_t depth = 1;
    if (children.size() > 1) {
        IndexTree tree(file);
        for (const auto& [offset, word] : children)
            tree.Add(0, word, offset);
        std::size_t levels = 0;
        root = tree.Finish(levels);
        depth += levels;
    }

    const std::size_t pages = state_->Pages;
    file[2] = 0x28;
    PutDword(file, 0x04, pages);
    PutDword(file, 0x08, root);
    PutDword(file, 0x10, leafCount);
    PutDword(file, 0x14, root);
    PutWord(file, 0x18, static_cast<std::uint32_t>(depth));
    PutDword(file, 0x1A, 7);
    const unsigned roots[3] = {documentRoot, countRoot, locationRoot};
    for (int i = 0; i < 3; ++i) {
        file[0x1E + 2 * i] = 2;
        file[0x1F + 2 * i] = static_cast<char>(roots[i]);
    }
    PutDword(file, 0x2E, kNodeSize);
    PutDword(file, 0x36, 1);  // as in files known to work; meaning unknown
    PutDword(file, 0x3A, 5);
    PutDword(file, 0x3E, longest);
    PutDword(file, 0x42, occurrences);
    PutDword(file, 0x46, terms.size());
    PutDword(file, 0x4A, occurrenceBytes);
    PutDword(file, 0x4E, occurrenceBytes >> 32);
    PutDword(file, 0x52, distinctBytes);
    PutDword(file, 0x56, lastLeafFree);
    PutDword(file, 0x5E, pages > 0 ? pages - 1 : 0);
    PutDword(file, 0x7A, state_->Converter.CodePage());
    PutDword(file, 0x7E, state_->Lcid);
    return file;
}

}  // namespace leafsmith::chm
