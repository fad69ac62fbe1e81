#pragma once

#include <QString>

// How a track's packets are turned into text; everything but Unreadable has a reader here.
enum class CueFormat { SubRip, Ass, WebVtt, MovText, Unreadable };

// One subtitle track of a medium, as its container describes it.
struct EmbeddedTrack
{
    int number = 0;          // 1-based among the medium's subtitle tracks: what users choose
    int streamIndex = -1;    // the demuxer's stream index
    QString language;        // as tagged ("eng", "de", "pt-BR"); empty when untagged
    QString title;
    QString codec;           // the demuxer's codec name ("subrip", "ass", "hdmv_pgs_subtitle")
    QString kind;            // the codec as users know it ("SubRip", "PGS")
    CueFormat format = CueFormat::Unreadable;
    bool pictures = false;   // PGS, VobSub, DVB: bitmaps the overlay cannot show
    bool isDefault = false;

    bool text() const { return format != CueFormat::Unreadable; }
    // How the subtitles of this track are named where a file's path would be shown:
    // "/films/Film.mkv #2 (eng)".
    QString nameIn(const QString& mediaPath) const
    {
        QString name = mediaPath + QStringLiteral(" #") + QString::number(number);
        if (!language.isEmpty())
            name += QStringLiteral(" (") + language + u')';
        return name;
    }
};
