#pragma once
// Texts and addresses the shell shows or opens.

#include <string>

namespace tollivex {

/// "Version 1.0.0.4", CR LF, then the about sentence.
std::string AboutText(int major, int minor, int revision);

/// The project's page opened by the movie's web-site button.
inline const char* const kWebSiteAddress = "https://tollivex.example.org/";
/// Told by a second start when the running copy neither answers nor ends.
inline const char* const kUnreachableInstance =
    "Tollivex is already running, but it cannot be reached, so its window cannot be shown.\n\n"
    "If it does not come back by itself, end the running Tollivex (for example from the system monitor), then "
    "start Tollivex again.";
/// The movie, the help page and the tray image, beside the program.
inline const char* const kMovieFile = "Main.qml";
inline const char* const kHelpFile = "Help.html";
inline const char* const kTrayImageFile = "tollivex.png";

} // namespace tollivex
