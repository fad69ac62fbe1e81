#include "tracks/DemuxInput.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

DemuxInput::DemuxInput(const QString& path, const std::atomic<bool>* stop)
{
    AVFormatContext* context = avformat_alloc_context();
    if (!context) {
        m_error = QStringLiteral("out of memory");
        return;
    }
    if (stop) {
        context->interrupt_callback.callback = &DemuxInput::interrupted;
        context->interrupt_callback.opaque = const_cast<std::atomic<bool>*>(stop);
    }
    // On failure libavformat frees the context itself.
    const int result = avformat_open_input(&context, path.toUtf8().constData(), nullptr, nullptr);
    if (result < 0) {
        m_error = describe(result);
        return;
    }
    m_context = context;
}

DemuxInput::~DemuxInput()
{
    if (m_context)
        avformat_close_input(&m_context);
}

int DemuxInput::interrupted(void* stop)
{
    return static_cast<const std::atomic<bool>*>(stop)->load(std::memory_order_relaxed) ? 1 : 0;
}

QString DemuxInput::describe(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}
