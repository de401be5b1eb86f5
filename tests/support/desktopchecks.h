// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Checks of a window as a desktop meets it, for both programs' tests: names
// that assistive tools can say, and answering a real message box.
#include <QtWidgets>
#include <functional>

// Pairs of `window`'s own controls, but those `skip` names, that share more
// than a strip `slack` pixels wide, as "a/b".
inline QString overlappingControls(const QWidget *window,
                                   const std::function<bool(const QWidget *)> &skip, int slack = 0)
{
    QList<QWidget *> controls = window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    controls.removeIf(skip);
    QStringList overlapping;
    for (const QWidget *a : controls)
        for (const QWidget *b : controls)
            if (const QRect both = a->geometry() & b->geometry();
                a < b && qMin(both.width(), both.height()) > slack)
                overlapping << a->objectName() + "/" + b->objectName();
    return overlapping.join(' ');
}

// Whether a screen reader can say `name` as words: it holds letters, and is
// no word spelled out letter by letter ("P O Š A LJ I").
inline bool speakable(const QString &name)
{
    const QStringList words = name.split(' ', Qt::SkipEmptyParts);
    const bool spelled =
        words.size() > 2 &&
        std::all_of(words.begin(), words.end(), [](const QString &w) { return w.size() <= 2; });
    return std::count_if(name.begin(), name.end(), [](QChar c) { return c.isLetter(); }) >= 2 &&
           !spelled;
}

// The visible controls of `window` that take the focus but that neither
// their own name nor a label of theirs names, as "objectName (class): name".
inline QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *iface) {
        if (!iface || !iface->isValid())
            return;
        const auto *widget = qobject_cast<QWidget *>(iface->object());
        if (widget && iface->state().focusable && !iface->state().invisible) {
            bool named = speakable(iface->text(QAccessible::Name));
            for (const auto &[label, relation] : iface->relations(QAccessible::Label))
                named = named || speakable(label->text(QAccessible::Name));
            if (!named)
                unnamed << QStringLiteral("%1 (%2): \"%3\"")
                               .arg(widget->objectName(), widget->metaObject()->className(),
                                    iface->text(QAccessible::Name));
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
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box || deadline.hasExpired())
            poll->deleteLater();
        if (box)
            answer(box);
    });
    poll->start(10);
}
