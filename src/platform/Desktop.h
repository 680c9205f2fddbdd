#pragma once
// The shell's services: opening documents and addresses, starting a program,
// the clipboard's text and the folder picker.

#include <functional>
#include <string>
#include <vector>

namespace tollivex::platform {

/// Asks the desktop to open a file or a web address with its usual program.
/// Returns at once; true when the request was handed over.
bool ShellOpen(const std::string& fileOrAddress);

/// Sees every ShellOpen request, before it is handed over (tests); an empty
/// observer, the default, sees none.
void SetShellOpenObserver(std::function<void(const std::string& fileOrAddress)> observer);

/// Starts a program detached from this one. True when it was started.
bool LaunchProgram(const std::string& program, const std::vector<std::string>& arguments);

/// The clipboard's plain text; empty when it holds no text.
std::string ClipboardText();

/// The folder picker: the chosen folder's path, or "" when the user cancelled.
std::string PickFolder(const std::string& prompt, const std::string& startFolder);

} // namespace tollivex::platform
