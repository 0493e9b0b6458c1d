#include "core/strings.h"

#include <algorithm>

#include <limits>

namespace leafsmith {

std::string_view TrimView(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlankByte(text[begin]))
        ++begin;
    while (end > begin && IsBlankByte(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

std::string TrimLeft(std::string_view text) {
    size_t begin = 0;
    while (begin < text.size() && IsBlankByte(text[begin]))
        ++begin;
    return std::string(text.substr(begin));
}

std::string TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && IsBlankByte(text[end - 1]))
        --end;
    return std::string(text.substr(0, end));
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = AsciiLower(c);
    return result;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t pos = 0;
    while (true) {
        size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos)
            break;
        result.append(text, pos, hit - pos);
        result.append(to);
        pos = hit + from.size();
    }
    result.append(text, pos);
    return result;
}

size_t CountOccurrences(std::string_view text, std::string_view from) {
    size_t count = 0;
    for (size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, at + from.size()))
        ++count;
    return count;
}

void ReplaceAllInPlace(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty() || text.find(from) == std::string::npos)
        return;
    text = ReplaceAll(text, from, to);
}

// Only the places that start with the needle's first character are compared, without a lower-case
// copy of the text.
size_t FindNoCase(std::string_view text, std::string_view needle, size_t pos) {
    const char first = needle[0];
    const char other = first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A') : first;
    size_t lower = text.find(first, pos);
    size_t upper = other == first ? std::string_view::npos : text.find(other, pos);
    while (true) {
        const size_t at = std::min(lower, upper);
        if (at == std::string_view::npos || at + needle.size() > text.size())
            return std::string_view::npos;
        size_t i = 1;
        while (i < needle.size() && AsciiLower(text[at + i]) == needle[i])
            ++i;
        if (i == needle.size())
            return at;
        // Each of the two is looked for again only once it has been passed.
        if (at == lower)
            lower = text.find(first, at + 1);
        if (at == upper)
            upper = text.find(other, at + 1);
    }
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(text);
    const std::string needle = AsciiLowerCase(from);
    std::string result;
    result.reserve(text.size() + to.size());
    size_t pos = 0;
    while (true) {
        size_t hit = FindNoCase(text, needle, pos);
        if (hit == std::string::npos)
            break;
        result.append(text, pos, hit - pos);
        result.append(to);
        pos = hit + from.size();
    }
    result.append(text, pos);
    return result;
}

std::optional<int32_t> ParseInt32(std::string_view text, bool allowLeadingBlanks) {
    size_t i = 0;
    if (allowLeadingBlanks) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    }
    bool negative = false;
    bool signed_ = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        signed_ = true;
        ++i;
    }
    std::string_view digits = text.substr(i);
    bool hex = false;
    if (!digits.empty() && digits[0] == '$') {
        hex = true;
        digits.remove_prefix(1);
    } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        hex = true;
        digits.remove_prefix(2);
    }
    // Only decimal numbers take a sign; "-$3" and "-0x3" are neither decimal nor hexadecimal.
    if (digits.empty() || (hex && signed_))
        return std::nullopt;
    uint64_t value = 0;
    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    for (char c : digits) {
        const int digit = DigitValue(c, hex ? 16 : 10);
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }
    uint32_t bits = static_cast<uint32_t>(value);
    if (negative)
        bits = 0u - bits;
    return static_cast<int32_t>(bits);
}

int DigitValue(char c, int base) {
    const int value = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    return value < base ? value : -1;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\n' || c == '\r') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string_view SkipUtf8Bom(std::string_view text) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return text;
}

bool HasControlCharacter(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

std::string ShowControlCharacters(std::string_view text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += digits[byte >> 4];
            shown += digits[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace leafsmith
