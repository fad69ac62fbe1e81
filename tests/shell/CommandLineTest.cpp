#include "shell/CommandLineRequest.h"
#include "shell/modMain.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using Action = CommandLineRequest::Action;

namespace {
CommandLineRequest parse(std::initializer_list<const char*> arguments)
{
    QStringList list{QStringLiteral("/usr/bin/tavrell-veltrix")};
    for (const char* argument : arguments)
        list.append(QString::fromUtf8(argument));
    return CommandLineRequest::Parse(list);
}

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

struct PlayerRun {
    int exitCode = -1;
    QString out, err;
};

// The installed program as a shell runs it, without any display: options that only print must
// not need one.
PlayerRun runPlayer(const QStringList& arguments)
{
    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    player.setProcessEnvironment(environment);
    player.start(QStringLiteral(VELTRIX_PLAYER), arguments);
    PlayerRun run;
    if (player.waitForFinished(30000) && player.exitStatus() == QProcess::NormalExit)
        run.exitCode = player.exitCode();
    run.out = QString::fromLocal8Bit(player.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(player.readAllStandardError());
    return run;
}
}  // namespace

TEST(CommandLine, DocumentsFolderEndsWithOneSeparator)
{
    const QString folder = modMain::DocumentsFolder();
    EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_FALSE(folder.endsWith(QStringLiteral("//")));
}

TEST(CommandLine, OptionsEndAtDoubleDashAndUnknownOnesAreRefused)
{
    const CommandLineRequest dash = parse({"--", "-dash.avi"});
    EXPECT_EQ(dash.action, Action::Play);
    EXPECT_EQ(dash.files.media, QStringLiteral("-dash.avi"));
    EXPECT_EQ(parse({"--", "--version"}).files.media, QStringLiteral("--version"));

    for (const auto& arguments : {std::initializer_list<const char*>{"-dash.avi"},
                                  {"--fullscreen", "a.avi"}, {"a.avi", "-x"}}) {
        const CommandLineRequest refused = parse(arguments);
        EXPECT_EQ(refused.action, Action::Refuse) << refused.text.toStdString();
        EXPECT_EQ(refused.ExitCode(), 2);
        EXPECT_TRUE(refused.text.startsWith(QStringLiteral("tavrell-veltrix: ")))
            << refused.text.toStdString();
    }
    EXPECT_TRUE(parse({"-dash.avi"}).text.contains(QStringLiteral("dash.avi")));
    // Two videos, or two subtitle files: the player opens one of each.
    EXPECT_EQ(parse({"a.avi", "b.avi"}).action, Action::Refuse);
    EXPECT_EQ(parse({"a.avi", "a.srt", "b.sub"}).action, Action::Refuse);

    EXPECT_EQ(parse({"a.avi", "--help"}).action, Action::ShowHelp);
    EXPECT_EQ(parse({"-h"}).action, Action::ShowHelp);
    EXPECT_EQ(parse({"-v"}).action, Action::ShowVersion);
    EXPECT_EQ(parse({"-v"}).ExitCode(), 0);
    EXPECT_EQ(parse({}).action, Action::Play);
    EXPECT_TRUE(parse({}).files.media.isEmpty());
}

TEST(CommandLine, VideoAndSubtitlesInEitherOrderAndAsUrls)
{
    const CommandLineRequest both = parse({"Film.srt", "/films/Film.avi"});
    EXPECT_EQ(both.files.media, QStringLiteral("/films/Film.avi"));
    EXPECT_EQ(both.files.subtitles, QStringLiteral("Film.srt"));
    const CommandLineRequest urls =
        parse({"file:///films/My%20Film.avi", "FILE:///subs/My%20Film.SUB"});
    EXPECT_EQ(urls.files.media, QStringLiteral("/films/My Film.avi"));
    EXPECT_EQ(urls.files.subtitles, QStringLiteral("/subs/My Film.SUB"));
    // Only file URLs become paths; a name with a colon stays a name.
    EXPECT_EQ(parse({"clip:1.avi"}).files.media, QStringLiteral("clip:1.avi"));
}

TEST(CommandLine, SubtitleFileAloneBringsItsVideo)
{
    QTemporaryDir dir;
    const QString subtitles = dir.filePath(QStringLiteral("Film [1080p].srt"));
    touch(subtitles);
    touch(dir.filePath(QStringLiteral("Film [1080p].nfo")));
    touch(dir.filePath(QStringLiteral("Film [1080p] extras.mkv")));
    const QByteArray path = subtitles.toUtf8();
    EXPECT_TRUE(parse({path.constData()}).files.media.isEmpty()) << "no video of that name";
    touch(dir.filePath(QStringLiteral("Film [1080p].MKV")));
    const CommandLineRequest request = parse({path.constData()});
    EXPECT_EQ(request.files.media, dir.filePath(QStringLiteral("Film [1080p].MKV")));
    EXPECT_EQ(request.files.subtitles, subtitles);
}

TEST(CommandLine, TheProgramPrintsAndExitsWithoutADisplay)
{
    const PlayerRun version = runPlayer({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("Tavrell Veltrix Version ")))
        << version.out.toStdString();
    const PlayerRun help = runPlayer({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("[--] [VIDEO [SUBTITLES]]")));
    const PlayerRun unknown = runPlayer({QStringLiteral("--bogus"), QStringLiteral("a.avi")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("bogus"))) << unknown.err.toStdString();
}
