// The template group manager: the program's list of known groups, switched on and off, added,
// removed and previewed; and the template selection dialog that picks a group and a template for
// one output format.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/list_editing.h"
#include "templates/group_list.h"

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace leafsmith {

class TTempletGroup;

// Fills a picture list with a group's templates: each template's sample picture and caption.
// `accept` picks the templates (by index in the group) to show; returns their indexes in order.
std::vector<int32_t> ShowTemplatePictures(QListWidget* list, const TTempletGroup& group, const std::string& setupDir,
                                          const std::function<bool(int32_t)>& accept, bool withType);

class TfrmTempletManager : public QDialog {
    Q_OBJECT

public:
    explicit TfrmTempletManager(const std::string& setupDir, QWidget* parent = nullptr);

    void actReadExecute();
    void GroupToIni();
    void AddToGroup(bool on, const QString& name, const QString& position, int faq, int ebook, int website, int chm);
    // The name proposed for a new group: its own GroupName, else the first free "TemplatesGroup" + k.
    QString GetGroupName(const std::string& descriptionFile) const;
    void Preview();
    void actAddTempletExecute();
    void actDeleteExecute();

    // The questions of adding, replaceable so that tests can answer them; "" for Cancel.
    std::function<QString(const QString& prompt)> AskFolder;
    std::function<QString(const QString& proposal)> AskName;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateDeleteAction();
    // Runs a step; an error it raises is shown, and the dialog goes on.
    bool Guarded(const std::function<void()>& step);

    TGroupList list_;
    QTreeWidget* lvGroups;
    QListWidget* lvPreview;
    QLabel* where_;
    QAction* actAddTemplet;
    QAction* actDelete;
};

class TfrmSelectTemplet : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSelectTemplet(const std::string& setupDir, QWidget* parent = nullptr);

    // Offers the switched-on groups that have a template of the format (0 CHM, 1 Website, 2 E-book,
    // 3 FAQ), preselects the given group and template where it can, and shows the dialog modally.
    // Raises the library's error when a listed group cannot be read.
    int Execute(int32_t format, const std::string& folder, int32_t number);
    std::string SelectedFolder() const;
    int32_t SelectedNumber() const;
    void Preview();

private:
    void UpdateOk();

    std::string setupDir_;
    int32_t format_ = 0;
    StringList folders_;
    std::vector<int32_t> numbers_;  // the template index minus one of each picture
    QComboBox* cbTemplets;
    QListWidget* lvPreview;
    QPushButton* ok_;
};

}  // namespace leafsmith
