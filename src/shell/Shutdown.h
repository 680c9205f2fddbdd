#pragma once
// What is left to do once the event loop has returned after EndMe.

namespace tollivex {

class frmMain;

/// A video transfer that EndMe abandoned leaves no half-written file under the
/// video's name: the item ends "Cancelled" and the partial file is removed.
/// Called after the event loop has returned (the run has unwound by then).
void FinishShutdown(frmMain& form);

} // namespace tollivex
