#pragma once
// What the platform core asks its test seams. Two libraries answer: the
// program's (NoSeams.cpp), where every answer leaves the platform as it is,
// and the tests' (TestSeams.cpp), which answers with what a test set through
// platform/seams/TestSeams.h. Which one a program links is chosen when it is
// linked (src/CMakeLists.txt): the program that is shipped has no setter and
// reads no variable of the tests. The README's "Test seams" lists them all.
// Only the platform's own sources include this header.

#include <string>
#include <vector>

namespace tollivex::platform::seams {

/// How a test bends the internet layer.
struct InternetSeams {
    /// libcurl CONNECT_TO entries ("host::127.0.0.1:PORT"): connections to
    /// these hosts go to a local server instead.
    std::vector<std::string> connectTo;
    int connectSeconds = 0;          // 0: the layer's own time-out
    int stallSeconds = 0;            // 0: the layer's own time-out
    std::string trustedCertificates; // a PEM file instead of the system's authorities; "" for these
};

InternetSeams Internet();

/// The folder ProgramFolder() gives instead of the executable's; "" for that one.
std::string ProgramFolder();

/// The folder of the settings store instead of the user's; "" for that one.
std::string StoreFolder();

} // namespace tollivex::platform::seams
