// Runs the audio synchronisation over the films make_films.py wrote and prints how well it did:
// each film is listened to once and every subtitle file of it aligned with what was heard.
//   sync_evaluation DIR/manifest.tsv
#include "EvaluationCase.h"

#include "media/AviProbe.h"
#include "subtitles/SubtitleReader.h"
#include "sync/SpeechCues.h"
#include "sync/SyncAnalysis.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <string_view>

namespace {
constexpr double WithinMs = 100;

// The manifest writes 23.976 and 29.97; the factors are between the exact NTSC rates.
double exactRate(double fps)
{
    for (double rate : RatePairs::Rates())
        if (std::abs(rate - fps) < 0.01)
            return rate;
    return fps;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Start times of the true file by text: every sentence is spoken once.
QHash<QString, double> truthStarts(const QString& path)
{
    SubtitleReader truth;
    truth.Load(path);
    QHash<QString, double> starts;
    for (const SubtitlePtr& e : truth.Entries())
        starts.insert(e->Text, e->Time1.toDouble());
    return starts;
}

struct Outcome
{
    double medianAbs = NAN;   // median over entries of |corrected start - true start|
    double medianSigned = NAN;
    bool rateRight = false;
    bool confident = false;
    double alignSeconds = 0;
    double factor = 1;
    double prominence = 0;
};

Outcome evaluate(const EvaluationCase& c, const std::vector<float>& voiced, int32_t frus)
{
    Outcome out;
    SubtitleReader reader;
    if (!reader.Load(c.subtitles))
        return out;
    QElapsedTimer clock;
    clock.start();
    const SyncResult r = SyncAnalysis::Align(voiced, SpeechCuesOf(reader, frus),
                                             FramesPerSecond(frus), std::atomic<bool>(false));
    out.alignSeconds = clock.elapsed() / 1000.0;
    const Alignment& a = r.alignment;
    out.confident = r.error.isEmpty() && a.confident;
    out.factor = a.factor;
    out.prominence = a.prominence;
    if (c.wrongFilm)
        return out;
    const double trueFactor = exactRate(c.toFps) / exactRate(c.fromFps);
    out.rateRight = std::abs(a.factor - trueFactor) < 1e-6;
    // Where the video names its rate, the pair must be the one the file was made for.
    if (out.rateRight && frus > 0 && trueFactor != 1.0)
        out.rateRight = r.pair && std::abs(r.pair->subtitles - exactRate(c.fromFps)) < 1e-6;
    const QHash<QString, double> truth = truthStarts(c.truth);
    const double unit = reader.Frames ? frus / 1000.0 : 1.0;
    std::vector<double> errors, absErrors;
    for (const SubtitlePtr& e : reader.Entries()) {
        const auto t = truth.constFind(e->Text);
        if (t == truth.constEnd())
            continue;
        const double corrected = e->Time1.toDouble() * unit / a.factor + a.delay;
        errors.push_back(corrected - *t);
        absErrors.push_back(std::abs(corrected - *t));
    }
    out.medianAbs = median(absErrors);
    out.medianSigned = median(errors);
    return out;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool webRtc = argc == 3 && std::string_view(argv[2]) == "--webrtc";
    if (argc != 2 && !webRtc) {
        std::fprintf(stderr, "usage: sync_evaluation DIR/manifest.tsv [--webrtc]\n");
        return 2;
    }
    const auto detector = webRtc ? SyncAnalysis::Detector::WebRtc : SyncAnalysis::Detector::Own;
    QString error;
    const std::vector<EvaluationCase> cases = ReadManifest(QString::fromLocal8Bit(argv[1]), error);
    if (cases.empty()) {
        std::fprintf(stderr, "sync_evaluation: %s\n", qPrintable(error));
        return 1;
    }
    std::map<QString, std::vector<const EvaluationCase*>> byVideo;
    for (const EvaluationCase& c : cases)
        byVideo[c.video].push_back(&c);

    const std::atomic<bool> never(false);
    double filmSeconds = 0, listenSeconds = 0, listenCpu = 0, alignSeconds = 0;
    int right = 0, within = 0, ratesRight = 0, wrong = 0, rejected = 0, rightConfident = 0;
    std::vector<double> caseErrors;
    std::printf("%-34s %-5s %9s %9s %9s %10s %6s %s\n", "subtitles", "kind", "median", "|median|",
                "factor", "prominence", "rate", "confident");
    for (const auto& [video, list] : byVideo) {
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpuBefore = std::clock();
        QString listenError;
        const std::vector<float> voiced = SyncAnalysis::Listen(video, {}, never, listenError,
                                                               detector);
        listenSeconds += clock.elapsed() / 1000.0;
        listenCpu += static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
        filmSeconds += voiced.size() / 100.0;
        const int32_t frus = ProbeAviFrameDuration(video);
        for (const EvaluationCase* c : list) {
            const Outcome o = evaluate(*c, voiced, frus);
            alignSeconds += o.alignSeconds;
            std::printf("%-34s %-5s %9.1f %9.1f %9.6f %10.1f %6s %s\n",
                        qPrintable(QFileInfo(c->subtitles).fileName()),
                        c->wrongFilm ? "wrong" : "right", o.medianSigned, o.medianAbs, o.factor,
                        o.prominence, c->wrongFilm ? "" : (o.rateRight ? "yes" : "NO"),
                        o.confident ? "yes" : "no");
            if (c->wrongFilm) {
                ++wrong;
                rejected += o.confident ? 0 : 1;
                continue;
            }
            ++right;
            rightConfident += o.confident ? 1 : 0;
            ratesRight += o.rateRight ? 1 : 0;
            within += o.medianAbs <= WithinMs ? 1 : 0;
            caseErrors.push_back(std::isnan(o.medianSigned) ? 1e9 : std::abs(o.medianSigned));
        }
    }
    const double hours = filmSeconds / 3600;
    std::printf("\n| measure | value |\n|---|---|\n");
    std::printf("| cases (films, film minutes) | %d right + %d wrong-film (%zu films, "
                "%.0f min) |\n",
                right, wrong, byVideo.size(), filmSeconds / 60);
    std::printf("| entries within %.0f ms (median per case) | %d/%d = %.1f %% |\n", WithinMs,
                within, right, 100.0 * within / std::max(1, right));
    std::printf("| alignment error, median / worst case (ms) | %.1f / %.1f |\n", median(caseErrors),
                caseErrors.empty() ? NAN : *std::max_element(caseErrors.begin(), caseErrors.end()));
    std::printf("| rate pair found | %d/%d |\n", ratesRight, right);
    std::printf("| right film judged confident | %d/%d |\n", rightConfident, right);
    std::printf("| wrong film rejected | %d/%d = %.1f %% |\n", rejected, wrong,
                100.0 * rejected / std::max(1, wrong));
    std::printf("| seconds per hour of film: listening (wall, processor) / one alignment | "
                "%.2f, %.2f / %.2f |\n",
                listenSeconds / hours, listenCpu / hours,
                alignSeconds / std::max<size_t>(1, cases.size()) / (hours / byVideo.size()));
    return 0;
}
