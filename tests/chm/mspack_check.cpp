// Reads a compiled help file with libmspack, as the tests' third reader: extracts every file
// under OUTDIR (by its name) and looks every name up again through the index.
// Usage: mspack_check FILE.chm OUTDIR. Prints one line per fault; exit status 1 on any.
#include <mspack.h>

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mspack_check FILE.chm OUTDIR\n");
        return 2;
    }
    mschm_decompressor* chmd = mspack_create_chm_decompressor(nullptr);
    mschmd_header* chm = chmd->open(chmd, argv[1]);
    if (chm == nullptr) {
        std::printf("open failed: error %d\n", chmd->last_error(chmd));
        return 1;
    }
    int faults = 0;
    int files = 0;
    auto lookUp = [&](mschmd_file* file) {
        mschmd_file found{};
        if (chmd->fast_find(chmd, chm, file->filename, &found, sizeof found) != MSPACK_ERR_OK ||
            found.section == nullptr || found.section->id != file->section->id || found.offset != file->offset ||
            found.length != file->length) {
            std::printf("lookup failed: %s\n", file->filename);
            ++faults;
        }
    };
    for (mschmd_file* file = chm->files; file != nullptr; file = file->next) {
        ++files;
        const std::filesystem::path out = std::string(argv[2]) + file->filename;
        std::filesystem::create_directories(out.parent_path());
        if (int error = chmd->extract(chmd, file, out.c_str()); error != MSPACK_ERR_OK) {
            std::printf("extract failed: %s (error %d)\n", file->filename, error);
            ++faults;
        }
        lookUp(file);
    }
    for (mschmd_file* file = chm->sysfiles; file != nullptr; file = file->next)
        lookUp(file);
    std::printf("files=%d faults=%d\n", files, faults);
    chmd->close(chmd, chm);
    mspack_destroy_chm_decompressor(chmd);
    return faults == 0 ? 0 : 1;
}
