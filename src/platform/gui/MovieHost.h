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

    /// Loads and starts the movie; no result is examined.
    virtual void LoadMovie(int layer, const std::string& path) = 0;
    /// The variable holds the text at once; the movie reacts by itself.
    virtual void SetVariable(const std::string& name, const std::string& value) = 0;
    virtual std::string GetVariable(const std::string& name) const = 0;
    /// Commands arrive on the window thread.
    virtual void SetCommandHandler(CommandHandler handler) = 0;

    virtual void SetGeometry(int left, int top, int width, int height) = 0;
    virtual void BringToFront() = 0;
};

} // namespace tollivex::platform
