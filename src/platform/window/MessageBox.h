#pragma once
// Modal message boxes: a real QMessageBox asks the user (tests answer in
// the user's place through platform/window/seams/WindowTestSeams.h).

#include <functional>
#include <string>

namespace tollivex::platform {

enum class MessageIcon { Critical, Exclamation, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest {
    std::string text;
    std::string title;
    MessageIcon icon;
    MessageButtons buttons;
};

using MessageAnswerer = std::function<MessageAnswer(const MessageRequest&)>;

/// Shows a modal box and returns the button the user pressed.
MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon, MessageButtons buttons);

} // namespace tollivex::platform
