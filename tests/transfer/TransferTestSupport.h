#pragma once
// What the transfer tests share: a log of the component's events and a port
// with nothing listening on it.

#include "support/HttpTestServer.h"
#include "transfer/Download.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tollivex::test {

/// Records every event of a component, in order.
struct EventLog {
    std::vector<std::string> events; // "progress 41", "complete", "error Could not read URL", "cancelled 2048"
    std::vector<std::int32_t> progress;

    explicit EventLog(Download& download)
    {
        download.DownloadComplete = [this] { events.push_back("complete"); };
        download.DownloadProgress = [this](std::int32_t& p) {
            progress.push_back(p);
            events.push_back("progress " + std::to_string(p));
        };
        download.DownloadError = [this](std::string& e) { events.push_back("error " + e); };
        download.DownloadCancelled = [this](std::int32_t& p) { events.push_back("cancelled " + std::to_string(p)); };
    }
    std::string Last() const { return events.empty() ? "" : events.back(); }
};

/// A loopback port where nothing listens (a server is started and stopped).
inline int UnusedPort()
{
    HttpTestServer server;
    return server.Port();
}

/// Bytes that show where each one came from, so a reordered or lost piece is seen.
inline std::string PatternBytes(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return bytes;
}

} // namespace tollivex::test
