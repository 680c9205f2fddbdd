#pragma once
// Modal message boxes. Tests install an answerer so no box is shown; by
// default a real QMessageBox asks the user.

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
MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons);

/// Replaces the real box (tests); an empty answerer restores it.
void SetMessageAnswerer(MessageAnswerer answerer);

} // namespace tollivex::platform
