#include "core/strings.h"

#include <gtest/gtest.h>

namespace leafsmith {
namespace {

TEST(Strings, ReplaceAllNoCaseFindsEveryCaseOfTheTextWithoutOverlaps) {
    EXPECT_EQ(ReplaceAllNoCase("<HEAD>x</Head>y</HEAD>", "</head>", "S</head>"), "<HEAD>xS</head>yS</head>");
    EXPECT_EQ(ReplaceAllNoCase("aAbAB", "ab", "-"), "a--");
    EXPECT_EQ(ReplaceAllNoCase("aaa", "AA", "-"), "-a");
    EXPECT_EQ(ReplaceAllNoCase("xyz", "xyz!", "-"), "xyz");
    EXPECT_EQ(ReplaceAllNoCase("", "a", "-"), "");
    EXPECT_EQ(ReplaceAllNoCase("\xC4\xE4", "\xE4", "-"), "\xC4-");  // only ASCII letters fold
}

}  // namespace
}  // namespace leafsmith
