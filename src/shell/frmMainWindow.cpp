// Window behaviour: layout, zoom, always on top, process priority, the engine switch and full
// screen. The keys are in frmMainWindowKeys.cpp.
#include "shell/frmMain.h"

#include "controls/XFlatButton.h"
#include "controls/nSlider.h"
#include "media/MediaPlayerController.h"
#include "platform/WindowKeepAbove.h"
#include "settings/Settings.h"
#include "shell/frmFullScreen.h"
#include "shell/modMain.h"
#include "settings/SettingNames.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <algorithm>
#include <cerrno>

#include <sys/resource.h>

using modMain::AppSettings;
using modMain::Player;

namespace {

// Menus, tool tips and the subtitle overlay place themselves; the rest are the program's forms.
bool followsAlwaysOnTop(const QWidget* window)
{
    switch (window->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::Tool:
    case Qt::Desktop:
    case Qt::SplashScreen: return false;
    default: return true;
    }
}

// Linux keeps a nice value per thread, and the engines' threads exist already: every thread
// of the process is set, not only this one.
void setProcessNice(int nice)
{
    setpriority(PRIO_PROCESS, 0, nice);
    const QStringList tasks = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs
                                                                      | QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        bool ok = false;
        const int id = task.toInt(&ok);
        if (ok)
            setpriority(PRIO_PROCESS, id_t(id), nice);
    }
}

} // namespace

void frmMain::connectWindowBehaviour()
{
    connect(mnuVideoPlay, &QAction::triggered, this, [] { Player().PlayToggle(); });
    connect(mnuVideoFull, &QAction::triggered, this, &frmMain::mnuVideoFull_Click);
    connect(mnuVideoZoom50, &QAction::triggered, this, &frmMain::mnuVideoZoom50_Click);
    connect(mnuVideoZoom100, &QAction::triggered, this, &frmMain::mnuVideoZoom100_Click);
    connect(mnuVideoZoom200, &QAction::triggered, this, &frmMain::mnuVideoZoom200_Click);
    connect(mnuVideoAOT, &QAction::triggered, this, &frmMain::mnuVideoAOT_Click);
    connect(mnuVideoPriority, &QAction::triggered, this, &frmMain::mnuVideoPriority_Click);
    connect(mnuVideoMP1, &QAction::triggered, this, &frmMain::mnuVideoMP1_Click);
    connect(mnuVideoMP2, &QAction::triggered, this, &frmMain::mnuVideoMP2_Click);
    connect(mnuVideo, &QMenu::aboutToShow, this, &frmMain::Able);
    // Keys are seen before the control that has the focus (see eventFilter).
    qApp->installEventFilter(this);
}

// ----- Layout -----

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize()
{
    QWidget* client = centralWidget();
    if (!client)
        return;
    const int w = client->width();
    const int h = client->height();
    // A size that comes out negative in a very small window is skipped, as a failed step is:
    // the control stays as it was until the window grows again.
    auto setWidth = [](QWidget* control, int width) {
        if (width >= 0)
            control->resize(width, control->height());
    };
    auto setHeight = [](QWidget* control, int height) {
        if (height >= 0)
            control->resize(control->width(), height);
    };
    setWidth(sldPos, w);
    const int statusTop = h - cmdStatus[0]->height();
    for (XFlatButton* cell : cmdStatus)
        cell->move(cell->x(), statusTop);
    cmdStatus[2]->move(w - cmdStatus[2]->width(), statusTop);
    cmdStatus[1]->move(cmdStatus[2]->x() - cmdStatus[1]->width() - 1, statusTop);
    setWidth(cmdStatus[0], cmdStatus[1]->x() - 1);
    picControls->move(picControls->x(), statusTop - picControls->height());
    setWidth(picControls, w);
    sldPos->move(sldPos->x(), picControls->y() - sldPos->height() - 4);
    setWidth(picFrame, sldPos->width());
    setHeight(picFrame, sldPos->y() - 2);
    ReleaseOverlaySurface();
    Player().Resize();
    tmrSecond_Timer();
}

// ----- Zoom and full screen -----

void frmMain::mnuVideoZoom50_Click()
{
    zoomTo(0.5);
}

void frmMain::mnuVideoZoom100_Click()
{
    zoomTo(1.0);
}

void frmMain::mnuVideoZoom200_Click()
{
    zoomTo(2.0);
}

void frmMain::zoomTo(double factor)
{
    Player().SetFullScreen(false);
    ZoomWithinScreen(factor);
}

// Where the wanted factor would take the window past the screen's free area (its controls and
// status line out of reach), the largest factor that fits is used instead; the window is then
// moved as little as needed to lie wholly inside that area.
void frmMain::ZoomWithinScreen(double factor)
{
    MediaPlayerController& player = Player();
    const long videoWidth = player.WidthOriginalVideo();
    const long videoHeight = player.HeightOriginalVideo();
    QScreen* where = screen();
    if (!where || videoWidth <= 0 || videoHeight <= 0) {
        player.SetZoom(factor);
        return;
    }
    const QRect area = where->availableGeometry();
    const QRect outer = frameGeometry();
    const long aroundWidth = outer.width() - player.Width();
    const long aroundHeight = outer.height() - player.Height();
    const double largest = std::min(double(area.width() - aroundWidth) / videoWidth,
                                    double(area.height() - aroundHeight) / videoHeight);
    if (largest > 0 && factor > largest)
        factor = largest;
    player.SetZoom(factor);
    const QRect zoomed(outer.topLeft(), frameGeometry().size());
    const int left =
        std::max(area.left(), std::min(zoomed.left(), area.right() + 1 - zoomed.width()));
    const int top =
        std::max(area.top(), std::min(zoomed.top(), area.bottom() + 1 - zoomed.height()));
    if (QPoint(left, top) != zoomed.topLeft())
        move(left, top);
}

void frmMain::mnuVideoFull_Click()
{
    Player().SetFullScreen(!Player().FullScreen());
    Able();
}

// The window manager places a window that is mapped again as it sees fit, whatever position the
// program asks for before: one the program hid (for full screen) is moved back to where it stood
// once it is mapped. The request goes to the native window, which Qt may still think is there.
void frmMain::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (!event->spontaneous())
        placeWhenHidden_ = frameGeometry().topLeft();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!placeWhenHidden_ || event->spontaneous())
        return;
    const QPoint place = *placeWhenHidden_;
    placeWhenHidden_.reset();
    QTimer::singleShot(0, this, [this, place] {
        if (QWindow* handle = windowHandle(); handle && isVisible())
            handle->setFramePosition(place);
    });
}

QWidget* frmMain::LoadFullScreenWindow()
{
    if (!fullScreen_)
        fullScreen_ = new frmFullScreen(*this);
    return fullScreen_;
}

// Full screen often ends from inside the window's own key handler or watchdog: it goes once
// that handler has returned, but it is out of use and out of sight at once.
void frmMain::UnloadFullScreenWindow()
{
    if (!fullScreen_)
        return;
    if (auto* window = qobject_cast<frmFullScreen*>(fullScreen_.data()))
        window->tmrCheck().stop();
    fullScreen_->hide();
    fullScreen_->deleteLater();
    fullScreen_ = nullptr;
}

// ----- Always on top -----

bool frmMain::AOT() const
{
    return AppSettings().GetSetting(SettingNames::AlwaysOnTop).toBool();
}

void frmMain::SetAOT(bool on)
{
    if (on != AOT())
        AppSettings().SetSetting(SettingNames::AlwaysOnTop, on, SettingBoolean, nullptr, {}, true);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (followsAlwaysOnTop(window))
            placeTopmost(window, on);
    }
    mnuVideoAOT->setChecked(on);
}

void frmMain::mnuVideoAOT_Click()
{
    SetAOT(!AOT());
}

// Changes the window's placement in place: re-creating it, as QWidget::setWindowFlags does,
// would hide it, and a hidden modal dialog ends its exec(). Where the window manager can be asked
// directly, Qt's flag is only recorded on the widget: set on the native window, it would make Qt
// replace that window (a new id) the next time it is shown.
void frmMain::placeTopmost(QWidget* window, bool on)
{
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    QWindow* handle = window->windowHandle();
    if (!handle) {
        // Not created yet: the flag goes to its first native window.
        if (flags != window->windowFlags())
            window->setWindowFlags(flags);
        return;
    }
    if (KeepAbove(handle, on)) {
        window->overrideWindowFlags(flags);
        return;
    }
    if (flags == window->windowFlags())
        return;
    window->overrideWindowFlags(flags);
    handle->setFlags(flags);
}

void frmMain::SetLoadingForm(QWidget* form)
{
    if (loadingForm_)
        loadingForm_->removeEventFilter(this);
    loadingForm_ = form;
    if (form)
        form->installEventFilter(this);
}

// The remembered dialog is being shown: it must not open behind an always-on-top main window.
void frmMain::LoadingForm_Resize()
{
    QWidget* form = loadingForm_;
    if (!form)
        return;
    if (AOT())
        placeTopmost(form, true);
    form->removeEventFilter(this);
    loadingForm_ = nullptr;
}

// ----- Priority and engine -----

bool frmMain::HighPriority() const
{
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, 0);
    return errno == 0 && nice < 0;
}

void frmMain::SetHighPriority(bool high)
{
    // Raising needs the right to; where it is refused the menu shows the class in force.
    setProcessNice(high ? -5 : 0);
    mnuVideoPriority->setChecked(HighPriority());
}

// The menu item has already flipped its check mark when this runs: checked is the wish.
void frmMain::mnuVideoPriority_Click()
{
    SetHighPriority(mnuVideoPriority->isChecked());
    AppSettings().SetSetting(SettingNames::HighPriority, HighPriority(), SettingBoolean);
}

void frmMain::mnuVideoMP1_Click()
{
    switchEngine(EngineKind::GStreamer);
}

void frmMain::mnuVideoMP2_Click()
{
    switchEngine(EngineKind::Mpv);
}

void frmMain::switchEngine(EngineKind engine)
{
    MediaPlayerController& player = Player();
    // The engine being waited on cannot go under the wait: the switch comes after it.
    if (player.Opening()) {
        player.AfterOpening([window = QPointer<frmMain>(this), engine] {
            if (window)
                window->switchEngine(engine);
        });
        return;
    }
    if (!player.SetMP(engine)) {
        const bool first = engine == EngineKind::GStreamer;
        (first ? mnuVideoMP1 : mnuVideoMP2)->setEnabled(false);
        player.SetMP(first ? EngineKind::Mpv : EngineKind::GStreamer);
    }
    AppSettings().SetSetting(SettingNames::MediaPlayerType, qint64(player.MediaPlayer()),
                             SettingNumber, nullptr, {}, true);
    Able();
}
