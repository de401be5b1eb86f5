// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a small regular file. Only a regular file is read: anything
// else in its place (a FIFO would hold the reader for ever, a terminal
// would become the process's own) is refused unread.
struct FileContents {
    enum class Problem { None, CannotOpen, NotRegular, TooLarge, CannotRead };
    Problem problem = Problem::None;
    QByteArray bytes; // all of them, when there is no problem
    QString why;      // the system's words, for CannotOpen and CannotRead

    bool ok() const { return problem == Problem::None; }
};

// Whether a symbolic link at a path is followed or refused.
enum class Links { Follow, Refuse };

// The file at `path`, when it holds at most `maxBytes`.
FileContents readRegularFile(const QString &path, qint64 maxBytes, Links links);

// A folder held open while a program works in it: the names it is given are
// looked up in that very folder, however its path changes meanwhile, and a
// symbolic link there is never followed. Failures say why in the system's
// words.
class OpenFolder
{
public:
    explicit OpenFolder(const QString &path);
    ~OpenFolder();
    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;

    bool isOpen() const { return m_handle != -1; }
    // Why it could not be opened.
    const QString &error() const { return m_error; }

    // What making a name came to; `why` is set unless it is Done.
    enum class Made { Done, NameTaken, Failed };
    enum NewFileOption {
        Synced = 1,       // on the disk before it counts as written
        FolderOwners = 2, // made by root, it goes to the folder's owner
    };
    // Writes `bytes` into a new file `name`, readable by everyone. A name
    // that is taken (by a file, a link, anything) is never replaced; when
    // anything fails, no file of that name is left behind.
    Made writeNew(const QByteArray &name, const QByteArray &bytes, int options, QString *why) const;
    // Gives the file `from` the second name `to`, which must be free.
    Made link(const QByteArray &from, const QByteArray &to, QString *why) const;
    // Gives the file `from` the name `to`, replacing what has it.
    bool rename(const QByteArray &from, const QByteArray &to, QString *why) const;
    // Removes the name (a link itself, never what it points to).
    void remove(const QByteArray &name) const;
    // Puts the folder's list of names on the disk.
    void sync() const;
    // The regular file `name`, when it holds at most `maxBytes`.
    FileContents read(const QByteArray &name, qint64 maxBytes) const;

private:
    friend class FolderLock;
    qintptr m_handle = -1;
    QString m_error;
};
