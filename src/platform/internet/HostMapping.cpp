// The test seam that sends a host's connections to a local server, and the
// adjustable time-outs.

#include "platform/internet/CurlTransfer.h"
#include "platform/internet/HttpText.h"
#include "platform/internet/Internet.h"

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>

namespace tollivex::platform {

namespace {

constexpr int kDefaultConnectSeconds = 15;
constexpr int kDefaultStallSeconds = 30;
std::atomic<int> connectSeconds{kDefaultConnectSeconds};
std::atomic<int> stallSeconds{kDefaultStallSeconds};

std::mutex mappingMutex;
std::string trustedCertificates; // guarded by mappingMutex
std::map<std::string, int> mappedHosts; // lower-case host -> loopback port

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Only loopback targets are taken: the seam must never send traffic elsewhere.
bool IsLoopbackTarget(const std::string& address)
{
    return address == "localhost" || address.compare(0, 4, "127.") == 0;
}

// TOLLIVEX_HOST_MAP="host1=127.0.0.1:PORT,host2=127.0.0.1:PORT"; malformed
// entries are skipped.
std::map<std::string, int> EnvironmentMappings()
{
    std::map<std::string, int> found;
    const char* value = std::getenv("TOLLIVEX_HOST_MAP");
    if (!value)
        return found;
    const std::string text = value;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto comma = text.find(',', start);
        const std::string entry = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        start = comma == std::string::npos ? text.size() + 1 : comma + 1;
        const auto equals = entry.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string host = Lower(Trim(entry.substr(0, equals)));
        const std::string target = Trim(entry.substr(equals + 1));
        const auto colon = target.rfind(':');
        if (host.empty() || colon == std::string::npos || !IsLoopbackTarget(target.substr(0, colon)))
            continue;
        if (const auto port = PortNumber(std::string_view(target).substr(colon + 1)))
            found[host] = *port;
    }
    return found;
}

std::map<std::string, int> AllMappings()
{
    auto all = EnvironmentMappings();
    std::lock_guard lock(mappingMutex);
    for (const auto& [host, port] : mappedHosts)
        all[host] = port;
    return all;
}

} // namespace

void SetHostMapping(const std::string& host, int port)
{
    std::lock_guard lock(mappingMutex);
    mappedHosts[Lower(host)] = port;
}

void ClearHostMappings()
{
    std::lock_guard lock(mappingMutex);
    mappedHosts.clear();
}

void SetTimeouts(int connect, int stall)
{
    connectSeconds = connect > 0 ? connect : kDefaultConnectSeconds;
    stallSeconds = stall > 0 ? stall : kDefaultStallSeconds;
}

void ResetTimeouts() { SetTimeouts(kDefaultConnectSeconds, kDefaultStallSeconds); }

void SetTrustedCertificates(const std::string& pemFile)
{
    std::lock_guard lock(mappingMutex);
    trustedCertificates = pemFile;
}

namespace internet {

curl_slist* HostMappingList()
{
    curl_slist* list = nullptr;
    for (const auto& [host, port] : AllMappings()) {
        // Any port of the host goes to the local server.
        const std::string entry = host + "::127.0.0.1:" + std::to_string(port);
        list = curl_slist_append(list, entry.c_str());
    }
    return list;
}

bool HostMappingActive() { return !AllMappings().empty(); }

std::string TrustedCertificates()
{
    std::lock_guard lock(mappingMutex);
    return trustedCertificates;
}

int ConnectTimeoutSeconds() { return connectSeconds; }
int StallTimeoutSeconds() { return stallSeconds; }

} // namespace internet

} // namespace tollivex::platform
