#include "SpokenFilm.h"

#include "RunProgram.h"

#include <QFile>
#include <QTime>

#include <cstdint>
#include <random>

namespace {
constexpr int Rate = 22050;  // espeak-ng's own rate, which sox is asked to keep

const char* const Words[] = {"river", "window", "captain", "garden", "letter", "morning",
                             "station", "doctor", "winter", "mountain", "kitchen", "engine"};
const char* const Verbs[] = {"found", "opened", "followed", "painted", "carried", "watched",
                             "forgot", "answered"};

// The 16-bit samples of a clip, as sox writes them without a header.
std::vector<int16_t> samplesOf(const QString& path)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const auto* first = reinterpret_cast<const int16_t*>(bytes.constData());
    return {first, first + bytes.size() / 2};
}

QString srtTime(double ms)
{
    return QTime::fromMSecsSinceStartOfDay(int(std::max(0.0, ms))).toString(u"hh:mm:ss,zzz");
}
} // namespace

bool SpokenFilm::Make(int sentences, unsigned seed)
{
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::vector<int16_t> track(static_cast<size_t>(Rate * 2), 0);
    const QString clip = m_dir.filePath(QStringLiteral("line.wav"));
    const QString samples = m_dir.filePath(QStringLiteral("line.raw"));
    for (int i = 0; i < sentences; ++i) {
        const QString text = QStringLiteral("The %1 %2 the %3 by the %4.")
                                 .arg(Words[pick(12)], Verbs[pick(8)], Words[pick(12)],
                                      Words[pick(12)]);
        const QStringList voices{QStringLiteral("en-us"), QStringLiteral("en-gb+f3")};
        // espeak-ng pads its words with silence, which sox trims at both ends: the line starts
        // at the first sound.
        const QStringList trim{"silence", "1", "0", "1.5%", "reverse"};
        const QStringList speak{QStringLiteral("-v"), voices[pick(2)], QStringLiteral("-s"),
                                QString::number(150 + pick(40)), QStringLiteral("-w"), clip,
                                text};
        const QStringList toSamples = QStringList{clip, "-t", "raw", "-e", "signed-integer", "-b",
                                                  "16", "-c", "1", "-r", QString::number(Rate),
                                                  samples}
            + trim + trim;
        if (!RunProgram(QStringLiteral("espeak-ng"), speak, 60000, &m_error)
            || !RunProgram(QStringLiteral("sox"), toSamples, 60000, &m_error))
            return false;
        const std::vector<int16_t> speech = samplesOf(samples);
        const double start = 1000.0 * static_cast<double>(track.size()) / Rate;
        track.insert(track.end(), speech.begin(), speech.end());
        m_lines.push_back({start, 1000.0 * static_cast<double>(track.size()) / Rate, text});
        // Turns of dialogue, now and then a longer silence.
        const int pauseMs = pick(5) == 0 ? 3000 + pick(4000) : 300 + pick(1700);
        track.insert(track.end(), static_cast<size_t>(Rate * pauseMs / 1000), 0);
    }
    std::uniform_int_distribution<int> noise(-300, 300);
    for (int16_t& s : track)
        s = static_cast<int16_t>(std::clamp(s + noise(random), -32768, 32767));
    // Raw samples: ffmpeg is told their format, so no WAVE header needs writing.
    const QString audio = m_dir.filePath(QStringLiteral("speech.raw"));
    QFile raw(audio);
    const auto bytes = static_cast<qint64>(track.size() * sizeof(int16_t));
    if (!raw.open(QIODevice::WriteOnly)
        || raw.write(reinterpret_cast<const char*>(track.data()), bytes) != bytes) {
        m_error = QStringLiteral("cannot write ") + audio;
        return false;
    }
    raw.close();
    m_video = m_dir.filePath(QStringLiteral("spoken.mkv"));
    return RunProgram(QStringLiteral("ffmpeg"),
                      {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=gray:s=64x36:r=25",
                       "-f", "s16le", "-ar", QString::number(Rate), "-ac", "1", "-i", audio,
                       "-shortest", "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac",
                       m_video},
                      60000, &m_error);
}

QString SpokenFilm::WriteSubRip(const QString& name, double shiftMs, double factor) const
{
    QString text;
    int n = 0;
    for (const Line& line : m_lines) {
        const double start = (line.start - shiftMs) * factor;
        if (start < 0)
            continue;
        text += QStringLiteral("%1\n%2 --> %3\n%4\n\n")
                    .arg(++n)
                    .arg(srtTime(start), srtTime((line.end - shiftMs) * factor), line.text);
    }
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    return path;
}
