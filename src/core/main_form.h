// The main window's controls as the project options see them: which control shows which option and
// how, the per-format settings the window keeps a working copy of, the change test and the enabling
// rules. The window finds its widgets by these control names and stays free of these rules.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/errors.h"
#include "core/project_option.h"

namespace leafsmith {

// How a control's value travels: an edit's text (TrimmedText drops blanks at both ends when it is
// stored), a check box or radio button, a spin field's text read as a whole number, the selected row
// of a drop-down list (-1 for none), or a list's entries.
enum class Transfer { Text, TrimmedText, Check, Integer, Index, List };

struct ControlBinding {
    const char* Control;
    Transfer Kind;
    std::variant<std::string TProjectOption::*, bool TProjectOption::*, int32_t TProjectOption::*,
                 StringList TProjectOption::*>
        Member;
};

// Every control of the eight pages that shows an option, in the order the transfers run.
extern const std::array<ControlBinding, 57> MainFormBindings;

// What one control shows: a text (a spin field's text as typed), a check state, a row, a list.
using ControlValue = std::variant<std::string, bool, int32_t, StringList>;
// One value a binding, in the order of MainFormBindings.
using FormValues = std::vector<ControlValue>;

// A spin field whose text is no whole number.
class EConvertError : public ELeafsmithError {
public:
    using ELeafsmithError::ELeafsmithError;
};

FormValues OptionsToFormValues(const TProjectOption& options);
// True as soon as one control differs from its option (texts exactly; a spin field's text against
// the decimal form of the number, so "02" differs from 2; lists entry by entry), or the per-format
// copy differs from the options.
bool IsFormChanged(const FormValues& form, const TProjectOption& formatCopy, const TProjectOption& options);
// Copies every control into its option in table order, then the per-format copy. A spin field that
// holds no whole number raises EConvertError; the options before it have been copied then.
void FormToOptions(const FormValues& form, const TProjectOption& formatCopy, TProjectOption& options);

// The per-format settings (templates, help file names, compile switches, list styles and the four
// help windows) that the output settings dialog edits through the window's working copy.
void CopyFormatSettings(const TProjectOption& from, TProjectOption& to);
bool SameFormatSettings(const TProjectOption& a, const TProjectOption& b);

// Which controls of the "Separating" page a separation choice leaves enabled.
struct SeparationEnabling {
    bool OtherChoices;  // rbBlock2, rbBlock3, rbBlock4
    bool FileNameTitle;
    bool AtLeast;  // "At least", edtAtLeast, "lines"
    bool LineSign;
    bool HeadSign;
};
SeparationEnabling SeparationRule(bool oneTopicPerFile, bool blankLines, bool tagLines, bool titleTags);

// Counting title-line tags for the levels forces the separation by those tags.
struct HierarchyEnabling {
    bool LevelTags;         // the three level tag fields and their labels
    bool OtherSeparations;  // rbBlock1, rbBlock2, rbBlock3
    bool ForceTitleTags;    // check rbOneOrMorePerFile and rbBlock4
};
HierarchyEnabling HierarchyRule(bool numberOfTags);

struct ListMarkerEnabling {
    bool Arrow;
    bool Bullet;
    bool Numbering;
    bool JoinLines;
};
ListMarkerEnabling ListMarkerRule(bool arrow, bool bullet, bool numbering);

// The "Add" buttons of the text-analysis lists: the text without blanks at its ends is appended
// when it is not empty and no entry equals it ignoring case. Returns whether it was added.
bool AddToStringList(StringList& list, const std::string& text);

}  // namespace leafsmith
