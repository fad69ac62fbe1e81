#include "controls/SpinBox.h"

#include "platform/NumberParse.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Numbers are kept in single precision, so they are written back with its seven digits:
// 12.5 stays "12.5" rather than growing float noise.
QString NumberText(float value)
{
    return QString::number(double(value), 'g', 7);
}

float TextValue(const QString& text)
{
    return float(ParseLenient(text).value_or(0.0));
}

} // namespace

SpinBox::SpinBox(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)), m_txt(new QLineEdit(this)),
      m_spin(new QWidget(this)), m_up(new QToolButton(m_spin)), m_down(new QToolButton(m_spin))
{
    m_label->setAutoFillBackground(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label->hide();
    auto* column = new QVBoxLayout(m_spin);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (QToolButton* button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        column->addWidget(button);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_spin->hide();
    setFocusProxy(m_txt);
    m_txt->installEventFilter(this);
    connect(m_txt, &QLineEdit::textChanged, this, &SpinBox::TextChanged);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(true); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(false); });
    ApplyColours();
}

QSize SpinBox::sizeHint() const
{
    const QSize text = m_txt->sizeHint();
    const int label = m_label->isHidden() ? 0 : m_label->sizeHint().width();
    return QSize(label + 80 + (m_spinVisible ? 16 : 0), text.height());
}

QString SpinBox::Text() const
{
    return m_txt->text();
}

void SpinBox::SetText(const QString& text)
{
    m_txt->setText(text);
}

void SpinBox::SetShownText(const QString& text)
{
    if (text == m_txt->text())
        return;
    m_settingText = true;
    m_txt->setText(text);
    m_settingText = false;
}

void SpinBox::TextChanged()
{
    if (m_settingText)
        return;
    QString text = m_txt->text();
    if (text.contains(u'\r') || text.contains(u'\n')) {
        const int caret = m_txt->cursorPosition();
        text.remove(u'\r').remove(u'\n');
        SetShownText(text);
        m_txt->setCursorPosition(std::min<int>(caret, text.size()));
    }
    if ((m_filterWhen == OnChange || m_filterWhen == OnChangeOrUndo) && m_enabled)
        Filter();
    emit Change();
}

void SpinBox::Filter()
{
    if (m_filtering)
        return;
    m_filtering = true;
    const int caret = m_txt->cursorPosition();
    const QString shown = m_txt->text();
    QString result;
    int removed = 0;
    if (m_textFormat == DecimalNumber || m_textFormat == WholeNumber) {
        for (QChar c : shown) {
            const bool keep = (c >= u'0' && c <= u'9') || (c == u'.' && m_textFormat == 1);
            keep ? void(result.append(c)) : void(++removed);
        }
    } else {
        result = shown;
    }
    if (m_textFormat != AnyText && RangeChecked()) {
        const float value = TextValue(result);
        if (value > m_maxNumber)
            result = NumberText(m_maxNumber);
        else if (value < m_minNumber)
            result = NumberText(m_minNumber);
    }
    if (m_letterCase == Upper)
        result = result.toUpper();
    else if (m_letterCase == Lower)
        result = result.toLower();
    if (m_filterWhen == OnChangeOrUndo && result != shown) {
        SetShownText(m_lastAccepted);
    } else {
        SetShownText(result);
        m_lastAccepted = result;
    }
    m_txt->setCursorPosition(std::clamp<int>(caret - removed, 0, m_txt->text().size()));
    m_filtering = false;
    emit Filtered(removed);
}

void SpinBox::Step(bool up)
{
    if (m_spinning)
        return;
    m_spinning = true;
    m_txt->setFocus(Qt::OtherFocusReason);
    Filter();
    float value = TextValue(m_txt->text());
    // With no range there are no limits to step against.
    if (up && (!RangeChecked() || value <= m_maxNumber - 1))
        value += 1;
    else if (!up && (!RangeChecked() || value >= m_minNumber + 1))
        value -= 1;
    m_txt->setText(NumberText(value));
    m_spinning = false;
    up ? emit SpinUp() : emit SpinDown();
}

void SpinBox::SelectAll()
{
    m_txt->selectAll();
}

bool SpinBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_txt)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        // After the click that gave the focus has placed the caret, or it would undo this.
        if (m_selectOnFocus)
            QTimer::singleShot(0, m_txt, &QLineEdit::selectAll);
        break;
    case QEvent::FocusOut:
        if (m_filterWhen == OnLeave)
            Filter();
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        emit KeyDown(key->key(), key->modifiers());
        break;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        emit KeyUp(key->key(), key->modifiers());
        break;
    }
    default:
        break;
    }
    return false;
}

void SpinBox::resizeEvent(QResizeEvent*)
{
    LayOut();
}

void SpinBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        ApplyColours();
    QWidget::changeEvent(event);
}

void SpinBox::LayOut()
{
    int left = 0;
    if (!m_labelText.isEmpty()) {
        left = m_labelWidth > 0
                   ? m_labelWidth
                   : m_label->fontMetrics().horizontalAdvance(m_labelText) + 2;
        m_label->setGeometry(0, 0, std::min(left, width()), height());
    }
    m_label->setVisible(!m_labelText.isEmpty());
    const int spinWidth = m_spinVisible ? std::max(12, height() * 2 / 3) : 0;
    m_spin->setGeometry(width() - spinWidth, 0, spinWidth, height());
    m_spin->setVisible(m_spinVisible);
    m_txt->setGeometry(left, 0, std::max(0, width() - left - spinWidth), height());
}
