#include "shell/modMain.h"

#include <gtest/gtest.h>

TEST(CommandLine, SingleStringRule)
{
    using modMain::FileFromCommandLine;
    EXPECT_EQ(FileFromCommandLine(QString()), QString());
    // A quoted path with spaces: quotes go, spaces stay.
    EXPECT_EQ(FileFromCommandLine(QStringLiteral("\"C:\\My Films\\a b.avi\"")),
              QStringLiteral("C:\\My Films\\a b.avi"));
    // The space before an option is trimmed and nothing after the slash counts.
    EXPECT_EQ(FileFromCommandLine(QStringLiteral("movie.avi /fullscreen")),
              QStringLiteral("movie.avi"));
    EXPECT_EQ(FileFromCommandLine(QStringLiteral("\"a b.avi\" /x /y")), QStringLiteral("a b.avi"));
    EXPECT_EQ(FileFromCommandLine(QStringLiteral("/x movie.avi")), QString());
    // Without a slash the line is taken whole, spaces included.
    EXPECT_EQ(FileFromCommandLine(QStringLiteral(" movie.avi ")), QStringLiteral(" movie.avi "));
}

TEST(CommandLine, PosixArguments)
{
    using modMain::FileFromArguments;
    EXPECT_EQ(FileFromArguments({QStringLiteral("veltrix")}), QString());
    EXPECT_EQ(FileFromArguments({QStringLiteral("veltrix"), QStringLiteral("-v"),
                                 QStringLiteral("/films/a b.avi"), QStringLiteral("x.avi")}),
              QStringLiteral("/films/a b.avi"));
    // The program's own name is never the file, even when it looks like one.
    EXPECT_EQ(FileFromArguments({QStringLiteral("movie.avi")}), QString());
}

TEST(CommandLine, DocumentsFolderEndsWithOneSeparator)
{
    const QString folder = modMain::DocumentsFolder();
    EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_FALSE(folder.endsWith(QStringLiteral("//")));
}
