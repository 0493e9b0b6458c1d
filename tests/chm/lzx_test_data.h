// Inputs for the compressor and archive tests: text like pages, noise, and binary records.
#pragma once

#include <random>
#include <string>

namespace leafsmith::chm::test_data {

// HTML-like text: words, tags and numbers, repetitive as pages are.
inline std::string Text(std::size_t size, unsigned seed) {
    static const char* words[] = {"the",    "help",  "page",     "<p>", "</p>\n", "<a href=\"topic", ".htm\">", "</a>",
                                  "window", "index", "contents", "<b>", "</b>",   "search",          "of",      "and"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size) {
        text += words[random() % 16];
        text += random() % 4 == 0 ? std::to_string(random() % 1000) : " ";
    }
    text.resize(size);
    return text;
}

inline std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// Eight-byte records from a small pool between random ones: matches at multiples of eight, which
// aligned-offset blocks code best.
inline std::string Records(std::size_t size, unsigned seed) {
    const std::string pool = RandomBytes(8 * 64, seed);
    std::mt19937 pick(seed + 1);
    std::string records;
    while (records.size() < size)
        records += pool.substr(8 * (pick() % 64), 8) + RandomBytes(8, static_cast<unsigned>(pick()));
    records.resize(size);
    return records;
}

}  // namespace leafsmith::chm::test_data
