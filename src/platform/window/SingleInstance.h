#pragma once
// One running program per user. Two would share the scratch page file, catch
// the same copied address and write the same video at once. The running
// program holds a lock file and listens on a local name, both in the user's
// private runtime folder (platform/window/RuntimeFolder.h), so programs of other
// users never see each other. A later start finds the lock held and asks the
// running program to bring its window to the front; when that program is
// ending, it waits until it is gone and takes its place.

#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace tollivex::platform {

class SingleInstance {
public:
    enum class Claim {
        First,          ///< this process is now the running program (perhaps after one that ended)
        AlreadyRunning, ///< another one runs and has shown its window: leave
        Unreachable,    ///< another one holds the place but neither answered nor ended in time
        Unguarded,      ///< no private folder or lock to be had: run unguarded
    };

    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    /// Takes the running program's place, or reaches the program that has it.
    /// Waits up to 5 s for an answer or for that program's end (a program that
    /// is ending, frozen or still starting). A lock or name left by a program
    /// that was killed is taken over: a dead program never stops the next
    /// start. Needs the application object.
    Claim Take();

    /// In the running program: called (on the window's thread) for every
    /// later start, which wants the window shown and in front. Answers false
    /// while the program is ending: the later start then waits for its end.
    void SetShowRequestHandler(std::function<bool()> handler);

private:
    Claim Listen();
    void Accept();

    QString name_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    std::function<bool()> showRequest_;
};

} // namespace tollivex::platform
