#pragma once

#include <QString>

#include <atomic>

struct AVFormatContext;

// A medium opened by libavformat for reading its subtitle tracks. Reading is given up as soon as
// the stop flag is raised, so a file on a stalled network share cannot hold the caller.
class DemuxInput
{
public:
    DemuxInput(const QString& path, const std::atomic<bool>* stop);
    ~DemuxInput();
    DemuxInput(const DemuxInput&) = delete;
    DemuxInput& operator=(const DemuxInput&) = delete;

    // Null when the file could not be opened as a medium; error() says why.
    AVFormatContext* context() const { return m_context; }
    QString error() const { return m_error; }
    // libavformat's words for one of its error codes.
    static QString describe(int code);

private:
    static int interrupted(void* stop);

    AVFormatContext* m_context = nullptr;
    QString m_error;
};
