#include "resolve/PageFile.h"

#include "platform/FileSystem.h"

namespace tollivex {

std::string PageFilePath() { return platform::JoinPath(platform::ScratchFolder(), "Parse.wvi"); }

std::string ReadPageFile()
{
    try {
        return platform::ReadWholeFile(PageFilePath()).value_or(std::string());
    } catch (...) {
        // A page too large for memory is no page; the run goes on with the next item.
        return std::string();
    }
}

} // namespace tollivex
