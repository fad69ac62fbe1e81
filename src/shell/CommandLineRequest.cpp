#include "shell/CommandLineRequest.h"

#include "controls/frmAbout.h"
#include "shell/modMain.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace {

// The file managers' "Open with" may hand over a URL instead of a path.
QString localPath(const QString& argument)
{
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return argument;
}

QString helpText(const QString& program)
{
    return QStringLiteral(
               "Usage: %1 [OPTIONS] [--] [VIDEO [SUBTITLES]]\n"
               "Plays VIDEO with the subtitle file beside it whose name fits best, or with\n"
               "SUBTITLES (.srt, .sub or .txt). Either may be a file:// URL. A subtitle file alone\n"
               "opens the video of the same name beside it.\n"
               "\n"
               "Options:\n"
               "  -h, --help     Show this text and exit.\n"
               "  -v, --version  Show the version and exit.\n"
               "  --             End of options: a file name after it may begin with \"-\".\n")
        .arg(program);
}

CommandLineRequest refuse(const QString& program, const QString& why)
{
    CommandLineRequest request;
    request.action = CommandLineRequest::Action::Refuse;
    request.text = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                       .arg(program, why);
    return request;
}

} // namespace

CommandLineRequest CommandLineRequest::Parse(const QStringList& arguments)
{
    const QString program =
        arguments.isEmpty() ? QStringLiteral("tavrell-veltrix")
                            : QFileInfo(arguments.first()).fileName();
    QCommandLineParser parser;
    // "-dash.avi" is one unknown option, not the letters d, a, s, h ... of short ones.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(arguments.isEmpty() ? QStringList{program} : arguments))
        return refuse(program, parser.errorText());

    CommandLineRequest request;
    if (parser.isSet(help)) {
        request.action = Action::ShowHelp;
        request.text = helpText(program);
        return request;
    }
    if (parser.isSet(version)) {
        request.action = Action::ShowVersion;
        request.text = modMain::kAppTitle + QLatin1Char(' ')
                     + frmAbout::VersionText(VELTRIX_VERSION_MAJOR, VELTRIX_VERSION_MINOR,
                                             VELTRIX_VERSION_PATCH)
                     + QLatin1Char('\n');
        return request;
    }
    QStringList paths;
    for (const QString& argument : parser.positionalArguments())
        paths.append(localPath(argument));
    const auto subtitleFiles = std::count_if(paths.cbegin(), paths.cend(),
                                             &FilesToOpen::IsSubtitleFile);
    if (subtitleFiles > 1 || paths.size() - subtitleFiles > 1)
        return refuse(program, QStringLiteral("give one video and at most one subtitle file"));
    request.files = FilesToOpen::FromPaths(paths);
    if (request.files.media.isEmpty() && !request.files.subtitles.isEmpty())
        request.files.media = FilesToOpen::VideoBeside(request.files.subtitles);
    return request;
}
