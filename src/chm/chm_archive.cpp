#include "chm/chm_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "chm/lzx_compressor.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/strings.h"

namespace leafsmith::chm {

namespace {

constexpr std::size_t kChunkSize = 4096;
constexpr std::size_t kListingHeader = 0x14;
constexpr std::size_t kIndexHeader = 0x08;
constexpr std::size_t kQuickRefEvery = 5;  // 1 + 2^density, density 2
constexpr std::size_t kItsfHeaderSize = 0x60;
constexpr std::size_t kHeaderSection0Size = 0x18;
constexpr std::size_t kItspHeaderSize = 0x54;
constexpr std::size_t kMaxNameLength = 512;  // longer names are refused by readers
constexpr std::uint32_t kTimeStamp = 0;      // fixed, for reproducible output

const std::string kContentName = "::DataSpace/Storage/MSCompressed/Content";
const std::string kTransformFolder =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/";

void PutLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void Put16(std::string& out, std::uint64_t value) {
    PutLe(out, value, 2);
}
void Put32(std::string& out, std::uint64_t value) {
    PutLe(out, value, 4);
}
void Put64(std::string& out, std::uint64_t value) {
    PutLe(out, value, 8);
}

void PutGuid(std::string& out, std::uint32_t a, std::uint16_t b, std::uint16_t c, std::initializer_list<int> rest) {
    Put32(out, a);
    Put16(out, b);
    Put16(out, c);
    for (int byte : rest)
        out.push_back(static_cast<char>(byte));
}

// Directory integer: seven bits a byte, most significant group first.
void PutEncInt(std::string& out, std::uint64_t value) {
    char groups[10];
    int n = 0;
    do {
        groups[n++] = static_cast<char>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1)
        out.push_back(static_cast<char>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

std::string Utf16(std::string_view ascii) {
    std::string out;
    for (char c : ascii)
        Put16(out, static_cast<unsigned char>(c));
    return out;
}

struct NameOrder {
    bool operator()(const std::string& a, const std::string& b) const { return ChmNameLess(a, b); }
};

struct Entry {
    int section = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// Packs entries into directory chunks of one kind, with their quickref areas.
class ChunkPacker {
public:
    ChunkPacker(bool listing, std::vector<std::string>& chunks)
        : listing_(listing), header_(listing ? kListingHeader : kIndexHeader), chunks_(chunks) {}

    // Adds one entry; returns true when it opened a new chunk.
    bool Add(std::string_view entry) {
        bool opened = false;
        if (offsets_.empty() || !Fits(entry.size())) {
            Close();
            opened = true;
        }
        offsets_.push_back(used_);
        body_.append(entry);
        used_ += entry.size();
        return opened;
    }
    void Close() {
        if (!offsets_.empty())
            Flush();
        offsets_.clear();
        body_.clear();
        used_ = 0;
    }

private:
    static std::size_t QuickRefBytes(std::size_t entries) {
        return 2 * ((entries + kQuickRefEvery - 1) / kQuickRefEvery);
    }
    bool Fits(std::size_t size) const {
        return header_ + used_ + size + QuickRefBytes(offsets_.size() + 1) <= kChunkSize;
    }
    void Flush() {
        std::string chunk;
        chunk.reserve(kChunkSize);
        const std::size_t free = kChunkSize - header_ - used_;
        const auto number = static_cast<std::int64_t>(chunks_.size());
        if (listing_) {
            chunk += "PMGL";
            Put32(chunk, free);
            Put32(chunk, 0);
            Put32(chunk, static_cast<std::uint32_t>(number - 1));  // -1 for the first; fixed up for the last
            Put32(chunk, static_cast<std::uint32_t>(number + 1));
        } else {
            chunk += "PMGI";
            Put32(chunk, free);
        }
        chunk += body_;
        chunk.resize(kChunkSize, '\0');
        auto putWord = [&](std::size_t at, std::size_t value) {
            chunk[at] = static_cast<char>(value & 0xFF);
            chunk[at + 1] = static_cast<char>(value >> 8);
        };
        putWord(kChunkSize - 2, offsets_.size());
        for (std::size_t k = 1; k * kQuickRefEvery < offsets_.size(); ++k)
            putWord(kChunkSize - 2 - 2 * k, offsets_[k * kQuickRefEvery]);
        chunks_.push_back(std::move(chunk));
    }

    bool listing_;
    std::size_t header_;
    std::vector<std::string>& chunks_;
    std::vector<std::size_t> offsets_;
    std::string body_;
    std::size_t used_ = 0;
};

struct Directory {
    std::vector<std::string> chunks;
    std::uint32_t depth = 1;
    std::uint32_t root = 0xFFFFFFFF;
    std::uint32_t lastListing = 0;
};

Directory BuildDirectory(const std::vector<std::pair<std::string, Entry>>& entries) {
    Directory dir;
    std::vector<std::pair<std::string, std::uint32_t>> level;  // first name of each chunk, its number
    ChunkPacker listing(true, dir.chunks);
    for (const auto& [name, entry] : entries) {
        std::string bytes;
        PutEncInt(bytes, name.size());
        bytes += name;
        PutEncInt(bytes, static_cast<std::uint64_t>(entry.section));
        PutEncInt(bytes, entry.offset);
        PutEncInt(bytes, entry.length);
        if (listing.Add(bytes))
            level.emplace_back(name, static_cast<std::uint32_t>(dir.chunks.size()));
    }
    listing.Close();
    dir.lastListing = static_cast<std::uint32_t>(dir.chunks.size() - 1);
    // The first listing chunk has no predecessor and the last no successor.
    std::memset(&dir.chunks.front()[0x0C], 0xFF, 4);
    std::memset(&dir.chunks.back()[0x10], 0xFF, 4);
    // Index levels until one chunk holds them all; readers start at that root.
    while (level.size() > 1) {
        std::vector<std::pair<std::string, std::uint32_t>> upper;
        ChunkPacker index(false, dir.chunks);
        for (const auto& [name, number] : level) {
            std::string bytes;
            PutEncInt(bytes, name.size());
            bytes += name;
            PutEncInt(bytes, number);
            if (index.Add(bytes))
                upper.emplace_back(name, static_cast<std::uint32_t>(dir.chunks.size()));
        }
        index.Close();
        level = std::move(upper);
        ++dir.depth;
        dir.root = static_cast<std::uint32_t>(dir.chunks.size() - 1);
    }
    return dir;
}

[[noreturn]] void RaiseWriteError(const std::string& path, int error) {
    const std::string reason = std::strerror(error);
    throw EFileError("Cannot write \"" + ShowControlCharacters(path) + "\": " + reason, reason);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Copies `length` bytes from the start of `from` to the end of `to`.
bool CopyRange(int from, int to, std::uint64_t length) {
    off_t in = 0;
    while (length > 0) {
        const ssize_t copied = ::copy_file_range(from, &in, to, nullptr, length, 0);
        if (copied > 0) {
            length -= static_cast<std::uint64_t>(copied);
            continue;
        }
        if (copied == 0) {
            errno = EIO;  // the scratch file is shorter than what went into it
            return false;
        }
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP || errno == EBADF)
            break;
        return false;
    }
    std::vector<char> buffer(1 << 16);
    while (length > 0) {
        const ssize_t got = ::pread(from, buffer.data(), std::min<std::uint64_t>(length, buffer.size()), in);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0) {
            errno = EIO;
            return false;
        }
        if (!WriteAll(to, buffer.data(), static_cast<std::size_t>(got)))
            return false;
        in += got;
        length -= static_cast<std::uint64_t>(got);
    }
    return true;
}

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

}  // namespace

bool ChmNameLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
    });
}

struct ChmArchiveWriter::State {
    std::string path;
    std::uint32_t lcid = 0;
    unsigned threads = 0;
    bool finished = false;

    std::map<std::string, Entry, NameOrder> files;
    std::vector<std::string> stored;  // section 0 data, in order of offset
    std::uint64_t storedSize = 0;

    FileDescriptor scratch;
    std::optional<LzxStreamCompressor> compressor;
    std::string openName;  // the compressed file being written piece by piece
    std::uint64_t openStart = 0;
    bool open = false;

    void CheckName(const std::string& name) const {
        auto refuse = [&](const std::string& why) {
            throw ELeafsmithError("Cannot store \"" + ShowControlCharacters(name) +
                                  "\" in the compiled help file: " + why);
        };
        if (name.empty() || name[0] != '/')
            refuse("the name does not start with \"/\"");
        if (name.back() == '/')
            refuse("the name ends with \"/\"");
        if (name.find('\0') != std::string::npos)
            refuse("the name holds a NUL byte");
        if (name.size() > kMaxNameLength)
            refuse("the name is longer than " + std::to_string(kMaxNameLength) + " bytes");
        if (files.count(name) != 0)
            refuse("a file of that name is already stored");
    }

    void CheckCanAdd() const {
        if (finished)
            throw std::logic_error("ChmArchiveWriter used after Finish");
        if (open)
            throw std::logic_error("ChmArchiveWriter: a compressed file is still being written");
    }

    void OpenScratch() {
        const std::string folder = FolderOf(path).empty() ? std::string(".") : FolderOf(path);
        CheckPathHasNoNul(path);
        int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
            std::string pattern = JoinPath(folder, "." + FileNameOf(path) + ".lzx-XXXXXX");
            fd = ::mkostemp(pattern.data(), O_CLOEXEC);
            if (fd >= 0)
                ::unlink(pattern.c_str());
        }
        if (fd < 0)
            RaiseWriteError(path, errno);
        scratch.Reset(fd);
    }

    LzxStreamCompressor& Compressor() {
        if (!compressor) {
            OpenScratch();
            compressor.emplace(
                [this](std::string_view bytes) {
                    if (!WriteAll(scratch.Get(), bytes.data(), bytes.size()))
                        RaiseWriteError(path, errno);
                },
                threads);
        }
        return *compressor;
    }

    std::uint64_t CompressedStreamSize() const { return compressor ? compressor->UncompressedSize() : 0; }

    std::uint64_t Store(std::string bytes) {
        const std::uint64_t offset = storedSize;
        storedSize += bytes.size();
        stored.push_back(std::move(bytes));
        return offset;
    }

    void AddStored(const std::string& name, std::string bytes) {
        Entry entry;
        entry.length = bytes.size();
        if (!bytes.empty())
            entry.offset = Store(std::move(bytes));
        files.emplace(name, entry);
    }

    void WriteFile(int fd);
};

ChmArchiveWriter::ChmArchiveWriter(std::string path, std::uint32_t lcid, unsigned threads)
    : state_(std::make_unique<State>()) {
    state_->path = std::move(path);
    state_->lcid = lcid;
    state_->threads = threads;
}

ChmArchiveWriter::~ChmArchiveWriter() = default;

void ChmArchiveWriter::AddStoredFile(const std::string& name, std::string bytes) {
    state_->CheckCanAdd();
    state_->CheckName(name);
    state_->AddStored(name, std::move(bytes));
}

void ChmArchiveWriter::AddCompressedFile(const std::string& name, std::string_view bytes) {
    BeginCompressedFile(name);
    WriteCompressed(bytes);
    EndCompressedFile();
}

void ChmArchiveWriter::BeginCompressedFile(const std::string& name) {
    State& s = *state_;
    s.CheckCanAdd();
    s.CheckName(name);
    s.openName = name;
    s.openStart = s.CompressedStreamSize();
    s.open = true;
}

void ChmArchiveWriter::WriteCompressed(std::string_view bytes) {
    State& s = *state_;
    if (!s.open)
        throw std::logic_error("ChmArchiveWriter::WriteCompressed without BeginCompressedFile");
    if (!bytes.empty())
        s.Compressor().Write(bytes);
}

void ChmArchiveWriter::EndCompressedFile() {
    State& s = *state_;
    if (!s.open)
        throw std::logic_error("ChmArchiveWriter::EndCompressedFile without BeginCompressedFile");
    s.open = false;
    const std::uint64_t length = s.CompressedStreamSize() - s.openStart;
    if (length == 0)
        s.AddStored(s.openName, {});  // empty files live in section 0 at offset 0
    else
        s.files.emplace(s.openName, Entry{1, s.openStart, length});
}

bool ChmArchiveWriter::HasFile(const std::string& name) const {
    return state_->files.count(name) != 0 || (state_->open && SameText(state_->openName, name));
}

void ChmArchiveWriter::State::WriteFile(int fd) {
    // The compressed section and the files that describe it; without compressed files it still
    // gets its frame of zeros.
    LzxStreamCompressor& stream = Compressor();
    stream.Finish();
    const std::uint64_t uncompressed = stream.UncompressedSize();
    const std::uint64_t compressedSize = stream.CompressedSize();
    const std::vector<std::uint64_t>& frameStarts = stream.FrameStarts();
    std::vector<std::pair<std::string, Entry>> entries;
    auto addSystemFile = [&](const std::string& name, std::string bytes) {
        Entry entry;
        entry.length = bytes.size();
        entry.offset = Store(std::move(bytes));
        entries.emplace_back(name, entry);
    };
    {
        std::string names;
        Put16(names, 0x1E);
        Put16(names, 2);
        for (std::string_view name : {"Uncompressed", "MSCompressed"}) {
            Put16(names, name.size());
            names += Utf16(name);
            Put16(names, 0);
        }
        addSystemFile("::DataSpace/NameList", names);
    }
    {
        std::string control;
        Put32(control, 6);
        control += "LZXC";
        for (std::uint32_t v : {2, 2, 2, 1, 0})
            Put32(control, v);
        addSystemFile("::DataSpace/Storage/MSCompressed/ControlData", control);
    }
    {
        std::string span;
        Put64(span, uncompressed);
        addSystemFile("::DataSpace/Storage/MSCompressed/SpanInfo", span);
    }
    addSystemFile("::DataSpace/Storage/MSCompressed/Transform/List",
                  Utf16(std::string_view("{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}").substr(0, 19)));
    {
        std::string table;
        Put32(table, 2);
        Put32(table, frameStarts.size());
        Put32(table, 8);
        Put32(table, 0x28);
        Put64(table, uncompressed);
        Put64(table, compressedSize);
        Put64(table, kLzxFrameSize);
        for (std::uint64_t start : frameStarts)
            Put64(table, start);
        addSystemFile(kTransformFolder + "ResetTable", table);
    }
    const std::uint64_t contentOffset = storedSize;
    entries.emplace_back(kContentName, Entry{0, contentOffset, compressedSize});

    // Every file, every folder above one, and the root.
    std::map<std::string, Entry, NameOrder> folders;
    folders.emplace("/", Entry{});
    for (const auto& [name, entry] : files) {
        entries.emplace_back(name, entry);
        for (std::size_t slash = name.find('/', 1); slash != std::string::npos; slash = name.find('/', slash + 1))
            folders.emplace(name.substr(0, slash + 1), Entry{});
    }
    entries.insert(entries.end(), folders.begin(), folders.end());
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return ChmNameLess(a.first, b.first); });
    const Directory dir = BuildDirectory(entries);

    const std::uint64_t directorySize = kItspHeaderSize + dir.chunks.size() * kChunkSize;
    const std::uint64_t section0 = kItsfHeaderSize + kHeaderSection0Size + directorySize;
    const std::uint64_t fileSize = section0 + storedSize + compressedSize;

    std::string head;
    head.reserve(section0 + storedSize);
    head += "ITSF";
    Put32(head, 3);
    Put32(head, kItsfHeaderSize);
    Put32(head, 1);
    for (int shift : {24, 16, 8, 0})  // the time stamp is big-endian
        head.push_back(static_cast<char>((kTimeStamp >> shift) & 0xFF));
    Put32(head, lcid);
    PutGuid(head, 0x7C01FD10, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC});
    PutGuid(head, 0x7C01FD11, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC});
    Put64(head, kItsfHeaderSize);
    Put64(head, kHeaderSection0Size);
    Put64(head, kItsfHeaderSize + kHeaderSection0Size);
    Put64(head, directorySize);
    Put64(head, section0);
    // Header section 0.
    Put32(head, 0x01FE);
    Put32(head, 0);
    Put64(head, fileSize);
    Put32(head, 0);
    Put32(head, 0);
    // The directory.
    head += "ITSP";
    Put32(head, 1);
    Put32(head, kItspHeaderSize);
    Put32(head, 0x0A);
    Put32(head, kChunkSize);
    Put32(head, 2);  // quickref density
    Put32(head, dir.depth);
    Put32(head, dir.root);
    Put32(head, 0);  // first listing chunk
    Put32(head, dir.lastListing);
    Put32(head, 0xFFFFFFFF);
    Put32(head, dir.chunks.size());
    Put32(head, 0x0409);
    PutGuid(head, 0x5D02926A, 0x212E, 0x11D0, {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC});
    Put32(head, kItspHeaderSize);
    for (int i = 0; i < 3; ++i)
        Put32(head, 0xFFFFFFFF);
    for (const std::string& chunk : dir.chunks)
        head += chunk;
    for (std::string& bytes : stored) {
        head += bytes;
        bytes = std::string();
    }
    if (!WriteAll(fd, head.data(), head.size()))
        RaiseWriteError(path, errno);
    if (!CopyRange(scratch.Get(), fd, compressedSize))
        RaiseWriteError(path, errno);
}

void ChmArchiveWriter::Finish() {
    State& s = *state_;
    s.CheckCanAdd();
    s.finished = true;
    // The file gets its name only when it is complete; until then the old file stays as it was.
    PendingFile out(s.path);
    s.WriteFile(out.Fd());
    out.Finish();
    s.compressor.reset();
    s.scratch.Reset();
}

}  // namespace leafsmith::chm
