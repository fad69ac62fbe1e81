#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>

class QPaintDevice;

// Fits the overlay's font to the picture and keeps the work of a tick bounded whatever the entry
// holds: the text is first cut to what the screen could show at the smallest size the fit can
// reach, and the size is found by bisection instead of one point at a time. A caption of 50,000
// lines of 1,000 characters is then no more work than a screenful.
class OverlayTextFit
{
public:
    struct Result
    {
        double firstMeasuredSize = 0;   // points: the start, container width / 75 + 10, less 1
        double fittedSize = 0;          // points
        QSize textSize;                 // pixels: the widest line, all lines' height
    };

    // The beginning of the text that can show on a screen of that size: no more lines than fit
    // its height and no line longer than fits its width at the smallest size the fit keeps
    // (two points), and no more characters than the budget, several screenfuls of legible text.
    // Line breaks come out as CR LF.
    static QString CapToScreen(const QString& text, const QFont& font, QSize screen,
                               const QPaintDevice* device);
    static QStringList LinesOf(const QString& text);

    // Shrinks from the start size one point at a time, as far as it must: the first size at
    // which the widest line is narrower than the picture width less the margin, or the first
    // below two points. Bisection finds the same size when widths grow with the size.
    static Result Fit(const QStringList& lines, QFont font, int containerWidth, long pictureWidth,
                      const QPaintDevice* device);

    static constexpr int Margin = 24;        // the text stays this much narrower than the picture
    static constexpr double MinimumSize = 2;
    static constexpr qsizetype CharacterBudget = 32 * 1024;
};
