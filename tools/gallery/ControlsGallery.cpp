// A window showing every control of the folder in its states, for looking at them by eye and for
// screenshots at 1x and 2x device pixel ratio. Not installed; not a test.
#include "controls/SpinBox.h"
#include "controls/XFlatButton.h"
#include "controls/clsMenuItem.h"
#include "controls/frmAbout.h"
#include "controls/nFrame.h"
#include "controls/nSlider.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

enum class Glyph { Play, Pause, Stop, Sound, Muted, Arrow };

// Transport pictures in the player's manner: drawn on magenta, which the button keys out.
// Drawn at the screen's pixel ratio and without smoothing, so no key colour bleeds into edges.
QPixmap Picture(Glyph glyph, qreal ratio)
{
    QPixmap pixmap(QSize(16, 16) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(QColor(255, 0, 255));
    QPainter p(&pixmap);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(32, 32, 32));
    switch (glyph) {
    case Glyph::Play: p.drawPolygon(QPolygonF({{4, 2}, {4, 14}, {13, 8}})); break;
    case Glyph::Pause:
        p.drawRect(QRectF(4, 3, 3, 10));
        p.drawRect(QRectF(9, 3, 3, 10));
        break;
    case Glyph::Stop: p.drawRect(QRectF(3, 3, 10, 10)); break;
    case Glyph::Sound:
    case Glyph::Muted:
        p.drawRect(QRectF(2, 6, 3, 4));
        p.drawPolygon(QPolygonF({{5, 6}, {9, 2}, {9, 14}, {5, 10}}));
        if (glyph == Glyph::Muted) {
            p.setPen(QPen(QColor(200, 30, 30), 1.5));
            p.drawLine(QPointF(10.5, 5.5), QPointF(14.5, 10.5));
            p.drawLine(QPointF(14.5, 5.5), QPointF(10.5, 10.5));
        } else {
            p.drawRect(QRectF(11, 5, 1.5, 6));
            p.drawRect(QRectF(13.5, 3, 1.5, 10));
        }
        break;
    case Glyph::Arrow: p.drawPolygon(QPolygonF({{5, 3}, {5, 13}, {11, 8}})); break;
    }
    return pixmap;
}

// Menus draw pictures as they are, so the arrow for the checked engine has a clear background.
QPixmap MenuArrow(qreal ratio)
{
    QImage image = Picture(Glyph::Arrow, ratio).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 0, 255))
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
    return QPixmap::fromImage(image);
}

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

XFlatButton* TransportButton(QWidget* parent, Glyph glyph, qreal ratio)
{
    auto* button = new XFlatButton(parent);
    button->setFixedSize(25, 25);
    button->SetText(QString());
    button->SetPicture(Picture(glyph, ratio));
    button->SetTransparency(true);
    button->SetTransparentColor(0xFF00FF);
    button->SetTEMPLATE(1);
    return button;
}

void AddSliders(QGridLayout* grid, QWidget* page)
{
    grid->addWidget(Caption("nSlider", page), 0, 0);
    const struct { int style; double value; bool enabled; const char* text; } rows[] = {
        {0, 0.3, true, "0 sunken field"},     {0, 0.7, false, "0 disabled"},
        {0, -1, true, "0 value -1 (hidden)"}, {1, 0.5, true, "1 groove"},
        {2, 0.8, true, "2 wedge rising"},     {3, 0.25, true, "3 wedge falling"},
    };
    int row = 1;
    for (const auto& r : rows) {
        auto* slider = new nSlider(page);
        slider->SetStyle(r.style);
        slider->SetValue(r.value);
        slider->SetEnabled(r.enabled);
        if (r.style >= 2)
            slider->SetBlockSize(10);
        slider->setFixedSize(r.style >= 2 ? 120 : 300, r.style >= 2 ? 24 : 18);
        grid->addWidget(new QLabel(r.text, page), row, 0);
        grid->addWidget(slider, row++, 1, 1, 2, Qt::AlignLeft);
    }
    auto* verticals = new QWidget(page);
    auto* line = new QHBoxLayout(verticals);
    line->setContentsMargins(0, 0, 0, 0);
    for (int style : {0, 1, 2}) {
        auto* slider = new nSlider(verticals);
        slider->SetOrientation(1);
        slider->SetStyle(style);
        slider->SetBlockSize(style == 2 ? 10 : 24);
        slider->SetValue(0.35 + style * 0.2);
        slider->setFixedSize(style == 2 ? 24 : 18, 110);
        line->addWidget(slider);
    }
    line->addStretch();
    grid->addWidget(new QLabel("vertical 0, 1, 2", page), row, 0);
    grid->addWidget(verticals, row, 1);
}

int AddButtons(QGridLayout* grid, QWidget* page, int row, qreal ratio)
{
    grid->addWidget(Caption("XFlatButton", page), row++, 0);
    auto* strip = new QWidget(page);
    auto* line = new QHBoxLayout(strip);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(2);
    XFlatButton* play = TransportButton(strip, Glyph::Play, ratio);
    XFlatButton* pause = TransportButton(strip, Glyph::Pause, ratio);
    XFlatButton* stop = TransportButton(strip, Glyph::Stop, ratio);
    XFlatButton* mute = TransportButton(strip, Glyph::Muted, ratio);
    mute->SetTogglable(true);
    mute->SetToggleStatePressed(true);
    pause->ShowHovering(true);
    stop->SetEnabled(false);
    for (XFlatButton* b : {play, pause, stop, mute})
        line->addWidget(b);
    auto* volume = new nSlider(strip);
    volume->SetStyle(2);
    volume->SetBlockSize(8);
    volume->SetValue(0.8);
    volume->setFixedSize(70, 25);
    line->addWidget(volume);
    line->addStretch();
    grid->addWidget(new QLabel("transport: normal, hover, disabled, toggled", page), row, 0);
    grid->addWidget(strip, row++, 1, 1, 2);

    // The status line cells: disabled buttons with flat light-grey text on black.
    auto* status = new QWidget(page);
    auto* cells = new QHBoxLayout(status);
    cells->setContentsMargins(0, 0, 0, 0);
    cells->setSpacing(1);
    const QStringList texts = {"Playing  25.000 fps", "Movie.srt  delay +500 ms",
                               "00:12:34  frame 18850"};
    for (int i = 0; i < 3; ++i) {
        auto* cell = new XFlatButton(status);
        cell->SetText(texts[i]);
        cell->SetBackColor(0);
        cell->SetDisabledColor(0xE0E0E0);
        cell->SetDisabledEmbossed(false);
        cell->SetNormalBorderStyle(2);
        cell->SetTextAlignment(i < 2 ? 3 : 4);
        cell->SetFocusMargin(5);
        cell->SetEnabled(false);
        cell->setFixedSize(i == 1 ? 200 : 150, 20);
        cells->addWidget(cell);
    }
    cells->addStretch();
    grid->addWidget(new QLabel("status cells", page), row, 0);
    grid->addWidget(status, row++, 1, 1, 2);

    auto* states = new QWidget(page);
    auto* stateLine = new QHBoxLayout(states);
    stateLine->setContentsMargins(0, 0, 0, 0);
    const QStringList names = {"Normal", "Hover", "Pressed", "Embossed", "Flat", "Dark"};
    for (int i = 0; i < names.size(); ++i) {
        auto* b = new XFlatButton(states);
        b->SetText(names[i]);
        b->setFixedSize(84, 28);
        if (i == 1)
            b->ShowHovering(true);
        if (i == 2)
            b->ShowPressed(true);
        if (i >= 3 && i <= 4) {
            b->SetEnabled(false);
            b->SetDisabledEmbossed(i == 3);
        }
        if (i == 5) {
            b->SetTEMPLATE(2);
            b->ShowHovering(true);
        }
        stateLine->addWidget(b);
    }
    stateLine->addStretch();
    grid->addWidget(new QLabel("states (default look)", page), row, 0);
    grid->addWidget(states, row++, 1, 1, 2);

    auto* borders = new QWidget(page);
    auto* borderGrid = new QGridLayout(borders);
    borderGrid->setContentsMargins(0, 0, 0, 0);
    borderGrid->setSpacing(4);
    for (int style = 0; style <= 16; ++style) {
        auto* b = new XFlatButton(borders);
        b->SetText(QString::number(style));
        b->SetNormalBorderStyle(style);
        b->setFixedSize(40, 26);
        borderGrid->addWidget(b, style / 9, style % 9);
    }
    grid->addWidget(new QLabel("border styles 0-16", page), row, 0);
    grid->addWidget(borders, row++, 1, 1, 2, Qt::AlignLeft);

    auto* tip = new XFlatButton(page);
    tip->SetText("Tooltip");
    tip->setToolTip("Open a subtitle file");
    tip->setFixedSize(84, 28);
    grid->addWidget(new QLabel("own tooltip (shown)", page), row, 0);
    grid->addWidget(tip, row++, 1, Qt::AlignLeft);
    return row;
}

int AddSpinBoxes(QGridLayout* grid, QWidget* page, int row)
{
    grid->addWidget(Caption("SpinBox", page), row++, 0);
    auto* delay = new SpinBox(page);
    delay->SetLabelText("Show subtitles ");
    delay->SetTextFormat(SpinBox::WholeNumber);
    delay->SetMaxNumber(0);
    delay->SetMaxLength(7);
    delay->SetText("1500");
    delay->setFixedSize(220, 24);
    auto* rate = new SpinBox(page);
    rate->SetLabelText("Subtitle framerate:");
    rate->SetMaxLength(7);
    rate->SetText("23.976");
    rate->setFixedSize(220, 24);
    auto* spin = new SpinBox(page);
    spin->SetLabelText("Volume ");
    spin->SetTextFormat(SpinBox::WholeNumber);
    spin->SetMaxNumber(100);
    spin->SetSpinButtonVisible(true);
    spin->SetText("80");
    spin->setFixedSize(160, 24);
    grid->addWidget(new QLabel("delay, frame rate, with spin", page), row, 0);
    auto* line = new QWidget(page);
    auto* box = new QHBoxLayout(line);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(delay);
    box->addWidget(rate);
    box->addWidget(spin);
    box->addStretch();
    grid->addWidget(line, row++, 1, 1, 2);
    return row;
}

int AddFrames(QGridLayout* grid, QWidget* page, int row)
{
    grid->addWidget(Caption("nFrame", page), row++, 0);
    auto* line = new QWidget(page);
    auto* box = new QHBoxLayout(line);
    box->setContentsMargins(0, 0, 0, 0);
    for (bool enabled : {true, false}) {
        auto* frame = new nFrame(line);
        frame->SetText(enabled ? "Subtitles" : "Subtitles (disabled)");
        frame->setFixedSize(260, 90);
        auto* check = new QCheckBox("Open automatically", frame);
        check->setChecked(true);
        check->move(12, 26);
        auto* slider = new nSlider(frame);
        slider->SetValue(0.4);
        slider->setGeometry(12, 56, 230, 18);
        frame->SetEnabled(enabled);
        box->addWidget(frame);
    }
    box->addStretch();
    grid->addWidget(new QLabel("enabled / disabled children", page), row, 0);
    grid->addWidget(line, row++, 1, 1, 2);
    return row;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Tavrell Veltrix controls");
    const qreal ratio = app.primaryScreen()->devicePixelRatio();

    QMenu* video = window.menuBar()->addMenu("&Video");
    QMenu* engine = video->addMenu("Use rendering &engine");
    QAction* mp1 = engine->addAction("GStreamer");
    QAction* mp2 = engine->addAction("mpv");
    window.menuBar()->addMenu("&Help")->addAction("&About");
    clsMenuItem item;
    for (QAction* action : {mp1, mp2}) {
        action->setCheckable(true);
        item.SetTo(action);
        item.SetBitmaps(QPixmap(), MenuArrow(ratio));
    }
    mp2->setChecked(true);

    auto* page = new QWidget(&window);
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(8);
    AddSliders(grid, page);
    int row = grid->rowCount();
    row = AddButtons(grid, page, row, ratio);
    row = AddSpinBoxes(grid, page, row);
    row = AddFrames(grid, page, row);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(2, 1);
    window.setCentralWidget(page);
    window.move(0, 0);
    window.resize(820, 740);
    window.show();

    frmAbout about;
    about.move(840, 40);
    about.show();

    // Open the engine menu and point the tooltip button so both show in a screenshot.
    if (app.arguments().contains("--open-menu")) {
        QTimer::singleShot(300, &window, [&] {
            const auto buttons = page->findChildren<XFlatButton*>();
            for (XFlatButton* b : buttons)
                if (b->Text() == "Tooltip")
                    b->SetToolTipVisible(true);
            video->popup(window.mapToGlobal(QPoint(4, window.menuBar()->height())));
            QTimer::singleShot(200, video, [&] {
                video->setActiveAction(engine->menuAction());
                engine->popup(video->mapToGlobal(
                    video->actionGeometry(engine->menuAction()).topRight()));
            });
        });
    }
    return app.exec();
}
