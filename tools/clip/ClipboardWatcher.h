#pragma once
// The watcher for one mailbox: forwards every newly copied web address into
// the main window's mailbox, and ends when told to or when the main window is
// gone. Only the clipboard is watched, not the X primary selection: merely
// selecting text with the mouse queues nothing.

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace tollivex::clip {

class ClipboardWatcher : public QObject {
public:
    explicit ClipboardWatcher(const QString& identity);

    /// Takes the watcher's place for this mailbox and connects to it. False
    /// when another watcher already serves the mailbox or the mailbox is not
    /// there: this watcher then has nothing to do.
    bool Start();

private:
    void ClipboardChanged();
    void AcceptControl();
    void CheckMailbox();
    bool ConnectMailbox();

    QString identity_;
    QLockFile lock_;
    QLocalServer control_;
    QLocalSocket mailbox_;
    QTimer liveness_;
};

} // namespace tollivex::clip
