#include "shell/LabelOverlay.h"

#include <QLabel>

LabelOverlay::~LabelOverlay()
{
    Unload();
}

bool LabelOverlay::ShowSubtitle(const SubtitlePtr& entry, double)
{
    if (!entry || !videoArea_ || !videoArea_->isVisible())
        return false;
    if (!label_) {
        label_ = new QLabel(nullptr, Qt::Tool | Qt::FramelessWindowHint
                                         | Qt::WindowDoesNotAcceptFocus);
        label_->setAttribute(Qt::WA_ShowWithoutActivating);
        label_->setAlignment(Qt::AlignCenter);
        label_->setWordWrap(true);
        label_->setStyleSheet(QStringLiteral("background:black;color:white;"));
    }
    const QRect area(videoArea_->mapToGlobal(QPoint(0, 0)), videoArea_->size());
    // The font follows the video's width, as a subtitle on a television does.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(qMax(10, area.width() / 22));
    font.setBold(true);
    font.setItalic(entry->Italic);
    if (label_->font() != font)
        label_->setFont(font);
    QString text = entry->Text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (label_->text() != text)
        label_->setText(text);
    const int lines = int(label_->text().count(QLatin1Char('\n'))) + 1;
    const int height = lines * QFontMetrics(font).lineSpacing() + 8;
    const QRect place(area.left(), area.bottom() - height - area.height() / 20, area.width(),
                      height);
    if (label_->geometry() != place)
        label_->setGeometry(place);
    if (!label_->isVisible())
        label_->show();
    return true;
}

void LabelOverlay::Hide()
{
    if (label_)
        label_->hide();
}

void LabelOverlay::Unload()
{
    delete label_.data();
}

QWidget* LabelOverlay::Window()
{
    return label_.data();
}
