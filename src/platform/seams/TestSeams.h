#pragma once
// The platform core's test seams: process-wide settings that let a test put
// its own local servers, folders and time-outs in place of the real ones.
// They exist only in builds that link the seams library (the tests, the
// benchmarks, the demo's program); the shipped program has none of them.
// The README's "Test seams" lists every seam and who links it.

#include <string>

namespace tollivex::platform {

/// Sends every connection for `host` (any port) to 127.0.0.1:port instead, so
/// real addresses can be served from the loopback. TOLLIVEX_HOST_MAP adds
/// mappings in the form "host1=127.0.0.1:PORT,host2=127.0.0.1:PORT" (the demo
/// and the benchmarks' scripts); it is read whenever a request is made, and
/// mappings set here take precedence. Only loopback targets are taken.
void SetHostMapping(const std::string& host, int port);
void ClearHostMappings();

/// Changes the connect and stall time-outs (seconds) for tests that must not
/// wait half a minute; ResetTimeouts() restores 15 s and 30 s.
void SetTimeouts(int connectSeconds, int stallSeconds);
void ResetTimeouts();

/// Makes HTTPS requests trust the certificate authorities in this PEM file
/// instead of the system's (a test's own self-signed server); "" restores
/// the system's.
void SetTrustedCertificates(const std::string& pemFile);

/// Points ProgramFolder() elsewhere (tests run several programs side by
/// side); "" restores the executable's folder.
void SetProgramFolder(const std::string& folder);

namespace registry {
/// Points the settings store at another folder; "" restores the user's. On
/// Windows, where the store is the system's registry, the current user's
/// keys are then those of a key of the folder's name under
/// HKEY_CURRENT_USER\Software\Tollivex test stores.
void SetStoreFolder(const std::string& folder);
} // namespace registry

} // namespace tollivex::platform
