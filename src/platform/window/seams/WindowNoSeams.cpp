// The program's answers to the window part's seams: nothing is bent.
#include "platform/window/seams/WindowSeamHooks.h"

namespace tollivex::platform::seams {

MessageAnswerer Answerer() { return {}; }

std::function<bool(const std::string& fileOrAddress)> ShellOpenObserver() { return {}; }

std::string RuntimeFolder() { return {}; }

bool ReportFirstFrame() { return false; }

} // namespace tollivex::platform::seams
