// SPDX-License-Identifier: GPL-3.0-or-later
// The sound theme's events through libcanberra.
#include "platform/soundtheme.h"

#include <canberra.h>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace
{

struct Ending {
    std::mutex mutex;
    std::condition_variable done;
    bool ended = false;
    int error = CA_SUCCESS;
};

void finished(ca_context *, uint32_t, int error, void *data)
{
    auto *ending = static_cast<Ending *>(data);
    const std::lock_guard lock(ending->mutex);
    ending->ended = true;
    ending->error = error;
    ending->done.notify_all();
}

} // namespace

bool playThemeEvent(const ThemeEvent &event, int boundMs)
{
    ca_context *context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS)
        return false;
    ca_proplist *props = nullptr;
    ca_proplist_create(&props);
    ca_proplist_sets(props, CA_PROP_APPLICATION_NAME, event.applicationName);
    ca_proplist_sets(props, CA_PROP_APPLICATION_ID, event.applicationId);
    ca_proplist_sets(props, CA_PROP_EVENT_ID, event.eventId);
    ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, event.description);
    Ending ending;
    int status = ca_context_play_full(context, 1, props, finished, &ending);
    if (status == CA_SUCCESS) {
        std::unique_lock lock(ending.mutex);
        if (!ending.done.wait_for(lock, std::chrono::milliseconds(boundMs),
                                  [&] { return ending.ended; }))
            return false; // the process ends here; its parent's bound is the last word
        status = ending.error;
    }
    ca_proplist_destroy(props);
    ca_context_destroy(context);
    return status == CA_SUCCESS;
}
