#include "output/website_writer.h"

#include <array>

#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "output/chm_writer.h"
#include "text/all_text.h"
#include "text/text_utils.h"

namespace leafsmith {

namespace {

std::string Pair(const std::string& first, const std::string& second) {
    return "[\"" + first + ".gif\",\"" + second + ".gif\"]";
}

std::string Repeat(const std::string& text, int32_t times) {
    std::string result;
    for (int32_t i = 0; i < times; ++i)
        result += text;
    return result;
}

}  // namespace

std::string ScriptString(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '"':
                escaped += "\\\"";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\n':
                escaped += "\\n";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string TWebsiteSettings::BuildNavigation() const {
    auto bookIcons = [&](int32_t n) {
        if (n < 0)
            return FolderInsteadOfBook ? Pair("5", "6") : Pair("1", "2");
        if (n >= 1 && n <= 8) {
            int32_t first = n % 2 == 1 ? n : n - 1;
            return Pair(std::to_string(first), std::to_string(first + 1));
        }
        return Pair(std::to_string(n), std::to_string(n));
    };
    auto leafIcons = [&](int32_t n) {
        if (n < 0)
            return FolderInsteadOfBook ? Pair("11", "11") : Pair("9", "9");
        return Pair(std::to_string(n), std::to_string(n));
    };

    const int32_t base = StartFromRoot ? 1 : 2;
    std::array<int, MaxTopicLevel + 2> lineFlags{};
    std::string calls = DrawLine ? "SetEnv(0" : "SetEnv(1";
    calls += AutoCollapse ? ",true);" : ",false);";
    int32_t previous = Text->Count() > 0 ? Text->Topic(0).Level : 1;
    for (const TBlock& topic : Text->Topics) {
        const int32_t level = topic.Level;
        const std::string i = std::to_string(topic.Index);
        const std::string title = ScriptString(topic.Title());
        const bool nested = StartFromRoot || level > 1;
        std::string prefix;
        std::string item;
        std::string icons;
        if (topic.HasChildren) {
            prefix = nested ? "IAM(" + i + ");" : "";
            item =
                "LC(\"" + i + "\",\"" + title + "\",\"" + (topic.IsPage ? topic.FileName : "#") + "\",\"" + i + "\");";
            icons = bookIcons(topic.Icon);
        } else {
            prefix = nested ? "IC();" : "";
            item = "CL(\"" + title + "\",\"" + topic.FileName + "\",\"" + i + "\");";
            icons = leafIcons(topic.Icon);
        }
        const int position = topic.IsLastSibling ? (topic.Index == 0 ? 3 : 2) : (topic.Index == 0 ? 0 : 1);
        lineFlags[static_cast<size_t>(level)] = topic.IsLastSibling ? 0 : 1;
        if (level < previous)
            calls += Repeat("DE();", previous - level);
        calls += "SV(" + i + "," + std::to_string(position) + "," + icons + ");";
        if (level > previous)
            calls += Repeat("DS(" + std::to_string(topic.Index - 1) + ");", level - previous);
        calls += "DB();";
        for (int32_t k = base; k < level; ++k)
            calls += lineFlags[static_cast<size_t>(k)] ? "IB(1);" : "IB(0);";
        calls += prefix + item + "DT();\r\n";
        previous = level;
    }
    return calls + Repeat("DE();", previous - 1) + "collapseAll();";
}

std::string ScriptOfElement(const std::string& html) {
    std::string_view script = html;
    const size_t open = FindNoCase(script, "<script");
    const size_t openEnd = open == std::string_view::npos ? open : script.find('>', open);
    const size_t close = AsciiLowerCase(html).rfind("</script>");
    if (openEnd != std::string_view::npos && close != std::string::npos && close > openEnd) {
        script = script.substr(openEnd + 1, close - openEnd - 1);
        if (script.substr(0, 2) == "\r\n")
            script.remove_prefix(2);
    }
    if (script.size() >= 2 && script.substr(script.size() - 2) == "\r\n")
        script.remove_suffix(2);
    return std::string(script);
}

void TWebsiteSettings::PrepareSharedTexts() {
    if (!sharedNavigation_ || sharedNavigation_->Text() != Navigation)
        sharedNavigation_ = std::make_shared<SharedText>(Navigation);
    const std::string treeScript = ScriptOfElement(ScriptLibrary);
    if (!sharedTreeScript_ || sharedTreeScript_->Text() != treeScript)
        sharedTreeScript_ = std::make_shared<SharedText>(treeScript);
}

PlaceholderList TWebsiteSettings::FormatPlaceholders() {
    const std::string defaultPage = DefaultTopicIndex >= 0 ? Text->Topic(DefaultTopicIndex).FileName : std::string();
    return {TextPlaceholder("($DEFAULTPAGE$)", defaultPage), SharedPlaceholder("($NAVIGATION$)", sharedNavigation_),
            SharedPlaceholder("($TREESCRIPT$)", sharedTreeScript_)};
}

void TWebsiteSettings::CheckSettings() {
    CheckTemplateFormat(Options->OutputChmProject_WebSite, Options->CHMFileName_WebSite, Options->CompileChm_WebSite);
    ProgramFile("webjs.dat");
}

void TWebsiteSettings::Make() {
    const TTemplate& templ = PrepareTemplate();
    ScriptLibrary = ReadTextFile(ProgramFile("webjs.dat"));
    DeleteOldFiles("Cannot deleted the old files when created Website format. The old files might be used, continue?");
    CreateFolders(HtmlFolder());
    const std::string contentTemplate = ReadContentTemplate(templ);
    Navigation = BuildNavigation();
    WritePages(ReplaceAll(contentTemplate, "($WEBSITEJS$)", ScriptLibrary));
    WriteOtherTemplates(templ.OtherTemplates);
    DoInfo(this, "Copying files...");
    CopyTemplateFiles(templ.CopyFiles);
    CopyResources(HtmlFolder(), "*.*");
    if (Options->OutputChmProject_WebSite) {
        MakeHelpProject(Options->CHMFileName_WebSite,
                        "html\\" + (templ.Default.empty() ? std::string("index.htm") : templ.Default),
                        Options->CompileChm_WebSite, "Creating Chm Project...");
    }
}

}  // namespace leafsmith
