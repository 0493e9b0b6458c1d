// What the compiler reads from an HTML page: its title, its words for the search index, and the
// links and anchors it holds.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace leafsmith::chm {

// Words one after another, each ended by a NUL byte: a page of millions of words takes little more
// memory than its text.
class WordList {
public:
    class Iterator {
    public:
        explicit Iterator(const char* at) : at_(at) {}
        std::string_view operator*() const { return at_; }
        Iterator& operator++() {
            at_ += std::char_traits<char>::length(at_) + 1;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

    private:
        const char* at_;
    };

    WordList() = default;
    WordList(std::initializer_list<std::string_view> words) {
        for (std::string_view word : words)
            push_back(word);
    }
    void push_back(std::string_view word) {  // a word holds no NUL byte
        bytes_.append(word);
        bytes_ += '\0';
        ++count_;
    }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    Iterator begin() const { return Iterator(bytes_.data()); }
    Iterator end() const { return Iterator(bytes_.data() + bytes_.size()); }
    std::vector<std::string> ToVector() const {
        std::vector<std::string> words;
        for (std::string_view word : *this)
            words.emplace_back(word);
        return words;
    }

private:
    std::string bytes_;
    std::size_t count_ = 0;
};

struct PageWords {
    std::string Title;                 // UTF-8, entities decoded, white space collapsed; empty when none
    WordList TitleWords;               // UTF-8, lower-cased, in page order
    WordList BodyWords;                // UTF-8, lower-cased, in page order
    std::vector<std::string> Links;    // href and src values as the page writes them (entities decoded,
                                       // outer white space removed, empty ones left out)
    std::vector<std::string> Anchors;  // id values and <a name> values
};

// Reads a page whose bytes are in the charset its <meta> declares; when it declares none, UTF-8 if
// the bytes are valid UTF-8, else `fallbackCharset` (an iconv name such as "CP1252"). Words are runs
// of Unicode letters and digits, with the combining marks that follow them; Chinese and Japanese
// characters are words of one character each. Inline tags (<b>, <span> ...) and comments do not end
// a word; other tags do. Script and style content and comments are not text. Safe to call from
// several threads at once.
PageWords ReadPageWords(std::string_view html, const std::string& fallbackCharset);

}  // namespace leafsmith::chm
