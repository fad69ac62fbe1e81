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
    std::optional<QString> RunFolderDialog(QWidget*, const QString&) override
    {
        return std::nullopt;
    }

    QStringList files;
    int chosenFilter = 0;
    FileDialogRequest lastRequest;
};

struct DialogsFixture : ::testing::Test
{
    std::shared_ptr<ScriptedDialogs> script = std::make_shared<ScriptedDialogs>();
    clsOpenSave dialogs{script};
};

} // namespace

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

// A chosen file fills the properties, and a name longer than the buffer fails like a cancel.
TEST_F(DialogsFixture, ShowOpenFillsThePropertiesAndATooLongNameIsACancel)
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
}

// Saving the synchronised subtitles: the dialog asks before it overwrites a file.
TEST_F(DialogsFixture, ShowSaveOffersTheNameAndAsksBeforeOverwriting)
{
    script->files = {"/media/out.srt"};
    dialogs.SetFilename("out.srt");
    dialogs.SetDefaultExt("srt");
    dialogs.Setflags(clsOpenSave::OverwritePrompt);
    dialogs.ShowSave();
    EXPECT_EQ(dialogs.Filename(), "/media/out.srt");
    EXPECT_TRUE(script->lastRequest.save);
    EXPECT_TRUE(script->lastRequest.confirmOverwrite);
    EXPECT_EQ(script->lastRequest.fileName, "out.srt");
    EXPECT_EQ(script->lastRequest.defaultSuffix, "srt");
}
