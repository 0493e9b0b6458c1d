// Inline tags ("[B]", "[IMG]", "[TOPIC]", "[INC]", "[FONT=...]", ...) and simple tables.
#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "core/user_questions.h"
#include "text/all_text.h"
#include "text/text_analysis.h"
#include "text/text_utils.h"

namespace leafsmith {

namespace {

// Download addresses of the Flash player, for pages that still embed Flash movies.
constexpr const char* FlashCabinet =
    "https://fpdownload.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=6,0,29,0";
constexpr const char* FlashPlayerPage = "https://get.adobe.com/flashplayer/";

std::string Attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + value + "\"";
}

}  // namespace

enum class TTextAnalysis::PairKind {
    SImg,
    Img,
    Link,
    LinkN,
    Bold,
    Italic,
    Underline,
    Flash,
    Topic,
    Inc,
    Font,
    Anchor,
    TImg,
    Email
};

std::string TTextAnalysis::InlineTags(std::string_view text, bool encode) {
    const TProjectOption& options = Settings();
    std::string html = encode && options.HtmlEncode ? EncodeHtml(text) : std::string(text);
    // Every tag and replacement below needs a "[" or the escape "^]".
    if (html.find('[') == std::string::npos && html.find("^]") == std::string::npos)
        return html;

    html = ReplaceTagPairs(html, "[SIMG]", "[/SIMG]", PairKind::SImg);
    html = ReplaceTagPairs(html, "[IMG]", "[/IMG]", PairKind::Img);
    html = ReplaceTagPairs(html, "[LINK]", "[/LINK]", PairKind::Link);
    html = ReplaceTagPairs(html, "[LINKN]", "[/LINKN]", PairKind::LinkN);
    html = ReplaceTagPairs(html, "[B]", "[/B]", PairKind::Bold);
    html = ReplaceTagPairs(html, "[I]", "[/I]", PairKind::Italic);
    html = ReplaceTagPairs(html, "[U]", "[/U]", PairKind::Underline);
    html = ReplaceTagPairs(html, "[FLASH]", "[/FLASH]", PairKind::Flash);
    html = ReplaceTagPairs(html, "[TOPIC]", "[/TOPIC]", PairKind::Topic);
    html = ReplaceTagPairs(html, "[INC]", "[/INC]", PairKind::Inc);
    html = ReplaceTagPairs(html, "[FONT=", "]", PairKind::Font);
    html = ReplaceTagPairs(html, "[ANCHOR]", "[/ANCHOR]", PairKind::Anchor);
    html = ReplaceTagPairs(html, "[TIMG]", "[/TIMG]", PairKind::TImg);
    html = ReplaceTagPairs(html, "[EMAIL]", "[/EMAIL]", PairKind::Email);

    html = ReplaceAll(html, "[/FONT]", "</span>");
    html = ReplaceAll(html, "[CENTER]", "<div align=\"center\">");
    html = ReplaceAll(html, "[/CENTER]", "</div>");
    html = ReplaceAll(html, "[BR]", "<br>");
    html = ReplaceAll(html, "[BS]", "&nbsp;");
    html = ReplaceAll(html, "[^", "[");
    html = ReplaceAll(html, "^]", "]");
    return html;
}

std::string TTextAnalysis::ReplaceTagPairs(std::string_view text, std::string_view open, std::string_view close,
                                           PairKind kind) {
    size_t start = text.find(open);
    if (start == std::string_view::npos)
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t pos = 0;
    while (start != std::string_view::npos) {
        size_t end = text.find(close, start + open.size());
        if (end == std::string_view::npos)
            break;
        result.append(text, pos, start - pos);
        result += PairHtml(kind, SplitTrim(text.substr(start + open.size(), end - start - open.size()), "|"));
        pos = end + close.size();
        start = text.find(open, pos);
    }
    result.append(text, pos);
    return result;
}

std::string TTextAnalysis::PairHtml(PairKind kind, const StringList& args) {
    if (args.empty())
        return {};  // a pair with nothing between its tags gives nothing
    const std::string& first = args[0];
    const std::string source = ResourcePrefix + first;
    auto divided = [](const char* align, const std::string& image) {
        return std::string("<div align=\"") + align + "\">" + image + "</div>";
    };
    auto blockAlignment = [](const std::string& word) -> const char* {
        if (SameText(word, "CENTER"))
            return "center";
        if (SameText(word, "DRIGHT"))
            return "right";
        if (SameText(word, "DLEFT"))
            return "left";
        return nullptr;
    };
    switch (kind) {
        case PairKind::Bold:
            return "<b>" + first + "</b>";
        case PairKind::Italic:
            return "<i>" + first + "</i>";
        case PairKind::Underline:
            return "<u>" + first + "</u>";
        case PairKind::SImg:
            return "<img src=\"" + source + "\" align=\"" + (args.size() == 1 ? std::string("absbottom") : args[1]) +
                   "\">";
        case PairKind::Img:
            if (args.size() == 1)
                return "<img src=\"" + source + "\">";
            if (args.size() == 2) {
                if (const char* align = blockAlignment(args[1]))
                    return divided(align, "<img src=\"" + source + "\">");
                return "<img src=\"" + source + "\" align=\"" + args[1] + "\">";
            }
            if (args.size() == 3) {
                return "<img src=\"" + source + "\"" + Attribute("width", args[1]) + Attribute("height", args[2]) + ">";
            }
            if (const char* align = blockAlignment(args[1])) {
                return divided(align, "<img src=\"" + source + "\"" + Attribute("width", args[2]) +
                                          Attribute("height", args[3]) + ">");
            }
            return "<img src=\"" + source + "\"" + Attribute("align", args[1]) + Attribute("width", args[2]) +
                   Attribute("height", args[3]) + ">";
        case PairKind::TImg:
            if (args.size() == 2) {
                return "<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\"" + source +
                       "\"></td></tr><tr><td height=\"19\" align=\"center\"><strong>" + args[1] +
                       "</strong></td></tr></table>";
            }
            return "<img src=\"" + source + "\">";
        case PairKind::Link:
            return "<a href=\"" + first + "\">" + (args.size() == 1 ? first : args[1]) + "</a>";
        case PairKind::LinkN:
            return "<a href=\"" + first + "\" target=\"_blank\">" + (args.size() == 1 ? first : args[1]) + "</a>";
        case PairKind::Email:
            return "<a href=\"mailto:" + first + "\">" + (args.size() == 1 ? first : args[1]) + "</a>";
        case PairKind::Anchor:
            return "<a name=\"" + first + "\"></a>";
        case PairKind::Flash: {
            std::string size;
            if (args.size() >= 2)
                size += Attribute("width", args[1]);
            if (args.size() >= 3)
                size += Attribute("height", args[2]);
            return std::string("<object classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" codebase=\"") +
                   FlashCabinet + "\"" + size + "><param name=\"movie\" value=\"" + source +
                   "\"><param name=\"quality\" value=\"high\"><embed src=\"" + source +
                   "\" quality=\"high\" pluginspage=\"" + FlashPlayerPage +
                   "\" type=\"application/x-shockwave-flash\"" + size + "></embed></object>";
        }
        case PairKind::Topic:
            return TopicLink(args);
        case PairKind::Inc:
            return IncludeFile(first);
        case PairKind::Font: {
            std::string family, color, fontSize;
            for (const std::string& arg : args) {
                if (!arg.empty() && arg.front() == '#') {
                    color = "color:" + arg + ";";
                } else if (!arg.empty() && arg.front() >= '0' && arg.front() <= '9') {
                    fontSize = "font-size:" + arg + ";";
                } else {
                    family = "font-family:" + arg + ";";
                }
            }
            return "<span style=\"" + family + color + fontSize + "\">";
        }
    }
    return {};
}

int32_t TTextAnalysis::FindTopicByTitle(const std::string& title) {
    if (AllText == nullptr)
        return -1;
    if (!titleIndex_ || titleIndexOf_ != AllText) {
        // Titles are looked up for every link; the topic tree is fixed during a build.
        auto index = std::make_shared<std::unordered_map<std::string, int32_t>>();
        index->reserve(AllText->Topics.size());
        for (const TBlock& topic : AllText->Topics)
            index->emplace(topic.Lines.empty() ? std::string() : topic.Lines[0], topic.Index);
        titleIndex_ = std::move(index);
        titleIndexOf_ = AllText;
    }
    auto found = titleIndex_->find(title);
    return found == titleIndex_->end() ? -1 : found->second;
}

std::string TTextAnalysis::TopicLink(const StringList& args) {
    int32_t index = FindTopicByTitle(args[0]);
    if (index < 0)
        return args.size() == 1 ? args[0] : args[1];
    // A heading without a page of its own has no file (and no anchor on the FAQ page): the link
    // goes to the first page after it, its first child's. The single page anchors every topic.
    if (OutputKind != KindSingleHtml) {
        while (index < AllText->Count() - 1 && AllText->Topic(index).HasChildren && !AllText->Topic(index).IsPage)
            ++index;
    }
    std::string target;
    if (OutputKind == KindFaq || OutputKind == KindSingleHtml) {
        target = args.size() == 3 ? "#" + args[2] : "#a" + std::to_string(index);
    } else {
        target = AllText->Topic(index).FileName;
        if (args.size() == 3)
            target += "#" + args[2];
    }
    const std::string& text = args.size() == 2 ? args[1] : args[0];
    return "<a href=\"" + target + "\">" + text + "</a>";
}

std::string TTextAnalysis::IncludeFile(const std::string& name) {
    const TProjectOption& options = Settings();
    // An empty include folder means the project's folder (not the root of the file system).
    std::string folder = options.IncludePath.empty() ? std::string() : WithTrailingSlash(options.IncludePath);
    std::string path = folder + ReplaceAll(name, "\\", "/");
    if (ConfineIncludes) {
        const std::string root = options.ResolvePath(folder.empty() ? std::string(".") : folder);
        const std::string resolved = options.ResolvePath(path);
        if (name.empty() || name.front() == '/' || name.front() == '\\' || !IsInsideFolder(resolved, root) ||
            !IsInsideFolderOnDisk(resolved, root)) {
            if (Questions) {
                Questions->ShowError("Exception Occur :Cannot read the included file \"" + path +
                                     "\": it lies outside the include folder \"" + root + "\".");
            }
            return {};
        }
    }
    try {
        return ReadTextFile(options.ResolvePath(path));
    } catch (const EFileError& error) {
        if (Questions) {
            Questions->ShowError("Exception Occur :Cannot read the included file \"" + path + "\": " + error.Reason());
        }
        return {};
    }
}

std::string TTextAnalysis::SimpleTable(std::string_view content) {
    StringList rows = SplitLines(content);
    std::string html = OutputKind == KindSingleHtml
                           ? "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" class=simpleTable>"
                           : "<table cellspacing=\"1\" class=simpleTable>";
    if (rows.size() >= 2) {
        const size_t columns = SplitTrim(rows[1], "|").size();
        for (size_t row = 1; row < rows.size(); ++row) {
            const std::string cell = row == 1 ? "th" : "td";
            StringList cells = SplitTrim(rows[row], "|");
            html += "<tr class=simpleTable>";
            for (size_t column = 0; column < columns; ++column) {
                html += "<" + cell + " class=simpleTable>";
                html += column < cells.size() ? InlineTags(cells[column], true) : std::string("&nbsp;");
                html += "</" + cell + ">";
            }
            html += "</tr>";
        }
    }
    return html + "</table>";
}

}  // namespace leafsmith
