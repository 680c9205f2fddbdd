#pragma once
// What a drop onto the window carries, as page addresses in order.

#include <optional>
#include <string>
#include <vector>

namespace tollivex::platform {

/// The addresses of a drop: the web addresses (http, https) of its URI list,
/// else the lines of its plain text that hold more than blanks, each as it
/// stands. A URI list without web addresses (files, mail addresses) gives
/// none, whatever text comes with it: the drop is refused then, as a drop of
/// neither kind is.
std::vector<std::string> DroppedAddresses(const std::optional<std::string>& uriList,
                                          const std::optional<std::string>& plainText);

} // namespace tollivex::platform
