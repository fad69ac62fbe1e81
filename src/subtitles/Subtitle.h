#pragma once

#include "platform/Currency.h"

#include <QString>
#include <QStringView>

#include <memory>

// One caption of a subtitle file. Entries are shared: the reader's list, the lookup's answer and
// the window's record of what it shows are the same object, and "is it the same caption?" is
// answered by identity, never by comparing contents.
class Subtitle
{
public:
    QString Text;       // lines separated by CR LF
    Currency Time1;     // start: milliseconds, or a frame number for a frame-based file
    Currency Time2;     // end, inclusive, in the same unit
    bool Italic = false;

    // Appends one raw line of the file after turning its markup into display text. An empty line
    // has no characters to mark and is refused: false, and the entry is left unchanged.
    bool AddText(QStringView line);

private:
    void append(QStringView line);
};

using SubtitlePtr = std::shared_ptr<Subtitle>;
