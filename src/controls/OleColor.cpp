#include "controls/OleColor.h"

namespace {

struct RoleEntry
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Indexes follow the classic system colour numbering; 25 was never assigned.
constexpr RoleEntry kRoles[] = {
    {QPalette::Active, QPalette::Button},           // 0 scroll bar
    {QPalette::Active, QPalette::Dark},             // 1 desktop
    {QPalette::Active, QPalette::Highlight},        // 2 active caption
    {QPalette::Inactive, QPalette::Mid},            // 3 inactive caption
    {QPalette::Active, QPalette::Window},           // 4 menu
    {QPalette::Active, QPalette::Base},             // 5 window
    {QPalette::Active, QPalette::Shadow},           // 6 window frame
    {QPalette::Active, QPalette::WindowText},       // 7 menu text
    {QPalette::Active, QPalette::Text},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText},  // 9 caption text
    {QPalette::Active, QPalette::Button},           // 10 active border
    {QPalette::Inactive, QPalette::Button},         // 11 inactive border
    {QPalette::Active, QPalette::Dark},             // 12 application workspace
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlight text
    {QPalette::Active, QPalette::Button},           // 15 button face
    {QPalette::Active, QPalette::Mid},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Inactive, QPalette::WindowText},     // 19 inactive caption text
    {QPalette::Active, QPalette::Light},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow},           // 21 dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 light
    {QPalette::Active, QPalette::ToolTipText},      // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 info background
    {QPalette::Active, QPalette::Text},             // 25 unassigned
    {QPalette::Active, QPalette::Link},             // 26 hot light
};

} // namespace

QColor ResolveOleColor(OleColor value, const QPalette& palette)
{
    if (value & SystemColor::Flag) {
        const uint32_t index = value & 0xFFu;
        if ((value & 0x7FFFFF00u) != 0 || index >= std::size(kRoles))
            return palette.color(QPalette::Active, QPalette::Text);
        return palette.color(kRoles[index].group, kRoles[index].role);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

OleColor ToOleColor(const QColor& color)
{
    return OleColor(color.red()) | (OleColor(color.green()) << 8) | (OleColor(color.blue()) << 16);
}
