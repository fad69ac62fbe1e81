// Cost of the per-tick lookup on a file of 100,000 entries, against a plain scan from the first
// entry (what the lookup would do without its index), and of encoding detection on 10 MB.
#include "SrtGenerator.h"

#include "subtitles/SubtitleReader.h"
#include "subtitles/TextDecoder.h"
#include "subtitles/Utf8Check.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int Entries = 100000;
constexpr int64_t MsPerTick = 25;          // 40 ticks a second
const int64_t LastMs = 1000LL + 2500LL * Entries;

SubtitleReader& loadedReader()
{
    static SubtitleReader reader;
    static const bool loaded = reader.LoadBytes(GenerateSrt(Entries), QStringLiteral("bench.srt"));
    (void)loaded;
    return reader;
}

// Every entry as an object of its own, for the reference scan.
const std::vector<SubtitlePtr>& allEntries()
{
    static const std::vector<SubtitlePtr> entries = [] {
        std::vector<SubtitlePtr> made;
        for (int n = 1; n <= loadedReader().Count(); ++n)
            made.push_back(loadedReader().Entry(n));
        return made;
    }();
    return entries;
}

Currency ms(int64_t value) { return Currency::fromRaw(value * Currency::Scale); }

// The lookup without an index, as a reference: the same answers, found by walking the list.
struct ScanLookup
{
    const std::vector<SubtitlePtr>& entries;
    int current = 0;

    SubtitlePtr find(Currency key)
    {
        const int n = static_cast<int>(entries.size());
        auto at = [&](int i) { return entries[static_cast<size_t>(i - 1)]; };
        if (current > 0 && at(current)->Time1 <= key && key <= at(current)->Time2)
            return at(current);
        if (current <= 0 || key < at(current)->Time1) {
            current = 0;
            for (int i = 1; i <= n && current == 0; ++i)
                if (at(i)->Time1 < key)
                    current = i;
        }
        if (current <= 0)
            return nullptr;
        for (int i = current; i <= n; ++i) {
            current = i;
            if (key < at(i)->Time1)
                return nullptr;
            if (key <= at(i)->Time2)
                return at(i);
        }
        current = 0;
        return nullptr;
    }
};

void BM_SequentialPlayback(benchmark::State& state)
{
    SubtitleReader& reader = loadedReader();
    int64_t position = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reader.GetSubtitle(ms(position), 0));
        position = position + MsPerTick > LastMs ? 0 : position + MsPerTick;
    }
}

std::vector<int64_t> randomPositions()
{
    std::mt19937_64 random(42);
    std::vector<int64_t> positions(4096);
    for (int64_t& p : positions)
        p = static_cast<int64_t>(random() % static_cast<uint64_t>(LastMs));
    return positions;
}

// Every call jumps: half of them backwards, which forces the re-seek from the first entry.
void BM_RandomSeeks(benchmark::State& state)
{
    SubtitleReader& reader = loadedReader();
    const std::vector<int64_t> positions = randomPositions();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reader.GetSubtitle(ms(positions[i]), 0));
        i = (i + 1) % positions.size();
    }
}

void BM_RandomSeeksByScan(benchmark::State& state)
{
    ScanLookup scan{allEntries()};
    const std::vector<int64_t> positions = randomPositions();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scan.find(ms(positions[i])));
        i = (i + 1) % positions.size();
    }
}

void BM_SequentialPlaybackByScan(benchmark::State& state)
{
    ScanLookup scan{allEntries()};
    int64_t position = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scan.find(ms(position)));
        position = position + MsPerTick > LastMs ? 0 : position + MsPerTick;
    }
}

const QByteArray& tenMegabytes()
{
    static const QByteArray bytes = GenerateSrt(Entries);
    return bytes;
}

void BM_Utf8Check10MB(benchmark::State& state)
{
    const QByteArray& bytes = tenMegabytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(IsValidUtf8(bytes.constData(), bytes.size()));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_LegacyDetection10MB(benchmark::State& state)
{
    // Cyrillic in Windows-1251 on every text line: the worst case for the detector's sample.
    QByteArray bytes = tenMegabytes();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] >= 'a' && bytes[i] <= 'z')
            bytes[i] = static_cast<char>(0xE0 + (bytes[i] - 'a'));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectLegacyEncoding(bytes));
}

} // namespace

BENCHMARK(BM_SequentialPlayback);
BENCHMARK(BM_SequentialPlaybackByScan);
BENCHMARK(BM_RandomSeeks)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_RandomSeeksByScan)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Utf8Check10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LegacyDetection10MB)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
