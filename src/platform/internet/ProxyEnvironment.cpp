#include "platform/internet/ProxyEnvironment.h"

#include <cstdlib>

namespace tollivex::platform::internet {

namespace {

std::string FirstSet(const EnvironmentLookup& lookup, const char* lower, const char* upper)
{
    for (const char* name : {lower, upper}) {
        const char* value = name ? lookup(name) : nullptr;
        if (value && *value)
            return value;
    }
    return {};
}

// "host1,host2" of CONNECT_TO entries "host::127.0.0.1:PORT".
std::string MappedHosts(const curl_slist* connectTo)
{
    std::string hosts;
    for (const curl_slist* entry = connectTo; entry; entry = entry->next) {
        const std::string text = entry->data;
        const auto end = text.find("::");
        if (end == std::string::npos || end == 0)
            continue;
        hosts += (hosts.empty() ? "" : ",") + text.substr(0, end);
    }
    return hosts;
}

} // namespace

bool EnvironmentNamesProxy(const EnvironmentLookup& lookup)
{
    return !FirstSet(lookup, "http_proxy", nullptr).empty() ||
           !FirstSet(lookup, "https_proxy", "HTTPS_PROXY").empty() ||
           !FirstSet(lookup, "all_proxy", "ALL_PROXY").empty();
}

std::string NoProxyList(const EnvironmentLookup& lookup, const std::string& alwaysDirect)
{
    const std::string named = FirstSet(lookup, "no_proxy", "NO_PROXY");
    // libcurl reads "*" as "every host" only when it stands alone.
    if (named.empty() || named == "*" || alwaysDirect.empty())
        return named.empty() ? alwaysDirect : named;
    return named + "," + alwaysDirect;
}

void ApplyProxyChoice(CURL* easy, const curl_slist* connectTo)
{
    const EnvironmentLookup environment = [](const char* name) -> const char* { return std::getenv(name); };
    if (!EnvironmentNamesProxy(environment)) {
        // Direct access, whatever else might name a proxy.
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
        return;
    }
    // libcurl reads the proxy variables itself; a mapped host leads to the
    // loopback, which no proxy is needed for.
    const std::string direct = NoProxyList(environment, MappedHosts(connectTo));
    if (!direct.empty())
        curl_easy_setopt(easy, CURLOPT_NOPROXY, direct.c_str());
}

} // namespace tollivex::platform::internet
