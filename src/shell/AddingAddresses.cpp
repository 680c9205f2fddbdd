// Addresses the user adds through the hidden address box and by dropping
// links onto the window.

#include "shell/frmMain.h"

namespace tollivex {

void frmMain::cmdAdd2List_Click() { Grid.AddVideoUrl(txtURL.Text); }

void frmMain::Form_LinksDropped(const std::vector<std::string>& addresses)
{
    // As the movie's add command takes a typed address: as it stands, once
    // it holds more than blanks.
    for (const std::string& address : addresses) {
        if (bEnded_)
            return;
        if (address.find_first_not_of(' ') != std::string::npos)
            Grid.AddVideoUrl(address);
    }
}

} // namespace tollivex
