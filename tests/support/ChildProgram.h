#pragma once
// Another program started by a test, its output gathered: this test program
// itself again, say, to play a second process. POSIX systems only.

#include <string>
#include <vector>

namespace tollivex::test {

struct ChildResult {
    int exitCode = -1; // -1: it did not end by itself in time
    std::string out;
    std::string err;
};

class ChildProgram {
public:
    /// Starts `program` with `arguments`; its standard input is empty.
    ChildProgram(const std::string& program, const std::vector<std::string>& arguments);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    /// Waits for its end, at most `timeoutMs` (it is killed after that), and
    /// gives what it wrote.
    ChildResult Finish(int timeoutMs);

private:
    int pid_ = -1;
    int out_ = -1;
    int err_ = -1;
};

/// The running test program's own executable.
std::string ThisProgram();

} // namespace tollivex::test
