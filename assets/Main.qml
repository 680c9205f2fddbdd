// The window's movie. Placeholder until the full interface is drawn.
import QtQuick

Rectangle {
    id: root
    width: 639
    height: 535
    color: "#27688f"
    signal fsCommand(string command, string args)
    property string video_url: ""
    property string aboutTxt: ""
}
