// A film with its subtitles inside, in the real player on an X server with a window manager: the
// track chosen through the menu is drawn over the playing video.
#include "ShellFixture.h"
#include "TrackMedia.h"

#include "settings/SettingNames.h"

#include "WaitUntil.h"

#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QScreen>

namespace {

int whitePixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qRed(p) > 230 && qGreen(p) > 230 && qBlue(p) > 230 ? 1 : 0;
        }
    }
    return count;
}

TEST(EmbeddedWindow, ATrackChosenThroughTheMenuIsDrawnOverTheVideo)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display";
    ProgramObjects objects;
    QTemporaryDir dir;
    modMain::AppSettings().ClearSettings();
    modMain::AppSettings().SetRegistry(
        std::make_shared<Registry>(dir.filePath(QStringLiteral("registry.db"))));
    Settings& settings = modMain::AppSettings();
    settings.REGKEY = winreg::HKEY_LOCAL_MACHINE;
    settings.RegSubKey = modMain::kRegistrySubKey;
    settings.SetSetting(SettingNames::SubAutoOpen, false, SettingBoolean, nullptr, {}, true);
    settings.ClearSettings();
    const QString film = TrackMedia::Matroska(QDir(dir.path()));
    ASSERT_FALSE(film.isEmpty());

    EngineOptions options;
    options.audioOutput = false;
    modMain::Player().SetEngineOptions(options);
    auto window = std::make_unique<frmMain>();
    std::vector<QString> messages;
    window->SetMessageSink([&](QMessageBox::Icon, const QString& text) {
        messages.push_back(text);
    });
    window->Form_Load(film);
    ASSERT_EQ(modMain::Player().Status(), 4);
    ASSERT_TRUE(WaitUntil([&] { return window->EmbeddedTracks().size() == 3; }));
    EXPECT_TRUE(window->SubReader().Filename().isEmpty());

    emit window->mnuSubtitlesEmbedded->aboutToShow();
    window->mnuSubtitlesEmbedded->actions().at(0)->trigger();
    ASSERT_TRUE(WaitUntil([&] { return !window->SubReader().Filename().isEmpty(); }));
    // Cue 3 runs from 5.5 s to 9 s, after the notice that names the track.
    ASSERT_TRUE(WaitUntil([] { return modMain::Player().Position() > 6.0; }, 15000));
    ASSERT_TRUE(WaitUntil([&] {
        return window->ShownSub() && window->ShownSub()->Text == QStringLiteral("WWWWWWWW");
    }));

    QWidget* area = window->picFrame;
    const QRect onScreen(area->mapToGlobal(QPoint(0, 0)), area->size());
    const QRect lower(onScreen.left(), onScreen.top() + onScreen.height() * 3 / 4,
                      onScreen.width(), onScreen.height() / 4);
    // The video is a plain blue: anything white in its lower quarter is the subtitle.
    ASSERT_TRUE(WaitUntil([&] {
        return whitePixels(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), lower) > 50;
    }));
    EXPECT_TRUE(messages.empty());
    window->mnuFileExit->trigger();
}

} // namespace
