#pragma once
// Showing finished files in the desktop's file manager.

#include <string>
#include <vector>

namespace tollivex::platform {

/// Shows the files selected in their folder, through the file manager's
/// org.freedesktop.FileManager1 service on the session bus; where there is no
/// such service, or it refuses, the first file's folder is opened through
/// ShellOpen instead. Returns at once.
void ShowInFileManager(const std::vector<std::string>& files);

} // namespace tollivex::platform
