#pragma once

#include "media/MediaPlayerController.h"
#include "media/PlayerWindowHost.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <QWidget>

#include <memory>

// A main window stand-in: a top-level widget with a video area, a full-screen window on demand,
// and counters for what the controller asks of it.
class MediaTestHost : public PlayerWindowHost {
public:
    MediaTestHost()
    {
        main_.resize(400, 300);
        videoArea_ = new QWidget(&main_);
        videoArea_->setGeometry(0, 0, 320, 240);
    }

    QWidget* MainWindow() override { return &main_; }
    QWidget* VideoArea() override { return videoArea_; }
    QWidget* LoadFullScreenWindow() override
    {
        if (!fullScreen_)
            fullScreen_ = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
        return fullScreen_.get();
    }
    void UnloadFullScreenWindow() override { fullScreen_.reset(); }
    QWidget* FullScreenWindow() override { return fullScreen_.get(); }
    QWidget* SubtitleWindow() override { return subtitle_; }
    void Able() override { ++ableCalls; }
    void ShowVideoMenu(QWidget* owner, const QPoint&) override
    {
        ++menuCalls;
        menuOwner = owner;
    }
    void ReapplyAlwaysOnTop() override { ++alwaysOnTopCalls; }
    void ReleaseOverlaySurface() override { ++overlayReleases; }

    void SetSubtitleWindow(QWidget* window) { subtitle_ = window; }

    int ableCalls = 0;
    int menuCalls = 0;
    QWidget* menuOwner = nullptr;
    int alwaysOnTopCalls = 0;
    int overlayReleases = 0;

private:
    QWidget main_;
    QWidget* videoArea_;
    std::unique_ptr<QWidget> fullScreen_;
    QPointer<QWidget> subtitle_;
};

// Shows the host's window and opens `file` on it with `engine`, audio to no device: the start
// of every test that looks at a real picture.
inline ::testing::AssertionResult OpenOnScreen(MediaPlayerController& player, MediaTestHost& host,
                                               long engine, const QString& file,
                                               bool avoidSoftwareOpenGL = false)
{
    EngineOptions options;
    options.audioOutput = false;
    options.avoidSoftwareOpenGL = avoidSoftwareOpenGL;
    player.SetEngineOptions(options);
    player.SetWindowHost(&host);
    host.MainWindow()->show();
    if (!QTest::qWaitForWindowExposed(host.MainWindow()))
        return ::testing::AssertionFailure() << "the window was never exposed";
    if (!player.SetMP(engine))
        return ::testing::AssertionFailure() << player.EngineLoadError().toStdString();
    if (!player.OpenFile(file))
        return ::testing::AssertionFailure() << "could not open " << file.toStdString();
    return ::testing::AssertionSuccess();
}
