#include "platform/internet/CurlTransfer.h"
#include "platform/internet/Internet.h"

#include <QNetworkInterface>

namespace tollivex::platform {

bool InternetConnected()
{
    // The demo and the tests serve real addresses from the loopback: with the
    // mapping in force the "internet" is there.
    if (internet::HostMappingActive())
        return true;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (!address.isNull() && !address.isLoopback() && !address.isLinkLocal())
                return true;
        }
    }
    return false;
}

} // namespace tollivex::platform
