#include "shell/SyncTask.h"

#include <QMetaObject>

#include <sys/resource.h>
#include <unistd.h>

namespace {
// The worker yields the processor to the playback: the 25 ms tick and the engines' threads.
constexpr int WorkerNice = 10;
}

SyncTask::SyncTask(const QString& video, std::vector<SpeechCue> cues, double videoFps,
                   QObject* parent)
    : QObject(parent)
{
    m_worker = std::thread([this, video, cues = std::move(cues), videoFps] {
        // Linux gives each thread its own nice value; failing to lower it changes nothing else.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), WorkerNice);
        auto progress = [this](double share) {
            QMetaObject::invokeMethod(this, [this, share] {
                if (!m_cancel)
                    emit Progress(share);
            }, Qt::QueuedConnection);
        };
        SyncResult result = SyncAnalysis::Run(video, cues, videoFps, progress, m_cancel);
        QMetaObject::invokeMethod(this, [this, result] {
            m_running = false;
            if (!m_cancel)
                emit Finished(result);
        }, Qt::QueuedConnection);
    });
}

SyncTask::~SyncTask()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}
