#pragma once
// One queue entry and the texts the program writes into it and compares.

#include <cstdint>
#include <string>

namespace tollivex {

struct DownloadItem {
    std::int16_t ID = 0;   // always its index + 1
    std::string Video_URL; // the page address exactly as it was added; identity for duplicates
    std::string FileName;  // local file name, or a placeholder
    std::string Status;    // status text (vocabulary below)
    std::string FileSize;  // size text, or a placeholder
};

// Status texts, compared exactly and case-sensitively.
namespace status {
inline constexpr const char* kWaiting = "Waiting";
inline constexpr const char* kNotSupported = "Link is not supported";
inline constexpr const char* kPreparingStart = "Preperaing (0%)";
inline constexpr const char* kPreparingPrefix = "Preperaing (";
inline constexpr const char* kPreparingSuffix = "%)";
inline constexpr const char* kPreparingUnknown = "Preperaing...";
inline constexpr const char* kStartDownloading = "Start Downloading...";
inline constexpr const char* kSoFarSuffix = "so far..";
inline constexpr const char* kComplete = "Complete";
inline constexpr const char* kError = "ERROR";
inline constexpr const char* kCancelled = "Cancelled";
} // namespace status

// File-name placeholders.
namespace filename {
inline constexpr const char* kAutoDetect = "Waiting (Auto Detect)";
inline constexpr const char* kError = "ERROR";
inline constexpr const char* kUnsupportedLink = "Un supported link";
inline constexpr const char* kProcessFailed = "Process failed.";
inline constexpr const char* kEnterFileName = "Enter File Name";
} // namespace filename

// File-size placeholders.
namespace filesize {
inline constexpr const char* kUnknown = "????";
inline constexpr const char* kNoSize = "0";
} // namespace filesize

} // namespace tollivex
