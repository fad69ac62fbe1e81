#include "files/FileMgr.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList Titles(const FileMgr& mgr)
{
    QStringList out;
    for (const auto& f : mgr.Files())
        out << f->FileTitle();
    return out;
}

} // namespace

// The folder a subtitle is looked for in, however the path was written; a folder that cannot be
// listed keeps the old list.
TEST(FileList, ListsAFolderWhicheverWayItIsWrittenAndAFailureKeepsTheOldList)
{
    QTemporaryDir dir;
    for (const char* name : {"b.srt", "A.sub", "Movie.Name.srt"})
        ASSERT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    FileMgr mgr;
    ASSERT_TRUE(mgr.ChangeDir(dir.path()));
    const QStringList listed = {"..", "A.sub", "b.srt", "folder", "Movie.Name.srt"};
    EXPECT_EQ(Titles(mgr), listed);
    EXPECT_TRUE(mgr.Files()[0]->IsDirectory());
    EXPECT_TRUE(mgr.Files()[3]->IsDirectory());
    const ListFile& movie = *mgr.Files()[4];
    EXPECT_FALSE(movie.IsDirectory());
    EXPECT_EQ(movie.Path(), dir.filePath(QStringLiteral("Movie.Name.srt")));
    EXPECT_EQ(movie.FileTitleNoExt(), QStringLiteral("Movie.Name"));
    EXPECT_EQ(movie.FileExtension(), QStringLiteral("srt"));

    FileMgr other;
    ASSERT_TRUE(other.ChangeDir(QStringLiteral("  ") + dir.path() + QStringLiteral("/ ")));
    EXPECT_EQ(Titles(other), listed);
    EXPECT_FALSE(mgr.ChangeDir(dir.filePath(QStringLiteral("missing"))));
    EXPECT_EQ(Titles(mgr), listed);

    ASSERT_TRUE(mgr.ChangeDir(QStringLiteral("/")));
    ASSERT_FALSE(mgr.Files().isEmpty());
    EXPECT_NE(mgr.Files()[0]->FileTitle(), QStringLiteral(".."));

    EXPECT_EQ(ListFile::ParentOf(QStringLiteral("/home/u/")), QStringLiteral("/home"));
    EXPECT_EQ(ListFile::ParentOf(QStringLiteral("/home")), QStringLiteral("/"));
    EXPECT_EQ(ListFile::ParentOf(QStringLiteral("movie.avi")), QString());
}
