#pragma once
// The movie player as the system's code uses it: load a movie file, set and
// read named text variables, deliver (command, argument) pairs to a handler,
// and be placed and layered. Implemented on a QQuickWidget loading a QML file;
// variables "_root.name" are the root object's properties, commands its signal.

#include <functional>
#include <string>

namespace tollivex::platform {

class MovieHost {
public:
    using CommandHandler = std::function<void(const std::string& command, const std::string& argument)>;

    virtual ~MovieHost() = default;

    /// Loads and starts the movie; see LoadFailure for the outcome.
    virtual void LoadMovie(int layer, const std::string& path) = 0;
    /// Why the last LoadMovie gave no movie ("" when it is playing).
    virtual std::string LoadFailure() const = 0;
    /// The variable holds the text at once; the movie reacts by itself.
    /// Values set before the movie has loaded are applied when it has.
    virtual void SetVariable(const std::string& name, const std::string& value) = 0;
    virtual std::string GetVariable(const std::string& name) const = 0;
    /// Commands arrive on the window thread.
    virtual void SetCommandHandler(CommandHandler handler) = 0;

    virtual void SetGeometry(int left, int top, int width, int height) = 0;
    virtual void BringToFront() = 0;

    /// True when the player has its own window on the main window, where the
    /// mouse and keyboard reach the movie.
    virtual bool HasPlayerWindow() const = 0;
    /// Swallows the right button and the context-menu key before the movie
    /// sees them (on), or lets them through again (off). A text box of the
    /// movie keeps them: its editing menu is the user's, not the player's.
    virtual void SuppressContextMenu(bool on) = 0;
};

} // namespace tollivex::platform
