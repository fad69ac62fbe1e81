#include "shell/frmSync.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

frmSync::frmSync(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Synchronize with the audio"));
    auto* layout = new QVBoxLayout(this);
    lblStatus = new QLabel(tr("Listening to the film and comparing it with the subtitles..."));
    prgListening = new QProgressBar;
    prgListening->setRange(0, 100);
    prgListening->setValue(0);
    cmdCancel = new QPushButton(tr("Cancel"));
    layout->addWidget(lblStatus);
    layout->addWidget(prgListening);
    layout->addWidget(cmdCancel, 0, Qt::AlignRight);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSync::reject);
}

void frmSync::SetProgress(double share)
{
    prgListening->setValue(static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * 100)));
}

void frmSync::closeEvent(QCloseEvent* event)
{
    emit CancelRequested();
    QDialog::closeEvent(event);
}

void frmSync::reject()
{
    emit CancelRequested();
    QDialog::reject();
}
