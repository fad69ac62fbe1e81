#pragma once

#include "shell/ValueDialog.h"

#include <cstdint>
#include <optional>

class QComboBox;

// "Set subtitle delay": one sentence of controls that asks how many milliseconds earlier or
// later than programmed the subtitles should appear.
class frmDelay : public ValueDialog {
    Q_OBJECT

public:
    explicit frmDelay(QWidget* parent = nullptr);

    // The box shows the absolute value; "earlier" stands for 0 as well, as "later than
    // normally" would read oddly for no delay at all.
    void Init(int32_t delay);

    // The signed delay the text and the direction give (lenient parse, halves to even);
    // nullopt when it does not fit 32 bits. Direction -1 (nothing chosen) counts as earlier.
    static std::optional<int32_t> DelayFromText(const QString& text, int directionIndex);

    void cmdOK_Click() override;

    int32_t DelayValue = 0;
    QComboBox* cmbTime = nullptr;
};
