// The connectivity test: a network interface that is up and running, other
// than the loopback, with an address that reaches beyond its own link.
#include "platform/internet/Internet.h"

#include "platform/seams/SeamHooks.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
// after the socket headers
#include <iphlpapi.h>
#else
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace tollivex::platform {

namespace {

// No address at all, the loopback (127/8) and link-local addresses
// (169.254/16) lead nowhere beyond this machine's own link.
bool UsableIpv4(const unsigned char* a)
{
    const bool none = a[0] == 0 && a[1] == 0 && a[2] == 0 && a[3] == 0;
    return !none && a[0] != 127 && !(a[0] == 169 && a[1] == 254);
}

// The same for IPv6: ::, ::1 and fe80::/10; an IPv4-mapped one as its IPv4 address.
bool UsableIpv6(const unsigned char* a)
{
    static const unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    if (std::memcmp(a, kMapped, sizeof kMapped) == 0)
        return UsableIpv4(a + 12);
    bool zeroHead = true;
    for (int i = 0; i < 15; ++i)
        zeroHead = zeroHead && a[i] == 0;
    if (zeroHead && (a[15] == 0 || a[15] == 1))
        return false;
    return !(a[0] == 0xfe && (a[1] & 0xc0) == 0x80);
}

bool Usable(const sockaddr* address)
{
    if (!address)
        return false;
    if (address->sa_family == AF_INET) {
        sockaddr_in v4;
        std::memcpy(&v4, address, sizeof v4);
        return UsableIpv4(reinterpret_cast<const unsigned char*>(&v4.sin_addr));
    }
    if (address->sa_family == AF_INET6) {
        sockaddr_in6 v6;
        std::memcpy(&v6, address, sizeof v6);
        return UsableIpv6(reinterpret_cast<const unsigned char*>(&v6.sin6_addr));
    }
    return false;
}

#ifdef _WIN32
bool AnyUsableInterface()
{
    ULONG size = 16 * 1024;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<unsigned char> buffer(size);
        auto* adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
        const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
        const ULONG result = ::GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, adapters, &size);
        if (result == ERROR_BUFFER_OVERFLOW)
            continue; // the list grew meanwhile: `size` now says how large it is
        if (result != NO_ERROR)
            return false;
        for (const IP_ADAPTER_ADDRESSES* adapter = adapters; adapter; adapter = adapter->Next) {
            if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK)
                continue;
            for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter->FirstUnicastAddress; unicast;
                 unicast = unicast->Next)
                if (Usable(unicast->Address.lpSockaddr))
                    return true;
        }
        return false;
    }
    return false;
}
#else
bool AnyUsableInterface()
{
    ifaddrs* first = nullptr;
    if (::getifaddrs(&first) != 0)
        return false;
    const std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> held(first, ::freeifaddrs);
    for (const ifaddrs* entry = first; entry; entry = entry->ifa_next) {
        const unsigned flags = entry->ifa_flags;
        if ((flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK) && Usable(entry->ifa_addr))
            return true;
    }
    return false;
}
#endif

} // namespace

bool InternetConnected()
{
    // A test serving real addresses from the loopback: with its mapping in
    // force the "internet" is there.
    if (!seams::Internet().connectTo.empty())
        return true;
    return AnyUsableInterface();
}

} // namespace tollivex::platform
