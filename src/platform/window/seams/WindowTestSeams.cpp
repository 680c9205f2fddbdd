// The test seams of the platform's window part: what the tests set, and the
// answers the window part gets from it (WindowSeamHooks.h). The first painted
// frame is reported when TOLLIVEX_REPORT_FIRST_FRAME is set (the start-up
// benchmark's program).
#include "platform/window/seams/WindowTestSeams.h"

#include "platform/window/seams/WindowSeamHooks.h"

#include <cstdlib>
#include <utility>

namespace tollivex::platform {

namespace {
// Set and read on the window thread only.
MessageAnswerer answerer;
std::function<bool(const std::string&)> shellOpenObserver;
std::string runtimeFolder;
} // namespace

void SetMessageAnswerer(MessageAnswerer chosen) { answerer = std::move(chosen); }

void SetShellOpenObserver(std::function<bool(const std::string& fileOrAddress)> observer)
{
    shellOpenObserver = std::move(observer);
}

void SetRuntimeFolder(const std::string& folder) { runtimeFolder = folder; }

namespace seams {

MessageAnswerer Answerer() { return answerer; }

std::function<bool(const std::string& fileOrAddress)> ShellOpenObserver() { return shellOpenObserver; }

std::string RuntimeFolder() { return runtimeFolder; }

bool ReportFirstFrame() { return std::getenv("TOLLIVEX_REPORT_FIRST_FRAME") != nullptr; }

} // namespace seams

} // namespace tollivex::platform
