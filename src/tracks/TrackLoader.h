#pragma once

#include "tracks/EmbeddedTrack.h"
#include "tracks/TrackReader.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Lists and reads a medium's subtitle tracks on a worker thread, one request after the other,
// and hands each answer to a callback on the thread that owns the loader. Nothing of the
// medium is read on the caller's thread, so a large or slow file never stalls the window.
class TrackLoader : public QObject
{
    Q_OBJECT

public:
    using Listed = std::function<void(const std::optional<std::vector<EmbeddedTrack>>&)>;
    using Read = std::function<void(const TrackRead&)>;

    explicit TrackLoader(QObject* parent = nullptr);
    // Stops the request being worked on and waits for the worker.
    ~TrackLoader() override;

    void List(const QString& path, Listed done);
    // partial, when given, gets the cues read so far while a long reading goes on.
    void ReadTrack(const QString& path, int trackNumber, Read done, Read partial = {});
    // Forgets every request made so far: their callbacks will not run.
    void Cancel();
    // True while a request's callback is still to come.
    bool Busy() const { return m_pending > 0; }

private:
    using StopFlag = std::shared_ptr<std::atomic<bool>>;
    // Runs on the worker: the work, then its answer posted back to this object's thread.
    template <typename Result>
    void submit(std::function<Result(const StopFlag&)> work,
                std::function<void(const Result&)> done);
    // Worker thread: hands a result to the owner's thread, where it is dropped if the request
    // was cancelled meanwhile. The last answer of a request ends it.
    template <typename Result>
    void post(const StopFlag& stop, const std::function<void(const Result&)>& to, Result result,
              bool last);

    QThreadPool m_worker;
    // Each Cancel replaces the flag: requests made before it see theirs raised.
    StopFlag m_stop = std::make_shared<std::atomic<bool>>(false);
    int m_pending = 0;
};
