#include "controls/XFlatButton.h"

#include "controls/PropertyBag.h"

#include <QVariant>

namespace {

OleColor ReadColor(const PropertyBag& bag, const char* name, OleColor fallback)
{
    return OleColor(bag.ReadProperty(QLatin1String(name), qulonglong(fallback)).toULongLong());
}

void WriteColor(PropertyBag& bag, const char* name, OleColor value, OleColor fallback)
{
    bag.WriteProperty(QLatin1String(name), qulonglong(value), qulonglong(fallback));
}

QPixmap ReadPicture(const PropertyBag& bag, const char* name)
{
    return bag.ReadProperty(QLatin1String(name)).value<QPixmap>();
}

void WritePicture(PropertyBag& bag, const char* name, const QPixmap& picture)
{
    if (!picture.isNull())
        bag.WriteProperty(QLatin1String(name), picture);
}

} // namespace

void XFlatButton::ReadProperties(const PropertyBag& bag)
{
    auto readInt = [&](const char* name, int fallback) {
        return bag.ReadProperty(QLatin1String(name), fallback).toInt();
    };
    auto readBool = [&](const char* name, bool fallback) {
        return bag.ReadProperty(QLatin1String(name), fallback).toBool();
    };
    m_text = bag.ReadProperty(QStringLiteral("Text"), objectName()).toString();
    const QString fontText = bag.ReadProperty(QStringLiteral("Font")).toString();
    QFont stored;
    if (!fontText.isEmpty() && stored.fromString(fontText))
        setFont(stored);
    m_textAlignment = readInt("TextAlignment", 0);
    m_textCustomX = readInt("TextCustomX", 0);
    m_textCustomY = readInt("TextCustomY", 0);
    m_textAngle = bag.ReadProperty(QStringLiteral("TextAngle"), 0.0f).toFloat();
    m_enabled = readBool("Enabled", true);
    m_textColor = ReadColor(bag, "TextColor", SystemColor::ButtonText);
    m_hoverColor = ReadColor(bag, "HoverColor", 0xFF0000);
    m_pressedColor = ReadColor(bag, "PressedColor", m_hoverColor);
    m_disabledColor = ReadColor(bag, "DisabledColor", SystemColor::GrayText);
    m_disabledEmbossed = readBool("DisabledEmbossed", true);
    m_backColor = ReadColor(bag, "BackColor", SystemColor::ButtonFace);
    m_hoverBackColor = ReadColor(bag, "HoverBackColor", m_backColor);
    m_pressedBackColor = ReadColor(bag, "PressedBackColor", m_backColor);
    m_standardPressedBack = readInt("StandardPressedBack", 1);
    m_normalBorderStyle = readInt("NormalBorderStyle", 5);
    m_hoverBorderStyle = readInt("HoverBorderStyle", 5);
    m_pressedBorderStyle = readInt("PressedBorderStyle", 10);
    m_pictures[0] = ReadPicture(bag, "Picture");
    m_pictures[1] = ReadPicture(bag, "PictureHover");
    m_pictures[2] = ReadPicture(bag, "PicturePressed");
    m_pictures[3] = ReadPicture(bag, "PictureDisabled");
    m_centerPicture = readBool("CenterPicture", true);
    m_customPictureX = readInt("CustomPictureX", 0);
    m_customPictureY = readInt("CustomPictureY", 0);
    m_stretchPicture = readBool("StretchPicture", false);
    m_transparency = readBool("Transparency", false);
    m_transparentColor = ReadColor(bag, "TransparentColor", 0);
    m_showTextPressed = readBool("ShowTextPressed", true);
    m_togglable = readBool("Togglable", false);
    m_toggleStatePressed = readBool("ToggleStatePressed", false);
    m_group = readInt("Group", 0);
    m_allowRightClick = readBool("AllowRightClick", false);
    m_showFocus = readInt("ShowFocus", 1);
    if (bag.Contains(QStringLiteral("FocusMargin")))
        m_focusMargin = readInt("FocusMargin", 0);
    else
        m_focusMargin.reset();
    m_gradientMs = std::max(0, readInt("GradientLength", 0));
    m_mouseEventsWhenDisabled = readBool("MouseEventsWhenDisabled", false);
    m_toolTipBehavior = readInt("ToolTipBehavior", ToolTipAtOnce);
    m_toolTipAppearance = readInt("ToolTipAppearance", 1);
    m_tagHover = readInt("TagHover", 0);
    m_tagPress = readInt("TagPress", 0);
    LookMayHaveChanged();
}

void XFlatButton::WriteProperties(PropertyBag& bag) const
{
    auto writeInt = [&](const char* name, int value, int fallback) {
        bag.WriteProperty(QLatin1String(name), value, fallback);
    };
    auto writeBool = [&](const char* name, bool value, bool fallback) {
        bag.WriteProperty(QLatin1String(name), value, fallback);
    };
    bag.WriteProperty(QStringLiteral("Text"), m_text, objectName());
    bag.WriteProperty(QStringLiteral("Font"), font().toString());
    writeInt("TextAlignment", m_textAlignment, 0);
    writeInt("TextCustomX", m_textCustomX, 0);
    writeInt("TextCustomY", m_textCustomY, 0);
    bag.WriteProperty(QStringLiteral("TextAngle"), m_textAngle, 0.0f);
    writeBool("Enabled", m_enabled, true);
    WriteColor(bag, "TextColor", m_textColor, SystemColor::ButtonText);
    WriteColor(bag, "HoverColor", m_hoverColor, 0xFF0000);
    WriteColor(bag, "PressedColor", m_pressedColor, m_hoverColor);
    WriteColor(bag, "DisabledColor", m_disabledColor, SystemColor::GrayText);
    writeBool("DisabledEmbossed", m_disabledEmbossed, true);
    WriteColor(bag, "BackColor", m_backColor, SystemColor::ButtonFace);
    WriteColor(bag, "HoverBackColor", m_hoverBackColor, m_backColor);
    WriteColor(bag, "PressedBackColor", m_pressedBackColor, m_backColor);
    writeInt("StandardPressedBack", m_standardPressedBack, 1);
    writeInt("NormalBorderStyle", m_normalBorderStyle, 5);
    writeInt("HoverBorderStyle", m_hoverBorderStyle, 5);
    writeInt("PressedBorderStyle", m_pressedBorderStyle, 10);
    WritePicture(bag, "Picture", m_pictures[0]);
    WritePicture(bag, "PictureHover", m_pictures[1]);
    WritePicture(bag, "PicturePressed", m_pictures[2]);
    WritePicture(bag, "PictureDisabled", m_pictures[3]);
    writeBool("CenterPicture", m_centerPicture, true);
    writeInt("CustomPictureX", m_customPictureX, 0);
    writeInt("CustomPictureY", m_customPictureY, 0);
    writeBool("StretchPicture", m_stretchPicture, false);
    writeBool("Transparency", m_transparency, false);
    WriteColor(bag, "TransparentColor", m_transparentColor, 0);
    writeBool("ShowTextPressed", m_showTextPressed, true);
    writeBool("Togglable", m_togglable, false);
    writeBool("ToggleStatePressed", m_toggleStatePressed, false);
    writeInt("Group", m_group, 0);
    writeBool("AllowRightClick", m_allowRightClick, false);
    writeInt("ShowFocus", m_showFocus, 1);
    if (m_focusMargin)
        bag.WriteProperty(QStringLiteral("FocusMargin"), *m_focusMargin);
    writeInt("GradientLength", m_gradientMs, 0);
    writeBool("MouseEventsWhenDisabled", m_mouseEventsWhenDisabled, false);
    writeInt("ToolTipBehavior", m_toolTipBehavior, ToolTipAtOnce);
    writeInt("ToolTipAppearance", m_toolTipAppearance, 1);
    writeInt("TagHover", m_tagHover, 0);
    writeInt("TagPress", m_tagPress, 0);
}
