// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/arrivalsound.h"

#include <canberra.h>
#include <condition_variable>
#include <mutex>

void ArrivalSound::ring()
{
    if (!m_enabled || (m_last.isValid() && !m_last.hasExpired(m_gapMs)))
        return;
    m_last.start();
    m_play();
}

ThemeSound::ThemeSound(const QString &program, QObject *parent)
    : QObject(parent), m_program(program)
{
    // Silent also in the session's log: without a sound server the sound
    // libraries tell of every device they tried.
    m_child.setStandardOutputFile(QProcess::nullDevice());
    m_child.setStandardErrorFile(QProcess::nullDevice());
    // The bound, a little after the child's own.
    m_bound.setSingleShot(true);
    m_bound.setInterval(BoundMs + 1000);
    connect(&m_bound, &QTimer::timeout, &m_child, &QProcess::kill);
    connect(&m_child, &QProcess::finished, &m_bound, &QTimer::stop);
}

void ThemeSound::play()
{
    if (m_child.state() != QProcess::NotRunning)
        return;
    m_child.start(m_program, {QStringLiteral("--play-sound")});
    m_bound.start();
}

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

int ThemeSound::playHere()
{
    ca_context *context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS)
        return 1;
    ca_proplist *props = nullptr;
    ca_proplist_create(&props);
    ca_proplist_sets(props, CA_PROP_APPLICATION_NAME, "Vesnal");
    ca_proplist_sets(props, CA_PROP_APPLICATION_ID, "vesnal-popup");
    ca_proplist_sets(props, CA_PROP_EVENT_ID, EventId);
    ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, "Primljena poruka");
    Ending ending;
    int status = ca_context_play_full(context, 1, props, finished, &ending);
    if (status == CA_SUCCESS) {
        std::unique_lock lock(ending.mutex);
        if (!ending.done.wait_for(lock, std::chrono::milliseconds(BoundMs),
                                  [&] { return ending.ended; }))
            return 1; // the process ends here; the parent's bound is the last word
        status = ending.error;
    }
    ca_proplist_destroy(props);
    ca_context_destroy(context);
    return status == CA_SUCCESS ? 0 : 1;
}
