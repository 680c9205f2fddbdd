#include "transfer/Download.h"

#include "platform/internet/Internet.h"

namespace tollivex {

bool IsConnected() { return platform::InternetConnected(); }

} // namespace tollivex
