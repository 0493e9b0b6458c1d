// The editing commands of the text-file list (and the delete of the text-analysis lists), carried
// out by the library's list rules on the entries of a list widget.
#pragma once

#include <QListWidget>
#include <QStringList>

#include "core/list_editing.h"

namespace leafsmith {

// An empty list whose entries compare as the window shows them: letter case ignored the Unicode way,
// sorted in the user's language.
ListEntries EntriesIgnoringCase();

class TListBoxExtendEvent {
public:
    explicit TListBoxExtendEvent(QListWidget* list) : ListBox(list) {}

    void MoveUp();
    void MoveDown();
    void MoveToTop();
    void MoveToBottom();
    void SelectAll();
    void DeleteSelected();
    void SortItems();
    void AddFiles(const QStringList& names);
    void SetRemoveDuplicates(bool flag);
    void FocusList();

    // The list's entries as the project stores them (bytes), and back.
    StringList Entries() const;
    void SetEntries(const StringList& entries);

    QListWidget* ListBox;  // not owned
    bool RemoveDuplicates = true;

private:
    ListEntries Read() const;
    void Write(const ListEntries& list);
    template <typename Change>
    void Apply(Change change);
};

}  // namespace leafsmith
