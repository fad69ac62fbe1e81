#include "shell/frmMain.h"

#include "controls/MenuArrowImage.h"
#include "controls/XFlatButton.h"
#include "controls/frmAbout.h"
#include "controls/nSlider.h"
#include "media/MediaPlayerController.h"
#include "render/SubtitleOverlay.h"
#include "settings/Settings.h"
#include "shell/modMain.h"
#include "tracks/TrackLoader.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace {
const QColor kSymbolColor(40, 40, 40);
const QColor kDisabledSymbolColor(160, 160, 160);
// The transport pictures are keyed, not alpha-blended: every magenta pixel is left out.
constexpr OleColor kPictureKey = 0xFF00FF;

// A 16 x 16 picture on the magenta key with a painter ready for symbols of one colour. No
// smoothing: a pixel mixed from the symbol and magenta would show as a pink fringe.
template <typename Draw>
QPixmap symbolPicture(Draw&& draw, const QColor& color = kSymbolColor)
{
    QPixmap picture(16, 16);
    picture.fill(QColor(0xFF, 0x00, 0xFF));
    QPainter p(&picture);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    draw(p);
    return picture;
}

// 16 x 16 loudspeaker, with waves or with a cross when muted.
QPixmap soundPicture(bool muted)
{
    return symbolPicture([muted](QPainter& p) {
        p.drawPolygon(QPolygon({QPoint(1, 5), QPoint(4, 5), QPoint(8, 1), QPoint(8, 15),
                                QPoint(4, 11), QPoint(1, 11)}));
        p.setBrush(Qt::NoBrush);
        if (muted) {
            p.setPen(QPen(QColor(200, 0, 0), 2));
            p.drawLine(10, 5, 15, 11);
            p.drawLine(15, 5, 10, 11);
        } else {
            p.setPen(QPen(kSymbolColor, 1));
            p.drawArc(QRectF(6, 4, 6, 8), -60 * 16, 120 * 16);
            p.drawArc(QRectF(6, 1.5, 9, 13), -60 * 16, 120 * 16);
        }
    });
}

// Play, pause and stop symbols, 16 x 16; greyed while the button cannot be used.
QPixmap transportPicture(int kind, bool enabled = true)
{
    return symbolPicture([kind](QPainter& p) {
        if (kind == 0)
            p.drawPolygon(QPolygon({QPoint(4, 2), QPoint(13, 8), QPoint(4, 14)}));
        else if (kind == 1) {
            p.drawRect(4, 3, 3, 10);
            p.drawRect(10, 3, 3, 10);
        } else
            p.drawRect(4, 4, 9, 9);
    }, enabled ? kSymbolColor : kDisabledSymbolColor);
}

// Flat until the pointer comes: no border at rest (nor when disabled), a raised edge on hover,
// a sunken one pressed, on the plain face rather than the dithered one.
void makeTransportButton(XFlatButton& button)
{
    button.SetTransparentColor(kPictureKey);
    button.SetTransparency(true);
    button.SetNormalBorderStyle(0);
    button.SetHoverBorderStyle(4);
    button.SetPressedBorderStyle(2);
    button.SetHoverColor(SystemColor::ButtonText);
    button.SetStandardPressedBack(0);
}
} // namespace

frmMain* frmMain::Instance()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* main = qobject_cast<frmMain*>(window))
            return main;
    }
    return nullptr;
}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(modMain::kAppTitle);
    setAcceptDrops(true);
    subReader_ = std::make_unique<SubtitleReader>();
    buildMenus();
    buildControls();
    overlay_ = std::make_unique<SubtitleOverlay>(&modMain::Player());
    connectTransport();
    connectStatusLine();
    connectWindowBehaviour();
    resize(591, 435 + menuBar()->sizeHint().height());
    tmrSecond_.setInterval(25);
    connect(&tmrSecond_, &QTimer::timeout, this, &frmMain::tmrSecond_Timer);
    tmrSecond_.start();
}

frmMain::~frmMain()
{
    Form_Unload();
}

void frmMain::buildMenus()
{
    auto add = [this](QMenu* menu, const QString& caption, void (frmMain::*slot)()) {
        QAction* action = menu->addAction(caption);
        if (slot)
            connect(action, &QAction::triggered, this, slot);
        return action;
    };
    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuFileOpen = add(mnuFile, tr("&Open media..."), &frmMain::mnuFileOpen_Click);
    mnuFile->addSeparator();
    mnuFileExit = mnuFile->addAction(tr("E&xit"));
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);

    mnuSubtitles = menuBar()->addMenu(tr("&Subtitles"));
    mnuSubtitlesOpen = add(mnuSubtitles, tr("&Open subtitle file..."),
                           &frmMain::mnuSubtitlesOpen_Click);
    // Next to opening a file; the timing submenus stay right after Close.
    buildEmbeddedMenu();
    mnuSubtitlesClose = add(mnuSubtitles, tr("&Close subtitle file"),
                            &frmMain::mnuSubtitlesClose_Click);
    buildTimingMenus();
    mnuSubtitles->addSeparator();
    mnuSubtitlesAutoOpen = add(mnuSubtitles, tr("&Automatically open subtitle file"),
                               &frmMain::mnuSubtitlesAutoOpen_Click);
    mnuSubtitlesAutoOpen->setCheckable(true);

    mnuVideo = menuBar()->addMenu(tr("&Video"));
    mnuVideoPlay = mnuVideo->addAction(tr("&Play/pause (Space)"));
    mnuVideo->addSeparator();
    mnuVideoFull = mnuVideo->addAction(tr("&Full screen (Alt+Enter)"));
    mnuVideoFull->setCheckable(true);
    mnuVideoZoom = mnuVideo->addMenu(tr("&Zoom"));
    mnuVideoZoom50 = mnuVideoZoom->addAction(tr("&50%"));
    mnuVideoZoom100 = mnuVideoZoom->addAction(tr("&100%"));
    mnuVideoZoom200 = mnuVideoZoom->addAction(tr("&200%"));
    mnuVideoAOT = mnuVideo->addAction(tr("&Always on top (Ctrl+T)"));
    mnuVideoAOT->setCheckable(true);
    mnuVideo->addSeparator();
    mnuVideoPriority = mnuVideo->addAction(tr("&Use higher process priority"));
    mnuVideoPriority->setCheckable(true);
    mnuVideoMP = mnuVideo->addMenu(tr("Use rendering &engine"));
    mnuVideoMP1 = mnuVideoMP->addAction(tr("GStreamer"));
    mnuVideoMP2 = mnuVideoMP->addAction(tr("mpv"));
    mnuVideoMP1->setCheckable(true);
    mnuVideoMP2->setCheckable(true);

    mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelpAbout = mnuHelp->addAction(tr("&About"));
    connect(mnuHelpAbout, &QAction::triggered, this, [this] {
        frmAbout about(this);
        modMain::ShowDialog(&about, true);
    });
}

void frmMain::buildControls()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);
    picFrame = new QWidget(client);
    picFrame->setObjectName(QStringLiteral("picFrame"));
    picFrame->setAutoFillBackground(true);
    QPalette black = picFrame->palette();
    black.setColor(QPalette::Window, Qt::black);
    picFrame->setPalette(black);
    picFrame->setGeometry(0, 0, 445, 355);
    sldPos = new nSlider(client);
    sldPos->setGeometry(0, 357, 445, 19);
    picControls = new QWidget(client);
    picControls->setGeometry(0, 378, 439, 35);
    imgSound = soundPicture(false);
    imgSoundMute = soundPicture(true);
    auto button = [this](int left, int kind) {
        auto* b = new XFlatButton(picControls);
        b->setGeometry(left, 3, 25, 25);
        makeTransportButton(*b);
        if (kind >= 0) {
            b->SetPicture(transportPicture(kind));
            b->SetPictureDisabled(transportPicture(kind, false));
        }
        return b;
    };
    cmdPlay = button(6, 0);
    cmdPause = button(31, 1);
    cmdStop = button(56, 2);
    cmdMute = button(174, -1);
    cmdMute->SetPicture(imgSound);
    cmdMute->SetTogglable(true);
    sldVolume = new nSlider(picControls);
    sldVolume->setGeometry(204, 0, 109, 22);
    // No thumb until start-up places it, so that placing it is a change the player hears.
    sldPos->SetValue(-1);
    sldVolume->SetValue(-1);
    MenuImageArrow = new MenuArrowImage(client);
    const int statusLeft[3] = {0, 261, 450};
    const int statusWidth[3] = {259, 187, 127};
    for (int i = 0; i < 3; ++i) {
        cmdStatus[i] = new XFlatButton(client);
        cmdStatus[i]->setGeometry(statusLeft[i], 414, statusWidth[i], 19);
    }
}

QWidget* frmMain::SubtitleWindow()
{
    return overlay_ ? overlay_->Window() : nullptr;
}

void frmMain::ShowVideoMenu(QWidget*, const QPoint& globalPosition)
{
    mnuVideo->popup(globalPosition);
}

void frmMain::ReleaseOverlaySurface()
{
    if (overlay_)
        overlay_->ReleaseSurface();
}

void frmMain::SetOverlay(std::unique_ptr<SubtitlePresenter> overlay)
{
    overlay_ = std::move(overlay);
}

void frmMain::ShowMessage(QMessageBox::Icon icon, const QString& text)
{
    if (messageSink_) {
        messageSink_(icon, text);
        return;
    }
    // Owned by the window the user sees, so the box opens centred on it: a box owned by the
    // main window while full screen hides it would be placed by the window manager alone.
    QWidget* owner = fullScreen_ && fullScreen_->isVisible() ? fullScreen_.data() : this;
    QMessageBox box(icon, modMain::kAppTitle, text, QMessageBox::Ok, owner);
    box.exec();
}
