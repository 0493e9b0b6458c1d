#include "core/list_editing.h"

#include <gtest/gtest.h>

namespace leafsmith {
namespace {

ListEntries Letters(std::initializer_list<size_t> selected) {
    ListEntries list({"a", "b", "c", "d", "e"});
    for (size_t index : selected)
        list.Selected[index] = true;
    return list;
}

std::string Shown(const ListEntries& list) {
    std::string text;
    for (size_t i = 0; i < list.Items.size(); ++i)
        text += list.Items[i] + (list.IsSelected(i) ? "*" : "") + (static_cast<int32_t>(i) == list.Caret ? "^" : "");
    return text;
}

TEST(ListEditing, MovesKeepRunsTogetherAndPutTheCaret) {
    ListEntries list = Letters({1, 2});
    MoveUp(list);
    EXPECT_EQ(Shown(list), "b*c*ade");
    MoveUp(list);
    EXPECT_EQ(Shown(list), "b*c*ade");

    list = Letters({0, 2});
    MoveUp(list);
    EXPECT_EQ(Shown(list), "a*c*bde");
    list = Letters({0, 2});
    MoveToBottom(list);
    EXPECT_EQ(Shown(list), "bdea*c*^");
    list = Letters({1, 3});
    MoveToTop(list);
    EXPECT_EQ(Shown(list), "b*d*ace");

    list = Letters({3, 4});
    MoveDown(list);
    EXPECT_EQ(Shown(list), "abcd*e*^");
    list = Letters({2});
    MoveDown(list);
    EXPECT_EQ(Shown(list), "abdc*^e");
}

TEST(ListEditing, DeleteSelectsTheFollowingItem) {
    ListEntries list = Letters({1, 3});
    DeleteSelected(list);
    EXPECT_EQ(Shown(list), "ac*^e");
    list = Letters({4});
    DeleteSelected(list);
    EXPECT_EQ(Shown(list), "abcd*^");
    list = Letters({});
    DeleteSelected(list);
    EXPECT_EQ(Shown(list), "abcde");
}

TEST(ListEditing, DuplicatesIgnoreCaseAndSortedListsStaySorted) {
    ListEntries list({"a", "A", "b", "a"});
    RemoveDuplicateItems(list);
    EXPECT_EQ(list.Items, (StringList{"a", "b"}));
    AddItems(list, {"B", "c", "C"}, true);
    EXPECT_EQ(list.Items, (StringList{"a", "b", "c"}));
    AddItems(list, {"B"}, false);
    EXPECT_EQ(list.Items, (StringList{"a", "b", "c", "B"}));

    ListEntries sorted({"delta", "Alpha", "charlie"});
    SortItems(sorted);
    EXPECT_EQ(sorted.Items, (StringList{"Alpha", "charlie", "delta"}));
    AddItems(sorted, {"Bravo", "echo"}, true);
    EXPECT_EQ(sorted.Items, (StringList{"Alpha", "Bravo", "charlie", "delta", "echo"}));
}

}  // namespace
}  // namespace leafsmith
