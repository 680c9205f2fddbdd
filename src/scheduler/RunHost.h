#pragma once
// What the download run needs of the main window above it: the list it shows
// its items in, the movie and the tray menu it keeps in step, the questions it
// asks the user and the notices it gives. The shell implements it; the run
// itself never sees a window.

#include "platform/gui/GridControl.h"

#include <optional>
#include <string>

namespace tollivex {

class RunHost {
public:
    virtual ~RunHost() = default;

    /// True once the program is ending: the run stops at once and writes nothing more.
    virtual bool Ended() const = 0;

    // ---- The list ------------------------------------------------------------
    /// Rebuilds the list from the queue (nothing while a rebuild runs).
    virtual void FillDownloadList() = 0;
    /// True while the list is being rebuilt.
    virtual bool bFillingList() const = 0;
    /// The row whose ID cell shows `id`; none when no row does.
    virtual std::optional<platform::GridRow> RowOfId(int id) const = 0;
    /// Writes a status text into the row's status cell, without a rebuild.
    virtual void ShowStatusInRow(const platform::GridRow& row, const std::string& status) = 0;
    /// Sets the row's note (its tool tip beside the reason): the speed and time left.
    virtual void ShowNoteInRow(const platform::GridRow& row, const std::string& note) = 0;

    // ---- The movie and the tray menu -------------------------------------------
    virtual void SetMovieVariable(const std::string& name, const std::string& value) = 0;
    /// The movie page last announced by the movie: "", "Download" or "About".
    virtual const std::string& CurrentTab() const = 0;
    /// The tray menu's start/stop item follows the start button's caption.
    virtual void ShowRunCaption(const std::string& caption) = 0;

    // ---- The user ----------------------------------------------------------------
    /// "Please add video URL's first." (title "Empty List").
    virtual void TellListEmpty() = 0;
    /// "Are you sure that you want to cancel downloading?"; true for Yes.
    virtual bool AskCancelDownloading() = 0;
    /// "You are not connected to the internet, Please connect first then try again".
    virtual void TellNotConnected() = 0;
    /// The download folder cannot be created or written.
    virtual void TellFolderUnusable(const std::string& folder) = 0;

    // ---- Notices -----------------------------------------------------------------
    /// The run has finished with the item of this address.
    virtual void NoteItemEnded(const std::string& pageAddress) = 0;
    /// The run has ended.
    virtual void NoteRunEnded() = 0;
};

} // namespace tollivex
