#include "controls/SpinBox.h"

#include "controls/PropertyBag.h"

#include <QLabel>
#include <QLineEdit>

void SpinBox::SetMaxLength(int length)
{
    m_maxLength = std::max(0, length);
    m_txt->setMaxLength(m_maxLength == 0 ? 32767 : m_maxLength);
}

void SpinBox::SetPasswordChar(const QString& mask)
{
    m_passwordChar = mask.left(1);
    m_txt->setEchoMode(m_passwordChar.isEmpty() ? QLineEdit::Normal : QLineEdit::Password);
}

bool SpinBox::Locked() const
{
    return m_txt->isReadOnly();
}

void SpinBox::SetLocked(bool locked)
{
    m_txt->setReadOnly(locked);
}

void SpinBox::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    m_txt->setEnabled(enabled);
    m_spin->setEnabled(enabled);
    m_label->setEnabled(enabled);
}

void SpinBox::SetAlignment(int alignment)
{
    m_alignment = alignment;
    const Qt::Alignment horizontal = alignment == 1   ? Qt::AlignRight
                                     : alignment == 2 ? Qt::AlignHCenter
                                                      : Qt::AlignLeft;
    m_txt->setAlignment(horizontal | Qt::AlignVCenter);
}

void SpinBox::SetBorderStyle(int style)
{
    m_borderStyle = style;
    m_txt->setFrame(style != 0);
}

void SpinBox::SetSpinButtonVisible(bool visible)
{
    m_spinVisible = visible;
    LayOut();
}

void SpinBox::SetBackColor(OleColor color)
{
    m_backColor = color;
    ApplyColours();
}

void SpinBox::SetForeColor(OleColor color)
{
    m_foreColor = color;
    ApplyColours();
}

QFont SpinBox::Font() const
{
    return m_txt->font();
}

void SpinBox::SetFont(const QFont& font)
{
    m_txt->setFont(font);
    LayOut();
}

void SpinBox::SetLabelText(const QString& text)
{
    m_labelText = text;
    m_label->setText(text);
    LayOut();
}

void SpinBox::SetLabelWidth(int width)
{
    m_labelWidth = std::max(0, width);
    LayOut();
}

QFont SpinBox::LabelFont() const
{
    return m_label->font();
}

void SpinBox::SetLabelFont(const QFont& font)
{
    m_label->setFont(font);
    LayOut();
}

void SpinBox::SetLabelColor(OleColor color)
{
    m_labelColor = color;
    ApplyColours();
}

void SpinBox::SetLabelBackColor(OleColor color)
{
    m_labelBackColor = color;
    ApplyColours();
}

void SpinBox::ApplyColours()
{
    const QPalette base = palette();
    QPalette box = m_txt->palette();
    box.setColor(QPalette::Base, ResolveOleColor(m_backColor, base));
    box.setColor(QPalette::Text, ResolveOleColor(m_foreColor, base));
    m_txt->setPalette(box);
    QPalette label = m_label->palette();
    label.setColor(QPalette::Window, ResolveOleColor(m_labelBackColor, base));
    label.setColor(QPalette::WindowText, ResolveOleColor(m_labelColor, base));
    m_label->setPalette(label);
}

void SpinBox::ReadProperties(const PropertyBag& bag)
{
    auto readInt = [&](const char* name, int fallback) {
        return bag.ReadProperty(QLatin1String(name), fallback).toInt();
    };
    auto readColor = [&](const char* name, OleColor fallback) {
        return OleColor(bag.ReadProperty(QLatin1String(name), qulonglong(fallback))
                            .toULongLong());
    };
    auto readFont = [&](const char* name, const QFont& fallback) {
        QFont font = fallback;
        const QString text = bag.ReadProperty(QLatin1String(name)).toString();
        return (!text.isEmpty() && font.fromString(text)) ? font : fallback;
    };
    m_textFormat = readInt("TextFormat", AnyText);
    m_filterWhen = readInt("FilterWhen", OnChangeOrUndo);
    m_minNumber = bag.ReadProperty(QStringLiteral("MinNumber"), 0.0f).toFloat();
    m_maxNumber = bag.ReadProperty(QStringLiteral("MaxNumber"), 9999.0f).toFloat();
    SetMaxLength(readInt("MaxLength", 0));
    m_letterCase = readInt("LetterCase", AsTyped);
    SetPasswordChar(bag.ReadProperty(QStringLiteral("PasswordChar"), QString()).toString());
    SetLocked(bag.ReadProperty(QStringLiteral("Locked"), false).toBool());
    SetEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    m_selectOnFocus = bag.ReadProperty(QStringLiteral("SelectOnFocus"), false).toBool();
    SetAlignment(readInt("Alignment", 0));
    SetBorderStyle(readInt("BorderStyle", 1));
    m_spinVisible = bag.ReadProperty(QStringLiteral("SpinButton"), false).toBool();
    m_backColor = readColor("BackColor", SystemColor::Window);
    m_foreColor = readColor("ForeColor", SystemColor::WindowText);
    m_txt->setFont(readFont("Font", m_txt->font()));
    m_labelText = bag.ReadProperty(QStringLiteral("LabelText"), QString()).toString();
    m_label->setText(m_labelText);
    m_labelWidth = std::max(0, readInt("LabelWidth", 0));
    m_label->setFont(readFont("LabelFont", m_label->font()));
    m_labelColor = readColor("LabelColor", SystemColor::ButtonText);
    m_labelBackColor = readColor("LabelBackColor", SystemColor::ButtonFace);
    ApplyColours();
    LayOut();
    // Last, so the filter that the text change runs sees the format and range just read.
    SetText(bag.ReadProperty(QStringLiteral("Text"), QString()).toString());
}

void SpinBox::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("Text"), Text(), QString());
    bag.WriteProperty(QStringLiteral("TextFormat"), m_textFormat, int(AnyText));
    bag.WriteProperty(QStringLiteral("FilterWhen"), m_filterWhen, int(OnChangeOrUndo));
    bag.WriteProperty(QStringLiteral("MinNumber"), m_minNumber, 0.0f);
    bag.WriteProperty(QStringLiteral("MaxNumber"), m_maxNumber, 9999.0f);
    bag.WriteProperty(QStringLiteral("MaxLength"), m_maxLength, 0);
    bag.WriteProperty(QStringLiteral("LetterCase"), m_letterCase, int(AsTyped));
    bag.WriteProperty(QStringLiteral("PasswordChar"), m_passwordChar, QString());
    bag.WriteProperty(QStringLiteral("Locked"), Locked(), false);
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled, true);
    bag.WriteProperty(QStringLiteral("SelectOnFocus"), m_selectOnFocus, false);
    bag.WriteProperty(QStringLiteral("Alignment"), m_alignment, 0);
    bag.WriteProperty(QStringLiteral("BorderStyle"), m_borderStyle, 1);
    bag.WriteProperty(QStringLiteral("SpinButton"), m_spinVisible, false);
    bag.WriteProperty(QStringLiteral("BackColor"), qulonglong(m_backColor),
                      qulonglong(SystemColor::Window));
    bag.WriteProperty(QStringLiteral("ForeColor"), qulonglong(m_foreColor),
                      qulonglong(SystemColor::WindowText));
    bag.WriteProperty(QStringLiteral("Font"), Font().toString());
    bag.WriteProperty(QStringLiteral("LabelText"), m_labelText, QString());
    bag.WriteProperty(QStringLiteral("LabelWidth"), m_labelWidth, 0);
    bag.WriteProperty(QStringLiteral("LabelFont"), LabelFont().toString());
    bag.WriteProperty(QStringLiteral("LabelColor"), qulonglong(m_labelColor),
                      qulonglong(SystemColor::ButtonText));
    bag.WriteProperty(QStringLiteral("LabelBackColor"), qulonglong(m_labelBackColor),
                      qulonglong(SystemColor::ButtonFace));
}
