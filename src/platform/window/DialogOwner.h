#pragma once
// The window that owns the program's dialogs (message boxes, the folder
// picker): they are centred over it and kept above it. Qt side of the
// platform only.

class QWidget;

namespace tollivex::platform {

/// Registered by the main window when it is made; cleared with nullptr.
void SetDialogOwner(QWidget* window);
/// The main window while it is shown, else none (a window hidden in the
/// tray cannot hold a dialog; the dialog then stands on its own).
QWidget* DialogOwner();

} // namespace tollivex::platform
