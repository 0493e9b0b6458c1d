#include "chm/code_page.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>

#include "core/errors.h"

namespace leafsmith::chm {

namespace {

// Code pages by primary language (the low 10 bits of the LCID).
struct PrimaryLanguage {
    std::uint16_t Id;
    std::uint16_t CodePage;
};

constexpr PrimaryLanguage kPrimaryLanguages[] = {
    {0x01, 1256},  // Arabic
    {0x02, 1251},  // Bulgarian
    {0x03, 1252},  // Catalan
    {0x04, 936},   // Chinese (PRC unless the full LCID says otherwise)
    {0x05, 1250},  // Czech
    {0x06, 1252},  // Danish
    {0x07, 1252},  // German
    {0x08, 1253},  // Greek
    {0x09, 1252},  // English
    {0x0A, 1252},  // Spanish
    {0x0B, 1252},  // Finnish
    {0x0C, 1252},  // French
    {0x0D, 1255},  // Hebrew
    {0x0E, 1250},  // Hungarian
    {0x0F, 1252},  // Icelandic
    {0x10, 1252},  // Italian
    {0x11, 932},   // Japanese
    {0x12, 949},   // Korean
    {0x13, 1252},  // Dutch
    {0x14, 1252},  // Norwegian
    {0x15, 1250},  // Polish
    {0x16, 1252},  // Portuguese
    {0x17, 1252},  // Romansh
    {0x18, 1250},  // Romanian
    {0x19, 1251},  // Russian
    {0x1A, 1250},  // Croatian, Serbian and Bosnian in Latin script
    {0x1B, 1250},  // Slovak
    {0x1C, 1250},  // Albanian
    {0x1D, 1252},  // Swedish
    {0x1E, 874},   // Thai
    {0x1F, 1254},  // Turkish
    {0x20, 1256},  // Urdu
    {0x21, 1252},  // Indonesian
    {0x22, 1251},  // Ukrainian
    {0x23, 1251},  // Belarusian
    {0x24, 1250},  // Slovenian
    {0x25, 1257},  // Estonian
    {0x26, 1257},  // Latvian
    {0x27, 1257},  // Lithuanian
    {0x28, 1251},  // Tajik
    {0x29, 1256},  // Farsi
    {0x2A, 1258},  // Vietnamese
    {0x2C, 1254},  // Azeri (Latin)
    {0x2D, 1252},  // Basque
    {0x2E, 1252},  // Sorbian
    {0x2F, 1251},  // Macedonian
    {0x32, 1252},  // Tswana
    {0x34, 1252},  // Xhosa
    {0x35, 1252},  // Zulu
    {0x36, 1252},  // Afrikaans
    {0x38, 1252},  // Faroese
    {0x3B, 1252},  // Sami
    {0x3C, 1252},  // Irish
    {0x3E, 1252},  // Malay
    {0x3F, 1251},  // Kazakh
    {0x40, 1251},  // Kyrgyz
    {0x41, 1252},  // Swahili
    {0x42, 1250},  // Turkmen
    {0x43, 1254},  // Uzbek (Latin)
    {0x44, 1251},  // Tatar
    {0x50, 1251},  // Mongolian (Cyrillic)
    {0x52, 1252},  // Welsh
    {0x56, 1252},  // Galician
    {0x62, 1252},  // Frisian
    {0x64, 1252},  // Filipino
    {0x6B, 1252},  // Quechua
    {0x6D, 1251},  // Bashkir
    {0x6E, 1252},  // Luxembourgish
    {0x6F, 1252},  // Greenlandic
    {0x7E, 1252},  // Breton
    {0x80, 1256},  // Uyghur
    {0x82, 1252},  // Occitan
    {0x83, 1252},  // Corsican
    {0x84, 1252},  // Alsatian
    {0x85, 1251},  // Yakut
};

// Languages whose code page depends on the country or the script.
struct FullLanguage {
    std::uint32_t Lcid;
    std::uint16_t CodePage;
};

constexpr FullLanguage kFullLanguages[] = {
    {0x0404, 950},   // Chinese, Taiwan
    {0x0C04, 950},   // Chinese, Hong Kong
    {0x1404, 950},   // Chinese, Macao
    {0x7C04, 950},   // Chinese, traditional
    {0x0C1A, 1251},  // Serbian, Cyrillic
    {0x1C1A, 1251},  // Serbian, Cyrillic (Bosnia and Herzegovina)
    {0x201A, 1251},  // Bosnian, Cyrillic
    {0x281A, 1251},  // Serbian, Cyrillic (Serbia)
    {0x301A, 1251},  // Serbian, Cyrillic (Montenegro)
    {0x082C, 1251},  // Azeri, Cyrillic
    {0x0843, 1251},  // Uzbek, Cyrillic
    {0x0850, 0},     // Mongolian, traditional script
};

// The length of the UTF-8 character that starts at `text`, 1 for a byte that starts none.
std::size_t Utf8CharLength(const char* text, std::size_t left) {
    auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
    if (length > left)
        return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return 1;
    return length;
}

}  // namespace

unsigned AnsiCodePageOfLanguage(std::uint32_t lcid) {
    lcid &= 0xFFFF;
    for (const FullLanguage& language : kFullLanguages)
        if (language.Lcid == lcid)
            return language.CodePage;
    std::uint32_t primary = lcid & 0x3FF;
    for (const PrimaryLanguage& language : kPrimaryLanguages)
        if (language.Id == primary)
            return language.CodePage;
    return 0;
}

bool ConvertWithIconv(iconv_t handle, std::string_view input, std::string& out, std::size_t sizeHint,
                      const Unconvertible& stuck) {
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    out.assign(std::max<std::size_t>(sizeHint, 16), '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t used = 0;
    auto step = [&](char** from, std::size_t* fromLeft) {
        char* to = out.data() + used;
        std::size_t toLeft = out.size() - used;
        const std::size_t result = iconv(handle, from, fromLeft, &to, &toLeft);
        const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
        used = out.size() - toLeft;
        if (error == E2BIG || (error != 0 && out.size() - used < 8))
            out.resize(out.size() * 2);
        return error;
    };
    while (inLeft > 0) {
        const int error = step(&in, &inLeft);
        if (error == 0 || error == E2BIG)
            continue;
        std::size_t skip = 1;
        const std::optional<std::string_view> replacement = stuck(in, inLeft, skip);
        if (!replacement)
            return false;
        skip = std::min(std::max<std::size_t>(skip, 1), inLeft);
        in += skip;
        inLeft -= skip;
        if (out.size() - used < replacement->size() + 8)
            out.resize(out.size() * 2 + replacement->size());
        out.replace(used, replacement->size(), *replacement);
        used += replacement->size();
    }
    while (step(nullptr, nullptr) == E2BIG) {
    }
    out.resize(used);
    return true;
}

bool ConvertToUtf8(std::string_view bytes, const std::string& charset, std::string& out) {
    iconv_t handle = iconv_open("UTF-8", charset.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1))
        return false;
    ConvertWithIconv(handle, bytes, out, bytes.size() * 2 + 16, [](const char*, std::size_t, std::size_t& skip) {
        skip = 1;
        return std::optional<std::string_view>("\xEF\xBF\xBD");
    });
    iconv_close(handle);
    return true;
}

std::string IconvNameOfCodePage(unsigned codePage) {
    return "CP" + std::to_string(codePage == 0 ? 1252 : codePage);
}

struct CodePageConverter::State {
    unsigned CodePage = 1252;
    iconv_t Handle = reinterpret_cast<iconv_t>(-1);

    // Converts all of `utf8`; unconvertible characters become "?" when `substitute`, else the
    // conversion stops and fails.
    bool Run(std::string_view utf8, std::string& out, bool substitute) {
        return ConvertWithIconv(Handle, utf8, out, utf8.size() + 16,
                                [&](const char* at, std::size_t left, std::size_t& skip) {
                                    skip = Utf8CharLength(at, left);  // a character the code page lacks, or bad UTF-8
                                    return substitute ? std::optional<std::string_view>("?") : std::nullopt;
                                });
    }
};

CodePageConverter::CodePageConverter(unsigned codePage) : state_(std::make_unique<State>()) {
    state_->CodePage = codePage == 0 ? 1252 : codePage;
    std::string name = IconvNameOfCodePage(state_->CodePage);
    state_->Handle = iconv_open(name.c_str(), "UTF-8");
    if (state_->Handle == reinterpret_cast<iconv_t>(-1))
        throw ELeafsmithError("This system cannot convert text into code page " + std::to_string(state_->CodePage) +
                              " (iconv has no " + name + ").");
}

CodePageConverter::~CodePageConverter() {
    iconv_close(state_->Handle);
}

unsigned CodePageConverter::CodePage() const {
    return state_->CodePage;
}

bool CodePageConverter::TryConvert(std::string_view utf8, std::string& out) {
    return state_->Run(utf8, out, false);
}

std::string CodePageConverter::Convert(std::string_view utf8) {
    std::string out;
    state_->Run(utf8, out, true);
    return out;
}

}  // namespace leafsmith::chm
