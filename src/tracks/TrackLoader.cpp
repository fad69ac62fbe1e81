#include "tracks/TrackLoader.h"

#include "tracks/TrackCatalog.h"

#include <QMetaObject>

TrackLoader::TrackLoader(QObject* parent)
    : QObject(parent)
{
    m_worker.setMaxThreadCount(1);
}

TrackLoader::~TrackLoader()
{
    m_stop->store(true);
    m_worker.waitForDone();
}

void TrackLoader::Cancel()
{
    m_stop->store(true);
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_pending = 0;
}

template <typename Result>
void TrackLoader::post(const StopFlag& stop, const std::function<void(const Result&)>& to,
                       Result result, bool last)
{
    // The destructor waits for the worker, so the loader still exists when this is posted.
    QMetaObject::invokeMethod(
        this,
        [this, stop, to, last, result = std::move(result)] {
            if (stop->load())
                return;
            if (last)
                --m_pending;
            to(result);
        },
        Qt::QueuedConnection);
}

template <typename Result>
void TrackLoader::submit(std::function<Result(const StopFlag&)> work,
                         std::function<void(const Result&)> done)
{
    ++m_pending;
    StopFlag stop = m_stop;
    m_worker.start([this, stop, work = std::move(work), done = std::move(done)] {
        if (!stop->load())
            post(stop, done, work(stop), true);
    });
}

void TrackLoader::List(const QString& path, Listed done)
{
    submit<std::optional<std::vector<EmbeddedTrack>>>(
        [path](const StopFlag& stop) { return TrackCatalog::List(path, stop.get()); },
        std::move(done));
}

void TrackLoader::ReadTrack(const QString& path, int trackNumber, Read done, Read partial)
{
    submit<TrackRead>([this, path, trackNumber, partial](const StopFlag& stop) {
        TrackReader::Progress progress;
        if (partial)
            progress = [this, stop, partial](const TrackRead& soFar) {
                post(stop, partial, soFar, false);
            };
        return TrackReader::Read(path, trackNumber, stop.get(), progress);
    }, std::move(done));
}
