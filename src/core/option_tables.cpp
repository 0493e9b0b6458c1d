#include "core/option_tables.h"

#include "core/strings.h"

namespace leafsmith {

const std::array<std::string_view, 28> EncodingItems = {
    "Arabic; Windows-1256",
    "Baltic (ISO); iso-8869-4",
    "Baltic (Windows); Windows-1257",
    "Central European (ISO); iso-8859-2",
    "Central European (Windows); Windows-1250",
    "Cyrillic (ISO); iso_8859-5",
    "Cyrillic (KOI8-R); koi8-r",
    "Cyrillic (Windows); Windows-1251",
    "Greek (ISO); iso-8859-7",
    "Greek (Windows); Windows-1253",
    "Hebrew (ISO-Visual); iso-8859-8",
    "Hebrew (ISO-logical); Windows-1255",
    "Japanese (EUC); x-euc-jp",
    "Japanese (JIS); iso-2022-jp",
    "Japanese (Shift-JIS); shift_jis",
    "Korean (ISO); ISO-2022-KR",
    "Korean (KSC5601); ks_c_5601",
    "Simplified Chinese (GB2312); gb2312",
    "Traditional Chinese (BIG5); big5",
    "Thai; Windows-874",
    "Turkish (ISO); iso-8859-9",
    "Turkish (Windows); Windows-1254",
    "Unicode UTF-7; UNICODE-1-1-UTF-7",
    "Unicode UTF-8; UTF-8",
    "Vietnamese; Windows-1258",
    "Western(iso-8859-1); iso-8859-1",
    "Western(Windows-1252); Windows-1252",
    "<None>; ",
};

const std::array<std::string_view, 23> CharacterSetItems = {
    "0   ANSI",
    "1   DEFAULT",
    "2   SYMBOL",
    "77  MAC",
    "128 SHIFTJIS - Japanese",
    "129 HANGEUL - KOREAN",
    "130 JOHAB - KOREAN",
    "134 GB2312 - (PRC) Chinese (Simplified)",
    "136 CHINESE BIG5 - Chinese (Traditional)",
    "161 GREEK",
    "162 TURKISH",
    "163 VIETNAMESE",
    "177 HEBREW",
    "178 ARABIC Simplified",
    "179 ARABIC Traditional",
    "180 ARABIC user",
    "181 HEBREW user",
    "186 BALTIC",
    "204 RUSSIAN",
    "222 THAI",
    "238 EASTEUROPE",
    "254 PC437",
    "255 OEM",
};

const std::array<std::string_view, 122> LanguageItems = {
    "0x0436 Afrikaans",
    "0x041C Albanian",
    "0x0001 Arabic",
    "0x0401 Arabic (Saudi Arabia)",
    "0x0801 Arabic (Iraq)",
    "0x0C01 Arabic (Egypt)",
    "0x1001 Arabic (Libya)",
    "0x1401 Arabic (Algeria)",
    "0x1801 Arabic (Morocco)",
    "0x1C01 Arabic (Tunisia)",
    "0x2001 Arabic (Oman)",
    "0x2401 Arabic (Yemen)",
    "0x2801 Arabic (Syria)",
    "0x2C01 Arabic (Jordan)",
    "0x3001 Arabic (Lebanon)",
    "0x3401 Arabic (Kuwait)",
    "0x3801 Arabic (U.A.E.)",
    "0x3C01 Arabic (Bahrain)",
    "0x4001 Arabic (Qatar)",
    "0x042D Basque",
    "0x0402 Bulgarian",
    "0x0423 Belarusian",
    "0x0403 Catalan",
    "0x0004 Chinese",
    "0x0404 Chinese (Taiwan)",
    "0x0804 Chinese (China)",
    "0x0C04 Chinese (Hong Kong SAR)",
    "0x1004 Chinese (Singapore)",
    "0x041A Croatian",
    "0x0405 Czech",
    "0x0406 Danish",
    "0x0413 Dutch (Netherlands)",
    "0x0813 Dutch (Belgium)",
    "0x0009 English",
    "0x0409 English (United States)",
    "0x0809 English (United Kingdom)",
    "0x0C09 English (Australia)",
    "0x1009 English (Canada)",
    "0x1409 English (New Zealand)",
    "0x1809 English (Ireland)",
    "0x1C09 English (South Africa)",
    "0x2009 English (Jamaica)",
    "0x2809 English (Belize)",
    "0x2C09 English (Trinidad)",
    "0x0425 Estonian",
    "0x0438 Faeroese",
    "0x0429 Farsi",
    "0x040B Finnish",
    "0x040C French (France)",
    "0x080C French (Belgium)",
    "0x0C0C French (Canada)",
    "0x100C French (Switzerland)",
    "0x140C French (Luxembourg)",
    "0x043C Gaelic",
    "0x0407 German (Germany)",
    "0x0807 German (Switzerland)",
    "0x0C07 German (Austria)",
    "0x1007 German (Luxembourg)",
    "0x1407 German (Liechtenstein)",
    "0x0408 Greek",
    "0x040D Hebrew",
    "0x0439 Hindi",
    "0x040E Hungarian",
    "0x040F Icelandic",
    "0x0421 Indonesian",
    "0x0410 Italian (Italy)",
    "0x0810 Italian (Switzerland)",
    "0x0411 Japanese",
    "0x0412 Korean",
    "0x0426 Latvian",
    "0x0427 Lithuanian",
    "0x042F FYRO Macedonian",
    "0x043E Malay (Malaysia)",
    "0x043A Maltese",
    "0x0414 Norwegian (Bokmal)",
    "0x0814 Norwegian (Nynorsk)",
    "0x0415 Polish",
    "0x0416 Portuguese (Brazil)",
    "0x0816 Portuguese (Portugal)",
    "0x0417 Rhaeto-Romanic",
    "0x0418 Romanian",
    "0x0818 Romanian (Moldova)",
    "0x0419 Russian",
    "0x0819 Russian (Moldova)",
    "0x0C1A Serbian (Cyrillic)",
    "0x081A Serbian (Latin)",
    "0x041B Slovak",
    "0x0424 Slovenian",
    "0x042E Sorbian",
    "0x040A Spanish (Traditional Sort)",
    "0x080A Spanish (Mexico)",
    "0x0C0A Spanish (International Sort)",
    "0x100A Spanish (Guatemala)",
    "0x140A Spanish (Costa Rica)",
    "0x180A Spanish (Panama)",
    "0x1C0A Spanish (Dominican Republic)",
    "0x200A Spanish (Venezuela)",
    "0x240A Spanish (Colombia)",
    "0x280A Spanish (Peru)",
    "0x2C0A Spanish (Argentina)",
    "0x300A Spanish (Ecuador)",
    "0x340A Spanish (Chile)",
    "0x380A Spanish (Uruguay)",
    "0x3C0A Spanish (Paraguay)",
    "0x400A Spanish (Bolivia)",
    "0x440A Spanish (El Salvador)",
    "0x480A Spanish (Honduras)",
    "0x4C0A Spanish (Nicaragua)",
    "0x500A Spanish (Puerto Rico)",
    "0x0430 Sutu",
    "0x041D Swedish",
    "0x081D Swedish (Finland)",
    "0x041E Thai",
    "0x0431 Tsonga",
    "0x0432 Tswana",
    "0x041F Turkish",
    "0x0422 Ukrainian",
    "0x0420 Urdu",
    "0x042A Vietnamese",
    "0x0434 Xhosa",
    "0x043D Yiddish",
    "0x0435 Zulu",
};

namespace {

template <size_t N>
std::string_view Row(const std::array<std::string_view, N>& table, int index) {
    if (index < 0 || static_cast<size_t>(index) >= N)
        return {};
    return table[static_cast<size_t>(index)];
}

}  // namespace

std::string CharsetName(int encodingIndex) {
    std::string_view row = Row(EncodingItems, encodingIndex);
    size_t semicolon = row.find(';');
    if (semicolon == std::string_view::npos)
        return {};
    return Trim(row.substr(semicolon + 1));
}

std::string LanguageString(int languageIndex) {
    return std::string(Row(LanguageItems, languageIndex));
}

std::string CharacterSetNumber(int characterSetIndex) {
    std::string_view row = Row(CharacterSetItems, characterSetIndex);
    return std::string(row.substr(0, row.find(' ')));
}

std::string FontString(const std::string& font, const std::string& size, int characterSetIndex) {
    return font + "," + size + "," + CharacterSetNumber(characterSetIndex);
}

}  // namespace leafsmith
