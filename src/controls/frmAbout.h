#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The Help menu's about box: logo, name, author, version and a short notice; closed by its OK
// button, Enter or Escape.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    // "Version 1.2.005": the revision has at least three digits.
    static QString VersionText(int major, int minor, int revision);

    QLabel* Image2() const { return m_image; }
    QLabel* lblVersion() const { return m_version; }
    QLabel* lbl(int index) const;
    QPushButton* cmdOK() const { return m_ok; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_image;
    QLabel* m_title;
    QLabel* m_author;
    QLabel* m_version;
    QLabel* m_notice;
    QPushButton* m_ok;
};
