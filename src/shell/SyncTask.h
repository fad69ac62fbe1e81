#pragma once

#include "sync/SpeechCue.h"
#include "sync/SyncAnalysis.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <thread>
#include <vector>

// One run of the synchronisation assistant on a worker thread. The worker never touches a
// widget: progress and the result are posted to this object, which lives on the user-interface
// thread. Destroying the task cancels the run and waits for the worker, which notices within
// one 50 ms wait of the decoder or one factor of the alignment.
class SyncTask : public QObject
{
    Q_OBJECT

public:
    SyncTask(const QString& video, std::vector<SpeechCue> cues, double videoFps,
             QObject* parent = nullptr);
    ~SyncTask() override;

    void Cancel() { m_cancel = true; }
    bool Running() const { return m_running; }

signals:
    void Progress(double share);
    // Not emitted after Cancel.
    void Finished(const SyncResult& result);

private:
    std::atomic<bool> m_cancel{false};
    bool m_running = true;
    std::thread m_worker;
};
