#pragma once
// The step after a page fetch: the site's resolver reads the fetched page and
// names the video file.

#include <string>

namespace tollivex {

/// The video file's address that the resolver of `siteCode` finds in the
/// fetched page of `pageAddress`; "" when it finds none or the site has no
/// resolver.
std::string ResolvePage(int siteCode, const std::string& pageAddress);

} // namespace tollivex
