#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// "Synchronize with the audio": how far the assistant has listened, and Cancel. Not modal, so
// the film keeps playing and the window keeps answering while it works.
class frmSync : public QDialog
{
    Q_OBJECT

public:
    explicit frmSync(QWidget* parent = nullptr);

    void SetProgress(double share);
    QPushButton* cmdCancel = nullptr;

signals:
    // Cancel, Escape or the window's close button.
    void CancelRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QLabel* lblStatus = nullptr;
    QProgressBar* prgListening = nullptr;
};
