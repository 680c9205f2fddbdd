#pragma once
// The proxy a transfer goes through. The user's environment names it, read as
// libcurl reads it: http_proxy (lower case only: a web server may set
// HTTP_PROXY for the programs it starts), https_proxy, all_proxy and
// no_proxy, each of the last three in either case, lower case first. With no
// proxy named, every transfer goes direct.

#include <curl/curl.h>

#include <functional>
#include <string>

namespace tollivex::platform::internet {

/// An environment lookup: the variable's value, or nothing when it is unset.
using EnvironmentLookup = std::function<const char*(const char* name)>;

/// True when a proxy variable curl reads holds a non-empty value.
bool EnvironmentNamesProxy(const EnvironmentLookup& lookup);

/// The hosts that go direct: the environment's no_proxy list with the
/// `alwaysDirect` hosts (comma-separated) added.
std::string NoProxyList(const EnvironmentLookup& lookup, const std::string& alwaysDirect);

/// Sets the transfer's proxy options from the process environment: direct
/// when it names no proxy; otherwise libcurl takes the proxy from the
/// environment, and the hosts of the host mapping `connectTo` (which lead to
/// the loopback) go direct.
void ApplyProxyChoice(CURL* easy, const curl_slist* connectTo);

} // namespace tollivex::platform::internet
