#include "chm/help_project.h"

#include <filesystem>
#include <set>

#include "core/errors.h"
#include "core/files.h"
#include "core/strings.h"
#include "text/text_utils.h"

namespace leafsmith::chm {

namespace fs = std::filesystem;

namespace {

std::string Slashes(std::string_view text) {
    return ReplaceAll(text, "\\", "/");
}

}  // namespace

bool ParseNumber(std::string_view text, std::uint32_t& value) {
    text = TrimView(text);
    while (!text.empty() && (text.back() == 'u' || text.back() == 'U' || text.back() == 'l' || text.back() == 'L'))
        text.remove_suffix(1);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > (base == 16 ? 8u : 10u))
        return false;
    std::uint64_t number = 0;
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return false;
        number = number * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    if (number > 0xFFFFFFFFu)
        return false;
    value = static_cast<std::uint32_t>(number);
    return true;
}

namespace {

// The fields of a window definition: a field is a quoted string (up to the next quotation mark) or
// everything up to the next comma; the window rectangle is one field in brackets.
std::vector<std::string> WindowFields(std::string_view text) {
    std::vector<std::string> fields;
    size_t i = 0;
    while (i <= text.size()) {
        while (i < text.size() && IsBlankByte(text[i]))
            ++i;
        std::string field;
        if (i < text.size() && text[i] == '"') {
            size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos)
                close = text.size();
            field = std::string(text.substr(i + 1, close - i - 1));
            i = close + 1;
            size_t comma = text.find(',', std::min(i, text.size()));
            i = comma == std::string_view::npos ? text.size() + 1 : comma + 1;
        } else if (i < text.size() && text[i] == '[') {
            size_t close = text.find(']', i);
            if (close == std::string_view::npos)
                close = text.size();
            field = Trim(text.substr(i, close + 1 - i));
            size_t comma = text.find(',', std::min(close + 1, text.size()));
            i = comma == std::string_view::npos ? text.size() + 1 : comma + 1;
        } else {
            size_t comma = text.find(',', i);
            if (comma == std::string_view::npos)
                comma = text.size();
            field = Trim(text.substr(i, comma - i));
            i = comma + 1;
        }
        fields.push_back(field);
    }
    while (!fields.empty() && fields.back().empty())
        fields.pop_back();
    return fields;
}

class ProjectReader {
public:
    explicit ProjectReader(HelpProject& project) : project_(project) {}

    void Read(const std::string& text) {
        std::vector<std::string> lines = SplitLines(SkipUtf8Bom(text));
        std::string section;
        for (size_t number = 0; number < lines.size(); ++number) {
            line_ = number + 1;
            std::string_view line = TrimView(lines[number]);
            if (line.empty())
                continue;
            if (line.front() == '[' && line.back() == ']') {
                section = AsciiLowerCase(TrimView(line.substr(1, line.size() - 2)));
                continue;
            }
            if (section == "options") {
                ReadOption(line);
            } else if (section == "windows") {
                ReadWindow(line);
            } else if (section == "files") {
                ReadFile(line);
            } else if (section == "alias") {
                ReadAlias(line, project_.Path, line_, 0);
            } else if (section == "map") {
                ReadMapLine(line, project_.Path, line_, 0);
            }
        }
    }

private:
    void Warn(const std::string& file, size_t line, const std::string& message) {
        project_.Warnings.push_back("Warning: " + FileNameOf(file) + " line " + std::to_string(line) + ": " + message);
    }

    void ReadOption(std::string_view line) {
        size_t equals = line.find('=');
        if (equals == std::string_view::npos || line.front() == ';')
            return;
        std::string key = AsciiLowerCase(TrimView(line.substr(0, equals)));
        if (!project_.Options.emplace(key, Trim(line.substr(equals + 1))).second)
            Warn(project_.Path, line_,
                 "the repeated option " + Trim(line.substr(0, equals)) + " was left out; the first one counts.");
    }

    void ReadWindow(std::string_view line) {
        size_t equals = line.find('=');
        if (equals == std::string_view::npos || line.front() == ';')
            return;
        HelpWindow window;
        window.Name = Trim(line.substr(0, equals));
        window.Fields = WindowFields(line.substr(equals + 1));
        for (size_t field : {1, 2, 3, 4, 5, 7}) {
            if (field < window.Fields.size())
                window.Fields[field] = Slashes(window.Fields[field]);
        }
        for (const HelpWindow& known : project_.Windows) {
            if (SameText(known.Name, window.Name)) {
                Warn(project_.Path, line_,
                     "the repeated window " + window.Name + " was left out; the first one counts.");
                return;
            }
        }
        project_.Windows.push_back(window);
    }

    void ReadFile(std::string_view line) {
        if (line.front() == ';')
            return;
        std::string file = Slashes(line);
        while (file.rfind("./", 0) == 0)
            file.erase(0, 2);
        if (!seenFiles_.insert(AsciiLowerCase(file)).second)
            return;
        if (LeadsOutsideFolder(project_.Folder, file) || HasControlCharacter(file)) {
            Warn(project_.Path, line_,
                 ShowControlCharacters(file) + " lies outside the project's folder and was left out.");
        } else if (!IsFileInsideFolder(project_.Folder, file)) {
            Warn(project_.Path, line_, file + " does not exist and was left out.");
        } else {
            project_.Files.push_back(fs::path(file).lexically_normal().string());
        }
    }

    // "#include file" in [ALIAS] or [MAP]; gives the lines to read in its place.
    bool ReadInclude(std::string_view line, const std::string& file, size_t number, int depth, bool alias) {
        if (line.substr(0, 8) != "#include")
            return false;
        std::string header = Slashes(Trim(line.substr(8)));
        if (header.size() >= 2 && (header.front() == '"' || header.front() == '<'))
            header = header.substr(1, header.size() - 2);
        if (depth >= 8) {
            Warn(file, number, "the include " + header + " is nested too deeply and was left out.");
            return true;
        }
        if (LeadsOutsideFolder(project_.Folder, header) || HasControlCharacter(header)) {
            Warn(file, number,
                 "the include " + ShowControlCharacters(header) +
                     " lies outside the project's folder and was left out.");
            return true;
        }
        if (!IsFileInsideFolder(project_.Folder, header)) {
            Warn(file, number, "the include " + header + " does not exist and was left out.");
            return true;
        }
        const std::string path = JoinPath(project_.Folder, header);
        std::vector<std::string> lines = SplitLines(SkipUtf8Bom(ReadFileBytes(path)));
        bool comment = false;
        for (size_t i = 0; i < lines.size(); ++i) {
            std::string text = lines[i];
            // C comments in a header are not definitions.
            std::string kept;
            for (size_t at = 0; at < text.size(); ++at) {
                if (comment) {
                    if (text.compare(at, 2, "*/") == 0) {
                        comment = false;
                        ++at;
                    }
                } else if (text.compare(at, 2, "/*") == 0) {
                    comment = true;
                    ++at;
                } else if (text.compare(at, 2, "//") == 0) {
                    break;
                } else {
                    kept += text[at];
                }
            }
            std::string_view trimmed = TrimView(kept);
            if (trimmed.empty())
                continue;
            if (alias) {
                ReadAlias(trimmed, path, i + 1, depth + 1);
            } else {
                ReadMapLine(trimmed, path, i + 1, depth + 1);
            }
        }
        return true;
    }

    void ReadAlias(std::string_view line, const std::string& file, size_t number, int depth) {
        if (line.front() == ';' || ReadInclude(line, file, number, depth, true))
            return;
        if (line.front() == '#') {
            ReadMapLine(line, file, number, depth);  // a header included into [ALIAS] may hold definitions
            return;
        }
        line = line.substr(0, line.find(';'));
        size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return;
        std::string name = Trim(line.substr(0, equals));
        std::string page = Slashes(TrimView(line.substr(equals + 1)));
        if (!name.empty() && !project_.Aliases.emplace(name, page).second)
            Warn(file, number, "the repeated alias " + name + " was left out; the first one counts.");
    }

    void ReadMapLine(std::string_view line, const std::string& file, size_t number, int depth) {
        if (line.front() == ';' || ReadInclude(line, file, number, depth, false))
            return;
        line = TrimView(line.substr(0, line.find("//")));
        if (line.substr(0, 7) != "#define")
            return;
        std::string_view rest = TrimView(line.substr(7));
        size_t gap = rest.find_first_of(" \t");
        if (gap == std::string_view::npos) {
            Warn(file, number, "the definition " + std::string(rest) + " has no number and was left out.");
            return;
        }
        ContextNumber context;
        context.Name = std::string(rest.substr(0, gap));
        std::string_view value = TrimView(rest.substr(gap));
        if (value.size() >= 2 && value.front() == '(' && value.back() == ')')
            value = TrimView(value.substr(1, value.size() - 2));
        if (!ParseNumber(value, context.Number)) {
            Warn(file, number,
                 "the context number " + std::string(value) + " of " + context.Name +
                     " is not a number and was left out.");
            return;
        }
        project_.ContextNumbers.push_back(context);
    }

    HelpProject& project_;
    size_t line_ = 0;
    std::set<std::string> seenFiles_;
};

}  // namespace

std::string HelpProject::Option(const std::string& key) const {
    auto found = Options.find(key);
    return found == Options.end() ? std::string() : found->second;
}

bool HelpProject::OptionIsYes(const std::string& key) const {
    return SameText(Option(key), "yes") || Option(key) == "1" || SameText(Option(key), "true");
}

std::string HelpProject::FileOption(const std::string& key) const {
    return Slashes(Option(key));
}

bool IsFileInsideFolder(const std::string& folder, const std::string& relative) {
    if (relative.empty() || relative.front() == '/' || HasControlCharacter(relative))
        return false;
    const std::string path = JoinPath(folder, relative);
    std::error_code ec;
    return IsInsideFolder(path, folder) && IsInsideFolderOnDisk(path, folder) && fs::is_regular_file(path, ec);
}

bool LeadsOutsideFolder(const std::string& folder, const std::string& path) {
    if (path.empty())
        return false;
    const std::string full = path.front() == '/' ? path : JoinPath(folder, path);
    return !IsInsideFolder(full, folder) || !IsInsideFolderOnDisk(full, folder);
}

std::uint32_t LanguageIdOf(const std::string& value) {
    std::string_view text = TrimView(value);
    std::string_view token = text.substr(0, text.find_first_of(" \t"));
    std::uint32_t id = 0;
    if (ParseNumber(token, id) && id > 0 && id <= 0xFFFF)
        return id;
    return 0x409;
}

HelpProject ReadHelpProject(const std::string& path) {
    HelpProject project;
    CheckPathHasNoNul(path);
    project.Path = path;
    project.Folder = FolderOf(fs::absolute(path).lexically_normal().string());
    ProjectReader(project).Read(ReadFileBytes(path));
    return project;
}

}  // namespace leafsmith::chm
