#include "ui/list_box_extend_event.h"

#include "ui/text_codec.h"

namespace leafsmith {

namespace {

// The entry's bytes ride along with the item, so that a name that is not UTF-8 is stored unchanged.
constexpr int BytesRole = Qt::UserRole;
// A sorted list stays sorted for the rest of the run; the flag lives on the widget.
constexpr const char* SortModeProperty = "leafsmithSortMode";

std::string BytesOf(const QListWidgetItem* item) {
    const QByteArray bytes = item->data(BytesRole).toByteArray();
    return bytes.isNull() ? ToBytes(item->text()) : bytes.toStdString();
}

}  // namespace

ListEntries EntriesIgnoringCase() {
    ListEntries list;
    list.SameIgnoringCase = [](const std::string& a, const std::string& b) {
        return FromBytes(a).compare(FromBytes(b), Qt::CaseInsensitive) == 0;
    };
    list.LessIgnoringCase = [](const std::string& a, const std::string& b) {
        return FromBytes(a).toLower().localeAwareCompare(FromBytes(b).toLower()) < 0;
    };
    return list;
}

ListEntries TListBoxExtendEvent::Read() const {
    ListEntries list = EntriesIgnoringCase();
    for (int i = 0; i < ListBox->count(); ++i) {
        list.Items.push_back(BytesOf(ListBox->item(i)));
        list.Selected.push_back(ListBox->item(i)->isSelected());
    }
    list.Caret = ListBox->currentRow();
    list.SortMode = ListBox->property(SortModeProperty).toBool();
    return list;
}

void TListBoxExtendEvent::Write(const ListEntries& list) {
    ListBox->setUpdatesEnabled(false);
    const QSignalBlocker blocker(ListBox);
    ListBox->clear();
    for (size_t i = 0; i < list.Items.size(); ++i) {
        auto* item = new QListWidgetItem(FromBytes(list.Items[i]), ListBox);
        item->setData(BytesRole, QByteArray::fromStdString(list.Items[i]));
        item->setSelected(list.IsSelected(i));
    }
    if (list.Caret >= 0 && list.Caret < ListBox->count())
        ListBox->setCurrentRow(list.Caret, QItemSelectionModel::NoUpdate);
    ListBox->setProperty(SortModeProperty, list.SortMode);
    ListBox->setUpdatesEnabled(true);
}

template <typename Change>
void TListBoxExtendEvent::Apply(Change change) {
    ListEntries list = Read();
    change(list);
    Write(list);
    FocusList();
}

void TListBoxExtendEvent::MoveUp() {
    Apply([](ListEntries& list) { leafsmith::MoveUp(list); });
}

void TListBoxExtendEvent::MoveDown() {
    Apply([](ListEntries& list) { leafsmith::MoveDown(list); });
}

void TListBoxExtendEvent::MoveToTop() {
    Apply([](ListEntries& list) { leafsmith::MoveToTop(list); });
}

void TListBoxExtendEvent::MoveToBottom() {
    Apply([](ListEntries& list) { leafsmith::MoveToBottom(list); });
}

void TListBoxExtendEvent::SelectAll() {
    ListBox->selectAll();
    FocusList();
}

void TListBoxExtendEvent::DeleteSelected() {
    Apply([](ListEntries& list) { leafsmith::DeleteSelected(list); });
}

void TListBoxExtendEvent::SortItems() {
    Apply([](ListEntries& list) { leafsmith::SortItems(list); });
}

void TListBoxExtendEvent::AddFiles(const QStringList& names) {
    StringList added;
    for (const QString& name : names)
        added.push_back(ToBytes(name));
    Apply([&](ListEntries& list) { AddItems(list, added, RemoveDuplicates); });
}

void TListBoxExtendEvent::SetRemoveDuplicates(bool flag) {
    if (flag == RemoveDuplicates)
        return;
    RemoveDuplicates = flag;
    if (flag) {
        ListEntries list = Read();
        RemoveDuplicateItems(list);
        Write(list);
    }
}

void TListBoxExtendEvent::FocusList() {
    ListBox->setFocus();
}

StringList TListBoxExtendEvent::Entries() const {
    return Read().Items;
}

void TListBoxExtendEvent::SetEntries(const StringList& entries) {
    ListEntries list = Read();
    list.Items.clear();
    list.Selected.clear();
    list.Caret = -1;
    AddItems(list, entries, false);
    Write(list);
}

}  // namespace leafsmith
