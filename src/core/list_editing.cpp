#include "core/list_editing.h"

#include <algorithm>

#include "core/strings.h"

namespace leafsmith {

ListEntries::ListEntries()
    : SameIgnoringCase([](const std::string& a, const std::string& b) { return SameText(a, b); }),
      LessIgnoringCase(
          [](const std::string& a, const std::string& b) { return AsciiLowerCase(a) < AsciiLowerCase(b); }) {}

ListEntries::ListEntries(StringList items) : ListEntries() {
    Items = std::move(items);
    Selected.assign(Items.size(), false);
}

namespace {

// Takes the item out and puts it in at `to`, selected; the items between shift by one and keep
// their selection.
void MoveItem(ListEntries& list, size_t from, size_t to) {
    std::string item = std::move(list.Items[from]);
    list.Items.erase(list.Items.begin() + static_cast<std::ptrdiff_t>(from));
    list.Selected.erase(list.Selected.begin() + static_cast<std::ptrdiff_t>(from));
    list.Items.insert(list.Items.begin() + static_cast<std::ptrdiff_t>(to), std::move(item));
    list.Selected.insert(list.Selected.begin() + static_cast<std::ptrdiff_t>(to), true);
}

size_t SortedPlace(const ListEntries& list, const std::string& item) {
    auto at = std::upper_bound(list.Items.begin(), list.Items.end(), item, list.LessIgnoringCase);
    return static_cast<size_t>(at - list.Items.begin());
}

}  // namespace

void MoveUp(ListEntries& list) {
    for (size_t i = 1; i < list.Items.size(); ++i) {
        if (list.IsSelected(i) && !list.IsSelected(i - 1))
            MoveItem(list, i, i - 1);
    }
}

void MoveDown(ListEntries& list) {
    const size_t count = list.Items.size();
    int32_t caret = list.Caret;
    bool first = true;
    for (size_t i = count; i-- > 0;) {
        if (!list.IsSelected(i))
            continue;
        if (first) {
            caret = static_cast<int32_t>(i + 1 == count ? i : i + 1);
            first = false;
        }
        if (i + 1 < count && !list.IsSelected(i + 1))
            MoveItem(list, i, i + 1);
    }
    list.Caret = caret;
}

void MoveToTop(ListEntries& list) {
    size_t target = 0;
    for (size_t i = 0; i < list.Items.size(); ++i) {
        if (list.IsSelected(i))
            MoveItem(list, i, target++);
    }
}

void MoveToBottom(ListEntries& list) {
    if (list.Items.empty())
        return;
    const size_t last = list.Items.size() - 1;
    size_t moved = 0;
    for (size_t i = list.Items.size(); i-- > 0;) {
        if (list.IsSelected(i))
            MoveItem(list, i, last - moved++);
    }
    list.Caret = static_cast<int32_t>(last);
}

void SelectAll(ListEntries& list) {
    list.Selected.assign(list.Items.size(), true);
}

void DeleteSelected(ListEntries& list) {
    auto first = std::find(list.Selected.begin(), list.Selected.end(), true);
    if (first == list.Selected.end())
        return;
    size_t position = static_cast<size_t>(first - list.Selected.begin());
    StringList kept;
    for (size_t i = 0; i < list.Items.size(); ++i) {
        if (!list.IsSelected(i))
            kept.push_back(std::move(list.Items[i]));
    }
    list.Items = std::move(kept);
    list.Selected.assign(list.Items.size(), false);
    if (list.Items.empty())
        return;
    position = std::min(position, list.Items.size() - 1);
    list.Selected[position] = true;
    list.Caret = static_cast<int32_t>(position);
}

void SortItems(ListEntries& list) {
    std::vector<size_t> order(list.Items.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return list.LessIgnoringCase(list.Items[a], list.Items[b]); });
    StringList items;
    std::vector<bool> selected;
    for (size_t i : order) {
        items.push_back(std::move(list.Items[i]));
        selected.push_back(list.IsSelected(i));
    }
    list.Items = std::move(items);
    list.Selected = std::move(selected);
    list.SortMode = true;
}

void AddItems(ListEntries& list, const StringList& names, bool removeDuplicates) {
    for (const std::string& name : names) {
        if (removeDuplicates && std::any_of(list.Items.begin(), list.Items.end(), [&](const std::string& item) {
                return list.SameIgnoringCase(item, name);
            })) {
            continue;
        }
        const size_t place = list.SortMode ? SortedPlace(list, name) : list.Items.size();
        list.Items.insert(list.Items.begin() + static_cast<std::ptrdiff_t>(place), name);
        list.Selected.insert(list.Selected.begin() + static_cast<std::ptrdiff_t>(place), false);
    }
}

void RemoveDuplicateItems(ListEntries& list) {
    StringList kept;
    for (std::string& item : list.Items) {
        if (std::none_of(kept.begin(), kept.end(),
                         [&](const std::string& other) { return list.SameIgnoringCase(other, item); })) {
            kept.push_back(std::move(item));
        }
    }
    list.Items = std::move(kept);
    list.Selected.assign(list.Items.size(), false);
}

}  // namespace leafsmith
