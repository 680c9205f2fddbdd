#include "RegistryHelper.h"

#include "platform/registry/Registry.h"
#include "platform/registry/UserStore.h"
#include "platform/seams/TestSeams.h"
#include "settings/CRegister.h"

#include "support/ChildProgram.h"

#include <cstdio>
#include <cstring>

namespace tollivex::test {

namespace {
constexpr std::uint32_t kRoot = platform::registry::HKeyCurrentUser;
}

int RunRegistryHelper(int argc, char** argv)
{
    if (argc < 4 || std::strcmp(argv[1], "--registry-helper") != 0)
        return -1;
    platform::registry::SetStoreFolder(argv[2]);
    const std::string operation = argv[3];
    CRegister registry;
    if (operation == "save" && argc == 7)
        return registry.REGSaveSetting(kRoot, argv[4], argv[5], argv[6]) ? 0 : 1;
    if (operation == "get" && argc == 7) {
        // Twice: a damaged store must be reported once, not on every read.
        std::string value = registry.REGGetSetting(kRoot, argv[4], argv[5], argv[6]);
        value = registry.REGGetSetting(kRoot, argv[4], argv[5], argv[6]);
        std::fwrite(value.data(), 1, value.size(), stdout);
        return 0;
    }
    if (operation == "many" && argc == 7) {
        // Writes <prefix>0 .. <prefix>(count-1) one after the other.
        const int count = std::atoi(argv[6]);
        int failures = 0;
        for (int i = 0; i < count; ++i) {
            const std::string name = std::string(argv[5]) + std::to_string(i);
            if (!registry.REGSaveSetting(kRoot, argv[4], name, "value " + name))
                ++failures;
        }
        return failures == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "unknown helper operation\n");
    return 2;
}

std::vector<std::string> HelperArguments(const std::string& storeFolder, const std::vector<std::string>& arguments)
{
    std::vector<std::string> all{"--registry-helper", storeFolder};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return all;
}

ChildResult RunHelper(const std::string& storeFolder, const std::vector<std::string>& arguments)
{
    return ChildProgram(ThisProgram(), HelperArguments(storeFolder, arguments)).Finish(60000);
}

} // namespace tollivex::test
