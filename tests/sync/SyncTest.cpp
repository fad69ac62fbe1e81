#include "SpokenFilm.h"

#include "shell/SyncTask.h"
#include "subtitles/SubtitleReader.h"
#include "sync/SpeechCues.h"
#include "sync/SyncAnalysis.h"
#include "WaitUntil.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

namespace {

// Subtitles made for the 25 fps edition of a film that plays at 23.976, and 3.3 s early.
constexpr double ShiftMs = 3300;
const double Factor = (24000.0 / 1001) / 25;

// Speaking and encoding the film takes seconds, so one story makes every check on it.
TEST(Sync, AnotherFilmsTimingIsRejectedShiftedSubtitlesComeBackInStepAndTheTickKeepsItsPace)
{
    SpokenFilm film;
    ASSERT_TRUE(film.Make(26, 18)) << film.Error().toStdString();
    // The same lines, timed as another film of the same kind would time them: the lengths of
    // the lines and of the pauses shuffled.
    std::vector<std::pair<double, double>> spans;
    const auto& lines = film.Lines();
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        spans.push_back({lines[i].end - lines[i].start, lines[i + 1].start - lines[i].end});
    std::shuffle(spans.begin(), spans.end(), std::mt19937(7));
    std::vector<SpeechCue> cues;
    double at = 5000;
    for (const auto& [length, pause] : spans) {
        cues.push_back({at, at + length});
        at += length + pause;
    }
    const SyncResult result =
        SyncAnalysis::Run(film.Video(), cues, 0, {}, std::atomic<bool>(false));
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_FALSE(result.alignment.confident) << result.alignment.prominence;

    // The analysis as veltrix-inspect runs it on this film's own subtitles, shifted and for
    // another frame rate: the alignment it reports, the corrected file it writes, and the same
    // alignment applied as the player applies it.
    const QString shifted = film.WriteSubRip("shifted.srt", ShiftMs, Factor);
    const QString out = film.Path(QStringLiteral("corrected.srt"));
    QProcess inspect;
    inspect.start(QStringLiteral(VELTRIX_INSPECT),
                  {QStringLiteral("sync"), film.Video(), shifted, QStringLiteral("--write"), out});
    ASSERT_TRUE(inspect.waitForFinished(60000));
    const QJsonObject json = QJsonDocument::fromJson(inspect.readAllStandardOutput()).object();
    ASSERT_TRUE(json["confident"].toBool()) << inspect.readAllStandardError().toStdString();
    EXPECT_NEAR(json["delay"].toDouble(), ShiftMs, 100);
    EXPECT_NEAR(json["rate"].toDouble(), Factor, 1e-6);
    EXPECT_EQ(json["fps"].toObject()["subtitles"].toDouble(), 25.0);
    SubtitleReader corrected;
    ASSERT_TRUE(corrected.Load(out));
    SubtitleReader reader;
    ASSERT_TRUE(reader.Load(shifted));
    reader.delay = json["delay"].toInt();
    reader.Rate = json["rate"].toDouble();
    // Either way, the lookup finds each line while it is spoken.
    for (const SpokenFilm::Line& line : film.Lines()) {
        if ((line.start - ShiftMs) * Factor < 0)
            continue;
        const Currency middle = Currency::fromDouble((line.start + line.end) / 2).value();
        for (SubtitleReader* file : {&corrected, &reader}) {
            const SubtitlePtr entry = file->GetSubtitle(middle, 0);
            EXPECT_EQ(entry ? entry->Text : QString(), line.text);
        }
    }

    // The window's 25 ms tick keeps its pace while the assistant listens on its worker, and
    // letting the task go (Cancel, or the window closing) returns at once.
    QTimer tick;
    QElapsedTimer clock;
    qint64 last = 0;
    std::vector<qint64> gaps;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        gaps.push_back(clock.elapsed() - last);
        last = clock.elapsed();
    });
    clock.start();
    tick.start(25);
    auto task = std::make_unique<SyncTask>(film.Video(), SpeechCuesOf(reader, 0), 0.0);
    std::optional<SyncResult> finished;
    QObject::connect(task.get(), &SyncTask::Finished, [&](const SyncResult& r) { finished = r; });
    ASSERT_TRUE(WaitUntil([&] { return finished.has_value(); }, 60000));
    EXPECT_TRUE(finished->alignment.confident) << finished->alignment.prominence;
    // A timer on a busy machine is late now and then, so the typical tick is what must keep its
    // pace; work done on this thread would also hold one tick for the seconds the analysis takes.
    // On an idle machine the analysis can end within a few ticks: enough ticks to judge first.
    ASSERT_TRUE(WaitUntil([&] { return gaps.size() > 20; }, 5000));
    std::sort(gaps.begin(), gaps.end());
    EXPECT_LE(gaps[gaps.size() / 2], 25 + 3);
    EXPECT_LT(gaps.back(), 500);

    double progress = 0;
    task = std::make_unique<SyncTask>(film.Video(), SpeechCuesOf(reader, 0), 0.0);
    QObject::connect(task.get(), &SyncTask::Progress, [&](double share) { progress = share; });
    ASSERT_TRUE(WaitUntil([&] { return progress > 0; }, 30000));
    QElapsedTimer cancel;
    cancel.start();
    task.reset();
    EXPECT_LT(cancel.elapsed(), 200);
}

} // namespace
