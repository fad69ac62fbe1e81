#include "MpvLibrary.h"

#include <QLibrary>

namespace {

template <typename Function>
bool resolve(QLibrary& library, const char* symbol, Function& function, QString* whyNot)
{
    function = reinterpret_cast<Function>(library.resolve(symbol));
    if (!function && whyNot)
        *whyNot = QStringLiteral("%1 has no %2").arg(library.fileName(), QLatin1String(symbol));
    return function != nullptr;
}

}  // namespace

std::shared_ptr<const MpvLibrary> MpvLibrary::Load(const QByteArray& name, QString* whyNot)
{
    // The major version of the client API these declarations are for.
    QLibrary library(QString::fromUtf8(name), int(MPV_CLIENT_API_VERSION >> 16));
    if (!library.load()) {
        if (whyNot)
            *whyNot = library.errorString();
        return nullptr;
    }
    // Never unloaded: mpv's threads may outlive any one control.
    auto mpv = std::make_shared<MpvLibrary>();
    const bool complete = resolve(library, "mpv_create", mpv->create, whyNot)
        && resolve(library, "mpv_initialize", mpv->initialize, whyNot)
        && resolve(library, "mpv_terminate_destroy", mpv->terminate_destroy, whyNot)
        && resolve(library, "mpv_error_string", mpv->error_string, whyNot)
        && resolve(library, "mpv_set_option_string", mpv->set_option_string, whyNot)
        && resolve(library, "mpv_observe_property", mpv->observe_property, whyNot)
        && resolve(library, "mpv_set_wakeup_callback", mpv->set_wakeup_callback, whyNot)
        && resolve(library, "mpv_wait_event", mpv->wait_event, whyNot)
        && resolve(library, "mpv_command", mpv->command, whyNot)
        && resolve(library, "mpv_command_ret", mpv->command_ret, whyNot)
        && resolve(library, "mpv_free_node_contents", mpv->free_node_contents, whyNot)
        && resolve(library, "mpv_get_property", mpv->get_property, whyNot)
        && resolve(library, "mpv_set_property", mpv->set_property, whyNot)
        && resolve(library, "mpv_set_property_string", mpv->set_property_string, whyNot)
        && resolve(library, "mpv_render_context_create", mpv->render_context_create, whyNot)
        && resolve(library, "mpv_render_context_free", mpv->render_context_free, whyNot)
        && resolve(library, "mpv_render_context_render", mpv->render_context_render, whyNot)
        && resolve(library, "mpv_render_context_set_update_callback",
                   mpv->render_context_set_update_callback, whyNot);
    if (!complete)
        return nullptr;
    return mpv;
}
