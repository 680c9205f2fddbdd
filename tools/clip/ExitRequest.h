#pragma once
// "clip Exit": ends every watcher of this user that is running.

namespace tollivex::clip {

/// Tells each running watcher to end and waits (briefly) until it has.
/// Returns the process exit code: 0.
int EndRunningWatchers();

} // namespace tollivex::clip
