// The status line: each cell works out its text when it repaints, from the player and the reader.
#include "shell/frmMain.h"

#include "controls/OleColor.h"
#include "controls/XFlatButton.h"
#include "media/MediaPlayerController.h"
#include "shell/StatusLine.h"
#include "shell/modMain.h"

#include <QPainter>

namespace {
// Own texts: the state word and the subtitle state read from the left, the time from the right,
// so the extra texts drawn at the opposite edges do not run into them.
constexpr int kAlignLeftMiddle = 3;
constexpr int kAlignRightMiddle = 4;
constexpr OleColor kCellText = 0xE0E0E0;
constexpr int kSunkenOuterEdge = 2;
constexpr int kFocusMargin = 5;
// Between a cell's own text and the extra text that gives way to it.
constexpr int kExtraTextGap = 4;

// Read-only fields: disabled buttons, so they neither hover, press nor take the focus, with
// their text flat in light grey on black.
void makeStatusCell(XFlatButton& cell, int alignment)
{
    cell.SetEnabled(false);
    cell.SetBackColor(0);
    cell.SetDisabledColor(kCellText);
    cell.SetDisabledEmbossed(false);
    cell.SetNormalBorderStyle(kSunkenOuterEdge);
    cell.SetTextAlignment(alignment);
    cell.SetFocusMargin(kFocusMargin);
}

// The part of a cell its own text leaves free, on the side the extra text is drawn: the own
// text always wins, an extra text too long for the rest is cut.
QRect extraTextArea(const XFlatButton& cell)
{
    const QFontMetrics metrics(cell.font());
    const QSize own(metrics.horizontalAdvance(cell.Text()), metrics.height());
    const int ownLeft = cell.CaptionOrigin(own).x();
    QRect area = cell.rect();
    if (cell.Text().isEmpty())
        return area;
    if (cell.TextAlignment() == kAlignRightMiddle)
        area.setRight(ownLeft - kExtraTextGap);
    else
        area.setLeft(ownLeft + own.width() + kExtraTextGap);
    return area;
}
} // namespace

void frmMain::connectStatusLine()
{
    const int alignment[3] = {kAlignLeftMiddle, kAlignLeftMiddle, kAlignRightMiddle};
    for (int i = 0; i < 3; ++i) {
        makeStatusCell(*cmdStatus[i], alignment[i]);
        connect(cmdStatus[i], &XFlatButton::BeforePaint, this, [this, i] {
            cmdStatus_BeforePaint(i);
        });
        connect(cmdStatus[i], &XFlatButton::PaintBuffer, this, [this, i](QPainter* buffer) {
            cmdStatus_PaintBuffer(i, buffer);
        });
    }
}

StatusLineInput frmMain::StatusInput() const
{
    const MediaPlayerController& player = modMain::Player();
    StatusLineInput input;
    input.status = player.State();
    input.position = player.Position();
    input.positionFrame = player.PositionFrame();
    input.videoFps = player.FPS();
    input.subtitleFile = subReader_->Filename();
    input.delay = subReader_->delay;
    input.subtitleFps = subReader_->FPS;
    input.subtitleRate = subReader_->Rate;
    return input;
}

void frmMain::cmdStatus_BeforePaint(int index)
{
    // Kept for the PaintBuffer of this same paint, so a tick asks the engine once, not twice.
    paintingInput_ = StatusInput();
    const StatusLineInput& input = paintingInput_;
    switch (index) {
    case 0: cmdStatus[0]->SetText(StatusLine::PlaybackState(input)); break;
    case 1: cmdStatus[1]->SetText(StatusLine::SubtitleState(input)); break;
    case 2:
        cmdStatus[2]->SetText(StatusLine::Time(input));
        paintedClock_ = StatusLine::TimeCell(input);
        break;
    default: break;
    }
}

void frmMain::cmdStatus_PaintBuffer(int index, QPainter* buffer)
{
    if (index != 0 && index != 2)
        return;
    const StatusLineInput& input = paintingInput_;
    const QString text = index == 0 ? StatusLine::FrameRate(input) : StatusLine::FrameNumber(input);
    if (text.isEmpty())
        return;
    XFlatButton* cell = cmdStatus[index];
    const QRect area = extraTextArea(*cell);
    if (area.width() <= 0)
        return;
    buffer->save();
    buffer->setClipRect(area);
    buffer->setPen(ResolveOleColor(cell->CurrentColor(), cell->palette()));
    const int side = index == 0 ? Qt::AlignRight : Qt::AlignLeft;
    buffer->drawText(cell->rect(), side | Qt::AlignVCenter | Qt::TextSingleLine, text);
    buffer->restore();
}

void frmMain::RefreshStatusLine()
{
    for (XFlatButton* cell : cmdStatus)
        cell->Refresh();
}
