#include "output/settings.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

#include "core/errors.h"
#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "core/user_questions.h"
#include "helpproject/help_compiler.h"
#include "text/all_text.h"
#include "text/text_utils.h"

namespace leafsmith {

namespace {

constexpr const char* GeneratorLine = "<head>\r\n<meta name=\"GENERATOR\" content=\"Quorvane Leafsmith\">";

std::string ExpandScript() {
    return std::string(
               "<script language=\"JavaScript\" type=\"text/JavaScript\">\r\nfunction "
               "ExpandCollapsibleBlockClick(obj){var a,b,c,d,e;") +
           "if(document.getElementById){b=obj.childNodes;" + "c=obj.parentNode.parentNode.childNodes;" +
           "d='nodeName';" + "}else{b=obj.children;" + "c=obj.parentElement.parentElement.children;" +
           "\td='tagName';" + "}for(i=0;" + "i<=b.length-1;" + "i++){eval('e=b[i].'+d+';" + "');" +
           "if(e==\"IMG\"){a=b[i];" + "}}for(i=0;" + "i<=c.length-1;" + "i++){eval('e=c[i].'+d+';" + "');" +
           "if(e==\"DIV\"){if(c[i].style.display=='none'){c[i].style.display='block';" + "a.src='icons/cminus.gif';" +
           "}else{c[i].style.display='none';" + "a.src='icons/cplus.gif';" + "}}}return false;" + "}" + "\r\n" +
           "</script>" + "\r\n";
}

std::string Slashes(const std::string& text) {
    return ReplaceAll(text, "\\", "/");
}

}  // namespace

TSittings::TSittings(std::string formatName) : formatName_(std::move(formatName)) {}

PlaceholderList TSittings::PagePlaceholders(int32_t) {
    return {};
}

PlaceholderList TSittings::FormatPlaceholders() {
    return {};
}

PlaceholderList TSittings::CommonPlaceholders() {
    PlaceholderList placeholders = {TextPlaceholder("($PROJECTTITLE$)", ProjectTitle),
                                    TextPlaceholder("($CHARSET$)", Charset)};
    for (Placeholder& placeholder : FormatPlaceholders())
        placeholders.push_back(std::move(placeholder));
    return placeholders;
}

std::string TSittings::ReplacePagePlaceholders(const std::string& page, int32_t topicIndex) {
    PrepareSharedTexts();
    const PlaceholderList placeholders = PagePlaceholders(topicIndex);
    return ReplacePlaceholders(page, {&placeholders});
}

std::string TSittings::ReplaceFormatPlaceholders(const std::string& text) {
    PrepareSharedTexts();
    const PlaceholderList placeholders = FormatPlaceholders();
    return ReplacePlaceholders(text, {&placeholders});
}

std::string TSittings::ProgramFolder() const {
    return Options ? Options->SetupDir : std::string();
}

void TSittings::Pause() {
    if (Environment)
        WaitProcessing(Environment->PauseMilliseconds, Environment->ProcessEvents);
}

void TSittings::ProcessEvents() const {
    if (Environment && Environment->ProcessEvents)
        Environment->ProcessEvents();
}

void TSittings::DeleteOldFiles(const std::string& message) {
    std::string folder = FormatFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    // Whatever stands where the format's folder goes is old output: a folder, a link, or a plain
    // file left there.
    if (EntryKind(folder) != "missing") {
        while (!DeleteFolderTree(folder)) {
            UserQuestions* questions = Environment ? Environment->Questions : nullptr;
            Answer answer = questions ? questions->AskYesCancelRetry(message) : Answer::Cancel;
            if (answer == Answer::Yes) {
                // What is left of the old output may hold links to files elsewhere; the pages must
                // not be written through them.
                RemoveLinksInTree(folder);
                break;
            }
            if (answer != Answer::Retry)
                throw EUsed();
        }
    }
    Pause();
}

const TTemplate& TSittings::PrepareTemplate() {
    if (TemplateFolder.empty() || TemplateFolder == "/") {
        throw ESettingError("No template group is chosen for the " + formatName_ +
                            " format; choose one in the output settings.");
    }
    TemplateGroup.Clear();
    TemplateGroup.SetupDir = ProgramFolder();
    TemplateGroup.LoadFromFolder(TemplateFolder, true);
    if (TemplateNumber < 0 || TemplateNumber >= TemplateGroup.Count()) {
        throw ESettingError("The template group \"" + TemplateFolder + "\" has no template " +
                            std::to_string(TemplateNumber) + " for the " + formatName_ + " format (it has " +
                            std::to_string(TemplateGroup.Count() - 1) + " numbered templates).");
    }
    const TTemplate& templ = TemplateGroup.Items(TemplateNumber);
    if (templ.ContentTemplates.empty()) {
        throw ESettingError("Template " + std::to_string(TemplateNumber) + " of the group \"" + TemplateFolder +
                            "\" names no content template, so the " + formatName_ + " format cannot be made.");
    }
    return templ;
}

std::string TSittings::ReadContentTemplate(const TTemplate& templ) {
    return InsertGenerator(ReadTextFile(GroupFile(templ.ContentTemplates, "The content template")));
}

std::string TSittings::InsertGenerator(const std::string& text) const {
    return ReplaceAllNoCase(text, "<head>", GeneratorLine);
}

std::string TSittings::InsertHeadScript(const std::string& text) const {
    if (!Options || !Options->EnableTextAnalysis || !Options->ExpandableBlocks)
        return text;
    return ReplaceAllNoCase(text, "</head>", ExpandScript() + "</head>");
}

PlaceholderList TSittings::HeadScriptPlaceholders() const {
    if (!Options || !Options->EnableTextAnalysis || !Options->ExpandableBlocks)
        return {};
    Placeholder head = TextPlaceholder("</head>", ExpandScript() + "</head>");
    head.NoCase = true;
    return {head};
}

namespace {

// Passes notices on and keeps their text.
class RecordedQuestions : public UserQuestions {
public:
    RecordedQuestions(UserQuestions* questions, std::vector<std::string>& notices)
        : questions_(questions), notices_(notices) {}
    void ShowError(const std::string& text) override {
        notices_.push_back(text);
        if (questions_)
            questions_->ShowError(text);
    }
    Answer AskYesCancelRetry(const std::string& text) override {
        return questions_ ? questions_->AskYesCancelRetry(text) : Answer::Cancel;
    }
    Answer AskAbortRetry(const std::string& text) override {
        return questions_ ? questions_->AskAbortRetry(text) : Answer::Abort;
    }

private:
    UserQuestions* questions_;
    std::vector<std::string>& notices_;
};

}  // namespace

std::string TSittings::ConvertBody(int32_t topicIndex, TLFXText& converter) {
    const TBlock& topic = Text->Topic(topicIndex);
    ConvertedBodies::Body* kept = nullptr;
    if (Bodies && (Bodies->Use || Bodies->Keep) && Bodies->Bodies.size() == Text->Topics.size())
        kept = &Bodies->Bodies[static_cast<size_t>(topicIndex)];
    if (kept && Bodies->Use && kept->Done) {
        if (converter.Questions) {
            for (const std::string& notice : kept->Notices)
                converter.Questions->ShowError(notice);
        }
        return kept->Html;
    }
    converter.InputLines = topic.SectionLines(2);
    UserQuestions* questions = converter.Questions;
    std::vector<std::string> notices;
    RecordedQuestions recorded(questions, notices);
    if (kept && Bodies->Keep)
        converter.Questions = &recorded;
    std::string content;
    try {
        content = converter.Convert();
    } catch (const EMarkupError& error) {
        converter.Questions = questions;
        throw EMarkupError("Topic \"" + topic.Title() + "\" (" + topic.FileName + "): " + error.what());
    }
    converter.Questions = questions;
    if (kept && Bodies->Keep) {
        kept->Html = content;
        kept->Notices = std::move(notices);
        kept->Done = true;
    }
    return content;
}

void TSittings::RenderPage(const std::string& contentTemplate, int32_t topicIndex, TLFXText& converter,
                           const PlaceholderList& common, TextSink& out) {
    const TBlock& topic = Text->Topic(topicIndex);
    std::string page;
    if (topicIndex > Text->FirstPage) {
        page = RemoveMarkedRanges(contentTemplate, "<!--ShowWhenFirst-->", "<!--/ShowWhenFirst-->");
        ReplaceAllInPlace(page, "($PREVIOUSPAGE$)", Text->Topic(topic.PrevPage).FileName);
        ReplaceAllInPlace(page, "($PREVIOUSTITLE$)", Text->Topic(topic.PrevPage).Title());
    } else {
        page = RemoveMarkedRanges(contentTemplate, "<!--HideWhenFirst-->", "<!--/HideWhenFirst-->");
        ReplaceAllInPlace(page, "($PREVIOUSPAGE$)", "#");
        ReplaceAllInPlace(page, "($PREVIOUSTITLE$)", "");
    }
    if (topicIndex < Text->LastPage) {
        page = RemoveMarkedRanges(page, "<!--ShowWhenEnd-->", "<!--/ShowWhenEnd-->");
        ReplaceAllInPlace(page, "($NEXTPAGE$)", Text->Topic(topic.NextPage).FileName);
        ReplaceAllInPlace(page, "($NEXTTITLE$)", Text->Topic(topic.NextPage).Title());
    } else {
        page = RemoveMarkedRanges(page, "<!--HideWhenEnd-->", "<!--/HideWhenEnd-->");
        ReplaceAllInPlace(page, "($NEXTPAGE$)", "#");
        ReplaceAllInPlace(page, "($NEXTTITLE$)", "");
    }
    ReplaceAllInPlace(page, "($TITLE$)", topic.Title());
    ReplaceAllInPlace(page, "($SEQUENCE$)", std::to_string(topicIndex));
    ReplaceAllInPlace(page, "($THISFILENAME$)", topic.FileName);
    if (page.find("($BREADCRUMBS$)") != std::string::npos)
        ReplaceAllInPlace(page, "($BREADCRUMBS$)", Breadcrumbs(topicIndex));
    page = InsertHeadScript(page);
    // The rest streams into `out`: long values (trees, menus, the body) are put as they are, never
    // copied into the page or searched again by the placeholders after them.
    const PlaceholderList own = PagePlaceholders(topicIndex);
    const std::string content = ConvertBody(topicIndex, converter);
    const PlaceholderList body = {{"($CONTENT$)", [&content](TextSink& sink) { sink.Put(content); }}};
    ReplacePlaceholders(page, {&own, &common, &body}, out);
}

std::string TSittings::Breadcrumbs(int32_t topicIndex) const {
    std::vector<int32_t> path;
    for (int32_t parent = parents_.at(static_cast<size_t>(topicIndex)); parent >= 0;
         parent = parents_[static_cast<size_t>(parent)])
        path.push_back(parent);
    std::string crumbs;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        const TBlock& ancestor = Text->Topic(*it);
        if (ancestor.IsPage)
            crumbs += "<a class=\"crumb\" href=\"" + ancestor.FileName + "\">" + ancestor.Title() + "</a>";
        else
            crumbs += "<span class=\"crumb\">" + ancestor.Title() + "</span>";
    }
    return crumbs;
}

void TSittings::PrepareParents() {
    parents_ = Text->Parents();
}

std::string TSittings::RenderPage(const std::string& contentTemplate, int32_t topicIndex, TLFXText& converter) {
    PrepareParents();
    PrepareSharedTexts();
    StringSink out;
    RenderPage(contentTemplate, topicIndex, converter, CommonPlaceholders(), out);
    return std::move(out.Text);
}

std::string TSittings::ReplaceCommon(const std::string& text) {
    PrepareSharedTexts();
    const PlaceholderList common = CommonPlaceholders();
    return ReplacePlaceholders(text, {&common});
}

namespace {

// How many threads render a format's pages: one per core (LEAFSMITH_WORKERS chooses another
// number), and one alone for a few pages.
unsigned PageWorkerCount(size_t pages) {
    unsigned workers = std::max(1u, std::thread::hardware_concurrency());
    if (const char* chosen = std::getenv("LEAFSMITH_WORKERS"); chosen && *chosen)
        workers = static_cast<unsigned>(std::clamp(std::atoi(chosen), 1, 64));
    return pages < 16 ? 1 : std::min<unsigned>(workers, 8);
}

// The notices a converter gives while a worker renders a page, held until the build's own thread
// reaches that page, so that they come in page order and on the thread that may show them.
class HeldNotices : public UserQuestions {
public:
    void ShowError(const std::string& text) override { Notices.push_back(text); }
    Answer AskYesCancelRetry(const std::string&) override { return Answer::Cancel; }
    Answer AskAbortRetry(const std::string&) override { return Answer::Abort; }
    std::vector<std::string> Notices;
};

}  // namespace

void TSittings::PageWritten(const std::string& fileName, size_t done, size_t total) {
    if (Environment && Environment->PageProgress)
        Environment->PageProgress(formatName_, done, total);
    else
        DoInfo(this, fileName);
}

void TSittings::WritePages(const std::string& contentTemplate) {
    const std::string folder = HtmlFolder();
    std::vector<const TBlock*> pages;
    for (const TBlock& topic : Text->Topics) {
        if (topic.IsPage)
            pages.push_back(&topic);
    }
    if (Bodies && Bodies->Keep && !Bodies->Use)
        Bodies->Bodies.assign(Text->Topics.size(), {});
    PrepareParents();
    PrepareSharedTexts();
    const PlaceholderList common = CommonPlaceholders();
    auto renderAndWrite = [&](const TBlock& topic, TLFXText& converter, std::string& buffer) {
        TextFileSink file(InsideFormatFolder(folder, topic.FileName, "The page file name"), buffer);
        RenderPage(contentTemplate, topic.Index, converter, common, file);
    };
    const unsigned workers = PageWorkerCount(pages.size());
    if (workers <= 1) {
        std::string buffer;
        for (size_t page = 0; page < pages.size(); ++page) {
            renderAndWrite(*pages[page], *Converter, buffer);
            PageWritten(pages[page]->FileName, page + 1, pages.size());
        }
        return;
    }

    // Workers render and write the pages, each with a converter of its own; this thread takes
    // them in page order, shows what their converters said and logs each page, as one thread would.
    struct Slot {
        bool Done = false;
        std::exception_ptr Failure;
        std::vector<std::string> Notices;
    };
    std::vector<Slot> slots(pages.size());
    std::mutex lock;
    std::condition_variable pageDone;   // wakes this thread when the page it waits for is done
    std::condition_variable roomAhead;  // wakes workers held back by the limit below
    size_t next = 0;                    // the next page a worker takes
    size_t consumed = 0;                // pages this thread has logged
    size_t awaited = pages.size();      // the page this thread waits for
    unsigned heldBack = 0;              // workers waiting for room
    bool stopping = false;
    const size_t ahead = std::max<size_t>(64, workers * 8);  // pages rendered ahead of the log at most
    auto work = [&](TLFXText& converter, HeldNotices& notices) {
        std::string buffer;
        while (true) {
            size_t page;
            {
                std::unique_lock<std::mutex> hold(lock);
                ++heldBack;
                roomAhead.wait(hold, [&] { return stopping || next >= pages.size() || next < consumed + ahead; });
                --heldBack;
                if (stopping || next >= pages.size())
                    return;
                page = next++;
            }
            std::exception_ptr failure;
            try {
                renderAndWrite(*pages[page], converter, buffer);
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard<std::mutex> hold(lock);
            slots[page].Done = true;
            slots[page].Failure = failure;
            slots[page].Notices = std::move(notices.Notices);
            notices.Notices.clear();
            if (page == awaited)
                pageDone.notify_one();
        }
    };
    std::vector<std::unique_ptr<TLFXText>> converters;
    std::vector<std::unique_ptr<HeldNotices>> held;
    std::vector<std::thread> threads;
    auto stop = [&] {
        {
            std::lock_guard<std::mutex> hold(lock);
            stopping = true;
        }
        roomAhead.notify_all();
        for (std::thread& thread : threads)
            thread.join();
        threads.clear();
    };
    try {
        for (unsigned i = 0; i < workers; ++i) {
            converters.push_back(std::make_unique<TLFXText>());
            converters.back()->CopySettingsFrom(*Converter);
            held.push_back(std::make_unique<HeldNotices>());
            converters.back()->Questions = held.back().get();
            threads.emplace_back(work, std::ref(*converters.back()), std::ref(*held.back()));
        }
        for (size_t page = 0; page < pages.size(); ++page) {
            Slot slot;
            {
                std::unique_lock<std::mutex> hold(lock);
                awaited = page;
                pageDone.wait(hold, [&] { return slots[page].Done; });
                slot = std::move(slots[page]);
            }
            if (Converter->Questions) {
                for (const std::string& notice : slot.Notices)
                    Converter->Questions->ShowError(notice);
            }
            if (slot.Failure)
                std::rethrow_exception(slot.Failure);
            PageWritten(pages[page]->FileName, page + 1, pages.size());
            std::lock_guard<std::mutex> hold(lock);
            consumed = page + 1;
            if (heldBack > 0)
                roomAhead.notify_all();
        }
    } catch (...) {
        stop();
        throw;
    }
    stop();
}

void TSittings::WriteOtherTemplates(const StringList& entries) {
    PrepareSharedTexts();
    const PlaceholderList common = CommonPlaceholders();
    std::string buffer;
    for (const std::string& entry : entries) {
        NameValue parts = SplitNameValue(entry);
        if (parts.Name.empty())
            continue;
        const std::string text = ReadTextFile(GroupFile(parts.Name, "The further template"));
        const std::string& destination = parts.Value.empty() ? parts.Name : parts.Value;
        TextFileSink file(InsideFormatFolder(HtmlFolder(), destination, "The destination of the further template"),
                          buffer);
        ReplacePlaceholders(text, {&common}, file);
    }
}

void TSittings::CopyTemplateFiles(const StringList& entries) {
    for (const std::string& entry : entries) {
        NameValue parts = SplitNameValue(entry);
        if (parts.Name.empty())
            continue;
        ProcessEvents();
        const std::string source = GroupFile(parts.Name, "The copied file");
        if (!parts.Value.empty()) {
            std::string target = InsideFormatFolder(HtmlFolder(), parts.Value, "The destination of the copied file");
            if (parts.Value.back() == '/' || parts.Value.back() == '\\')
                target = WithTrailingSlash(target);
            CopyFolderTreeOrRaise(source, target, TemplateFolder);
        } else {
            std::string target = InsideFormatFolder(HtmlFolder(), parts.Name, "The copied file");
            CopyFolderTreeOrRaise(source, WithTrailingSlash(FolderOf(target)), TemplateFolder);
        }
    }
}

void TSittings::CopyResources(const std::string& target, const std::string& iconPattern) {
    if (Options && !Options->SourcePath.empty()) {
        std::string destination = InsideFormatFolder(target, Options->DestFolder, "The resource folder");
        CopyFolderTreeOrRaise(WithTrailingSlash(Options->ResolvePath(Slashes(Options->SourcePath))) + "*.*",
                              destination);
    }
    ProcessEvents();
    CopyFolderTreeOrRaise(JoinPath(ProgramFolder(), "icons/" + iconPattern), target + "icons/");
    // A group may draw its own pictures: those in its "icons" folder replace the program's.
    if (!TemplateFolder.empty() && EntryKind(TemplateFolder + "icons") == "a folder")
        CopyFolderTreeOrRaise(GroupFile("icons", "The icon folder") + "/" + iconPattern, target + "icons/",
                              TemplateFolder);
    ProcessEvents();
}

void TSittings::MakeHelpProject(const std::string& compiledBaseName, const std::string& defaultTopic, bool compile,
                                const std::string& infoText, std::string tocBody, const std::string& aliasText,
                                const std::string& mapText) {
    // The window object keeps the title and default topic of its last build, as it always has.
    HelpProject->Title = ProjectTitle;
    HelpProject->DefaultTopic = defaultTopic;
    THelpProject project(*HelpProject);
    project.ProjectDir = FormatFolder;
    project.PagesDir = "html\\";
    project.CompiledFile = compiledBaseName + ".chm";
    project.TocBody = std::move(tocBody);
    project.AliasText = aliasText;
    project.MapText = mapText;
    if (project.CompiledFile.front() != '/')
        InsideFormatFolder(FormatFolder, project.CompiledFile, "The compiled help file");
    if (Environment) {
        project.Questions = Environment->Questions;
        project.LogCallback = Environment->CompileMessage;
        project.ProgressCallback = Environment->CompileMessage;
        project.ProcessEvents = Environment->ProcessEvents;
    }
    DoInfo(this, infoText);
    Pause();
    if (!project.Make(compile))
        Failed = true;
}

std::string TSittings::InsideFormatFolder(const std::string& folder, const std::string& relative,
                                          const std::string& what) const {
    const std::string path = folder + Slashes(relative);
    if (HasControlCharacter(relative)) {
        throw ESettingError(what + " \"" + ShowControlCharacters(relative) +
                            "\" holds a control character, which no file name may hold.");
    }
    if (!relative.empty() &&
        (relative.front() == '/' || relative.front() == '\\' || !IsInsideFolder(path, FormatFolder))) {
        throw ESettingError(what + " \"" + relative + "\" leads outside the output folder of the " + formatName_ +
                            " format (" + FormatFolder + "); nothing is written there.");
    }
    return path;
}

std::string TSittings::GroupFile(const std::string& name, const std::string& what) const {
    const std::string relative = Slashes(name);
    const std::string path = TemplateFolder + relative;
    if (HasControlCharacter(name)) {
        throw ESettingError(what + " \"" + ShowControlCharacters(name) + "\" of the template group \"" +
                            TemplateFolder + "\" holds a control character, which no file name may hold.");
    }
    if (relative.empty() || relative.front() == '/' || !IsInsideFolder(path, TemplateFolder) ||
        !IsInsideFolderOnDisk(path, TemplateFolder)) {
        throw ESettingError(what + " \"" + name + "\" of the template group \"" + TemplateFolder +
                            "\" leads outside the group's folder; a group may use only its own files.");
    }
    return path;
}

std::string TSittings::ProgramFile(const std::string& name) const {
    const std::string path = JoinPath(ProgramFolder(), name);
    if (!FileExists(path)) {
        throw EFileError("The program's file \"" + path + "\" is " + EntryKind(path) + "; the " + formatName_ +
                             " format cannot be made without it.",
                         EntryKind(path));
    }
    return path;
}

void TSittings::CheckSettings() {}

void TSittings::CheckTemplateFormat(bool helpProject, const std::string& compiledBaseName, bool compile) {
    CheckTemplate();
    CheckResources(HtmlFolder());
    CheckIcons();
    if (helpProject)
        CheckHelpFile(compiledBaseName, compile);
}

void TSittings::CheckTemplate() {
    const TTemplate& templ = PrepareTemplate();
    auto requireFile = [&](const std::string& name, const std::string& what) {
        const std::string path = GroupFile(name, what);
        if (!FileExists(path)) {
            throw EFileError(what + " \"" + path + "\" of the " + formatName_ + " format is " + EntryKind(path) +
                                 ", not a file that can be read.",
                             EntryKind(path));
        }
    };
    requireFile(templ.ContentTemplates, "The content template");
    if (HasControlCharacter(templ.Default)) {
        throw ESettingError("The default page \"" + ShowControlCharacters(templ.Default) +
                            "\" of the template group \"" + TemplateFolder +
                            "\" holds a control character, which no file name may hold.");
    }
    for (const std::string& entry : templ.OtherTemplates) {
        NameValue parts = SplitNameValue(entry);
        if (parts.Name.empty())
            continue;
        requireFile(parts.Name, "The further template");
        InsideFormatFolder(HtmlFolder(), parts.Value.empty() ? parts.Name : parts.Value,
                           "The destination of the further template");
    }
    for (const std::string& entry : templ.CopyFiles) {
        NameValue parts = SplitNameValue(entry);
        if (parts.Name.empty())
            continue;
        GroupFile(parts.Name, "The copied file");
        InsideFormatFolder(HtmlFolder(), parts.Value.empty() ? parts.Name : parts.Value,
                           parts.Value.empty() ? "The copied file" : "The destination of the copied file");
    }
}

void TSittings::CheckResources(const std::string& target) const {
    if (!Options || Options->SourcePath.empty())
        return;
    const std::string folder = Options->ResolvePath(Slashes(Options->SourcePath));
    if (!FolderExists(folder)) {
        throw EFileError("The resource folder \"" + folder + "\" is " + EntryKind(folder) +
                             "; choose an existing folder, or none, in the project's settings.",
                         EntryKind(folder));
    }
    InsideFormatFolder(target, Options->DestFolder, "The resource folder");
}

void TSittings::CheckIcons() const {
    const std::string icons = JoinPath(ProgramFolder(), "icons");
    if (!FolderExists(icons)) {
        throw EFileError("The program's folder of pictures \"" + icons + "\" is " + EntryKind(icons) + "; the " +
                             formatName_ + " format cannot be made without it.",
                         EntryKind(icons));
    }
}

void TSittings::CheckHelpFile(const std::string& compiledBaseName, bool compile) const {
    const std::string name = compiledBaseName + ".chm";
    if (name.front() != '/') {
        InsideFormatFolder(FormatFolder, name, "The compiled help file");
        return;
    }
    if (HasControlCharacter(name)) {
        throw ESettingError("The compiled help file \"" + ShowControlCharacters(name) +
                            "\" holds a control character, which no file name may hold.");
    }
    if (!compile)
        return;
    if (!FolderExists(FolderOf(name))) {
        throw ESettingError("The folder of the compiled help file \"" + name + "\" does not exist; the " + formatName_ +
                            " format cannot be compiled there.");
    }
    if (!MayReplaceWithHelpFile(name)) {
        throw ESettingError("\"" + name + "\", where the " + formatName_ + " format's help file is to go, is " +
                            EntryKind(name) +
                            " that is not a compiled help file; it is left as it is. Choose another help file name.");
    }
}

}  // namespace leafsmith
