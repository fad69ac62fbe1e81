#pragma once

#include <QDialog>
#include <QMessageBox>

#include <cstdint>
#include <functional>
#include <optional>

class QComboBox;
class QKeyEvent;
class QPushButton;
class SpinBox;

// "Set subtitle delay": one sentence of controls that asks how many milliseconds earlier or
// later than programmed the subtitles should appear. The caller reads the public fields after
// the modal show returns.
class frmDelay : public QDialog {
    Q_OBJECT

public:
    explicit frmDelay(QWidget* parent = nullptr);

    // The box shows the absolute value; "earlier" stands for 0 as well, as "later than
    // normally" would read oddly for no delay at all.
    void Init(int32_t delay);

    // The signed delay the text and the direction give (lenient parse, halves to even);
    // nullopt when it does not fit 32 bits. Direction -1 (nothing chosen) counts as earlier.
    static std::optional<int32_t> DelayFromText(const QString& text, int directionIndex);

    // Message boxes go through here when set, so tests can see them instead of blocking.
    using MessageSink = std::function<void(QMessageBox::Icon, const QString&)>;
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    void cmdOK_Click();
    void cmdCancel_Click();

    int32_t DelayValue = 0;
    bool Canceled = true;

    SpinBox* txtTime = nullptr;
    QComboBox* cmbTime = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);
    void showValueText(const QString& text);

    MessageSink messageSink_;
};
