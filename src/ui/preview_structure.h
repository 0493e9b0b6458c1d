// The structure preview: how the current settings split the text files into a tree of topics.
#pragma once

#include <QDialog>
#include <memory>

class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace leafsmith {

class TAllText;
class TProjectOption;

class TfrmPreviewStructure : public QDialog {
    Q_OBJECT

public:
    // Reads and splits the project's text files as a build does. Raises the library's error when
    // they cannot be split, so that no empty dialog is ever shown.
    TfrmPreviewStructure(const TProjectOption& options, QWidget* parent = nullptr);
    ~TfrmPreviewStructure() override;

    // The image shown for a node that is expanded or collapsed, from the image it shows now.
    static int ExpandedImage(int image);
    static int CollapsedImage(int image);

private:
    void ShowImage(QTreeWidgetItem* item, int image);

    std::unique_ptr<TAllText> text_;
    QTreeWidget* tvNav;
    QPlainTextEdit* reContent;
};

}  // namespace leafsmith
