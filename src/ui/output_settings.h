// The output settings dialog: one page per format with its template, its help project and its
// options. It edits the main window's working copy of the per-format settings.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "core/chm_window.h"

class QCheckBox;
class QLabel;
class QStackedWidget;

namespace leafsmith {

class TProjectOption;
class TfrmDesigner;
class TfrmSelectTemplet;

class TfrmSetting : public QDialog {
    Q_OBJECT

public:
    // The designer and the selection dialog are the program's long-lived ones (not owned).
    TfrmSetting(const std::string& setupDir, TfrmDesigner* designer, TfrmSelectTemplet* selection,
                QWidget* parent = nullptr);

    // Shows the page of a format (0 CHM, 1 Website, 2 E-book, 3 FAQ, 4 Single HTML) with its caption.
    void SetPage(int format);
    // Every field of every page from the per-format settings, and back.
    void CopyFrom(const TProjectOption& settings);
    void CopyTo(TProjectOption& settings) const;
    // Shows the sample picture and name of the format's template. Raises the library's error when
    // the group or its picture cannot be read.
    void RefreshTemplatePreview(int format);
    void SelectTemplate(int format);
    void OpenDesigner(int format);

    std::array<TCHMProject, 4> Windows;
    std::array<std::string, 4> Folders;
    std::array<int32_t, 4> Numbers{};

private:
    QWidget* ChmPage();
    QWidget* WebsitePage();
    QWidget* EbookPage();
    QWidget* FaqPage();
    QWidget* SingleHtmlPage();
    QWidget* TemplateGroup(int format, const char* image, const char* label, const char* button,
                           const QString& caption);
    QWidget* HelpProjectGroup(int format, const char* output, const char* fileName, const char* compile,
                              const char* designer);
    void OutputChmProjectClick(QCheckBox* output);

    std::string setupDir_;
    TfrmDesigner* designer_;
    TfrmSelectTemplet* selection_;
    QStackedWidget* pages_;
};

}  // namespace leafsmith
