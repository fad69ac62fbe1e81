#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include <QByteArray>
#include <QString>

#include <memory>

// libmpv, loaded when engine 2 is created rather than linked: a machine without it still runs
// the player on engine 1, and engine 2's host form fails to load as the fall-back expects.
class MpvLibrary {
public:
    // Null, with the reason in *whyNot, when the library or one of its functions is missing.
    static std::shared_ptr<const MpvLibrary> Load(const QByteArray& name,
                                                  QString* whyNot = nullptr);

    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
    decltype(&::mpv_error_string) error_string = nullptr;
    decltype(&::mpv_set_option_string) set_option_string = nullptr;
    decltype(&::mpv_observe_property) observe_property = nullptr;
    decltype(&::mpv_set_wakeup_callback) set_wakeup_callback = nullptr;
    decltype(&::mpv_wait_event) wait_event = nullptr;
    decltype(&::mpv_command) command = nullptr;
    decltype(&::mpv_command_ret) command_ret = nullptr;
    decltype(&::mpv_free_node_contents) free_node_contents = nullptr;
    decltype(&::mpv_get_property) get_property = nullptr;
    decltype(&::mpv_set_property) set_property = nullptr;
    decltype(&::mpv_set_property_string) set_property_string = nullptr;
    decltype(&::mpv_render_context_create) render_context_create = nullptr;
    decltype(&::mpv_render_context_free) render_context_free = nullptr;
    decltype(&::mpv_render_context_render) render_context_render = nullptr;
    decltype(&::mpv_render_context_set_update_callback) render_context_set_update_callback =
        nullptr;
};
