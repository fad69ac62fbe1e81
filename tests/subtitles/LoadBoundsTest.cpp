// Memory of a load, whatever the file holds: each file is loaded in a child process, whose peak
// resident size before and after the load is compared against four times the file's size.
#include "subtitles/SubtitleReader.h"

#include "TempFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace {

constexpr long SmallConstantKb = 8 * 1024;

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct ChildLoad
{
    bool loaded = false;
    long growthKb = -1;
    int count = 0;
};

// Runs prepare (e.g. a memory limit) and the load in a child, so that its peak is its own.
ChildLoad loadInChild(const QString& path, const std::function<void()>& prepare = {})
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        if (prepare)
            prepare();
        ChildLoad result;
        const long before = peakKb();
        SubtitleReader reader;
        result.loaded = reader.Load(path);
        result.count = reader.Count();
        result.growthKb = peakKb() - before;
        const bool written = write(pipeEnds[1], &result, sizeof result) == sizeof result;
        _exit(written ? 0 : 1);
    }
    close(pipeEnds[1]);
    ChildLoad result;
    const bool got = child > 0 && read(pipeEnds[0], &result, sizeof result) == sizeof result;
    close(pipeEnds[0]);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    // A child killed by an exception or a signal never writes its answer.
    return got && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result : ChildLoad{};
}

} // namespace

TEST(LoadBounds, PeakMemoryStaysWithinFourTimesTheFileAndRunningOutIsAFailedLoad)
{
    TempFiles files;
    const QByteArray arrow = "-->\n";
    const QByteArray pipes = QByteArray(1000, '|') + "x\n";
    const QByteArray gbkEntry = "-->\n\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7\xA1\xA3\xCE\xD2\xC3"
        "\xC7\xBD\xF1\xCC\xEC\xC8\xA5\xB9\xAB\xD4\xB0\xC9\xA2\xB2\xBD\xB0\xC9\xA1\xA3\xD5\xE2\xCA"
        "\xC7\xD2\xBB\xB8\xF6\xD7\xD6\xC4\xBB\xCE\xC4\xBC\xFE\xA1\xA3\n";
    struct Case { const char* name; QByteArray bytes; int entries; };
    const Case cases[] = {
        // Ten million entries of four bytes each.
        {"arrows.srt", arrow.repeated(10'000'000), 10'000'000},
        // Tiny entries out of order, so they have to be sorted.
        {"unsorted.sub", QByteArray("{9}{}\n-->\n").repeated(3'000'000), 6'000'000},
        // One entry of 20,000 lines that each break into a thousand lines.
        {"breaks.srt", "-->\n" + pipes.repeated(20'000) + "\n-->\n", 2},
        // A multi-byte code page (GB18030), decoded a line at a time.
        {"gb18030.srt", gbkEntry.repeated(2000) + arrow.repeated(5'000'000), 5'002'000},
        // Text in UTF-16, which is decoded whole.
        {"wide.srt", "\xFF\xFE" + QByteArray("-\0-\0>\0\n\0", 8).repeated(4'000'000), 4'000'000},
    };
    for (const Case& c : cases) {
        const QString path = files.write(c.name, c.bytes);
        const ChildLoad load = loadInChild(path);
        EXPECT_TRUE(load.loaded) << c.name;
        EXPECT_EQ(load.count, c.entries) << c.name;
        EXPECT_LE(load.growthKb, 4 * c.bytes.size() / 1024 + SmallConstantKb)
            << c.name << ": " << c.bytes.size() / 1024 << " KB";
        QFile::remove(path);
    }

    // Running out of memory is a file that does not load.
    const QString path = files.write("arrows.srt", arrow.repeated(5'000'000));
    // Address space for little more than what the process has: the load cannot get its memory.
    const ChildLoad load = loadInChild(path, [] {
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        limit.rlim_cur = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + 16 * 1024 * 1024;
        setrlimit(RLIMIT_AS, &limit);
    });
    EXPECT_GE(load.growthKb, 0) << "the child did not answer: an exception or a crash";
    EXPECT_FALSE(load.loaded);
    EXPECT_EQ(load.count, 0);
}

