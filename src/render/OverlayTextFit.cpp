#include "render/OverlayTextFit.h"

#include <QFontMetrics>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace {

double startSize(int containerWidth)
{
    return containerWidth / 75.0 + 10;
}

// The widest line, stopping at the first that reaches limit: such a size fails anyway.
int widest(const QStringList& lines, const QFontMetrics& metrics, int limit)
{
    int width = 0;
    for (const QString& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
        if (width >= limit)
            break;
    }
    return width;
}

} // namespace

QStringList OverlayTextFit::LinesOf(const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines.split(QLatin1Char('\n'));
}

QString OverlayTextFit::CapToScreen(const QString& text, const QFont& font, QSize screen,
                                    const QPaintDevice* device)
{
    QFont smallest = font;
    smallest.setPointSizeF(MinimumSize);
    const QFontMetrics metrics(smallest, const_cast<QPaintDevice*>(device));
    const qsizetype maxLines = screen.height() / std::max(1, metrics.height()) + 1;
    const qsizetype maxChars = screen.width() / std::max(1, metrics.averageCharWidth()) + 1;
    // Nothing beyond the budget is looked at, however the lines fall.
    const QStringView head =
        QStringView(text).first(std::min<qsizetype>(text.size(), CharacterBudget));
    QString capped;
    qsizetype lines = 0;
    qsizetype start = 0;
    while (start <= head.size() && lines < maxLines) {
        qsizetype end = start;
        while (end < head.size() && head[end] != u'\r' && head[end] != u'\n')
            ++end;
        if (lines++ > 0)
            capped += QLatin1String("\r\n");
        capped += head.sliced(start, std::min(end - start, maxChars));
        if (end + 1 < head.size() && head[end] == u'\r' && head[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return capped;
}

OverlayTextFit::Result OverlayTextFit::Fit(const QStringList& lines, QFont font,
                                           int containerWidth, long pictureWidth,
                                           const QPaintDevice* device)
{
    const double start = startSize(containerWidth);
    const long limit = pictureWidth - Margin;
    auto metricsAt = [&](double size) {
        font.setPointSizeF(size);
        return QFontMetrics(font, const_cast<QPaintDevice*>(device));
    };
    // Steps of one point from the start: the last one is the first size below the minimum.
    const int lastStep = std::max(1, static_cast<int>(std::floor(start - MinimumSize)) + 1);
    auto fits = [&](int step) {
        return step == lastStep || widest(lines, metricsAt(start - step), int(limit)) < limit;
    };
    int low = 1, high = lastStep;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (fits(middle))
            high = middle;
        else
            low = middle + 1;
    }
    Result result;
    result.firstMeasuredSize = start - 1;
    result.fittedSize = start - low;
    const QFontMetrics metrics = metricsAt(result.fittedSize);
    // At the last step the text is wider than the picture anyway: how much wider does not matter.
    const int widthLimit = low == lastStep ? int(limit) : INT32_MAX;
    result.textSize =
        QSize(widest(lines, metrics, widthLimit), int(lines.size()) * metrics.height());
    return result;
}
