#pragma once
// A second program for the store's cross-process tests: the test program
// started again with "--registry-helper <store folder> <operation> ...".

#include "support/ChildProgram.h"

#include <string>
#include <vector>

namespace tollivex::test {

/// Runs the helper operation when argv asks for one; returns its exit code,
/// or -1 when this is a normal test run.
int RunRegistryHelper(int argc, char** argv);

/// The command line of a helper operation on `storeFolder`.
std::vector<std::string> HelperArguments(const std::string& storeFolder, const std::vector<std::string>& arguments);

/// Starts the helper on `storeFolder` and waits for it.
ChildResult RunHelper(const std::string& storeFolder, const std::vector<std::string>& arguments);

} // namespace tollivex::test
