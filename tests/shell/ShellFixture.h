#pragma once

#include "media/MediaPlayerController.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "shell/ProgramObjects.h"
#include "shell/frmMain.h"
#include "shell/modMain.h"

#include "mediagen/TestVideo.h"

#include "WaitUntil.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Tests of what a real window shows skip where Qt draws off screen.
inline bool OnAnXDisplay() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// Runs `act` on the modal dialog of type D as soon as a blocking call has it up, from that
// call's event loop. No such dialog within 5 s fails the test; a dialog that `act` leaves open is
// rejected a few seconds later, so a failing case cannot hang the run.
template <typename D>
void WhenModal(std::function<void(D&)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, act, tries] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries < 500)
            return;
        poll->stop();
        poll->deleteLater();
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog appeared";
            return;
        }
        act(*dialog);
        QTimer::singleShot(5000, dialog, [dialog] {
            ADD_FAILURE() << "dialog left open";
            dialog->reject();
        });
    });
    poll->start();
}

// Records what the window hands to the overlay instead of drawing it.
class RecordingOverlay : public SubtitlePresenter {
public:
    bool ShowSubtitle(const SubtitlePtr& entry, double) override
    {
        shown = entry;
        visible = true;
        return true;
    }
    void Hide() override { visible = false; ++hides; }
    void ReleaseSurface() override { ++releases; }
    void Unload() override { visible = false; }
    QWidget* Window() override { return nullptr; }

    SubtitlePtr shown;
    bool visible = false;
    int hides = 0;
    int releases = 0;
};

struct ShownMessage {
    QMessageBox::Icon icon;
    QString text;
};

// A main window on a registry of its own: each test starts as a first run.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registryPath = dir.filePath(QStringLiteral("registry.db"));
        objects = std::make_unique<ProgramObjects>();
        UseFreshStore();
    }

    void UseFreshStore()
    {
        modMain::AppSettings().ClearSettings();
        modMain::AppSettings().SetRegistry(std::make_shared<Registry>(registryPath));
    }

    // engineOptions lets a test make an engine fail to load. The overlay records what it is
    // handed and the tick waits for RunTick, unless the test asks for the program as it runs.
    frmMain& Start(const QString& file = {},
                   EngineOptions options = EngineOptions::ForCurrentDisplay(),
                   bool asTheProgramRuns = false)
    {
        options.audioOutput = false;
        modMain::Player().SetEngineOptions(options);
        window = std::make_unique<frmMain>();
        window->SetMessageSink([this](QMessageBox::Icon icon, const QString& text) {
            messages.push_back({icon, text});
        });
        if (!asTheProgramRuns) {
            auto recorder = std::make_unique<RecordingOverlay>();
            overlay = recorder.get();
            window->SetOverlay(std::move(recorder));
            window->tmrSecond().stop();
        }
        window->Form_Load(file);
        return *window;
    }

    // A generated 25 fps clip that plays when the window starts.
    frmMain& StartPlaying(int frames = 250)
    {
        frmMain& w = Start(Video(QStringLiteral("clip.avi"), frames));
        EXPECT_EQ(modMain::Player().Status(), 4);
        return w;
    }

    // A file in the test's folder, or at an absolute path (folders made as needed); its path.
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(dir.path()).filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
        return path;
    }

    // A generated 25 fps clip in the test's folder; its path.
    QString Video(const QString& name, int frames = 100, QSize size = {160, 120})
    {
        const QString path = Write(name, {});
        EXPECT_TRUE(WriteTestAvi(
            path, {.width = size.width(), .height = size.height(), .frames = frames}));
        return path;
    }

    // The key the player keeps its settings under.
    static Settings& AtTheProgramsKey(Settings& settings)
    {
        settings.REGKEY = winreg::HKEY_LOCAL_MACHINE;
        settings.RegSubKey = modMain::kRegistrySubKey;
        return settings;
    }

    // The registry file as another program reads it, whether the player still runs or not.
    QVariant InRegistry(const QString& name, int* settingCount = nullptr)
    {
        Settings reader;
        reader.SetRegistry(std::make_shared<Registry>(registryPath));
        AtTheProgramsKey(reader).LoadReg();
        if (settingCount)
            *settingCount = reader.SettingCount();
        return reader.GetSetting(name);
    }

    // Closes the window as the user does, then reads back what reached the registry.
    QVariant StoredAfterShutdown(const QString& name)
    {
        window->close();
        window.reset();
        UseFreshStore();
        return InRegistry(name);
    }

    void StoreBeforeStart(const QString& name, const QVariant& value, int32_t type)
    {
        AtTheProgramsKey(modMain::AppSettings()).SetSetting(name, value, type, nullptr, {}, true);
        UseFreshStore();
    }

    // Destroyed in reverse: the window before the program's objects, the files last.
    QTemporaryDir dir;
    QString registryPath;
    std::unique_ptr<ProgramObjects> objects;
    std::unique_ptr<frmMain> window;
    RecordingOverlay* overlay = nullptr;
    std::vector<ShownMessage> messages;
};
