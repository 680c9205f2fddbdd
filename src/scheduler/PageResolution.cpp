#include "scheduler/PageResolution.h"

#include "resolve/VideoLinks.h"

namespace tollivex {

std::string ResolvePage(int siteCode, const std::string& pageAddress)
{
    return ResolveVideoLink(siteCode, pageAddress);
}

} // namespace tollivex
