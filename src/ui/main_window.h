// The main window: the project's options on eight pages, the project commands, the build and its log.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "build/build_command.h"
#include "core/main_form.h"
#include "core/project_option.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QTabWidget;

namespace leafsmith {

class TListBoxExtendEvent;
class TfrmAbout;
class TfrmCompileHHP;
class TfrmDesigner;
class TfrmSelectTemplet;
class TfrmSetting;

class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // `setupDir` is the folder of the program's data; `projectPath` the project to open, or "" for
    // the default project, shown unnamed.
    TfrmMain(const std::string& setupDir, const std::string& projectPath, QWidget* parent = nullptr);
    ~TfrmMain() override;

    void FormToOptions();
    void OptionsToForm();
    bool IsFormChanged() const;
    bool SaveProject();
    void OpenProjectFile(const std::string& path);
    bool AskToSave();

    void actNewExecute();
    void actOpenProjectExecute();
    bool actSaveAsExecute();
    void actMakeExecute();
    void actBrowserExecute();
    void btnPreviewStuctureClick();
    // The "Settings..." button of a format (0 CHM, 1 Website, 2 E-book, 3 FAQ, 4 Single HTML): the
    // output settings dialog on the working copy of the per-format settings.
    void OpenFormatSettings(int format);

    // The program's long-lived dialogs, made after the main window.
    TfrmSetting* Settings() const { return settings_; }
    TfrmCompileHHP* CompileDialog() const { return compile_; }

    // The file dialogs, replaceable so that tests can answer them. Each returns "" for Cancel.
    std::function<QString(const QString& caption, const QString& filter)> AskOpenFile;
    std::function<QString(const QString& caption, const QString& filter, const QString& suggested)> AskSaveFile;
    std::function<QStringList()> AskTextFiles;
    std::function<QString(const QString& start)> AskFolder;
    // Opens a file, folder or address with the desktop's program for it.
    std::function<bool(const QString& target)> OpenWithDesktop;

    TProjectOption Options;
    TProjectOption FormatCopy;  // the per-format settings the output settings dialog edits
    std::string CurrentProjectPath;
    bool ProjectChanged = false;
    BuildSession Session;  // the browse target and the last compile message
    bool Building() const { return building_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPages();
    void BuildActions();
    QWidget* GeneralPage();
    QWidget* TextFilesPage();
    QWidget* SeparatingPage();
    QWidget* TextAnalysisPage();
    QWidget* HtmlFilesPage();
    QWidget* ChmCommonPage();
    QWidget* OutputSettingsPage();
    QWidget* CreatePage();
    // A page under its heading; with `fill` the content takes the page's height.
    QWidget* Page(const QString& heading, QLayout* content, bool fill = false);

    FormValues ReadForm() const;
    void WriteForm(const FormValues& values);
    void SetCaption();

    void rbBlock1Click();
    void rbNumOfSignsClick();
    void cbSubheadingClick();
    void cbEnableTextAnalysisClick();
    void cbArrowClick();
    void EnableDisableOutputButton();
    void ApplyEnablingRules();
    void SelectAFolder(const char* field);
    void AddToListBox(const char* list);
    void DelFromListBox(const char* list);
    void ShowSamplesMenu(bool shown);
    void HowToUse();
    void SetBuilding(bool building);
    void LoadProject(const std::string& path, const std::string& shownPath);
    // Runs a command; an error it raises is shown in an error box and the window goes on.
    void Guarded(const std::function<void()>& command);
    template <typename T>
    T* Control(const char* name) const;

    std::string setupDir_;
    QString titlePrefix_;
    TfrmDesigner* designer_ = nullptr;
    TfrmSelectTemplet* selection_ = nullptr;
    TfrmSetting* settings_ = nullptr;
    TfrmAbout* about_ = nullptr;
    TfrmCompileHHP* compile_ = nullptr;
    std::unique_ptr<TListBoxExtendEvent> listEditor_;
    QTabWidget* pcMain_ = nullptr;
    QPlainTextEdit* mmMakeInfo_ = nullptr;
    QMenu* examplesMenu_ = nullptr;
    QAction* actShowSamples_ = nullptr;
    QAction* actPrevious_ = nullptr;
    QAction* actNext_ = nullptr;
    // The bytes each text control was filled with: an unchanged text goes back as those bytes, so a
    // project written in another code page is not changed by showing it.
    std::vector<std::pair<QString, std::string>> shownTexts_;
    bool building_ = false;
    bool closeAfterBuild_ = false;
};

}  // namespace leafsmith
