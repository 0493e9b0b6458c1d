// The editing rules of an ordered list with a multiple selection: the text-file list of a project
// and the four lists of the text analysis. The window keeps the entries in a list box and hands
// them here for every command.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace leafsmith {

using StringList = std::vector<std::string>;

struct ListEntries {
    StringList Items;
    std::vector<bool> Selected;  // one flag per item
    int32_t Caret = -1;          // the item with the focus rectangle, -1 for none
    bool SortMode = false;       // once sorted, added items go to their sorted place

    // Items that compare equal ignoring letter case, and the order of a sort ignoring case.
    std::function<bool(const std::string&, const std::string&)> SameIgnoringCase;
    std::function<bool(const std::string&, const std::string&)> LessIgnoringCase;

    ListEntries();
    explicit ListEntries(StringList items);
    bool IsSelected(size_t index) const { return index < Selected.size() && Selected[index]; }
};

// A run of selected items moves up one place; a run at the top stays.
void MoveUp(ListEntries& list);
// A run of selected items moves down one place; the caret goes to the lowest selected item's new
// place.
void MoveDown(ListEntries& list);
// The selected items go to the top, in their order.
void MoveToTop(ListEntries& list);
// The selected items go to the bottom, in their order; the caret goes to the last item.
void MoveToBottom(ListEntries& list);
void SelectAll(ListEntries& list);
// Deletes the selected items and selects the item that followed the first of them (or the new
// last item).
void DeleteSelected(ListEntries& list);
// Sorts ignoring case and stays in sort mode.
void SortItems(ListEntries& list);
// Appends (or, in sort mode, inserts at the sorted place) each name; with `removeDuplicates`,
// names already present ignoring case are skipped.
void AddItems(ListEntries& list, const StringList& names, bool removeDuplicates);
// Keeps the first of the items that are equal ignoring case; clears the selection.
void RemoveDuplicateItems(ListEntries& list);

}  // namespace leafsmith
