#pragma once
// The hosts that composed video links point at. The sites' pages name only
// paths or identifiers for these; the hosts are where the sites served their
// files from. Kept in one place so tests can map them to a local server.

namespace tollivex {

/// Host of the YouTube get_video service.
inline constexpr const char* kGoogleVideoCacheHost = "cache.googlevideo.com";
/// Host of MySpace's video files.
inline constexpr const char* kMySpaceContentHost = "content.myspace.com";
/// Host of Break's video files.
inline constexpr const char* kBreakMediaHost = "media1.break.com";

} // namespace tollivex
