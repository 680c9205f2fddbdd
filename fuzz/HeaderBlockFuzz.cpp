// Random header blocks through the parser of the download component's
// information request: whatever a server sends, parsing must end normally.

#include "transfer/HeaderBlock.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view block(reinterpret_cast<const char*>(data), size);
    const tollivex::HeaderInformation info = tollivex::ParseHeaderBlock(block);
    // Every text it reports is a piece of the block.
    if (info.RemoteFileName.size() > size || info.RemoteFileType.size() > size ||
        (info.LastModified != "Not Available" && info.LastModified.size() > size))
        std::abort();
    return 0;
}
