// What the compiler reads from an HTML page: its title, its words for the search index, and the
// links and anchors it holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace leafsmith::chm {

struct PageWords {
    std::string Title;                    // UTF-8, entities decoded, white space collapsed; empty when none
    std::vector<std::string> TitleWords;  // UTF-8, lower-cased, in page order
    std::vector<std::string> BodyWords;   // UTF-8, lower-cased, in page order
    std::vector<std::string> Links;       // href and src values as the page writes them (entities decoded,
                                          // outer white space removed, empty ones left out)
    std::vector<std::string> Anchors;     // id values and <a name> values
};

// Reads a page whose bytes are in the charset its <meta> declares; when it declares none, UTF-8 if
// the bytes are valid UTF-8, else `fallbackCharset` (an iconv name such as "CP1252"). Words are runs
// of Unicode letters and digits, with the combining marks that follow them; Chinese and Japanese
// characters are words of one character each. Inline tags (<b>, <span> ...) and comments do not end
// a word; other tags do. Script and style content and comments are not text. Safe to call from
// several threads at once.
PageWords ReadPageWords(std::string_view html, const std::string& fallbackCharset);

}  // namespace leafsmith::chm
