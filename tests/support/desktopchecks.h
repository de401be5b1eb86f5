// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Checks of a window as a desktop meets it, for both programs' tests: names
// that assistive tools can say, the buttons of a real message box, and the
// window system chosen for a session.

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>

// Whether a screen reader can say `name` as words: it holds letters, and is
// no word spelled out letter by letter ("P O Š A LJ I").
inline bool speakable(const QString &name)
{
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto letters =
        std::count_if(name.begin(), name.end(), [](QChar c) { return c.isLetter(); });
    const bool spelled =
        words.size() > 2 &&
        std::all_of(words.begin(), words.end(), [](const QString &w) { return w.size() <= 2; });
    return letters >= 2 && !spelled;
}

// The visible controls of `window` that take the focus but that assistive
// tools cannot name: neither their own name nor a label of theirs says what
// they are. Each as "objectName (class): name".
inline QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *iface) {
        if (!iface || !iface->isValid())
            return;
        const auto *widget = qobject_cast<QWidget *>(iface->object());
        const QAccessible::State state = iface->state();
        if (widget && state.focusable && !state.invisible) {
            const QString name = iface->text(QAccessible::Name);
            bool named = speakable(name);
            for (const auto &[label, relation] : iface->relations(QAccessible::Label))
                named = named || speakable(label->text(QAccessible::Name));
            if (!named)
                unnamed << QStringLiteral("%1 (%2): \"%3\"")
                               .arg(widget->objectName(), widget->metaObject()->className(), name);
        }
        for (int i = 0; i < iface->childCount(); ++i)
            walk(iface->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    return unnamed;
}

// Runs `answer` on the next message box that opens (within 5 s), while the
// code that opens it waits in the box.
inline void whenBoxOpens(std::function<void(QMessageBox *)> answer)
{
    auto *poll = new QTimer;
    const QDeadlineTimer deadline(5000);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, answer] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            answer(box);
        } else if (deadline.hasExpired()) {
            poll->deleteLater();
        }
    });
    poll->start(10);
}

// The captions of a box's buttons, sorted.
inline QStringList buttonTexts(const QMessageBox *box)
{
    QStringList texts;
    for (const QAbstractButton *b : box->buttons())
        texts << b->text();
    texts.sort();
    return texts;
}

// The cases of the window-system choice that `choose` gets wrong, for a
// Session {chosen, type, waylandDisplay, display} of the program's own.
template <typename Session, typename Choose> QStringList wrongWindowSystems(Choose choose)
{
    struct Case {
        const char *what;
        Session session;
        QByteArray platform;
    };
    const Case cases[] = {
        {"Wayland with XWayland", {"", "wayland", "wayland-0", ":0"}, "xcb;wayland"},
        {"Wayland socket only named", {"", "", "wayland-0", ":1"}, "xcb;wayland"},
        {"session type only", {"", "wayland", "", ":0"}, "xcb;wayland"},
        {"Wayland without X", {"", "wayland", "wayland-0", ""}, ""},
        {"the user's choice", {"wayland", "wayland", "wayland-0", ":0"}, ""},
        {"the user's offscreen", {"offscreen", "wayland", "wayland-0", ":0"}, ""},
        {"an X11 session", {"", "x11", "", ":0"}, ""},
        {"no display at all", {"", "tty", "", ""}, ""},
    };
    QStringList wrong;
    for (const Case &c : cases) {
        const QByteArray got = choose(c.session);
        if (got != c.platform)
            wrong << QStringLiteral("%1: \"%2\", not \"%3\"")
                         .arg(c.what, QString::fromUtf8(got), QString::fromUtf8(c.platform));
    }
    return wrong;
}
