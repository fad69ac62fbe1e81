#pragma once

#include <QDialog>
#include <QMessageBox>

#include <functional>

class QBoxLayout;
class QKeyEvent;
class QPushButton;
class SpinBox;

// The small modal dialogs that ask for one number: a labelled value box in a sentence, OK and
// Cancel, Enter and Escape wherever the focus is. The caller reads the public fields after the
// modal show returns; Canceled stays true unless OK succeeds.
class ValueDialog : public QDialog {
    Q_OBJECT

public:
    // Message boxes go through here when set, so tests can see them instead of blocking.
    using MessageSink = std::function<void(QMessageBox::Icon, const QString&)>;
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    virtual void cmdOK_Click() = 0;
    void cmdCancel_Click();

    bool Canceled = true;

    SpinBox* txtTime = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    ValueDialog(QWidget* parent, const QString& title, const QString& label, int textFormat,
                int labelGap);
    // Lays out the sentence the subclass built around txtTime, an optional note under it and
    // the buttons, and starts watching every control's keys.
    void finishLayout(QBoxLayout* sentence, QWidget* note = nullptr);
    // The limit is for typing: a longer value handed in is shown whole, never cut to another.
    void showValueText(const QString& text);
    // OK could not accept: say why and give the box the focus back, the dialog staying open.
    void refuse(const QString& text);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);

    MessageSink messageSink_;
};
