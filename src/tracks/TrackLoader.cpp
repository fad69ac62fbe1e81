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
void TrackLoader::submit(std::function<Result(const std::atomic<bool>*)> work,
                         std::function<void(const Result&)> done)
{
    ++m_pending;
    std::shared_ptr<std::atomic<bool>> stop = m_stop;
    m_worker.start([this, stop, work = std::move(work), done = std::move(done)] {
        if (stop->load())
            return;
        Result result = work(stop.get());
        // Worker thread: only a queued call reaches the owner. The destructor waits for this
        // function, so the loader still exists when the call is posted.
        QMetaObject::invokeMethod(
            this,
            [this, stop, done, result = std::move(result)] {
                if (stop->load())
                    return;
                --m_pending;
                done(result);
            },
            Qt::QueuedConnection);
    });
}

void TrackLoader::List(const QString& path, Listed done)
{
    submit<std::optional<std::vector<EmbeddedTrack>>>(
        [path](const std::atomic<bool>* stop) { return TrackCatalog::List(path, stop); },
        std::move(done));
}

void TrackLoader::ReadTrack(const QString& path, int trackNumber, Read done)
{
    submit<TrackRead>([path, trackNumber](const std::atomic<bool>* stop) {
        return TrackReader::Read(path, trackNumber, stop);
    }, std::move(done));
}
