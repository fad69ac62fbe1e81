#pragma once

#include <QDialog>
#include <QMessageBox>

#include <functional>

class QKeyEvent;
class QPushButton;
class SpinBox;

// "Set subtitle framerate": the frame rate a subtitle file was made for, 1 to 1000 frames per
// second. The caller reads the public fields after the modal show returns.
class frmFramerate : public QDialog {
    Q_OBJECT

public:
    explicit frmFramerate(QWidget* parent = nullptr);

    void Init(double framerate);

    // Message boxes go through here when set, so tests can see them instead of blocking.
    using MessageSink = std::function<void(QMessageBox::Icon, const QString&)>;
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    void cmdOK_Click();
    void cmdCancel_Click();

    double FramerateValue = 0;
    bool Canceled = true;

    SpinBox* txtTime = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);
    void txtTime_LostFocus();
    void showValueText(const QString& text);

    MessageSink messageSink_;
};
