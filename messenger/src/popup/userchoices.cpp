// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/userchoices.h"

#include "platform/utf8.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace
{

const QByteArray Magic = "Vesnal-Choices: 1";

} // namespace

UserChoices::UserChoices(const QString &file) : m_file(file)
{
    QFile in(m_file);
    if (!in.open(QIODevice::ReadOnly) || in.readLine().trimmed() != Magic)
        return; // none yet: sound on, nobody muted
    while (!in.atEnd()) {
        QByteArray raw = in.readLine(4096);
        if (raw.endsWith('\n'))
            raw.chop(1);
        const QString line = decodeUtf8(raw);
        if (line.startsWith(QLatin1String("Muted: ")) && line.size() > 7)
            m_muted.insert(line.mid(7).toUpper());
        else if (line == QLatin1String("Sound: off"))
            m_sound = false;
    }
}

QString UserChoices::defaultPath(const QString &shownFile)
{
    return QFileInfo(shownFile).absolutePath() + QStringLiteral("/choices");
}

void UserChoices::setMuted(const QString &sender, bool muted)
{
    const QString key = sender.toUpper();
    if (key.isEmpty() || muted == m_muted.contains(key))
        return;
    muted ? void(m_muted.insert(key)) : void(m_muted.remove(key));
    save();
    emit changed();
}

void UserChoices::setSound(bool on)
{
    if (on == m_sound)
        return;
    m_sound = on;
    save();
    emit changed();
}

void UserChoices::save()
{
    QStringList names(m_muted.begin(), m_muted.end());
    std::sort(names.begin(), names.end());
    QByteArray out = Magic + '\n';
    out += m_sound ? "Sound: on\n" : "Sound: off\n";
    for (const QString &name : names)
        out += "Muted: " + name.toUtf8() + '\n';
    QSaveFile file(m_file);
    if (QDir().mkpath(QFileInfo(m_file).absolutePath()) && file.open(QIODevice::WriteOnly) &&
        file.write(out) == out.size() && file.commit())
        return;
    if (!std::exchange(m_saveFailed, true)) // the choice still holds for this run
        QTextStream(stderr) << "vesnal-popup: cannot write " << m_file << ": " << file.errorString()
                            << Qt::endl;
}
