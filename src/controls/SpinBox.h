#pragma once

#include "controls/OleColor.h"

#include <QWidget>

class PropertyBag;
class QLabel;
class QLineEdit;
class QToolButton;

// A labelled one-line entry that can hold its text to a whole or decimal number within a range,
// force its letter case, and step the number with up/down buttons.
class SpinBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Text READ Text WRITE SetText)

public:
    enum Format { AnyText = 0, DecimalNumber = 1, WholeNumber = 2 };
    enum When { OnCall = 0, OnChange = 1, OnLeave = 2, OnChangeOrUndo = 3 };
    enum Case { AsTyped = 0, Upper = 1, Lower = 2 };

    explicit SpinBox(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    int TextFormat() const { return m_textFormat; }
    void SetTextFormat(int format) { m_textFormat = format; }
    int FilterWhen() const { return m_filterWhen; }
    void SetFilterWhen(int when) { m_filterWhen = when; }
    float MinNumber() const { return m_minNumber; }
    void SetMinNumber(float value) { m_minNumber = value; }
    float MaxNumber() const { return m_maxNumber; }
    void SetMaxNumber(float value) { m_maxNumber = value; }
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length);
    int LetterCase() const { return m_letterCase; }
    void SetLetterCase(int letterCase) { m_letterCase = letterCase; }
    QString PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(const QString& mask);
    bool Locked() const;
    void SetLocked(bool locked);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool SelectOnFocus() const { return m_selectOnFocus; }
    void SetSelectOnFocus(bool on) { m_selectOnFocus = on; }
    int Alignment() const { return m_alignment; }
    void SetAlignment(int alignment);
    int BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(int style);
    bool SpinButtonVisible() const { return m_spinVisible; }
    void SetSpinButtonVisible(bool visible);
    OleColor BackColor() const { return m_backColor; }
    void SetBackColor(OleColor color);
    OleColor ForeColor() const { return m_foreColor; }
    void SetForeColor(OleColor color);
    QFont Font() const;
    void SetFont(const QFont& font);
    QString LabelText() const { return m_labelText; }
    void SetLabelText(const QString& text);
    int LabelWidth() const { return m_labelWidth; }
    void SetLabelWidth(int width);
    QFont LabelFont() const;
    void SetLabelFont(const QFont& font);
    OleColor LabelColor() const { return m_labelColor; }
    void SetLabelColor(OleColor color);
    OleColor LabelBackColor() const { return m_labelBackColor; }
    void SetLabelBackColor(OleColor color);

    void Filter();
    void SelectAll();
    QLineEdit* TextBox() const { return m_txt; }
    QLabel* LabelArea() const { return m_label; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    QSize sizeHint() const override;

signals:
    void Change();
    void Filtered(int filteredChars);
    void SpinUp();
    void SpinDown();
    void KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void KeyUp(int keyCode, Qt::KeyboardModifiers shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TextChanged();
    void Step(bool up);
    void SetShownText(const QString& text);
    void ApplyColours();
    void LayOut();
    bool RangeChecked() const { return m_minNumber != 0 || m_maxNumber != 0; }

    QLabel* m_label;
    QLineEdit* m_txt;
    QWidget* m_spin;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_textFormat = AnyText;
    int m_filterWhen = OnChangeOrUndo;
    float m_minNumber = 0, m_maxNumber = 9999;
    int m_maxLength = 0;
    int m_letterCase = AsTyped;
    QString m_passwordChar;
    bool m_enabled = true;
    bool m_selectOnFocus = false;
    int m_alignment = 0;
    int m_borderStyle = 1;
    bool m_spinVisible = false;
    OleColor m_backColor = SystemColor::Window, m_foreColor = SystemColor::WindowText;
    QString m_labelText;
    int m_labelWidth = 0;
    OleColor m_labelColor = SystemColor::ButtonText, m_labelBackColor = SystemColor::ButtonFace;
    QString m_lastAccepted;
    bool m_filtering = false;
    bool m_spinning = false;
    bool m_settingText = false;
};
