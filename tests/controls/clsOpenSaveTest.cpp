#include "controls/DialogProvider.h"
#include "controls/clsOpenSave.h"

#include "WaitUntil.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Answers the dialogs as a test scripts them and remembers what it was asked.
struct ScriptedDialogs : DialogProvider
{
    std::optional<FileDialogAnswer> RunFileDialog(const FileDialogRequest& request) override
    {
        lastRequest = request;
        if (files.isEmpty())
            return std::nullopt;
        return FileDialogAnswer{files, chosenFilter, QFileInfo(files.first()).absolutePath()};
    }
    std::optional<QColor> RunColorDialog(QWidget*, const QColor&, QList<QColor>&) override
    {
        return std::nullopt;
    }
    std::optional<QString> RunFolderDialog(QWidget*, const QString& title) override
    {
        folderTitle = title;
        return folder;
    }

    QStringList files;
    int chosenFilter = 0;
    FileDialogRequest lastRequest;
    std::optional<QString> folder;
    QString folderTitle;
};

struct DialogsFixture : ::testing::Test
{
    std::shared_ptr<ScriptedDialogs> script = std::make_shared<ScriptedDialogs>();
    clsOpenSave dialogs{script};
    const QString nul = QString(QChar(0));
};

} // namespace

TEST_F(DialogsFixture, FilterIsStoredWithNulsAndOpenFileBuildsItFromTheExtension)
{
    EXPECT_EQ(dialogs.Filter(), "All Files (*.*)|*.*");
    dialogs.SetFilter("Text|*.txt|");
    EXPECT_EQ(dialogs.InternalFilter(), "Text" + nul + "*.txt" + nul + nul);
    dialogs.SetFilter("Text|*.txt||");
    EXPECT_EQ(dialogs.InternalFilter(), "Text" + nul + "*.txt" + nul + nul);
    EXPECT_EQ(dialogs.Filter(), "Text|*.txt");

    // OpenFile builds its filter from the extension.
    dialogs.SetFilterIndex(5);
    dialogs.OpenFile("/tmp", "");
    EXPECT_EQ(dialogs.Filter(), "All Files (*.*)|*.*");
    EXPECT_EQ(dialogs.FilterIndex(), 5); // left as it was
    EXPECT_EQ(dialogs.InitDir(), "/tmp");

    dialogs.OpenFile({}, ".TXT");
    EXPECT_EQ(dialogs.Filter(), "All Files (*.*)|*.*|TXT files (*.TXT)|*.TXT");
    EXPECT_EQ(script->lastRequest.selectedFilter, 1); // the specific type comes up first
    dialogs.OpenFile({}, "srt", "Subtitles");
    EXPECT_EQ(dialogs.Filter(), "All Files (*.*)|*.*|Subtitles (*.srt)|*.srt");
}

// Qt's own dialog shows each description as written, semicolons and all, and still matches the
// patterns: a Matroska film is offered, a text file is not.
TEST(FileDialog, ShowsTheFilterAsWrittenAndMatchesItsPatterns)
{
    QTemporaryDir folder;
    for (const char* name : {"film.mkv", "clip.avi", "notes.txt"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    clsOpenSave dialogs;
    dialogs.SetFilter("Video files (*.avi; *.mkv)|*.avi;*.mkv|All files (*.*)|*.*");
    dialogs.SetInitDir(folder.path());
    QStringList shownFilters, listed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
        if (types && view) {
            for (int i = 0; i < types->count(); ++i)
                shownFilters << types->itemText(i);
            EXPECT_TRUE(WaitUntil([&] { return view->model()->rowCount(view->rootIndex()) > 1; }));
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        }
        dialog->reject();
    });
    dialogs.ShowOpen();
    EXPECT_EQ(shownFilters, (QStringList{"Video files (*.avi; *.mkv)", "All files (*.*)"}));
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"clip.avi", "film.mkv"}));
}

// A chosen file fills the properties; a name longer than the buffer fails like a cancel, and a
// cancel stays on the object while later choices still arrive.
TEST_F(DialogsFixture, ShowOpenFillsThePropertiesAndACancelStays)
{
    script->files = {"/media/films/Movie.avi"};
    script->chosenFilter = 1;
    dialogs.SetFilter("Video|*.avi|All|*.*");
    dialogs.SetDialogTitle("Open video");
    dialogs.ShowOpen();
    EXPECT_FALSE(dialogs.Canceled());
    EXPECT_EQ(dialogs.Filename(), "/media/films/Movie.avi");
    EXPECT_EQ(dialogs.FileTitle(), "Movie.avi");
    EXPECT_EQ(dialogs.Filename().mid(dialogs.FileExt()), "avi");
    EXPECT_EQ(dialogs.InitDir(), "/media/films");
    EXPECT_EQ(dialogs.FilterIndex(), 2);
    EXPECT_EQ(script->lastRequest.title, "Open video");

    clsOpenSave later(script);
    script->files = {"/media/" + QString(300, u'x') + ".srt"};
    later.ShowOpen(); // MaxFileSize is 260 on a new object
    EXPECT_TRUE(later.Canceled());
    EXPECT_EQ(later.Filename(), "");
    EXPECT_EQ(later.OpenFile(), script->files.first()); // OpenFile allows 32767
    script->files = {"/media/b.srt"};
    later.ShowOpen();
    EXPECT_TRUE(later.Canceled());
    EXPECT_EQ(later.Filename(), "/media/b.srt");
    EXPECT_EQ(later.SaveFile({}, "srt", {}, 0, "Save", "b.srt"), "/media/b.srt");
    script->files = {};
    EXPECT_EQ(later.OpenFile(), "");
}

TEST_F(DialogsFixture, OpenFilesIndexesOneFileFromZeroAndSeveralFromOne)
{
    script->files = {"/media/a.srt"};
    QMap<int, QString> one = dialogs.OpenFiles("/media", "srt");
    EXPECT_TRUE(script->lastRequest.multiple);
    EXPECT_EQ(script->lastRequest.title, "Open");
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one.value(0), "/media/a.srt");

    script->files = {"/media/a.srt", "/media/b.srt", "/media/c.srt"};
    QMap<int, QString> three = dialogs.OpenFiles();
    EXPECT_EQ(three.keys(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(three.value(3), "/media/c.srt");

    script->files = {};
    EXPECT_TRUE(dialogs.OpenFiles().isEmpty());
}

// SaveFile asks before overwriting unless its flags are negative; SaveFolder ends its answer in
// one separator.
TEST_F(DialogsFixture, SaveFileAsksBeforeOverwritingAndSaveFolderEndsInOneSeparator)
{
    script->files = {"/media/out.srt"};
    EXPECT_EQ(dialogs.SaveFile("/media", "srt", {}, 0, "Save as", "out.srt"), "/media/out.srt");
    EXPECT_TRUE(script->lastRequest.save);
    EXPECT_TRUE(script->lastRequest.confirmOverwrite);
    EXPECT_EQ(script->lastRequest.fileName, "out.srt");
    dialogs.SaveFile("/media", "srt", {}, -1);
    EXPECT_FALSE(script->lastRequest.confirmOverwrite);
    EXPECT_EQ(dialogs.flags(), 0);

    script->folder = "/";
    EXPECT_EQ(dialogs.SaveFolder("Pick"), "/");
    EXPECT_EQ(script->folderTitle, "Pick");
    script->folder = " /media/films ";
    EXPECT_EQ(dialogs.SaveFolder(), "/media/films/");
    script->folder.reset();
    EXPECT_EQ(dialogs.SaveFolder(), "");
}
