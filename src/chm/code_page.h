// Windows ANSI code pages: the one a help file's language uses, and conversion into it.
#pragma once

#include <iconv.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace leafsmith::chm {

// The ANSI code page of a Windows language id (LCID): 1252 for English, 1251 for Russian, 936 for
// Chinese (PRC) and so on; 0 for a language that has none (Hindi, Armenian ...).
unsigned AnsiCodePageOfLanguage(std::uint32_t lcid);

// The iconv name of a code page ("CP1252", "CP936" ...); 0 is taken as 1252.
std::string IconvNameOfCodePage(unsigned codePage);

// Converts all of `input` with an open iconv handle into `out` (first sized for `sizeHint` bytes).
// Where it meets a sequence it cannot convert, `stuck` says how many input bytes to skip and gives
// what to write instead, or nothing to end the conversion with false.
using Unconvertible =
    std::function<std::optional<std::string_view>(const char* at, std::size_t left, std::size_t& skip)>;
bool ConvertWithIconv(iconv_t handle, std::string_view input, std::string& out, std::size_t sizeHint,
                      const Unconvertible& stuck);

// Converts bytes in `charset` (an iconv name) into UTF-8; bytes not valid in it become U+FFFD.
// False when iconv does not know the charset.
bool ConvertToUtf8(std::string_view bytes, const std::string& charset, std::string& out);

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
