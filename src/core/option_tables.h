// The three fixed option tables of a project. A project file stores only row positions, so the
// order of the rows is part of the file format and must never change.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace leafsmith {

extern const std::array<std::string_view, 28> EncodingItems;
extern const std::array<std::string_view, 23> CharacterSetItems;
extern const std::array<std::string_view, 122> LanguageItems;

constexpr int DefaultEncodingIndex = 26;
constexpr int DefaultCharacterSetIndex = 0;
constexpr int DefaultLanguageIndex = 34;

// The charset name of an EncodingItems row: the text after its first ";", trimmed.
// An index outside the table (or -1) gives "".
std::string CharsetName(int encodingIndex);
// The whole LanguageItems row, or "".
std::string LanguageString(int languageIndex);
// The CharacterSetItems row up to its first blank, or "".
std::string CharacterSetNumber(int characterSetIndex);
// Font name, ",", size, ",", character-set number: "Tahoma,8,0".
std::string FontString(const std::string& font, const std::string& size, int characterSetIndex);

}  // namespace leafsmith
