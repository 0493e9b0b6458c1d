// The search index of a compiled help file ($FIftiMain): every word of every page, with the pages
// and places it occurs, in a tree of 4 KiB nodes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "chm/page_words.h"

namespace leafsmith::chm {

class FullTextIndex {
public:
    // Words are stored in `codePage` (the ANSI code page of `lcid`, see code_page.h).
    FullTextIndex(std::uint32_t lcid, unsigned codePage);
    ~FullTextIndex();
    FullTextIndex(const FullTextIndex&) = delete;
    FullTextIndex& operator=(const FullTextIndex&) = delete;

    // `topic` is the page's record number in #TOPICS; pages are added in increasing topic order
    // (ELeafsmithError otherwise). Title words are numbered from 0 and body words from 1, each in page
    // order; words the code page cannot hold, and words longer than 99 bytes in it, are left out
    // (keeping their numbers).
    void AddPage(std::uint32_t topic, const PageWords& words);

    std::size_t PageCount() const;
    std::size_t DistinctWordCount() const;
    std::size_t LeftOutWordCount() const;  // occurrences of words the code page cannot hold
    std::size_t TooLongWordCount() const;  // occurrences of words longer than 99 bytes in the code page

    // The bytes of the /$FIftiMain file.
    std::string Build() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace leafsmith::chm
