#pragma once
// Reading a server's answer to an information request: the status line and
// headers as one block of CR LF lines, turned into the file's description.
// Pure text work; any bytes at all are valid input.

#include <string>
#include <string_view>

namespace tollivex {

/// What a header block says about the remote file.
struct HeaderInformation {
    std::string LastModified = "Not Available";
    float FileSize = -1;        // -1: no usable Content-Length
    double ExactSize = -1;      // the same, exact past the float's 16 MiB
    std::string RemoteFileName; // after "filename=", verbatim (quotes kept)
    std::string RemoteFileType; // the content type after its first "/"
    bool FileExists = true;     // false for a 404 answer
};

/// Labels are found case-insensitively from the block's start; a value runs
/// from just after its label to the next CR LF (or the end of the block) and
/// keeps its case. "Last-Modified: " and "Content-Length: " need the single
/// space after the colon. A Content-Length that is not a plain number counts
/// as no size. A 404 status line of any HTTP version means the file is not there.
HeaderInformation ParseHeaderBlock(std::string_view block);

} // namespace tollivex
