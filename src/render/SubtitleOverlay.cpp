#include "SubtitleOverlay.h"

#include "media/MediaPlayerController.h"
#include "platform/Rounding.h"
#include "platform/WindowAtPoint.h"
#include "render/OverlaySurface.h"
#include "render/OverlayTextFit.h"
#include "render/frmSubtitle.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QPainter>
#include <QStringList>
#include <QWindow>

#include <algorithm>

std::unique_ptr<ScreenBuffer> OverlaySurface;

namespace {

constexpr char16_t kMusicNote = u'\u266B';
constexpr int kPadding = 16;     // added to the text's height for the overlay's

int rounded(double value)
{
    return RoundToInt32(value).value_or(0);
}

}   // namespace

SubtitleOverlay::SubtitleOverlay(MediaPlayerController* player) : player_(player) {}

SubtitleOverlay::~SubtitleOverlay()
{
    Unload();
}

QString SubtitleOverlay::DisplayText(const QString& text)
{
    QString clean = text;
    clean.remove(QChar(0));
    qsizetype begin = 0;
    qsizetype end = clean.size();
    while (begin < end && clean.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && clean.at(end - 1) == QLatin1Char(' '))
        --end;
    clean = clean.mid(begin, end - begin);
    clean.replace(QLatin1Char('#'), QChar(kMusicNote));
    return clean;
}

bool SubtitleOverlay::ShowSubtitle(const SubtitlePtr& entry, double positionSeconds)
{
    Q_UNUSED(positionSeconds);
    return Show(entry, sceneFromPlayer());
}

OverlayScene SubtitleOverlay::sceneFromPlayer() const
{
    OverlayScene scene;
    if (!player_)
        return scene;
    if (QWidget* container = player_->Container())
        scene.container = QRect(container->mapToGlobal(QPoint(0, 0)), container->size());
    scene.pictureWidth = player_->Width();
    scene.videoHeight = player_->HeightOriginalVideo() * player_->Zoom();
    scene.fullScreen = player_->FullScreen();
    if (PlayerWindowHost* host = player_->WindowHost()) {
        scene.mainWindow = host->MainWindow();
        if (scene.fullScreen)
            scene.fullScreenWindow = host->FullScreenWindow();
    }
    return scene;
}

QString SubtitleOverlay::capped(const QString& text, const OverlayScene& scene) const
{
    // The screen the picture is on bounds what can show; the overlay may reach above the picture.
    QSize screen = scene.container.size();
    if (const QScreen* on = QGuiApplication::screenAt(scene.container.center()))
        screen = screen.expandedTo(on->geometry().size());
    const QFont font = form_ ? form_->font() : QFont(QStringLiteral("Arial"));
    return OverlayTextFit::CapToScreen(text, font, screen, form_);
}

bool SubtitleOverlay::uncovered(const OverlayScene& scene)
{
    if (scene.fullScreen)
        return true;
    const QRect& box = scene.container;
    const double left = box.left(), top = box.top();
    const double right = left + box.width(), bottom = top + box.height();
    const QPoint probe(rounded((left + right) * 0.5), rounded(0.25 * top + 0.75 * bottom));
    const quintptr form = quintptr(form_->winId());
    const quintptr main = scene.mainWindow ? quintptr(scene.mainWindow->winId()) : 0;
    const bool changed = stacking_.TakeChange();
    if (!changed && uncovered_ && uncovered_->probe == probe && uncovered_->form == form
        && uncovered_->main == main)
        return uncovered_->answer;
    const quintptr found = TopLevelWindowAtPoint(probe);
    const bool answer = found
        && (found == TopLevelAncestor(form) || (main && found == TopLevelAncestor(main)));
    uncovered_ = Uncovered{probe, form, main, answer};
    return answer;
}

SubtitleOverlay::Fit SubtitleOverlay::fitFont(const QString& text, const OverlayScene& scene,
                                              bool italic)
{
    const QString key = QStringLiteral("%1|%2|%3|%4|%5")
                            .arg(scene.container.width())
                            .arg(scene.pictureWidth)
                            .arg(italic)
                            .arg(form_->logicalDpiY())
                            .arg(text);
    if (const auto found = fits_.constFind(key); found != fits_.constEnd())
        return *found;

    QFont font = form_->font();
    font.setItalic(italic);
    const OverlayTextFit::Result fitted = OverlayTextFit::Fit(
        OverlayTextFit::LinesOf(text), font, scene.container.width(), scene.pictureWidth, form_);
    const Fit fit{fitted.firstMeasuredSize, fitted.fittedSize, fitted.textSize};
    if (fits_.size() > 256)
        fits_.clear();
    fits_.insert(key, fit);
    return fit;
}

bool SubtitleOverlay::stillShown(const SubtitlePtr& entry, const OverlayScene& scene) const
{
    return shown_ && entry && form_ && form_->isVisible() && shown_->entry == entry.get()
        && shown_->surface == OverlaySurface.get() && shown_->scene == scene
        && shown_->text == entry->Text && shown_->italic == entry->Italic;
}

bool SubtitleOverlay::Show(const SubtitlePtr& entry, const OverlayScene& scene)
{
    if (stillShown(entry, scene))
        return uncovered(scene);
    shown_.reset();
    const QString text = entry ? DisplayText(capped(entry->Text, scene)) : QString();
    if (text.isEmpty())
        return false;
    if (!form_)
        form_ = new frmSubtitle;
    if (!uncovered(scene))
        return false;

    const Fit fit = fitFont(text, scene, entry->Italic);
    const QRect& box = scene.container;
    const int height = fit.textSize.height() + kPadding;
    const double containerHeight = box.height();
    const double pictureBottom = box.top() + (scene.videoHeight + containerHeight) / 2;
    const double lowest = box.top() + containerHeight - height;
    const int top = rounded(std::min(lowest, pictureBottom));
    form_->setGeometry(box.left(), top, box.width(), height);
    const QRect client(0, 0, box.width(), height);

    QFont font = form_->font();
    font.setPointSizeF(fit.fittedSize);
    font.setItalic(entry->Italic);
    form_->setFont(font);

    if (OverlaySurface && OverlaySurface->Height() < height)
        OverlaySurface.reset();
    if (!OverlaySurface) {
        OverlaySurface = std::make_unique<ScreenBuffer>();
        OverlaySurface->Create(form_);
        form_->raise();
    }
    belongTo(scene.fullScreenWindow);
    if (!form_->isVisible())
        form_->show();
    paint(text, client);
    OverlaySurface->Flip();

    layout_ = {fit.firstMeasuredSize, fit.fittedSize, fit.textSize, form_->geometry()};
    shown_ = Shown{entry.get(), entry->Text, entry->Italic, scene, OverlaySurface.get()};
    return true;
}

// A full-screen window sits in the window manager's full-screen layer, above every window that
// merely stays on top; only a window that belongs to it is stacked over it. The window manager
// reads that bond when the overlay is mapped, so a change is made while it is hidden.
void SubtitleOverlay::belongTo(QWidget* window)
{
    QWindow* owner = window ? window->windowHandle() : nullptr;
    form_->winId();
    QWindow* own = form_->windowHandle();
    if (!own || own->transientParent() == owner)
        return;
    if (form_->isVisible())
        form_->hide();
    own->setTransientParent(owner);
}

void SubtitleOverlay::paint(const QString& text, const QRect& client)
{
    ScreenBuffer& surface = *OverlaySurface;
    surface.Clear(frmSubtitle::kKeyColor);
    surface.SelectFont(form_->font());
    surface.SetBackColor(frmSubtitle::kKeyColor);
    surface.SetForeColor(frmSubtitle::kTextColor);
    QImage* image = surface.hDC();
    if (!image)
        return;
    QPainter painter(image);
    painter.setFont(form_->font());
    painter.setPen(ScreenBuffer::ToColor(frmSubtitle::kTextColor));
    painter.setClipRect(client);
    // Lines centred one below the other from the top; "&" is an ordinary character here.
    const QFontMetrics metrics(form_->font(), form_);
    int y = client.top() + metrics.ascent();
    for (const QString& line : OverlayTextFit::LinesOf(text)) {
        const int x = client.left() + (client.width() - metrics.horizontalAdvance(line)) / 2;
        painter.drawText(x, y, line);
        y += metrics.height();
    }
}

void SubtitleOverlay::Hide()
{
    shown_.reset();
    if (form_)
        form_->hide();
}

void SubtitleOverlay::ReleaseSurface()
{
    shown_.reset();
    OverlaySurface.reset();
}

void SubtitleOverlay::Unload()
{
    shown_.reset();
    OverlaySurface.reset();
    delete form_;
    form_ = nullptr;
}

QWidget* SubtitleOverlay::Window()
{
    return form_;
}
