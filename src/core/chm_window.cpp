#include "core/chm_window.h"

namespace leafsmith {

using P = TCHMProject;

const std::array<WindowNumberField, 6> WindowNumberFields = {{
    {"Top", &P::Top},
    {"Left", &P::Left},
    {"Height", &P::Height},
    {"Width", &P::Width},
    {"PaneWidth", &P::PaneWidth},
    {"DefaultTab", &P::DefaultTab},
}};

const std::array<WindowFlagField, 39> WindowFlagFields = {{
    {"ShowMSDNMenu", &P::ShowMSDNMenu},
    {"ShowPanesToolbar", &P::ShowPanesToolbar},
    {"ShowPane", &P::ShowPane},
    {"HideToolbar", &P::HideToolbar},
    {"HideToolbarText", &P::HideToolbarText},
    {"StayOnTop", &P::StayOnTop},
    {"Maximize", &P::Maximize},
    {"Hide", &P::Hide},
    {"Locate", &P::Locate},
    {"Back", &P::Back},
    {"bForward", &P::bForward},
    {"Stop", &P::Stop},
    {"Refresh", &P::Refresh},
    {"Home", &P::Home},
    {"Print", &P::Print},
    {"Option", &P::Option},
    {"Jump1", &P::Jump1},
    {"Jump2", &P::Jump2},
    {"AutoShowHide", &P::AutoShowHide},
    {"AutoSync", &P::AutoSync},
    {"Content", &P::Content},
    {"Index", &P::Index},
    {"Search", &P::Search},
    {"Favorite", &P::Favorite},
    {"UseFolder", &P::UseFolder},
    {"AutoTrack", &P::AutoTrack},
    {"SelectRow", &P::SelectRow},
    {"PlusMinus", &P::PlusMinus},
    {"ShowSelection", &P::ShowSelection},
    {"ShowRoot", &P::ShowRoot},
    {"DrawLines", &P::DrawLines},
    {"AutoExpand", &P::AutoExpand},
    {"RightToLeft", &P::RightToLeft},
    {"LeftScroll", &P::LeftScroll},
    {"Border", &P::Border},
    {"DialogFrame", &P::DialogFrame},
    {"RaisedEdge", &P::RaisedEdge},
    {"SunkenEdge", &P::SunkenEdge},
    {"SavePosition", &P::SavePosition},
}};

const std::array<WindowTextField, 4> WindowStoredTextFields = {{
    {"Title", &P::Title},
    {"Language", &P::Language},
    {"Font", &P::Font},
    {"DefaultTopic", &P::DefaultTopic},
}};

void TCHMProject::Assign(const TCHMProject& source) {
    for (const auto& field : WindowNumberFields)
        this->*field.Member = source.*field.Member;
    for (const auto& field : WindowFlagFields)
        this->*field.Member = source.*field.Member;
    for (const auto& field : WindowStoredTextFields)
        this->*field.Member = source.*field.Member;
    TocFont = source.TocFont;
}

bool TCHMProject::IsSameAs(const TCHMProject& other) const {
    for (const auto& field : WindowNumberFields) {
        if (this->*field.Member != other.*field.Member)
            return false;
    }
    for (const auto& field : WindowFlagFields) {
        if (this->*field.Member != other.*field.Member)
            return false;
    }
    return TocFont == other.TocFont;
}

}  // namespace leafsmith
