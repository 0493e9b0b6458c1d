#include "chm/chm_compiler.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "chm/chm_archive.h"
#include "chm/code_page.h"
#include "chm/full_text_index.h"
#include "chm/internal_files.h"
#include "chm/page_words.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/strings.h"

#ifndef LEAFSMITH_VERSION
#define LEAFSMITH_VERSION "0"
#endif

namespace leafsmith::chm {

namespace fs = std::filesystem;

namespace {

bool IsPage(const std::string& path) {
    const std::string extension = AsciiLowerCase(fs::path(path).extension().string());
    return extension == ".htm" || extension == ".html" || extension == ".xhtml" || extension == ".shtml";
}

std::string WithThousands(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

std::string Plural(std::uint64_t count, const std::string& one, const std::string& many) {
    return WithThousands(count) + " " + (count == 1 ? one : many);
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && DigitValue(text[i + 1], 16) >= 0 &&
            DigitValue(text[i + 2], 16) >= 0) {
            out += static_cast<char>(DigitValue(text[i + 1], 16) * 16 + DigitValue(text[i + 2], 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// A link's target inside the help file: "html/4.htm" and the anchor "sec" for "4.htm#sec" on
// html/3.htm. False for links that leave the file (another scheme, another help file) and for
// empty ones.
bool ResolveLink(const std::string& page, std::string link, std::string& target, std::string& anchor, bool& outside) {
    outside = false;
    link = ReplaceAll(TrimView(link), "\\", "/");
    if (link.empty() || link.rfind("//", 0) == 0)
        return false;
    size_t colon = link.find(':');
    if (colon != std::string::npos && link.find_first_of("/?#") > colon)
        return false;  // http:, mailto:, javascript:, ms-its: ...
    size_t hash = link.find('#');
    anchor = hash == std::string::npos ? std::string() : link.substr(hash + 1);
    link = link.substr(0, std::min(hash, link.find('?')));
    if (link.empty()) {
        target = page;
        return true;
    }
    fs::path resolved =
        link.front() == '/' ? fs::path(link.substr(1)) : fs::path(page).parent_path() / PercentDecoded(link);
    resolved = resolved.lexically_normal();
    const std::string text = resolved.generic_string();
    if (text.empty() || text == "." || text.rfind("..", 0) == 0) {
        outside = true;
        target = link;
        return true;
    }
    target = text;
    return true;
}

// The values of <param name="..." value="..."> in a sitemap, for the given name.
std::vector<std::string> SitemapValues(const std::string& sitemap, const std::string& wanted) {
    std::vector<std::string> values;
    const std::string lower = AsciiLowerCase(sitemap);
    size_t at = 0;
    while ((at = lower.find("<param", at)) != std::string::npos) {
        size_t end = lower.find('>', at);
        if (end == std::string::npos)
            break;
        auto attribute = [&](const std::string& key) -> std::optional<std::string> {
            size_t found = at;
            while ((found = lower.find(key, found)) != std::string::npos && found < end) {
                size_t i = found + key.size();
                if (IsBlankByte(lower[found - 1])) {
                    while (i < end && IsBlankByte(lower[i]))
                        ++i;
                    if (i < end && lower[i] == '=') {
                        ++i;
                        while (i < end && IsBlankByte(lower[i]))
                            ++i;
                        char quote = lower[i];
                        if (quote == '"' || quote == '\'') {
                            size_t close = sitemap.find(quote, i + 1);
                            if (close == std::string::npos || close > end)
                                close = end;
                            return sitemap.substr(i + 1, close - i - 1);
                        }
                        size_t stop = i;
                        while (stop < end && !IsBlankByte(lower[stop]))
                            ++stop;
                        return sitemap.substr(i, stop - i);
                    }
                }
                found += key.size();
            }
            return std::nullopt;
        };
        auto name = attribute("name");
        if (name && SameText(*name, wanted)) {
            if (auto value = attribute("value"))
                values.push_back(*value);
        }
        at = end;
    }
    return values;
}

size_t SitemapEntryCount(const std::string& sitemap) {
    const std::string lower = AsciiLowerCase(sitemap);
    size_t count = 0;
    for (size_t at = 0; (at = lower.find("text/sitemap", at)) != std::string::npos; at += 12)
        ++count;
    return count;
}

// Warnings that could run into thousands are cut short after a number of them.
class WarningList {
public:
    explicit WarningList(const std::function<void(const std::string&)>& sink) : sink_(sink) {}
    void Add(const std::string& kind, const std::string& message) {
        size_t& count = counts_[kind];
        if (++count <= kLimit && sink_)
            sink_("Warning: " + message);
    }
    void Close() {
        for (const auto& [kind, count] : counts_) {
            if (count > kLimit && sink_)
                sink_("Warning: " + WithThousands(count - kLimit) + " more " + kind + " not shown.");
        }
    }

private:
    static constexpr size_t kLimit = 50;
    const std::function<void(const std::string&)>& sink_;
    std::map<std::string, size_t> counts_;
};

struct PageLinks {
    std::string Path;
    std::vector<std::string> Links;
};

class Compiler {
public:
    Compiler(const HelpProject& project, const std::string& target, const CompileCallbacks& callbacks)
        : project_(project),
          target_(target),
          callbacks_(callbacks),
          threads_(callbacks.Threads ? callbacks.Threads : std::max(1u, std::thread::hardware_concurrency())),
          warnings_(callbacks.Warning) {}

    CompileCounts Run() {
        Say("Compiling " + FileNameOf(project_.Path) + " into " + FileNameOf(target_));
        for (const std::string& warning : project_.Warnings)
            Warn(warning);
        ChooseLanguage();
        for (const char* key : {"binary toc", "binary index"}) {
            if (project_.OptionIsYes(key))
                Say(std::string(key[7] == 't' ? "Binary TOC" : "Binary Index") +
                    "=Yes has no effect: the help file holds the " + (key[7] == 't' ? "contents" : "index") +
                    " as text, which every viewer reads.");
        }
        const bool search = project_.OptionIsYes("full-text search");
        ChmArchiveWriter archive(target_, languageId_, threads_);
        FullTextIndex index(languageId_, codePage_);
        for (const std::string& file : project_.Files)
            compiled_.insert(AsciiLowerCase(file));
        const std::string contentsFile = SitemapOption("contents file");
        const std::string indexFile = SitemapOption("index file");

        std::vector<TopicEntry> topics;
        AddFiles(archive, search ? &index : nullptr, topics);
        std::string contents = AddSitemap(archive, contentsFile);
        std::string keywords = AddSitemap(archive, indexFile);
        counts_.ContentsEntries = SitemapEntryCount(contents);
        counts_.IndexEntries = SitemapEntryCount(keywords);
        CheckSitemap(contentsFile, contents);
        CheckSitemap(indexFile, keywords);
        CheckLinks();

        StringTable strings;
        std::vector<ContextEntry> contexts = ContextTable(strings);
        TopicTables tables = BuildTopicTables(topics, strings);
        const std::string windows =
            BuildWindowsFile(project_.Windows, strings, project_.Option("compatibility") == "1.0",
                             [&](const std::string& text) { return converter_->Convert(text); });
        archive.AddCompressedFile("/#TOPICS", tables.Topics);
        archive.AddCompressedFile("/#URLTBL", tables.UrlTable);
        archive.AddCompressedFile("/#URLSTR", tables.UrlStrings);
        if (!contexts.empty())
            archive.AddCompressedFile("/#IVB", BuildContextTable(contexts));
        if (!project_.Windows.empty())
            archive.AddCompressedFile("/#WINDOWS", windows);
        if (search) {
            counts_.SearchWords = index.DistinctWordCount();
            if (index.LeftOutWordCount() > 0)
                Warn("Warning: " + Plural(index.LeftOutWordCount(), "word was", "words were") +
                     " left out of the search index: code page " + std::to_string(codePage_) +
                     " of the project's language cannot hold them.");
            archive.AddCompressedFile("/$FIftiMain", index.Build());
        }
        archive.AddStoredFile("/#SYSTEM", SystemFile(contentsFile, indexFile, search));
        archive.AddCompressedFile("/#STRINGS", strings.Bytes());
        archive.AddStoredFile("/#ITBITS", {});
        warnings_.Close();

        Say(Plural(counts_.Pages, "page", "pages") + ", " + Plural(counts_.OtherFiles, "other file", "other files") +
            ", " + Plural(counts_.ContentsEntries, "contents entry", "contents entries") + ", " +
            Plural(counts_.IndexEntries, "index entry", "index entries") + ", " +
            Plural(counts_.ContextIds, "context ID", "context IDs") +
            (search ? ", " + Plural(counts_.SearchWords, "word", "words") + " in the search index" : std::string()));
        archive.Finish();
        struct stat info {};
        if (::stat(target_.c_str(), &info) == 0)
            counts_.FileBytes = static_cast<std::uint64_t>(info.st_size);
        Say("Wrote " + FileNameOf(target_) + ": " + WithThousands(counts_.FileBytes) + " bytes (" +
            WithThousands(counts_.ContentBytes) + " bytes of content)");
        return counts_;
    }

private:
    void Say(const std::string& line) {
        if (callbacks_.Progress)
            callbacks_.Progress(line);
    }
    void Warn(const std::string& line) {
        if (callbacks_.Warning)
            callbacks_.Warning(line);
    }
    void Events() {
        if (!callbacks_.ProcessEvents)
            return;
        auto now = std::chrono::steady_clock::now();
        if (now - lastEvents_ >= std::chrono::milliseconds(30)) {
            callbacks_.ProcessEvents();
            lastEvents_ = now;
        }
    }

    void ChooseLanguage() {
        languageId_ = LanguageIdOf(project_.Option("language"));
        codePage_ = AnsiCodePageOfLanguage(languageId_);
        if (codePage_ == 0) {
            char id[16];
            std::snprintf(id, sizeof id, "0x%X", static_cast<unsigned>(languageId_));
            Warn(std::string("Warning: the language ") + id +
                 " has no Windows code page; titles and the search index use code page 1252.");
            codePage_ = 1252;
        }
        converter_ = std::make_unique<CodePageConverter>(codePage_);
        fallbackCharset_ = IconvNameOfCodePage(codePage_);
    }

    // A contents or index file the project names; "" when it names none or names one that cannot be read.
    std::string SitemapOption(const std::string& key) {
        std::string file = project_.FileOption(key);
        if (file.empty())
            return {};
        if (!IsFileInsideFolder(project_.Folder, file)) {
            Warn("Warning: the " + std::string(key == "contents file" ? "contents" : "index") + " file " +
                 ShowControlCharacters(file) + " does not exist inside the project's folder and was left out.");
            return {};
        }
        return fs::path(file).lexically_normal().generic_string();
    }

    // Reads the files in batches; the pages of a batch are read for words on every core while the
    // archive compresses what came before.
    void AddFiles(ChmArchiveWriter& archive, FullTextIndex* index, std::vector<TopicEntry>& topics) {
        const std::vector<std::string>& files = project_.Files;
        size_t next = 0;
        while (next < files.size()) {
            std::vector<std::pair<std::string, std::string>> batch;  // path, bytes
            size_t bytes = 0;
            while (next < files.size() && batch.size() < 256 && bytes < (16u << 20)) {
                const std::string& file = files[next++];
                try {
                    batch.emplace_back(file, ReadFileBytes(JoinPath(project_.Folder, file)));
                    bytes += batch.back().second.size();
                } catch (const EFileError& error) {
                    warnings_.Add("unreadable files", std::string(error.what()) + "; the file was left out.");
                    compiled_.erase(AsciiLowerCase(file));
                }
            }
            std::vector<PageWords> words(batch.size());
            std::vector<std::thread> readers;
            const unsigned workers = std::min<unsigned>(threads_, static_cast<unsigned>(batch.size()));
            std::exception_ptr failure;
            std::mutex failureLock;
            for (unsigned worker = 0; worker < workers; ++worker) {
                readers.emplace_back([&, worker] {
                    try {
                        for (size_t i = worker; i < batch.size(); i += workers) {
                            if (IsPage(batch[i].first))
                                words[i] = ReadPageWords(batch[i].second, fallbackCharset_);
                        }
                    } catch (...) {
                        std::lock_guard<std::mutex> hold(failureLock);
                        failure = std::current_exception();
                    }
                });
            }
            try {
                for (const auto& [path, content] : batch) {
                    archive.AddCompressedFile("/" + path, content);
                    counts_.ContentBytes += content.size();
                    Events();
                }
            } catch (...) {
                for (std::thread& reader : readers)
                    reader.join();
                throw;
            }
            for (std::thread& reader : readers)
                reader.join();
            if (failure)
                std::rethrow_exception(failure);
            for (auto& file : batch)
                std::string().swap(file.second);  // compressed and read: only the words are needed now
            for (size_t i = 0; i < batch.size(); ++i) {
                const std::string& path = batch[i].first;
                if (!IsPage(path)) {
                    ++counts_.OtherFiles;
                    continue;
                }
                ++counts_.Pages;
                const auto topic = static_cast<std::uint32_t>(topics.size());
                topics.push_back({converter_->Convert(path), converter_->Convert(words[i].Title)});
                if (index)
                    index->AddPage(topic, words[i]);
                words[i].TitleWords = {};
                words[i].BodyWords = {};
                anchors_[AsciiLowerCase(path)] =
                    std::unordered_set<std::string>(words[i].Anchors.begin(), words[i].Anchors.end());
                pageLinks_.push_back({path, std::move(words[i].Links)});
                Events();
            }
        }
    }

    std::string AddSitemap(ChmArchiveWriter& archive, const std::string& file) {
        if (file.empty())
            return {};
        std::string text;
        try {
            text = ReadFileBytes(JoinPath(project_.Folder, file));
        } catch (const EFileError& error) {
            Warn(std::string("Warning: ") + error.what() + "; the file was left out.");
            return {};
        }
        if (!archive.HasFile("/" + file)) {
            archive.AddCompressedFile("/" + file, text);
            compiled_.insert(AsciiLowerCase(file));
        }
        return text;
    }

    bool IsCompiled(const std::string& path) const { return compiled_.count(AsciiLowerCase(path)) > 0; }

    void CheckSitemap(const std::string& file, const std::string& text) {
        for (const std::string& local : SitemapValues(text, "Local")) {
            std::string target;
            std::string anchor;
            bool outside = false;
            if (!ResolveLink("", local, target, anchor, outside))
                continue;
            if (outside || !IsCompiled(target))
                warnings_.Add("entries of " + file, file + " lists " + local + ", which is not in the project.");
        }
    }

    void CheckLinks() {
        for (const PageLinks& page : pageLinks_) {
            std::set<std::string> reported;
            for (const std::string& link : page.Links) {
                std::string target;
                std::string anchor;
                bool outside = false;
                if (!ResolveLink(page.Path, link, target, anchor, outside) || !reported.insert(link).second)
                    continue;
                if (outside) {
                    warnings_.Add("links outside the help file",
                                  page.Path + " links to " + link + ", which lies outside the help file.");
                } else if (!IsCompiled(target)) {
                    warnings_.Add("links to missing files",
                                  page.Path + " links to " + link + ", which is not in the project.");
                } else if (!anchor.empty()) {
                    auto anchors = anchors_.find(AsciiLowerCase(target));
                    if (anchors != anchors_.end() && !anchors->second.count(PercentDecoded(anchor)))
                        warnings_.Add("links to missing anchors",
                                      page.Path + " links to " + link + ", an anchor that does not exist.");
                }
            }
        }
    }

    std::vector<ContextEntry> ContextTable(StringTable& strings) {
        std::vector<ContextEntry> contexts;
        std::set<std::uint32_t> numbers;
        std::set<std::string> reportedAliases;
        for (const ContextNumber& context : project_.ContextNumbers) {
            auto alias = project_.Aliases.find(context.Name);
            if (alias == project_.Aliases.end()) {
                warnings_.Add("context numbers without alias",
                              "the context number " + context.Name + " has no alias and was left out.");
                continue;
            }
            std::string page = fs::path(alias->second).lexically_normal().generic_string();
            if (!IsCompiled(page)) {
                if (reportedAliases.insert(context.Name).second)
                    warnings_.Add(
                        "aliases of pages not compiled",
                        "the alias " + context.Name + " was left out: its page " + alias->second + " is not compiled.");
                continue;
            }
            if (!numbers.insert(context.Number).second) {
                warnings_.Add("repeated context numbers", "the context number " + std::to_string(context.Number) +
                                                              " of " + context.Name +
                                                              " is used twice; the first one counts.");
                continue;
            }
            contexts.push_back({context.Number, strings.Add(converter_->Convert(page))});
        }
        std::sort(contexts.begin(), contexts.end(),
                  [](const ContextEntry& a, const ContextEntry& b) { return a.Number < b.Number; });
        counts_.ContextIds = contexts.size();
        return contexts;
    }

    std::string SystemFile(const std::string& contentsFile, const std::string& indexFile, bool search) {
        SystemInfo info;
        info.LanguageId = languageId_;
        info.FullTextSearch = search;
        info.Dbcs = project_.OptionIsYes("dbcs");
        info.ContentsFile = converter_->Convert(contentsFile);
        info.IndexFile = converter_->Convert(indexFile);
        std::string topic = project_.FileOption("default topic");
        if (!topic.empty()) {
            topic = fs::path(topic).lexically_normal().generic_string();
            if (!IsCompiled(topic))
                Warn("Warning: the default topic " + topic + " is not in the project.");
        } else {
            for (const std::string& file : project_.Files) {
                if (IsPage(file) && IsCompiled(file)) {
                    topic = file;
                    break;
                }
            }
        }
        info.DefaultTopic = converter_->Convert(topic);
        info.Title = converter_->Convert(project_.Option("title"));
        info.DefaultWindow = converter_->Convert(project_.Option("default window"));
        info.DefaultFont = converter_->Convert(project_.Option("default font"));
        std::string stem = fs::path(target_).stem().string();
        info.CompiledFileStem = converter_->Convert(AsciiLowerCase(stem));
        info.CompilerVersion = CompilerVersion();
        return BuildSystemFile(info);
    }

    const HelpProject& project_;
    std::string target_;
    const CompileCallbacks& callbacks_;
    unsigned threads_;
    WarningList warnings_;
    std::uint32_t languageId_ = 0x409;
    unsigned codePage_ = 1252;
    std::string fallbackCharset_;
    std::unique_ptr<CodePageConverter> converter_;
    std::unordered_set<std::string> compiled_;  // lower case
    std::unordered_map<std::string, std::unordered_set<std::string>> anchors_;
    std::vector<PageLinks> pageLinks_;
    CompileCounts counts_;
    std::chrono::steady_clock::time_point lastEvents_{};
};

}  // namespace

std::string CompilerVersion() {
    return std::string("Leafsmith ") + LEAFSMITH_VERSION;
}

CompileCounts CompileHelpProject(const HelpProject& project, const std::string& target,
                                 const CompileCallbacks& callbacks) {
    return Compiler(project, target, callbacks).Run();
}

}  // namespace leafsmith::chm
