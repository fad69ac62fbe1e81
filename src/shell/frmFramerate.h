#pragma once

#include "shell/ValueDialog.h"

// "Set subtitle framerate": the frame rate a subtitle file was made for, 1 to 1000 frames per
// second.
class frmFramerate : public ValueDialog {
    Q_OBJECT

public:
    explicit frmFramerate(QWidget* parent = nullptr);

    void Init(double framerate);
    void cmdOK_Click() override;

    double FramerateValue = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void txtTime_LostFocus();
};
