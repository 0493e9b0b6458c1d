#include "core/main_form.h"

#include <algorithm>
#include <charconv>

#include "core/strings.h"

namespace leafsmith {

using P = TProjectOption;
using T = Transfer;

const std::array<ControlBinding, 57> MainFormBindings = {{
    {"edtProjectTitle", T::Text, &P::ProjectTitle},
    {"edtSourcePath", T::TrimmedText, &P::SourcePath},
    {"edtDestFolder", T::TrimmedText, &P::DestFolder},
    {"edtIncludePath", T::Text, &P::IncludePath},
    {"rbBlock1", T::Check, &P::SplitOneTopicPerFile},
    {"rbOneOrMorePerFile", T::Check, &P::OneOrMorePerFile},
    {"rbBlock2", T::Check, &P::SplitByBlankLines},
    {"rbBlock3", T::Check, &P::SplitByTagLines},
    {"rbBlock4", T::Check, &P::SplitByTitleTags},
    {"cbFileNameTitle", T::Check, &P::FileNameTitle},
    {"edtAtLeast", T::Integer, &P::AtLeastBlankLines},
    {"edtLineSign", T::Text, &P::LineSign},
    {"edtHeadSign", T::Text, &P::HeadSign},
    {"cbUseLevelSigns", T::Check, &P::UseLevelSigns},
    {"rbNumOfSigns", T::Check, &P::NumOfSigns},
    {"rbLevelSign", T::Check, &P::LevelSign},
    {"edtAddOne", T::Text, &P::AddOneSign},
    {"edtMinusOne", T::Text, &P::MinusOneSign},
    {"edtBackTo", T::Text, &P::BackToRootSign},
    {"lbFileList", T::List, &P::FileList},
    {"cbRemoveDup", T::Check, &P::RemoveDuplicates},
    {"cbEnableTextAnalysis", T::Check, &P::EnableTextAnalysis},
    {"cbHtmlEncode", T::Check, &P::HtmlEncode},
    {"cbHR", T::Check, &P::HorizontalLines},
    {"cbSubheading", T::Check, &P::Subheadings},
    {"cbIllustrativeTitle", T::Check, &P::IllustrativeTitles},
    {"cbTerms", T::Check, &P::Terms},
    {"cbReminders", T::Check, &P::Reminders},
    {"lbTermsEnds", T::List, &P::TermsEnds},
    {"seTermsMaxLen", T::Integer, &P::TermsMaxLen},
    {"lbReminders", T::List, &P::ReminderStarts},
    {"edtJoinLines", T::Text, &P::JoinLinesSign},
    {"lbNotSubheadingEnds", T::List, &P::NotSubheadingEnds},
    {"seSubheadingMaxLen", T::Integer, &P::SubheadingMaxLen},
    {"lbIllustrativeEnds", T::List, &P::IllustrativeEnds},
    {"seIllustrativeTitleMaxLen", T::Integer, &P::IllustrativeTitleMaxLen},
    {"cbArrow", T::Check, &P::ExpandableBlocks},
    {"cbBullet", T::Check, &P::Bullets},
    {"cbNumbering", T::Check, &P::Numbering},
    {"edtArrowSign", T::Text, &P::ArrowSign},
    {"edtBulletSign", T::Text, &P::BulletSign},
    {"edtNumberingSign", T::Text, &P::NumberingSign},
    {"cbEncoding", T::Index, &P::EncodingIndex},
    {"edtExtension", T::Text, &P::FileExtension},
    {"edtHead", T::Text, &P::FileNamePrefix},
    {"seStart", T::Integer, &P::CounterStart},
    {"seLength", T::Integer, &P::CounterLength},
    {"cbLanguage", T::Index, &P::LanguageIndex},
    {"cbFont", T::Text, &P::ContentsFont},
    {"edtFontSize", T::Text, &P::ContentsFontSize},
    {"cbCharacterSet", T::Index, &P::CharacterSetIndex},
    {"cbChm", T::Check, &P::OutputChm},
    {"cbWebsite", T::Check, &P::OutputWebsite},
    {"cbEbook", T::Check, &P::OutputEbook},
    {"cbFAQ", T::Check, &P::OutputFaq},
    {"cbSingleHTML", T::Check, &P::OutputSingleHtml},
    {"edtOutDir", T::Text, &P::OutDir},
}};

namespace {

using FormatMember = std::variant<std::string P::*, bool P::*, int32_t P::*, TCHMProject P::*>;

const std::array<FormatMember, 33> FormatMembers = {{
    &P::ChmWindow,
    &P::WebsiteWindow,
    &P::EbookWindow,
    &P::FaqWindow,
    &P::TempletChm,
    &P::TempletNoChm,
    &P::CompileChm,
    &P::PlusMinus,
    &P::StartFromRoot,
    &P::DrawLine,
    &P::FolderInsteadOfBook,
    &P::AutoCollapse,
    &P::OutputChmProject_WebSite,
    &P::TempletChm_WebSite,
    &P::TempletNoChm_WebSite,
    &P::CompileChm_WebSite,
    &P::OutputChmProject_Ebook,
    &P::TempletChm_Ebook,
    &P::TempletNoChm_Ebook,
    &P::CompileChm_Ebook,
    &P::TitleListStyle_Ebook,
    &P::ApplyToJumpMenu_Ebook,
    &P::OutputChmProject_Faq,
    &P::TempletChm_Faq,
    &P::TempletNoChm_Faq,
    &P::CompileChm_Faq,
    &P::TitleListStyle_Faq,
    &P::CHMFileName,
    &P::CHMFileName_WebSite,
    &P::CHMFileName_Ebook,
    &P::CHMFileName_Faq,
    &P::SingleHtmlFileName,
    &P::MinusIsDefault,
}};

int32_t ParseWholeNumber(const std::string& text, const char* control) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        throw EConvertError("\"" + text + "\" is not a whole number (" + control + ").");
    return value;
}

}  // namespace

FormValues OptionsToFormValues(const TProjectOption& options) {
    FormValues form;
    form.reserve(MainFormBindings.size());
    for (const ControlBinding& binding : MainFormBindings) {
        std::visit(
            [&](auto member) {
                const auto& value = options.*member;
                if constexpr (std::is_same_v<std::decay_t<decltype(value)>, int32_t>) {
                    if (binding.Kind == Transfer::Integer)
                        form.emplace_back(std::to_string(value));
                    else
                        form.emplace_back(value);
                } else {
                    form.emplace_back(value);
                }
            },
            binding.Member);
    }
    return form;
}

bool IsFormChanged(const FormValues& form, const TProjectOption& formatCopy, const TProjectOption& options) {
    const FormValues stored = OptionsToFormValues(options);
    for (size_t i = 0; i < MainFormBindings.size() && i < form.size(); ++i) {
        if (form[i] != stored[i])
            return true;
    }
    return !SameFormatSettings(formatCopy, options);
}

void FormToOptions(const FormValues& form, const TProjectOption& formatCopy, TProjectOption& options) {
    for (size_t i = 0; i < MainFormBindings.size() && i < form.size(); ++i) {
        const ControlBinding& binding = MainFormBindings[i];
        std::visit(
            [&](auto member) {
                auto& field = options.*member;
                using Field = std::decay_t<decltype(field)>;
                if constexpr (std::is_same_v<Field, std::string>) {
                    const auto& text = std::get<std::string>(form[i]);
                    field = binding.Kind == Transfer::TrimmedText ? Trim(text) : text;
                } else if constexpr (std::is_same_v<Field, int32_t>) {
                    field = binding.Kind == Transfer::Integer
                                ? ParseWholeNumber(std::get<std::string>(form[i]), binding.Control)
                                : std::get<int32_t>(form[i]);
                } else {
                    field = std::get<Field>(form[i]);
                }
            },
            binding.Member);
    }
    CopyFormatSettings(formatCopy, options);
}

void CopyFormatSettings(const TProjectOption& from, TProjectOption& to) {
    for (const FormatMember& member : FormatMembers) {
        std::visit(
            [&](auto field) {
                if constexpr (std::is_same_v<decltype(field), TCHMProject P::*>)
                    (to.*field).Assign(from.*field);
                else
                    to.*field = from.*field;
            },
            member);
    }
}

bool SameFormatSettings(const TProjectOption& a, const TProjectOption& b) {
    for (const FormatMember& member : FormatMembers) {
        const bool same = std::visit(
            [&](auto field) {
                if constexpr (std::is_same_v<decltype(field), TCHMProject P::*>)
                    return (a.*field).IsSameAs(b.*field);
                else
                    return a.*field == b.*field;
            },
            member);
        if (!same)
            return false;
    }
    return true;
}

SeparationEnabling SeparationRule(bool oneTopicPerFile, bool blankLines, bool tagLines, bool titleTags) {
    if (oneTopicPerFile)
        return {false, true, false, false, false};
    const bool none = !blankLines && !tagLines && !titleTags;
    return {true, false, none || blankLines, none || tagLines, none || titleTags};
}

HierarchyEnabling HierarchyRule(bool numberOfTags) {
    return {!numberOfTags, !numberOfTags, numberOfTags};
}

ListMarkerEnabling ListMarkerRule(bool arrow, bool bullet, bool numbering) {
    return {arrow, bullet, numbering, arrow || bullet || numbering};
}

bool AddToStringList(StringList& list, const std::string& text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty() ||
        std::any_of(list.begin(), list.end(), [&](const std::string& item) { return SameText(item, trimmed); }))
        return false;
    list.push_back(trimmed);
    return true;
}

}  // namespace leafsmith
