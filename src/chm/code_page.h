// Windows ANSI code pages: the one a help file's language uses, and conversion into it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace leafsmith::chm {

// The ANSI code page of a Windows language id (LCID): 1252 for English, 1251 for Russian, 936 for
// Chinese (PRC) and so on; 0 for a language that has none (Hindi, Armenian ...).
unsigned AnsiCodePageOfLanguage(std::uint32_t lcid);

// The iconv name of a code page ("CP1252", "CP936" ...); 0 is taken as 1252.
std::string IconvNameOfCodePage(unsigned codePage);

// Converts UTF-8 text into one code page. One converter per thread.
class CodePageConverter {
public:
    explicit CodePageConverter(unsigned codePage);  // 0 is taken as 1252
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    unsigned CodePage() const;
    // False when the text holds a character the code page lacks or is not valid UTF-8.
    bool TryConvert(std::string_view utf8, std::string& out);
    // Characters the code page lacks become "?".
    std::string Convert(std::string_view utf8);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace leafsmith::chm
