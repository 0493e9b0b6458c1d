// Pages made as a stream of pieces: placeholders replaced on the way, left to right, exactly as
// replacing them one after the other in the whole text would, but without building the text and
// without searching long shared texts again on every page.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace leafsmith {

class PendingFile;

// A long text that many pages insert (a contents tree, a menu, a title list). Whether it holds a
// placeholder is found out once and remembered, for every thread.
class SharedText {
public:
    explicit SharedText(std::string text) : text_(std::move(text)) {}
    const std::string& Text() const { return text_; }
    // False only when `needle` (in lower case when `noCase`) occurs nowhere in the text, so no
    // part of it can hold it either.
    bool MayContain(std::string_view needle, bool noCase) const;

private:
    std::string text_;
    mutable std::mutex lock_;
    mutable std::vector<std::pair<std::string, bool>> known_;  // needle (with a case mark) -> found
};

// Takes text piece by piece. A piece that is part of a shared text names it.
class TextSink {
public:
    virtual ~TextSink() = default;
    virtual void Put(std::string_view text, const SharedText* shared = nullptr) = 0;
    // No more text comes.
    virtual void Close() = 0;
};

// Collects the text.
class StringSink : public TextSink {
public:
    void Put(std::string_view text, const SharedText*) override { Text.append(text); }
    void Close() override {}
    std::string Text;
};

// What a placeholder becomes: it puts its text into the sink it is given. It may be put more than
// once, when the placeholder occurs more than once.
struct Placeholder {
    std::string Name;  // in lower case when NoCase
    std::function<void(TextSink&)> Value;
    bool NoCase = false;
};
using PlaceholderList = std::vector<Placeholder>;

Placeholder TextPlaceholder(std::string name, std::string value);
Placeholder SharedPlaceholder(std::string name, std::shared_ptr<const SharedText> value);
// The shared text, each `from` in it followed by `insertion` (a page's own mark in a shared menu).
// Only the `from`s are searched for; the shared parts stay shared.
void PutMarked(TextSink& out, const SharedText& text, std::string_view from, std::string_view insertion);

// Replaces every occurrence of one placeholder in the text passing through, as ReplaceAll on the
// whole text would (left to right, not overlapping, also across pieces), and passes the text on
// with the placeholder's value in its place. At most the name's length less one byte is held back.
class ReplacingSink : public TextSink {
public:
    ReplacingSink(TextSink& next, const Placeholder& placeholder) : next_(next), placeholder_(placeholder) {}
    void Put(std::string_view text, const SharedText* shared = nullptr) override;
    void Close() override;

private:
    size_t Find(std::string_view text, size_t from) const;
    bool MatchesAt(std::string_view text, size_t at) const;  // the name, or the part of it the text still has
    void PutHeld(std::string_view& text);

    TextSink& next_;
    const Placeholder& placeholder_;
    std::string held_;  // a tail that may start an occurrence
};

// Sends the text through one replacing stage per placeholder of the lists, in order, into `out`,
// and closes it.
void ReplacePlaceholders(std::string_view text, std::initializer_list<const PlaceholderList*> lists, TextSink& out);
std::string ReplacePlaceholders(std::string_view text, std::initializer_list<const PlaceholderList*> lists);

// Writes a text file with every line break made CR LF and a CR LF after a last line without one,
// as WriteTextFile does, while the text streams in. The file gets its name only on Close; when
// the sink is destroyed without Close (an error on the way), nothing is left. `buffer` is reused
// from file to file.
class TextFileSink : public TextSink {
public:
    TextFileSink(const std::string& path, std::string& buffer);
    ~TextFileSink() override;
    void Put(std::string_view text, const SharedText* shared = nullptr) override;
    void Close() override;

private:
    void Flush();

    std::unique_ptr<PendingFile> file_;
    std::string& buffer_;
    bool afterCr_ = false;  // the last byte was a CR, whose LF is already written
    char last_ = '\n';      // the last byte of the text, '\n' before any
};

}  // namespace leafsmith
