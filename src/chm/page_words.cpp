#include "chm/page_words.h"

#include <locale.h>
#include <wchar.h>
#include <wctype.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "chm/code_page.h"
#include "core/strings.h"

namespace leafsmith::chm {

namespace {

// ---- Characters ----

enum CharClass : std::uint8_t {
    kSeparator,
    kWordChar,    // letter or digit
    kSingleChar,  // Han ideograph or kana: a word of its own
    kMark,        // combining mark: stays with the word it follows
    kIgnored,     // soft hyphen and other invisible format characters: dropped, the word goes on
};

bool IsSingleCharWord(char32_t c) {
    return (c >= 0x3040 && c <= 0x30FF) ||  // Hiragana, Katakana
           (c >= 0x31F0 && c <= 0x31FF) ||  // Katakana extensions
           (c >= 0xFF66 && c <= 0xFF9D) ||  // half-width Katakana
           (c >= 0x3005 && c <= 0x3007) ||  // 々 〆 〇
           (c >= 0x3400 && c <= 0x4DBF) ||  // CJK extension A
           (c >= 0x4E00 && c <= 0x9FFF) ||  // CJK unified ideographs
           (c >= 0xF900 && c <= 0xFAFF) ||  // CJK compatibility ideographs
           (c >= 0x20000 && c <= 0x3FFFF);  // CJK extensions B and later
}

bool IsIgnored(char32_t c) {
    return c == 0xAD || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

// Classes and lower-case forms of the Basic Multilingual Plane, looked up once from the C.UTF-8
// locale; read-only afterwards, so any number of threads may use it.
class CharTable {
public:
    CharTable() {
        locale_ = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (locale_ == static_cast<locale_t>(nullptr))
            locale_ = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
        locale_t previous = static_cast<locale_t>(nullptr);
        if (locale_ != static_cast<locale_t>(nullptr))
            previous = uselocale(locale_);  // wcwidth follows the thread's locale
        for (char32_t c = 0; c < 0x10000; ++c) {
            class_[c] = Classify(c);
            lower_[c] = static_cast<char16_t>(c);
            if (class_[c] == kWordChar) {
                char32_t lower = Lower(c);
                if (lower < 0x10000)
                    lower_[c] = static_cast<char16_t>(lower);
            }
        }
        if (locale_ != static_cast<locale_t>(nullptr))
            uselocale(previous);
    }
    CharTable(const CharTable&) = delete;
    CharTable& operator=(const CharTable&) = delete;

    CharClass ClassOf(char32_t c) const {
        if (c < 0x10000)
            return static_cast<CharClass>(class_[c]);
        if (IsSingleCharWord(c))
            return kSingleChar;
        if (c >= 0xE0100 && c <= 0xE01EF)  // variation selectors
            return kMark;
        return HasLocale() && iswalnum_l(static_cast<wint_t>(c), locale_) ? kWordChar : kSeparator;
    }
    char32_t LowerOf(char32_t c) const { return c < 0x10000 ? lower_[c] : Lower(c); }

private:
    bool HasLocale() const { return locale_ != static_cast<locale_t>(nullptr); }

    char32_t Lower(char32_t c) const {
        if (c < 0x80)
            return c >= 'A' && c <= 'Z' ? c + 32 : c;
        return HasLocale() ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale_)) : c;
    }

    CharClass Classify(char32_t c) const {
        if (c < 0x80)
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ? kWordChar : kSeparator;
        if (c >= 0xD800 && c <= 0xDFFF)
            return kSeparator;
        if (IsSingleCharWord(c))
            return kSingleChar;
        if (IsIgnored(c))
            return kIgnored;
        if (!HasLocale())
            return c >= 0xC0 ? kWordChar : kSeparator;
        if (iswalnum_l(static_cast<wint_t>(c), locale_))
            return kWordChar;
        if (c >= 0x300 && c != 0x200B && c != 0x2028 && c != 0x2029 && c != 0x180E &&
            wcwidth(static_cast<wchar_t>(c)) == 0)
            return kMark;
        return kSeparator;
    }

    locale_t locale_;
    std::array<std::uint8_t, 0x10000> class_;
    std::array<char16_t, 0x10000> lower_;
};

const CharTable& Chars() {
    static const CharTable table;
    return table;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        char bytes[2] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(bytes, 2);
    } else if (c < 0x10000) {
        char bytes[3] = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                         static_cast<char>(0x80 | (c & 0x3F))};
        out.append(bytes, 3);
    } else {
        char bytes[4] = {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                         static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(bytes, 4);
    }
}

// Decodes the character at `pos` (not ASCII); a byte that starts no valid character is U+FFFD.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned lead = byte(pos);
    std::size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || pos + length > text.size()) {
        ++pos;
        return 0xFFFD;
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        unsigned next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        ++pos;
        return 0xFFFD;
    }
    pos += length;
    return c;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        std::size_t start = pos;
        if (DecodeUtf8(text, pos) == 0xFFFD && !(pos - start == 3 && text.compare(start, 3, "\xEF\xBF\xBD") == 0))
            return false;
    }
    return true;
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80 || c == 0x1B)  // ESC starts ISO-2022 shifts
            return false;
    return true;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiAlnum(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

bool IsHtmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view prefix) {
    return pos + prefix.size() <= text.size() && EqualsNoCase(text.substr(pos, prefix.size()), prefix);
}

std::string_view TrimHtmlSpace(std::string_view text) {
    while (!text.empty() && IsHtmlSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsHtmlSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// ---- Character references ----

struct NamedEntity {
    const char* Name;
    char32_t First;
    char32_t Second;  // 0 when the name stands for one character
    bool Legacy;      // also recognised without the ";"
};

constexpr NamedEntity kNamedEntities[] = {
#include "chm/html_entity_table.inc"
};

const NamedEntity* FindEntity(std::string_view name) {
    auto end = std::end(kNamedEntities);
    auto hit = std::lower_bound(std::begin(kNamedEntities), end, name,
                                [](const NamedEntity& entity, std::string_view key) { return entity.Name < key; });
    return hit != end && hit->Name == name ? hit : nullptr;
}

// Numeric references to C1 controls mean the Windows-1252 characters at those bytes.
constexpr char16_t kC1AsWindows1252[32] = {
    0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021, 0x2C6,  0x2030, 0x160,
    0x2039, 0x152,  0x8D,   0x17D,  0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178,
};

struct Reference {
    char32_t First = 0;  // 0: no reference here
    char32_t Second = 0;
    std::size_t End = 0;
};

// Reads the character reference at `pos` (a "&"). In attribute values a name without ";" counts
// only when nothing but the old name follows, as browsers do.
Reference ReadReference(std::string_view text, std::size_t pos, bool inAttribute) {
    Reference reference;
    std::size_t p = pos + 1;
    if (p < text.size() && text[p] == '#') {
        ++p;
        bool hex = p < text.size() && (text[p] == 'x' || text[p] == 'X');
        if (hex)
            ++p;
        std::size_t digitsStart = p;
        std::uint32_t value = 0;
        while (p < text.size()) {
            char c = text[p];
            const int digit = DigitValue(c, hex ? 16 : 10);
            if (digit < 0)
                break;
            value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit), 0x110000);
            ++p;
        }
        if (p == digitsStart)
            return reference;
        if (p < text.size() && text[p] == ';')
            ++p;
        if (value >= 0x80 && value < 0xA0)
            value = kC1AsWindows1252[value - 0x80];
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            value = 0xFFFD;
        reference.First = value;
        reference.End = p;
        return reference;
    }
    std::size_t nameEnd = p;
    while (nameEnd < text.size() && nameEnd - p < 32 && IsAsciiAlnum(text[nameEnd]))
        ++nameEnd;
    if (nameEnd == p)
        return reference;
    std::string_view name = text.substr(p, nameEnd - p);
    if (nameEnd < text.size() && text[nameEnd] == ';') {
        if (const NamedEntity* entity = FindEntity(name)) {
            reference.First = entity->First;
            reference.Second = entity->Second;
            reference.End = nameEnd + 1;
            return reference;
        }
    }
    if (inAttribute) {
        const NamedEntity* entity = FindEntity(name);
        bool followedByEquals = nameEnd < text.size() && text[nameEnd] == '=';
        if (entity && entity->Legacy && !followedByEquals) {
            reference.First = entity->First;
            reference.End = nameEnd;
        }
        return reference;
    }
    for (std::size_t length = std::min<std::size_t>(name.size(), 6); length >= 2; --length) {
        const NamedEntity* entity = FindEntity(name.substr(0, length));
        if (entity && entity->Legacy) {
            reference.First = entity->First;
            reference.End = p + length;
            return reference;
        }
    }
    return reference;
}

// `text` with its character references replaced by UTF-8.
std::string DecodeReferences(std::string_view text, bool inAttribute) {
    std::size_t amp = text.find('&');
    if (amp == std::string_view::npos)
        return std::string(text);
    std::string out(text.substr(0, amp));
    std::size_t pos = amp;
    while (pos < text.size()) {
        if (text[pos] != '&') {
            out.push_back(text[pos++]);
            continue;
        }
        Reference reference = ReadReference(text, pos, inAttribute);
        if (reference.First == 0) {
            out.push_back(text[pos++]);
            continue;
        }
        AppendUtf8(out, reference.First);
        if (reference.Second != 0)
            AppendUtf8(out, reference.Second);
        pos = reference.End;
    }
    return out;
}

// ---- Tags ----

struct TagName {
    char Text[12] = {};
    std::size_t Length = 0;  // 0 for a name too long to be one we look at
    std::string_view View() const { return {Text, Length}; }
};

// Reads the attributes of a tag from `pos` (just after its name) up to its ">" and hands each to
// `handle(name, rawValue)` with the name lower-cased. Returns the position after the ">" and sets
// `selfClosing` when the tag ends in "/>".
template <typename Handler>
std::size_t ReadAttributes(std::string_view text, std::size_t pos, bool& selfClosing, Handler&& handle) {
    selfClosing = false;
    char name[16];
    while (pos < text.size()) {
        char c = text[pos];
        if (c == '>')
            return pos + 1;
        if (IsHtmlSpace(c) || c == '/') {
            selfClosing = c == '/';
            ++pos;
            continue;
        }
        selfClosing = false;
        std::size_t nameStart = pos;
        ++pos;  // a name may start with "="
        while (pos < text.size() && !IsHtmlSpace(text[pos]) && text[pos] != '/' && text[pos] != '>' && text[pos] != '=')
            ++pos;
        std::size_t nameLength = pos - nameStart;
        if (nameLength < sizeof name)
            for (std::size_t i = 0; i < nameLength; ++i)
                name[i] = AsciiLower(text[nameStart + i]);
        else
            nameLength = 0;
        std::size_t afterName = pos;
        while (pos < text.size() && IsHtmlSpace(text[pos]))
            ++pos;
        std::string_view value;
        if (pos < text.size() && text[pos] == '=') {
            ++pos;
            while (pos < text.size() && IsHtmlSpace(text[pos]))
                ++pos;
            if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
                char quote = text[pos++];
                std::size_t close = text.find(quote, pos);
                if (close == std::string_view::npos)
                    close = text.size();
                value = text.substr(pos, close - pos);
                pos = std::min(close + 1, text.size());
            } else {
                std::size_t start = pos;
                while (pos < text.size() && !IsHtmlSpace(text[pos]) && text[pos] != '>')
                    ++pos;
                value = text.substr(start, pos - start);
            }
        } else {
            pos = afterName;
        }
        if (nameLength > 0)
            handle(std::string_view(name, nameLength), value);
    }
    return pos;
}

// Reads a tag name at `pos`; returns the position after it.
std::size_t ReadTagName(std::string_view text, std::size_t pos, TagName& name) {
    std::size_t start = pos;
    while (pos < text.size() && !IsHtmlSpace(text[pos]) && text[pos] != '/' && text[pos] != '>')
        ++pos;
    std::size_t length = pos - start;
    name.Length = length < sizeof name.Text ? length : 0;
    for (std::size_t i = 0; i < name.Length; ++i)
        name.Text[i] = AsciiLower(text[start + i]);
    return pos;
}

// Tags that do not end a word: "<b>bold</b>ly" reads as one word.
bool IsInlineTag(std::string_view name) {
    static constexpr std::string_view kInline[] = {
        "a",  "abbr", "acronym", "b",    "bdi",    "bdo",    "big",  "blink", "cite", "code", "data", "del", "dfn",
        "em", "font", "i",       "ins",  "kbd",    "mark",   "nobr", "q",     "rb",   "rp",   "rt",   "rtc", "ruby",
        "s",  "samp", "small",   "span", "strike", "strong", "sub",  "sup",   "time", "tt",   "u",    "var", "wbr",
    };
    return std::binary_search(std::begin(kInline), std::end(kInline), name);
}

// Finds "</name" followed by white space, "/" or ">" from `pos`; the end of `text` when there is none.
std::size_t FindEndTag(std::string_view text, std::size_t pos, std::string_view name) {
    while (true) {
        std::size_t open = text.find("</", pos);
        if (open == std::string_view::npos)
            return text.size();
        std::size_t after = open + 2 + name.size();
        if (StartsWithNoCase(text, open + 2, name) &&
            (after == text.size() || IsHtmlSpace(text[after]) || text[after] == '/' || text[after] == '>'))
            return open;
        pos = open + 2;
    }
}

// The position after the ">" that ends a construct starting at `pos`.
std::size_t SkipPast(std::string_view text, std::size_t pos, std::string_view terminator) {
    std::size_t hit = text.find(terminator, pos);
    return hit == std::string_view::npos ? text.size() : hit + terminator.size();
}

// ---- Charsets ----

// The charset a page declares in a <meta> tag before its <body>, or in an XML declaration.
std::string DeclaredCharset(std::string_view html) {
    std::size_t pos = 0;
    while ((pos = html.find('<', pos)) != std::string_view::npos) {
        ++pos;
        if (StartsWithNoCase(html, pos, "body") && (pos + 4 == html.size() || !IsAsciiAlnum(html[pos + 4])))
            break;
        if (!StartsWithNoCase(html, pos, "meta") || pos + 4 >= html.size() ||
            !(IsHtmlSpace(html[pos + 4]) || html[pos + 4] == '/'))
            continue;
        std::string_view charset, content;
        bool contentType = false, selfClosing = false;
        pos = ReadAttributes(html, pos + 4, selfClosing, [&](std::string_view name, std::string_view value) {
            if (name == "charset")
                charset = value;
            else if (name == "content")
                content = value;
            else if (name == "http-equiv")
                contentType = EqualsNoCase(TrimHtmlSpace(value), "content-type");
        });
        if (!charset.empty())
            return std::string(TrimHtmlSpace(charset));
        if (contentType) {
            std::string lower(content);
            std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
            std::size_t at = lower.find("charset");
            if (at != std::string::npos) {
                at += 7;
                while (at < lower.size() && IsHtmlSpace(lower[at]))
                    ++at;
                if (at < lower.size() && lower[at] == '=') {
                    ++at;
                    while (at < lower.size() && (IsHtmlSpace(lower[at]) || lower[at] == '"' || lower[at] == '\''))
                        ++at;
                    std::size_t end = at;
                    while (end < lower.size() && !IsHtmlSpace(lower[end]) && lower[end] != ';' && lower[end] != '"' &&
                           lower[end] != '\'')
                        ++end;
                    if (end > at)
                        return lower.substr(at, end - at);
                }
            }
        }
    }
    if (StartsWithNoCase(html, 0, "<?xml")) {
        std::size_t close = html.find("?>");
        std::string_view declaration = html.substr(0, close);
        std::size_t at = declaration.find("encoding");
        if (at != std::string_view::npos) {
            at = declaration.find_first_of("\"'", at);
            if (at != std::string_view::npos) {
                std::size_t end = declaration.find(declaration[at], at + 1);
                if (end != std::string_view::npos)
                    return std::string(declaration.substr(at + 1, end - at - 1));
            }
        }
    }
    return {};
}

// The iconv name for a charset label as pages write it; labels browsers read as a superset map to
// that superset ("iso-8859-1" is read as Windows-1252, "gb2312" as GBK ...).
std::string IconvCharsetName(std::string_view label) {
    std::string name(TrimHtmlSpace(label));
    std::transform(name.begin(), name.end(), name.begin(), AsciiLower);
    struct Alias {
        std::string_view Label;
        std::string_view Iconv;
    };
    static constexpr Alias kAliases[] = {
        {"utf-8", "UTF-8"},       {"utf8", "UTF-8"},        {"unicode-1-1-utf-8", "UTF-8"},
        {"utf-16", "UTF-8"},      {"utf-16le", "UTF-8"},    {"utf-16be", "UTF-8"},
        {"unicode", "UTF-8"},     {"iso-8859-1", "CP1252"}, {"iso8859-1", "CP1252"},
        {"iso_8859-1", "CP1252"}, {"latin1", "CP1252"},     {"l1", "CP1252"},
        {"us-ascii", "CP1252"},   {"ascii", "CP1252"},      {"cp819", "CP1252"},
        {"iso-8859-9", "CP1254"}, {"latin5", "CP1254"},     {"iso-8859-11", "CP874"},
        {"tis-620", "CP874"},     {"gb2312", "CP936"},      {"gbk", "CP936"},
        {"x-gbk", "CP936"},       {"csgb2312", "CP936"},    {"chinese", "CP936"},
        {"shift_jis", "CP932"},   {"shift-jis", "CP932"},   {"sjis", "CP932"},
        {"x-sjis", "CP932"},      {"ms_kanji", "CP932"},    {"windows-31j", "CP932"},
        {"csshiftjis", "CP932"},  {"euc-kr", "CP949"},      {"ks_c_5601-1987", "CP949"},
        {"korean", "CP949"},      {"big5", "CP950"},        {"x-x-big5", "CP950"},
        {"cn-big5", "CP950"},
    };
    for (const Alias& alias : kAliases)
        if (alias.Label == name)
            return std::string(alias.Iconv);
    for (std::string_view prefix : {"windows-", "x-cp", "cp"})
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                        [](char c) { return c >= '0' && c <= '9'; }))
            return "CP" + name.substr(prefix.size());
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    return name;
}

// ---- The scanner ----

class Scanner {
public:
    Scanner(std::string_view text, PageWords& page) : text_(text), page_(page), chars_(Chars()) {}

    void Run() {
        words_ = &page_.BodyWords;
        ReadText(0, text_.size(), true);
        EndWord();
    }

private:
    // Reads text from `pos` to `end`, with tags when `markup`, else only character references.
    void ReadText(std::size_t pos, std::size_t end, bool markup) {
        while (pos < end) {
            auto byte = static_cast<unsigned char>(text_[pos]);
            if (byte < 0x80) {
                char c = static_cast<char>(byte);
                if (IsAsciiAlnum(c)) {
                    if (single_)
                        EndWord();
                    word_.push_back(AsciiLower(c));
                    ++pos;
                } else if (c == '<' && markup) {
                    pos = ReadMarkup(pos);
                } else if (c == '&') {
                    Reference reference = ReadReference(text_.substr(0, end), pos, false);
                    if (reference.First == 0) {
                        EndWord();
                        ++pos;
                    } else {
                        Add(reference.First);
                        if (reference.Second != 0)
                            Add(reference.Second);
                        pos = reference.End;
                    }
                } else {
                    EndWord();
                    ++pos;
                }
            } else {
                Add(DecodeUtf8(text_.substr(0, end), pos));
            }
        }
    }

    void Add(char32_t c) {
        switch (chars_.ClassOf(c)) {
            case kWordChar:
                if (single_)
                    EndWord();
                AppendUtf8(word_, chars_.LowerOf(c));
                break;
            case kSingleChar:
                EndWord();
                AppendUtf8(word_, c);
                single_ = true;
                break;
            case kMark:
                if (!word_.empty())
                    AppendUtf8(word_, c);
                break;
            case kIgnored:
                break;
            case kSeparator:
                EndWord();
                break;
        }
    }

    void EndWord() {
        single_ = false;
        if (word_.empty())
            return;
        words_->push_back(word_);
        word_.clear();
    }

    // Reads the markup at `pos` (a "<"); returns where text goes on.
    std::size_t ReadMarkup(std::size_t pos) {
        std::size_t next = pos + 1;
        if (next >= text_.size()) {
            EndWord();
            return next;
        }
        char c = text_[next];
        if (c == '!') {
            if (text_.compare(next, 3, "!--") == 0) {
                std::size_t body = pos + 4;
                if (text_.compare(body, 1, ">") == 0)
                    return body + 1;
                if (text_.compare(body, 2, "->") == 0)
                    return body + 2;
                return SkipPast(text_, body, "-->");
            }
            if (StartsWithNoCase(text_, next, "![CDATA[")) {
                std::size_t start = pos + 9;
                std::size_t close = text_.find("]]>", start);
                if (close == std::string_view::npos)
                    close = text_.size();
                EndWord();
                ReadText(start, close, false);
                EndWord();
                return std::min(close + 3, text_.size());
            }
            EndWord();
            return SkipPast(text_, next, ">");
        }
        if (c == '?') {
            EndWord();
            return SkipPast(text_, next, ">");
        }
        if (c == '/') {
            if (next + 1 < text_.size() && IsAsciiLetter(text_[next + 1])) {
                TagName name;
                ReadTagName(text_, next + 1, name);
                if (!IsInlineTag(name.View()))
                    EndWord();
            } else {
                EndWord();
            }
            return SkipPast(text_, next, ">");
        }
        if (!IsAsciiLetter(c)) {
            EndWord();
            return next;
        }
        TagName name;
        pos = ReadTagName(text_, next, name);
        std::string_view tag = name.View();
        bool selfClosing = false;
        pos = ReadAttributes(text_, pos, selfClosing, [&](std::string_view attribute, std::string_view value) {
            if (attribute == "href" || attribute == "src") {
                std::string link = DecodeReferences(value, true);
                std::string_view trimmed = TrimHtmlSpace(link);
                if (!trimmed.empty())
                    page_.Links.emplace_back(trimmed);
            } else if (attribute == "id" || (attribute == "name" && tag == "a")) {
                if (!value.empty())
                    page_.Anchors.push_back(DecodeReferences(value, true));
            }
        });
        if (!IsInlineTag(tag))
            EndWord();
        if (selfClosing)
            return pos;
        if (tag == "script" || tag == "style" || tag == "xmp" || tag == "iframe" || tag == "noembed") {
            return SkipPast(text_, FindEndTag(text_, pos, tag), ">");
        }
        if (tag == "title") {
            std::size_t close = FindEndTag(text_, pos, tag);
            bool ended = close < text_.size();
            if (!ended)  // the title ends at the next tag
                close = std::min(text_.find('<', pos), text_.size());
            if (!titleSeen_) {
                titleSeen_ = true;
                ReadTitle(pos, close);
            }
            return ended ? SkipPast(text_, close, ">") : close;
        }
        if (tag == "textarea") {
            std::size_t close = FindEndTag(text_, pos, tag);
            ReadText(pos, close, false);
            EndWord();
            return SkipPast(text_, close, ">");
        }
        if (tag == "plaintext") {
            ReadText(pos, text_.size(), false);
            return text_.size();
        }
        return pos;
    }

    void ReadTitle(std::size_t start, std::size_t end) {
        words_ = &page_.TitleWords;
        ReadText(start, end, false);
        EndWord();
        words_ = &page_.BodyWords;
        std::string decoded = DecodeReferences(text_.substr(start, end - start), false);
        std::string& title = page_.Title;
        for (char c : decoded) {
            if (IsHtmlSpace(c)) {
                if (!title.empty() && title.back() != ' ')
                    title.push_back(' ');
            } else {
                title.push_back(c);
            }
        }
        if (!title.empty() && title.back() == ' ')
            title.pop_back();
    }

    std::string_view text_;
    PageWords& page_;
    const CharTable& chars_;
    WordList* words_ = nullptr;
    std::string word_;
    bool single_ = false;  // word_ holds a Han or kana character, which stands alone
    bool titleSeen_ = false;
};

}  // namespace

PageWords ReadPageWords(std::string_view html, const std::string& fallbackCharset) {
    std::string charset;
    if (html.substr(0, 3) == "\xEF\xBB\xBF") {
        html.remove_prefix(3);
        charset = "UTF-8";
    } else if (html.substr(0, 2) == "\xFF\xFE") {
        charset = "UTF-16LE";
        html.remove_prefix(2);
    } else if (html.substr(0, 2) == "\xFE\xFF") {
        charset = "UTF-16BE";
        html.remove_prefix(2);
    } else {
        std::string declared = DeclaredCharset(html);
        if (!declared.empty())
            charset = IconvCharsetName(declared);
    }

    std::string converted;
    std::string_view text = html;
    bool asciiOnly = charset.rfind("UTF-16", 0) != 0 && charset != "UTF-7" && IsAscii(html);
    if (!asciiOnly && charset != "UTF-8") {
        bool done = !charset.empty() && ConvertToUtf8(html, charset, converted);
        if (!done && !IsValidUtf8(html))
            done = ConvertToUtf8(html, IconvCharsetName(fallbackCharset), converted);
        if (done)
            text = converted;
    }

    PageWords page;
    Scanner(text, page).Run();
    return page;
}

}  // namespace leafsmith::chm
