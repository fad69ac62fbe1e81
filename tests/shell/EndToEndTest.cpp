// The player as a user meets it: a real window on an X server with a window manager, the
// default engine drawing the demo video, the subtitle of the moment over it.
#include "ShellFixture.h"

#include "mediagen/TestVideo.h"
#include "controls/XFlatButton.h"
#include "controls/nSlider.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

namespace {
int countPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& match)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += match(image.pixel(x, y)) ? 1 : 0;
    return count;
}
} // namespace

TEST(EndToEnd, DemoPlaysWithItsSubtitlesAndSettingsSurviveQuitting)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display";
    ProgramObjects objects;
    QTemporaryDir dir;
    const QString registryPath = dir.filePath(QStringLiteral("registry.db"));
    modMain::AppSettings().ClearSettings();
    modMain::AppSettings().SetRegistry(std::make_shared<Registry>(registryPath));
    TestVideoFormat format;
    format.width = 320;
    format.height = 240;
    format.frames = 250;
    const QString video = dir.filePath(QStringLiteral("Demo Clip.avi"));
    ASSERT_TRUE(WriteTestAvi(video, format));
    QFile srt(dir.filePath(QStringLiteral("Demo Clip.srt")));
    ASSERT_TRUE(srt.open(QIODevice::WriteOnly));
    srt.write("1\r\n00:00:05,100 --> 00:00:09,000\r\nWWWWWWWW\r\n\r\n"
              "2\r\n00:00:09,100 --> 00:00:09,900\r\nend\r\n\r\n");
    srt.close();

    EngineOptions options;
    options.audioOutput = false;
    modMain::Player().SetEngineOptions(options);
    auto* window = new frmMain;
    std::vector<QString> messages;
    window->SetMessageSink([&](QMessageBox::Icon, const QString& text) {
        messages.push_back(text);
    });
    window->Form_Load(video);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(modMain::Player().Status(), 4);
    EXPECT_EQ(window->SubReader().Filename(), srt.fileName());
    ASSERT_TRUE(WaitUntil([] { return modMain::Player().Position() > 5.6; }, 15000));
    // The cells work out their texts when they paint, which playing has made them do by now.
    EXPECT_EQ(window->cmdStatus[0]->Text(), QStringLiteral("Playing"));
    EXPECT_EQ(window->cmdStatus[1]->Text(), QStringLiteral("Subtitles loaded."));

    QWidget* area = window->picFrame;
    const QRect onScreen(area->mapToGlobal(QPoint(0, 0)), area->size());
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QRect upper(onScreen.left(), onScreen.top(), onScreen.width(), onScreen.height() / 2);
    const QRect lower(onScreen.left(), onScreen.top() + onScreen.height() * 3 / 4,
                      onScreen.width(), onScreen.height() / 4);
    auto orange = [](QRgb p) { return qRed(p) > 200 && qGreen(p) > 90 && qGreen(p) < 150
                                      && qBlue(p) < 60; };
    auto white = [](QRgb p) { return qRed(p) > 230 && qGreen(p) > 230 && qBlue(p) > 230; };
    // The video is drawn, and white text appears in the lower quarter where the square never is.
    EXPECT_GT(countPixels(shot, upper, orange), upper.width() * upper.height() / 3);
    EXPECT_GT(countPixels(shot, lower, white), 50);
    ASSERT_TRUE(window->ShownSub());
    EXPECT_EQ(window->ShownSub()->Text, QStringLiteral("WWWWWWWW"));

    window->sldVolume->SetValue(0.3);
    window->sldVolume_Release();
    window->mnuFileExit->trigger();
    delete window;

    modMain::AppSettings().ClearSettings();
    modMain::AppSettings().SetRegistry(std::make_shared<Registry>(registryPath));
    modMain::AppSettings().REGKEY = winreg::HKEY_LOCAL_MACHINE;
    modMain::AppSettings().RegSubKey = modMain::kRegistrySubKey;
    modMain::AppSettings().LoadReg();
    EXPECT_EQ(modMain::AppSettings().GetSetting(QStringLiteral("VOLUME")).toInt(), 30);
    EXPECT_EQ(modMain::AppSettings().GetSetting(QStringLiteral("MPTYPE")).toInt(), 2);
    EXPECT_EQ(modMain::AppSettings().SettingCount(), 8);
}
