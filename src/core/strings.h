// Byte-string helpers shared by every module. Text is bytes: nothing here knows an encoding,
// letter case is folded for ASCII letters only, and "blank" means a byte at or below the space.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leafsmith {

inline bool IsBlankByte(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Removes blanks and control bytes (everything at or below the space) from both ends.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

char AsciiLower(char c);
std::string AsciiLowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);  // equal, ASCII letters compared without case
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Replaces every occurrence of `from` (which must not be empty) in one pass.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
// The same on `text` itself; does not copy when `from` does not occur.
void ReplaceAllInPlace(std::string& text, std::string_view from, std::string_view to);
// The same, but finds `from` without regard to ASCII case.
std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);
// How many times `from` (not empty) occurs, as ReplaceAll finds it.
size_t CountOccurrences(std::string_view text, std::string_view from);
// Where `needle` (not empty, already in lower case) next occurs in `text` from `pos`, ASCII letters
// compared without case; npos when it does not.
size_t FindNoCase(std::string_view text, std::string_view needle, size_t pos = 0);

// Reads a 32-bit integer as a project file stores it: decimal digits with an optional sign, or
// hexadecimal after "$" or "0x"/"0X" without one. Hexadecimal values up to FFFFFFFF wrap into the negative
// range. With `allowLeadingBlanks`, spaces and tabs in front are skipped. Anything else, or a
// value that does not fit, gives nothing.
std::optional<int32_t> ParseInt32(std::string_view text, bool allowLeadingBlanks = false);

// The value of a digit in base 10 or 16 (either case), or -1 when `c` is none.
int DigitValue(char c, int base);

// Splits at LF, CR LF or a lone CR; a final line break does not start another line.
std::vector<std::string> SplitLines(std::string_view text);

// Cuts a leading UTF-8 byte order mark, which editors put in front of files that are otherwise plain.
std::string_view SkipUtf8Bom(std::string_view text);

// True when the text holds a control byte (below the space, or DEL), which no file name or path may hold.
bool HasControlCharacter(std::string_view text);
// The text with each control byte written as \xNN, so that a message can show a name that holds one.
std::string ShowControlCharacters(std::string_view text);

}  // namespace leafsmith
