#pragma once
// The shell's services: opening documents and addresses, starting a program,
// the clipboard's text and the folder picker.

#include <string>
#include <vector>

namespace tollivex::platform {

/// Asks the desktop to open a file or a web address with its usual program.
/// Returns at once; true when the request was handed over, false when there
/// is nothing to hand it to (no desktop opener installed).
bool ShellOpen(const std::string& fileOrAddress);

/// Starts a program detached from this one. True when it was started.
bool LaunchProgram(const std::string& program, const std::vector<std::string>& arguments);

/// The clipboard's plain text; empty when it holds no text.
std::string ClipboardText();

/// Puts plain text on the clipboard.
void SetClipboardText(const std::string& text);

/// The folder picker: the chosen folder's path, or "" when the user cancelled.
std::string PickFolder(const std::string& prompt, const std::string& startFolder);

} // namespace tollivex::platform
