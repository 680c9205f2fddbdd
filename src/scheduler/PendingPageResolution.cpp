// Placeholder until the resolvers' dispatch lands in resolve/; replaced, then removed.
#include "scheduler/PageResolution.h"
namespace tollivex {
std::string ResolvePage(int, const std::string&) { return std::string(); }
} // namespace tollivex
