#include "controls/frmAbout.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

// Resources of a static library are only linked in when something names them.
static void LoadControlResources()
{
    Q_INIT_RESOURCE(controls);
}

namespace {

const char* const kProductName = "Tavrell Veltrix";

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
{
    LoadControlResources();
    setWindowTitle(QStringLiteral("About ") + QLatin1String(kProductName));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);
    setFixedSize(421, 330);

    // The logo is drawn at twice its shown size, so it stays sharp on a 2x screen.
    m_image = new QLabel(this);
    QPixmap logo(QStringLiteral(":/controls/logo.png"));
    logo.setDevicePixelRatio(2.0);
    m_image->setPixmap(logo);
    m_image->setGeometry(24, 24, 96, 96);

    m_title = new QLabel(QLatin1String(kProductName), this);
    QFont bold = tahoma;
    bold.setBold(true);
    bold.setPixelSize(22);
    m_title->setFont(bold);
    m_title->setGeometry(140, 28, 260, 30);

    m_author = new QLabel(QStringLiteral("by Tavrell"), this);
    m_author->setGeometry(140, 64, 260, 18);

    m_version = new QLabel(this);
    m_version->setText(VersionText(VELTRIX_VERSION_MAJOR, VELTRIX_VERSION_MINOR,
                                   VELTRIX_VERSION_PATCH));
    m_version->setGeometry(140, 86, 260, 18);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_notice = new QLabel(
        QStringLiteral("A video player that shows subtitle files over the picture.\n\n"
                       "This program is provided as is, without warranty of any kind. "
                       "The video and subtitle files you play remain the property of their "
                       "owners; respect their rights when you copy or share them."),
        this);
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notice->setGeometry(24, 150, 373, 110);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(24, 136, 373, 2);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(421 - 24 - 88, 330 - 24 - 28, 88, 28);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString frmAbout::VersionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(major)
        .arg(minor)
        .arg(revision, 3, 10, QChar(u'0'));
}

QLabel* frmAbout::lbl(int index) const
{
    switch (index) {
    case 0: return m_notice;
    case 1: return m_title;
    case 2: return m_author;
    default: return nullptr;
    }
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        // Both keys act as the button would, and so do nothing while it is disabled.
        if (m_ok->isEnabled())
            m_ok->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
