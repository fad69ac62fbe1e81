#include "files/FileMgr.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FileListTest : public ::testing::Test
{
protected:
    QString touch(const QString& name, const QByteArray& content = {})
    {
        QFile f(m_dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }
    QStringList titles(const FileMgr& mgr)
    {
        QStringList out;
        for (const auto& f : mgr.Files())
            out << f->FileTitle();
        return out;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(FileListTest, ListsAFolderWhicheverWayItIsWritten)
{
    touch(QStringLiteral("b.srt"), "12345");
    touch(QStringLiteral("A.sub"));
    QDir(m_dir.path()).mkdir(QStringLiteral("folder"));
    FileMgr mgr;
    ASSERT_TRUE(mgr.ChangeDir(m_dir.path()));
    EXPECT_EQ(mgr.CurrentPath(), m_dir.path() + u'/');
    EXPECT_EQ(titles(mgr), (QStringList{"..", "A.sub", "b.srt", "folder"}));
    EXPECT_TRUE(mgr.Files()[0]->IsDirectory());
    EXPECT_EQ(mgr.Files()[2]->Size(), 5);
    EXPECT_FALSE(mgr.Files()[2]->DateNA());

    FileMgr other;
    ASSERT_TRUE(other.ChangeDir(QStringLiteral("  ") + m_dir.path() + QStringLiteral("/ ")));
    EXPECT_EQ(other.GetFilesStringArray(), mgr.GetFilesStringArray());

    mgr.Filter = QStringLiteral("*.SRT; x*");
    ASSERT_TRUE(mgr.Refresh());
    EXPECT_EQ(titles(mgr), (QStringList{"..", "b.srt", "folder"}));   // folders always stay
}

TEST_F(FileListTest, RootHasNoParentEntryAndFailuresKeepTheOldList)
{
    FileMgr mgr;
    ASSERT_TRUE(mgr.ChangeDir(QStringLiteral("/")));
    EXPECT_TRUE(mgr.IsAtRoot());
    ASSERT_FALSE(mgr.Files().isEmpty());
    EXPECT_NE(mgr.Files()[0]->FileTitle(), QStringLiteral(".."));
    EXPECT_FALSE(mgr.CDUp() && !mgr.IsAtRoot());

    ASSERT_TRUE(mgr.ChangeDir(m_dir.path()));
    const QStringList before = mgr.GetFilesStringArray();
    QSignalSpy error(&mgr, &FileMgr::ListError);
    EXPECT_FALSE(mgr.ChangeDir(m_dir.filePath(QStringLiteral("missing"))));
    EXPECT_EQ(error.count(), 1);
    EXPECT_EQ(mgr.GetFilesStringArray(), before);
    EXPECT_EQ(mgr.CurrentPath(), m_dir.path() + u'/');
    ASSERT_TRUE(mgr.CDUp());
    EXPECT_EQ(mgr.CurrentPath(), QFileInfo(m_dir.path()).absolutePath() + u'/');
}

TEST_F(FileListTest, PathPartsAttributesRenameAndDelete)
{
    ListFile f;
    f.SetTo(touch(QStringLiteral("Movie.Name.srt")));
    EXPECT_EQ(f.FileTitle(), QStringLiteral("Movie.Name.srt"));
    EXPECT_EQ(f.FileTitleNoExt(), QStringLiteral("Movie.Name"));
    EXPECT_EQ(f.FileExtension(), QStringLiteral("srt"));
    EXPECT_EQ(f.ParentDir(), m_dir.path());
    EXPECT_EQ(f.AttrString(), QStringLiteral("-----0"));

    const QString hidden = touch(QStringLiteral(".hidden"));
    QFile::setPermissions(hidden, QFile::ReadOwner);
    f.SetTo(hidden);
    EXPECT_EQ(f.AttrString(), QStringLiteral("r-h--0"));
    EXPECT_FALSE(f.IsDeletable());

    f.SetTo(m_dir.path());
    EXPECT_EQ(f.AttrString(), QStringLiteral("----d0"));
    f.SetTo(QStringLiteral("/"));
    EXPECT_TRUE(f.IsDriveRoot());
    EXPECT_EQ(f.Attributes(), ListFile::Directory | ListFile::DriveFixed);
    EXPECT_EQ(f.AttrString(), QStringLiteral("----d1"));
    EXPECT_EQ(f.ParentDir(), QStringLiteral("/"));

    EXPECT_EQ(ListFile::ParentOf(QStringLiteral("/home/u/")), QStringLiteral("/home"));
    EXPECT_EQ(ListFile::ParentOf(QStringLiteral("/home")), QStringLiteral("/"));
    EXPECT_EQ(ListFile::ParentOf(QStringLiteral("movie.avi")), QString());

    // Renaming and deleting refuse what would lose or escape.
    touch(QStringLiteral("old.srt"));
    touch(QStringLiteral("taken.srt"));
    const QString locked = touch(QStringLiteral("locked.srt"));
    QFile::setPermissions(locked, QFile::ReadOwner);
    FileMgr mgr;
    ASSERT_TRUE(mgr.ChangeDir(m_dir.path()));
    const auto find = [&](const QString& title) {
        for (const auto& f : mgr.Files()) {
            if (f->FileTitle() == title)
                return f;
        }
        return std::shared_ptr<ListFile>();
    };

    EXPECT_FALSE(mgr.Rename(find(QStringLiteral("old.srt")), QStringLiteral("taken.srt")));
    EXPECT_FALSE(mgr.Rename(find(QStringLiteral("old.srt")), QStringLiteral("../escape.srt")));
    const auto renamed = mgr.Rename(find(QStringLiteral("old.srt")), QStringLiteral("new.srt"));
    ASSERT_TRUE(renamed);
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("new.srt"))));
    EXPECT_EQ(find(QStringLiteral("new.srt")), renamed);

    EXPECT_FALSE(mgr.Delete(find(QStringLiteral("locked.srt"))));
    EXPECT_FALSE(mgr.Delete(find(QStringLiteral(".."))));
    EXPECT_TRUE(mgr.Delete(renamed));
    EXPECT_FALSE(find(QStringLiteral("new.srt")));
    EXPECT_FALSE(QFile::exists(renamed->Path()));
}

