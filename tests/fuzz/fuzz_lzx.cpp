// Fuzz target: the LZX compressor inside a compiled help file, read back by libmspack. Every file
// must come back byte for byte, and no frame may outgrow what readers buffer for it.
#include <mspack.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "chm/chm_archive.h"
#include "chm/lzx_compressor.h"
#include "core/files.h"

namespace {

std::string ScratchPath(const char* suffix) {
    return "/tmp/fuzz_lzx_" + std::to_string(::getpid()) + suffix;
}

std::uint64_t Read64(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint32_t Read32(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace leafsmith::chm;
    if (size < 2)
        return 0;
    // The first byte stretches the input, so that short ones reach frame and interval ends, and
    // picks how many files it is cut into; the second nudges the length.
    const std::string input(reinterpret_cast<const char*>(data) + 2, size - 2);
    static const std::size_t repeats[4] = {1, 3, 17, 70};
    std::string payload;
    for (std::size_t i = 0; i < repeats[data[0] & 3] && payload.size() < 100000; ++i)
        payload += input;
    payload.resize(std::min<std::size_t>(payload.size(), 100000));
    payload.append(data[1] & 7, static_cast<char>(data[1]));
    const std::size_t files = 1 + ((data[0] >> 2) & 7);

    // The bytes as files of an archive.
    const std::string chm = ScratchPath(".chm");
    std::vector<std::string> names;
    std::vector<std::string> contents;
    {
        ChmArchiveWriter writer(chm, 0x409, 2);
        for (std::size_t i = 0, at = 0; i < files; ++i) {
            const std::size_t end =
                i + 1 == files ? payload.size() : payload.size() * (i + 1) * (i + 1) / (files * files);
            names.push_back("/f" + std::to_string(i));
            contents.push_back(payload.substr(at, end - at));
            writer.AddCompressedFile(names.back(), contents.back());
            at = end;
        }
        writer.Finish();
    }
    mschm_decompressor* chmd = mspack_create_chm_decompressor(nullptr);
    mschmd_header* header = chmd->open(chmd, chm.c_str());
    Check(header != nullptr);
    const std::string out = ScratchPath(".out");
    std::size_t found = 0;
    for (mschmd_file* file = header->files; file != nullptr; file = file->next) {
        const std::size_t index = std::stoul(std::string(file->filename + 2));
        Check(index < names.size() && file->filename == names[index]);
        Check(chmd->extract(chmd, file, out.c_str()) == MSPACK_ERR_OK);
        Check(leafsmith::ReadFileBytes(out) == contents[index]);
        ++found;
    }
    Check(found == names.size());
    // No frame outgrows what readers buffer for it.
    const std::string bytes = leafsmith::ReadFileBytes(chm);
    bool sawTable = false;
    for (mschmd_file* file = header->sysfiles; file != nullptr; file = file->next) {
        if (std::string(file->filename).ends_with("/ResetTable")) {
            sawTable = true;
            const char* table = bytes.data() + header->sec0.offset + file->offset;
            std::vector<std::uint64_t> starts(Read32(table + 4) + 1);
            for (std::size_t i = 0; i + 1 < starts.size(); ++i)
                starts[i] = Read64(table + 0x28 + 8 * i);
            starts.back() = Read64(table + 0x18);
            for (std::size_t i = 0; i + 1 < starts.size(); ++i)
                Check(starts[i + 1] - starts[i] <= kLzxFrameSize + 6144);
        }
    }
    Check(sawTable);
    chmd->close(chmd, header);
    mspack_destroy_chm_decompressor(chmd);
    std::remove(out.c_str());
    std::remove(chm.c_str());
    return 0;
}
