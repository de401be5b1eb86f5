// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/arrivalsound.h"

#include "platform/soundtheme.h"

void ArrivalSound::ring()
{
    if (m_last.isValid() && !m_last.hasExpired(m_gapMs))
        return;
    m_last.start();
    if (m_play)
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

int ThemeSound::playHere()
{
    return playThemeEvent({"Vesnal", "vesnal-popup", EventId, "Primljena poruka"}, BoundMs) ? 0 : 1;
}
