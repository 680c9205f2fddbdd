// The test seams of the platform core: what the tests set, and the answers
// the platform gets from it (platform/seams/SeamHooks.h).
#include "platform/seams/TestSeams.h"

#include "platform/internet/HttpText.h"
#include "platform/seams/SeamHooks.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string_view>

namespace tollivex::platform {

namespace {

// Requests run on the window thread, but a test's server threads may ask too.
std::mutex seamMutex;
std::map<std::string, int> mappedHosts; // lower-case host -> loopback port
int connectSeconds = 0;
int stallSeconds = 0;
std::string trustedCertificates;
std::string programFolder;
std::string storeFolder;

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

} // namespace

void SetHostMapping(const std::string& host, int port)
{
    std::lock_guard lock(seamMutex);
    mappedHosts[Lower(host)] = port;
}

void ClearHostMappings()
{
    std::lock_guard lock(seamMutex);
    mappedHosts.clear();
}

void SetTimeouts(int connect, int stall)
{
    std::lock_guard lock(seamMutex);
    connectSeconds = connect > 0 ? connect : 0;
    stallSeconds = stall > 0 ? stall : 0;
}

void ResetTimeouts() { SetTimeouts(0, 0); }

void SetTrustedCertificates(const std::string& pemFile)
{
    std::lock_guard lock(seamMutex);
    trustedCertificates = pemFile;
}

void SetProgramFolder(const std::string& folder)
{
    std::lock_guard lock(seamMutex);
    programFolder = folder;
}

void registry::SetStoreFolder(const std::string& folder)
{
    std::lock_guard lock(seamMutex);
    storeFolder = folder;
}

namespace seams {

InternetSeams Internet()
{
    auto all = EnvironmentMappings();
    std::lock_guard lock(seamMutex);
    for (const auto& [host, port] : mappedHosts)
        all[host] = port;
    InternetSeams answer;
    for (const auto& [host, port] : all)
        answer.connectTo.push_back(host + "::127.0.0.1:" + std::to_string(port)); // any port of the host
    answer.connectSeconds = connectSeconds;
    answer.stallSeconds = stallSeconds;
    answer.trustedCertificates = trustedCertificates;
    return answer;
}

std::string ProgramFolder()
{
    std::lock_guard lock(seamMutex);
    return programFolder;
}

std::string StoreFolder()
{
    std::lock_guard lock(seamMutex);
    return storeFolder;
}

} // namespace seams

} // namespace tollivex::platform
