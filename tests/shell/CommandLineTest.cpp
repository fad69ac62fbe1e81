#include "shell/CommandLineRequest.h"

#include "TempFiles.h"

#include <QProcess>

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
}  // namespace

// Options end at "--"; unknown ones, two videos or two subtitle files are refused; the files come
// in either order and as file URLs.
TEST(CommandLine, ParsedAsLinuxProgramsDo)
{
    const struct Case {
        std::initializer_list<const char*> arguments;
        Action action;
        const char* media;
        const char* subtitles;
    } cases[] = {
        {{"--", "-dash.avi"}, Action::Play, "-dash.avi", ""},
        {{"--", "--version"}, Action::Play, "--version", ""},
        {{"-dash.avi"}, Action::Refuse, "", ""},
        {{"--fullscreen", "a.avi"}, Action::Refuse, "", ""},
        {{"a.avi", "-x"}, Action::Refuse, "", ""},
        {{"a.avi", "b.avi"}, Action::Refuse, "", ""},
        {{"a.avi", "a.srt", "b.sub"}, Action::Refuse, "", ""},
        {{"a.avi", "--help"}, Action::ShowHelp, "", ""},
        {{"-h"}, Action::ShowHelp, "", ""},
        {{"-v"}, Action::ShowVersion, "", ""},
        {{}, Action::Play, "", ""},
        {{"Film.srt", "/films/Film.avi"}, Action::Play, "/films/Film.avi", "Film.srt"},
        {{"file:///films/My%20Film.avi", "FILE:///subs/My%20Film.SUB"}, Action::Play,
         "/films/My Film.avi", "/subs/My Film.SUB"},
        // Only file URLs become paths; a name with a colon stays a name.
        {{"clip:1.avi"}, Action::Play, "clip:1.avi", ""},
    };
    for (const Case& c : cases) {
        const CommandLineRequest request = parse(c.arguments);
        SCOPED_TRACE(::testing::Message()
                     << "case " << &c - cases << ": " << request.text.toStdString());
        EXPECT_EQ(request.action, c.action);
        EXPECT_EQ(request.ExitCode(), c.action == Action::Refuse ? 2 : 0);
        if (c.action == Action::Refuse) {
            EXPECT_TRUE(request.text.startsWith(QStringLiteral("tavrell-veltrix: ")));
        } else if (c.action == Action::ShowHelp) {
            EXPECT_TRUE(request.text.contains(QStringLiteral("[--] [VIDEO [SUBTITLES]]")));
        } else if (c.action == Action::Play) {
            EXPECT_EQ(request.files.media, QString::fromUtf8(c.media));
            EXPECT_EQ(request.files.subtitles, QString::fromUtf8(c.subtitles));
        }
    }
    EXPECT_TRUE(parse({"-dash.avi"}).text.contains(QStringLiteral("dash.avi")));
}

TEST(CommandLine, SubtitleFileAloneBringsItsVideo)
{
    TempFiles files;
    const QString subtitles = files.write(QStringLiteral("Film [1080p].srt"), {});
    files.write(QStringLiteral("Film [1080p].nfo"), {});
    files.write(QStringLiteral("Film [1080p] extras.mkv"), {});
    const QByteArray path = subtitles.toUtf8();
    EXPECT_TRUE(parse({path.constData()}).files.media.isEmpty()) << "no video of that name";
    const QString video = files.write(QStringLiteral("Film [1080p].MKV"), {});
    const CommandLineRequest request = parse({path.constData()});
    EXPECT_EQ(request.files.media, video);
    EXPECT_EQ(request.files.subtitles, subtitles);
}

// The installed program as a shell runs it, without any display: options that only print must
// not need one. What --version prints, the packaging test reads from the installed program.
TEST(CommandLine, TheProgramRefusesAnUnknownOptionWithoutADisplay)
{
    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    player.setProcessEnvironment(environment);
    player.start(QStringLiteral(VELTRIX_PLAYER),
                 {QStringLiteral("--bogus"), QStringLiteral("a.avi")});
    ASSERT_TRUE(player.waitForFinished(30000));
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.exitCode(), 2);
    EXPECT_TRUE(player.readAllStandardOutput().isEmpty());
    const QString err = QString::fromLocal8Bit(player.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("bogus"))) << err.toStdString();
}
