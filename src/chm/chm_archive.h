// The container of a compiled help file: the ITSF header, the directory of names, the stored
// section and the LZX-compressed section with its reset table.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace leafsmith::chm {

// Writes one compiled help file. Names start with "/" and use "/" between folders; names that
// differ only in ASCII case count as the same. Folder entries ("/html/") and the compressor's own
// "::DataSpace/" files are added by the writer. Compressed files are compressed while they are
// added (on every core), their compressed data kept in an unnamed scratch file beside the target,
// so memory stays bounded whatever the size of the project.
class ChmArchiveWriter {
public:
    // Nothing is written to `path` before Finish.
    ChmArchiveWriter(std::string path, std::uint32_t lcid, unsigned threads = 0);
    ~ChmArchiveWriter();
    ChmArchiveWriter(const ChmArchiveWriter&) = delete;
    ChmArchiveWriter& operator=(const ChmArchiveWriter&) = delete;

    // Raise ELeafsmithError for a name that is empty, lacks the leading "/", ends in "/", holds a NUL
    // or is longer than readers accept, and for a name added twice.
    // Stored files stay in memory until Finish; they are the small internal ones.
    void AddStoredFile(const std::string& name, std::string bytes);
    void AddCompressedFile(const std::string& name, std::string_view bytes);
    // A compressed file added piece by piece; no other file may be added until it ends.
    void BeginCompressedFile(const std::string& name);
    void WriteCompressed(std::string_view bytes);
    void EndCompressedFile();

    bool HasFile(const std::string& name) const;  // ASCII case ignored

    // Writes the whole file under no name (or a hidden one) beside `path` and renames it over `path`
    // once it is complete, so a reader never sees half a file. Raises EFileError when it cannot, and
    // then leaves whatever was at `path` as it was.
    void Finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Orders directory names as readers look them up: bytes compared without regard to ASCII case,
// unsigned, a name before the longer names it begins.
bool ChmNameLess(std::string_view a, std::string_view b);

}  // namespace leafsmith::chm
