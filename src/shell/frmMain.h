#pragma once

#include "media/EngineKind.h"
#include "media/PlayerStatus.h"
#include "media/PlayerWindowHost.h"
#include "shell/StatusLine.h"
#include "render/SubtitlePresenter.h"
#include "subtitles/Subtitle.h"
#include "subtitles/SubtitleReader.h"
#include "sync/Alignment.h"
#include "shell/frmSync.h"
#include "tracks/EmbeddedTrack.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QPainter;
class MenuArrowImage;
class XFlatButton;
class nSlider;
class DialogProvider;
class SyncTask;
struct SyncResult;
class TrackLoader;
struct TrackRead;

// The main window: the program. Its members are spread over one source file per concern:
// construction (frmMain.cpp), start-up and shutdown, opening, the tick with the transport.
class frmMain : public QMainWindow, public PlayerWindowHost {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;
    // The one main window while it exists.
    static frmMain* Instance();

    // Start-up: settings, engine, volume, mute, switches and finally the named files.
    void Form_Load(const QString& commandLineFile = {}, const QString& subtitleFile = {});
    void OpenFile(const QString& file);
    void LoadSubtitleFile(const QString& file);
    // A video and a subtitle file together (command line, dropped files), each as its open
    // command opens it, the video first; either may be empty.
    void OpenFiles(const QString& media, const QString& subtitles);
    void Able() override;
    void tmrSecond_Timer();
    // What one tick reads from the player; tests hand it in directly.
    struct TickInput {
        double position = 0;
        Currency positionFrame;
        double duration = 0;
        int32_t frus = 0;
        PlayerStatus status = PlayerStatus::NoMedia;
        QString currentFile;
    };
    void RunTick(const TickInput& input);

    // Message boxes go through here, so tests can see them instead of blocking on them.
    using MessageSink = std::function<void(QMessageBox::Icon, const QString&)>;
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
    void SetOverlay(std::unique_ptr<SubtitlePresenter> overlay);
    void SetDialogProvider(std::shared_ptr<DialogProvider> provider) { dialogs_ = provider; }

    SubtitleReader& SubReader() { return *subReader_; }
    SubtitlePtr ShownSub() const { return shownSub_; }
    QTimer& tmrSecond() { return tmrSecond_; }

    // Controls, by their names, for the layout and the tests.
    QWidget* picFrame = nullptr;
    nSlider* sldPos = nullptr;
    QWidget* picControls = nullptr;
    XFlatButton* cmdPlay = nullptr;
    XFlatButton* cmdPause = nullptr;
    XFlatButton* cmdStop = nullptr;
    XFlatButton* cmdMute = nullptr;
    nSlider* sldVolume = nullptr;
    QPixmap imgSound;
    QPixmap imgSoundMute;
    std::array<XFlatButton*, 3> cmdStatus{};
    // Never shown: its picture marks the engine in use in the Video menu.
    MenuArrowImage* MenuImageArrow = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuSubtitles = nullptr;
    QMenu* mnuVideo = nullptr;
    QMenu* mnuVideoZoom = nullptr;
    QMenu* mnuVideoMP = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuSubtitlesOpen = nullptr;
    QAction* mnuSubtitlesClose = nullptr;
    QAction* mnuSubtitlesAutoOpen = nullptr;
    QAction* mnuVideoPlay = nullptr;
    QAction* mnuVideoFull = nullptr;
    QAction* mnuVideoZoom50 = nullptr;
    QAction* mnuVideoZoom100 = nullptr;
    QAction* mnuVideoZoom200 = nullptr;
    QAction* mnuVideoAOT = nullptr;
    QAction* mnuVideoPriority = nullptr;
    QAction* mnuVideoMP1 = nullptr;
    QAction* mnuVideoMP2 = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // PlayerWindowHost
    QWidget* MainWindow() override { return this; }
    QWidget* VideoArea() override { return picFrame; }
    QWidget* LoadFullScreenWindow() override;
    void UnloadFullScreenWindow() override;
    QWidget* FullScreenWindow() override { return fullScreen_; }
    QWidget* SubtitleWindow() override;
    void ShowVideoMenu(QWidget* owner, const QPoint& globalPosition) override;
    void ReapplyAlwaysOnTop() override { SetAOT(AOT()); }
    void ReleaseOverlaySurface() override;

    void mnuFileOpen_Click();
    void mnuSubtitlesOpen_Click();
    void mnuSubtitlesClose_Click();
    void mnuSubtitlesAutoOpen_Click();
    void cmdMute_ToggleChanged(bool pressed);
    void sldPos_Slide();
    void sldVolume_Change();
    void sldVolume_Release();

    // --- Status line (frmMainStatus.cpp) ---
    void cmdStatus_BeforePaint(int index);
    void cmdStatus_PaintBuffer(int index, QPainter* buffer);
    // What the cells read, taken from the player and the reader at the moment of painting.
    StatusLineInput StatusInput() const;

    // --- end of status line ---

    // --- Subtitle timing commands (frmMainTiming.cpp) ---
    QMenu* mnuSubtitlesDelay = nullptr;
    QMenu* mnuSubtitleFramerate = nullptr;
    // Indexed as the items of the two submenus, separators included.
    std::array<QAction*, 9> mnuSubtitlesDelayOption{};
    std::array<QAction*, 8> mnuSubtitleFramerateOption{};
    // The frame-rate submenu opens: its first item names the video's own rate.
    void mnuSubtitleFramerate_Click();
    void mnuSubtitlesDelayOption_Click(int index);
    void mnuSubtitleFramerateOption_Click(int index);
    // --- end of subtitle timing commands ---

    // --- Synchronising with the audio (frmMainSync.cpp) ---
    QAction* mnuSubtitlesSync = nullptr;
    QAction* mnuSubtitlesSaveSynced = nullptr;
    void mnuSubtitlesSync_Click();
    void mnuSubtitlesSaveSynced_Click();
    // True while the assistant listens.
    bool Synchronizing() const { return syncTask_ != nullptr; }
    QPointer<frmSync> SyncDialog() const { return syncDialog_; }
    // Cancels a running analysis and closes its dialog; nothing when none runs.
    void stopSync();
    // --- end of synchronising ---

    // --- Window behaviour: keys, full screen, zoom, topmost, priority (frmMainWindow.cpp) ---
    // The always-on-top setting; setting it, even to its own value, applies it to every form
    // loaded now (menus, tool tips and the overlay place themselves).
    bool AOT() const;
    void SetAOT(bool on);
    // True while the process runs above normal priority (nice below 0), whoever set it.
    bool HighPriority() const;
    void SetHighPriority(bool high);
    // The dialog about to be shown; its first appearance makes it topmost while AOT is on.
    void SetLoadingForm(QWidget* form);
    void LoadingForm_Resize();
    void Form_Resize();
    // The player's zoom, kept to the largest factor at which the whole window fits the free
    // area of its screen, and the window moved into that area where it stuck out.
    void ZoomWithinScreen(double factor);
    // Key codes and shift bits (1 Shift, 2 Ctrl, 4 Alt) as the platform's virtual keys give
    // them; runs Able after every key. True when the key did something, so that the focused
    // control does not act on it as well.
    bool Form_KeyDown(int& KeyCode, int& Shift);
    // A Qt key press put in Form_KeyDown's terms; frmFullScreen forwards its keys here.
    bool KeyDown(const QKeyEvent& event);
    void mnuVideoFull_Click();
    void mnuVideoZoom50_Click();
    void mnuVideoZoom100_Click();
    void mnuVideoZoom200_Click();
    void mnuVideoAOT_Click();
    void mnuVideoPriority_Click();
    void mnuVideoMP1_Click();
    void mnuVideoMP2_Click();
    // --- end of window behaviour ---

    // --- Subtitle tracks inside the video (frmMainEmbedded.cpp) ---
    QMenu* mnuSubtitlesEmbedded = nullptr;
    // Loads a track of the open video into the reader in use, as the subtitle open command loads
    // a file. The track is read on a worker thread: the reader changes when it is done.
    void mnuSubtitlesEmbedded_Click(int trackNumber);
    // The open video's subtitle tracks, once listed; empty while no video is open.
    const std::vector<EmbeddedTrack>& EmbeddedTracks() const { return embeddedTracks_; }
    // True while the open video's tracks are still being listed or read.
    bool EmbeddedTracksBusy() const;
    // --- end of subtitle tracks ---

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void connectTransport();
    void chooseEngine();
    void openMedia(const QString& file, bool replacing);
    void Form_Unload();
    void ShowMessage(QMessageBox::Icon icon, const QString& text);

    // --- private: status line ---
    void connectStatusLine();
    void RefreshStatusLine();
    StatusLineInput paintingInput_;   // what the cell being painted read in its BeforePaint
    QString paintedClock_;            // the time cell's texts as last painted

    // --- private: subtitle timing commands ---
    void buildTimingMenus();

    // --- private: synchronising ---
    void buildSyncMenu();
    void ableSync();
    void syncFinished(const SyncResult& result);
    void applySync(const Alignment& alignment);
    struct SyncTarget {
        QString video;
        QString file;
        const SubtitleReader* reader = nullptr;
    };
    struct AppliedSync {
        QString file;
        const SubtitleReader* reader = nullptr;
        Alignment alignment;
    };
    std::unique_ptr<SyncTask> syncTask_;
    QPointer<frmSync> syncDialog_;
    SyncTarget syncTarget_;
    std::optional<AppliedSync> appliedSync_;

    // --- private: window behaviour ---
    void connectWindowBehaviour();
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool extraKeyDown(int keyCode);
    void zoomTo(double factor);
    void switchEngine(EngineKind engine);
    static void placeTopmost(QWidget* window, bool on);

    // --- private: subtitle tracks inside the video ---
    void buildEmbeddedMenu();
    void fillEmbeddedMenu();
    void forgetEmbeddedTracks();
    void findEmbeddedTracks(const QString& video, bool loadPreferred);
    void readEmbeddedTrack(const QString& video, int trackNumber, bool chosen);
    void takeEmbeddedTrack(const TrackRead& read, const QString& video, bool chosen, bool last,
                           bool& started);
    // The user closed the subtitles: discovery must not bring a track back.
    void forgetEmbeddedTrackDiscovery();
    std::vector<EmbeddedTrack> embeddedTracks_;
    QString embeddedVideo_;   // the video the tracks belong to
    bool trackDiscoveryPending_ = false;   // discovery may still load a track of the video

    std::unique_ptr<SubtitleReader> subReader_;
    SubtitlePtr shownSub_;
    SubtitlePtr notice_;   // the "Loaded subtitle file" entry of the current file
    std::unique_ptr<SubtitlePresenter> overlay_;
    QPointer<QWidget> loadingForm_;
    QPointer<QWidget> fullScreen_;
    std::optional<QPoint> placeWhenHidden_;   // where the window stood when the program hid it
    QTimer tmrSecond_;
    MessageSink messageSink_;
    std::shared_ptr<DialogProvider> dialogs_;
    bool unloaded_ = false;
    // Last, so that it goes first: its worker may still be reading when the window closes.
    std::unique_ptr<TrackLoader> trackLoader_;
};
