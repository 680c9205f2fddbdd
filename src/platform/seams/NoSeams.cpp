// The program's answers to the platform's seams: nothing is bent.
#include "platform/seams/SeamHooks.h"

namespace tollivex::platform::seams {

InternetSeams Internet() { return {}; }

std::string ProgramFolder() { return {}; }

std::string StoreFolder() { return {}; }

} // namespace tollivex::platform::seams
