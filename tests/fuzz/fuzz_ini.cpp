// Fuzz target: the INI reader with the project file and template group loaders on top, and the
// writer on what they read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/errors.h"
#include "core/ini_file.h"
#include "core/project_option.h"
#include "templates/template_group.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    leafsmith::IniFile ini = leafsmith::IniFile::Parse(bytes);

    leafsmith::TProjectOption options("/opt/leafsmith");
    options.LoadFromIni(ini);
    try {
        std::string saved = options.ToIniText();
        leafsmith::TProjectOption again("/opt/leafsmith");
        again.LoadFromIni(leafsmith::IniFile::Parse(saved));
        if (!again.SameStoredValues(options))
            __builtin_trap();  // a save must load back unchanged
    } catch (const leafsmith::ESettingError&) {
        // a value with a line break cannot be saved; the reader never yields one, but stay safe
    }

    leafsmith::TTempletGroup group("/opt/leafsmith");
    group.InheritCommon = (size % 2) == 0;
    group.LoadFromIni(ini, "/group/templates.ini");
    try {
        (void)group.ToIniText();
    } catch (const leafsmith::ESettingError&) {
    }
    return 0;
}
