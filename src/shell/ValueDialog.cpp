#include "shell/ValueDialog.h"

#include "controls/SpinBox.h"
#include "shell/modMain.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace {
constexpr int kValueLength = 7;
}

ValueDialog::ValueDialog(QWidget* parent, const QString& title, const QString& label,
                         int textFormat, int labelGap)
    : QDialog(parent)
{
    setWindowTitle(title);
    txtTime = new SpinBox(this);
    txtTime->setObjectName(QStringLiteral("txtTime"));
    txtTime->SetLabelText(label);
    txtTime->SetTextFormat(textFormat);
    txtTime->SetMinNumber(0);
    txtTime->SetMaxNumber(0);
    txtTime->SetMaxLength(kValueLength);
    txtTime->SetSelectOnFocus(true);
    const QFontMetrics metrics = fontMetrics();
    txtTime->setFixedWidth(metrics.horizontalAdvance(label) + labelGap
                           + metrics.horizontalAdvance(QString(kValueLength + 1, u'0')) + 12);
    cmdOK = new QPushButton(tr("OK"), this);
    cmdCancel = new QPushButton(tr("Cancel"), this);
}

void ValueDialog::finishLayout(QBoxLayout* sentence, QWidget* note)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->addLayout(sentence);
    if (note)
        column->addWidget(note);
    column->addSpacing(6);
    column->addLayout(buttons);

    // Tab follows the sentence as it reads, then OK and Cancel.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    };
    for (int i = 0; i < sentence->count(); ++i) {
        QWidget* control = sentence->itemAt(i)->widget();
        if (control && control->focusProxy())
            control = control->focusProxy();
        if (control && control->focusPolicy() & Qt::TabFocus)
            chain(control);
    }
    chain(cmdOK);
    chain(cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &ValueDialog::cmdCancel_Click);
    // Enter and Escape belong to the dialog whichever control has the focus, so every control
    // shows them to the dialog first.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    txtTime->setFocus();
}

void ValueDialog::cmdCancel_Click()
{
    reject();
}

void ValueDialog::showValueText(const QString& text)
{
    if (text.size() > txtTime->MaxLength())
        txtTime->SetMaxLength(int(text.size()));
    txtTime->SetText(text);
}

void ValueDialog::refuse(const QString& text)
{
    if (messageSink_)
        messageSink_(QMessageBox::Critical, text);
    else
        QMessageBox(QMessageBox::Critical, modMain::kAppTitle, text, QMessageBox::Ok, this).exec();
    txtTime->setFocus(Qt::OtherFocusReason);
}

bool ValueDialog::handleKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cmdOK->isEnabled())
            cmdOK_Click();
        return true;
    case Qt::Key_Escape:
        if (cmdCancel->isEnabled())
            cmdCancel_Click();
        return true;
    default:
        return false;
    }
}

bool ValueDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void ValueDialog::keyPressEvent(QKeyEvent* event)
{
    if (!handleKey(event))
        QDialog::keyPressEvent(event);
}
