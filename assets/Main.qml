// The window's movie: the whole 639 x 535 surface. It sends its commands
// through fsCommand(command, args) and reacts to the variables the program
// writes into the root's properties. The download list itself is a grid the
// program lays over the empty panel at 32, 177 (573 x 180).
// Every control carries a plain accessible name, a role and its state, and
// acts on a screen reader's press as on a click; every text the window shows
// is exposed as well.
import QtQuick
import QtQuick.Controls.Basic

Rectangle {
    id: root
    width: 639
    height: 535
    color: "#1d2733"

    signal fsCommand(string command, string args)

    // ---- Variables the program writes (and video_url, which it reads) ----
    // "_root.Download_CB" and "_root.Convert_CB" (always "1") are held as
    // plain values: QML names cannot begin with a capital.
    property string video_url: ""
    property string aboutTxt: ""
    property string autoToDownloadList_CB: "0"
    property string download_dir: ""
    property string downloadBtn: "1"
    property string startDownload: "1"
    property string downloadTab: "1"
    property string downloadBtnTab: "0"

    property string page: ""
    readonly property bool running: downloadBtn === "0"
    readonly property color accent: "#3a9ad9"
    readonly property color panel: "#26323f"
    readonly property color line: "#364554"
    readonly property color textColor: "#e8eef4"
    readonly property color muted: "#8fa3b5"

    function send(command) { fsCommand(command, "") }
    function showPage(name) {
        if (page === name)
            return
        send("IDC_FS_Slider")
        page = name
        send(name === "Download" ? "IDC_FS_Download" : "IDC_FS_About")
    }
    function addAddress() {
        video_url = addressField.text
        send("IDC_FS_addDownloadURL")
    }

    onVideo_urlChanged: if (addressField.text !== video_url) addressField.text = video_url
    // The program writes "1" at every run started while the About page is up.
    // Taken back to "0" once seen, so that the next run's "1" is a change too.
    onDownloadBtnTabChanged: {
        if (downloadBtnTab !== "1")
            return
        if (page === "About")
            aboutBadge.visible = true
        downloadBtnTab = "0"
    }
    onRunningChanged: if (!running) aboutBadge.visible = false

    // The first page comes once the program listens for commands.
    Timer { interval: 250; running: true; onTriggered: root.showPage("Download") }

    // F1 anywhere in the window opens the help page, also while the list has the keyboard.
    Shortcut { sequence: "F1"; context: Qt.WindowShortcut; onActivated: root.send("IDC_FS_Help") }

    // The face every button of the movie wears.
    component ButtonText: Text {
        required property Item control
        text: control.text
        font: control.font
        color: control.enabled ? root.textColor : "#5c6c7b"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    component ButtonFace: Rectangle {
        required property Item control
        required property color tint
        radius: 4
        color: !control.enabled ? "#222c37"
             : control.down ? Qt.darker(tint, 1.3)
             : control.hovered ? Qt.lighter(tint, 1.25) : tint
        border.color: control.activeFocus ? "#9fd3ff" : root.line
        border.width: control.activeFocus ? 2 : 1
    }

    component FlatButton: Button {
        id: control
        property color tint: root.panel
        font.pixelSize: 13
        implicitHeight: 30
        // Space presses a focused button; Enter does too, as keyboard users expect.
        Keys.onReturnPressed: clicked()
        Keys.onEnterPressed: clicked()
        Accessible.name: text
        // The movie's controls have no disabled state of their own for a
        // screen reader: an unavailable button says so.
        Accessible.description: enabled ? "" : "Not available now"
        Accessible.onPressAction: if (enabled) clicked()
        contentItem: ButtonText { control: control }
        background: ButtonFace { control: control; tint: control.tint }
    }

    component TitleButton: FlatButton {
        width: 34; height: 26; implicitHeight: 26
        font.pixelSize: 15
        tint: "transparent"
    }

    // The Download and About pages' tabs: a screen reader hears a page tab,
    // selected while its page is shown.
    component PageButton: TabButton {
        id: tab
        property bool current: false
        checkable: false
        width: 120
        implicitHeight: 30
        font.pixelSize: 13
        font.bold: current
        Keys.onReturnPressed: clicked()
        Keys.onEnterPressed: clicked()
        Accessible.name: text
        Accessible.selectable: true
        Accessible.selected: current
        Accessible.onPressAction: clicked()
        contentItem: ButtonText { control: tab }
        background: ButtonFace { control: tab; tint: tab.current ? root.accent : root.panel }
    }

    // ---- Title bar: drag area, minimise, tray, close --------------------
    Rectangle {
        id: titleBar
        width: parent.width; height: 40
        gradient: Gradient {
            GradientStop { position: 0; color: "#2f4a66" }
            GradientStop { position: 1; color: "#23374c" }
        }
        MouseArea {
            anchors.fill: parent
            onPressed: root.send("IDC_FS_Drag")
        }
        Rectangle {
            x: 14; y: 9; width: 22; height: 22; radius: 11
            color: root.accent
            Text { anchors.centerIn: parent; text: "\u25BC"; color: "white"; font.pixelSize: 11 }
        }
        Text {
            x: 44; anchors.verticalCenter: parent.verticalCenter
            text: "Tollivex"; color: "white"; font.pixelSize: 18; font.bold: true
            Accessible.role: Accessible.Heading; Accessible.name: text
        }
        Text {
            x: 128; anchors.verticalCenter: parent.verticalCenter; anchors.verticalCenterOffset: 2
            text: "video downloader"; color: root.muted; font.pixelSize: 12
            Accessible.role: Accessible.StaticText; Accessible.name: text
        }
        Row {
            anchors.right: parent.right; anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            spacing: 4
            TitleButton { text: "\u2013"; onClicked: root.send("IDC_FS_Minimize"); Accessible.name: "Minimise" }
            TitleButton { text: "\u25BE"; onClicked: root.send("IDC_FS_Tray"); Accessible.name: "Hide to tray" }
            TitleButton { text: "\u2715"; tint: "transparent"; onClicked: root.send("IDC_FS_Close"); Accessible.name: "Close" }
        }
    }

    // ---- Tabs -------------------------------------------------------------
    Row {
        x: 32; y: 54; spacing: 8
        Accessible.role: Accessible.PageTabList
        Accessible.name: "Pages"
        PageButton {
            id: downloadTabButton
            text: root.downloadTab === "0" ? "Download \u25CF" : "Download"
            Accessible.name: "Download"
            Accessible.description: root.downloadTab === "0" ? "A download is running" : ""
            current: root.page === "Download"
            onClicked: root.showPage("Download")
        }
        PageButton {
            text: "About"
            current: root.page === "About"
            onClicked: root.showPage("About")
        }
    }
    Row {
        anchors.right: parent.right; anchors.rightMargin: 34; y: 54; spacing: 8
        FlatButton { text: "Help"; width: 70; onClicked: root.send("IDC_FS_Help") }
        FlatButton { text: "Web site"; width: 84; onClicked: root.send("ID_FS_webSite") }
    }
    Rectangle { x: 32; y: 92; width: 575; height: 1; color: root.line }

    // ---- Download page ----------------------------------------------------
    Item {
        id: downloadPage
        anchors.fill: parent
        visible: root.page === "Download"

        Text {
            x: 32; y: 104; text: "Video page address"; color: root.muted; font.pixelSize: 12
            Accessible.role: Accessible.StaticText; Accessible.name: text
        }
        TextField {
            id: addressField
            x: 32; y: 124; width: 447; height: 34
            placeholderText: "Paste the address of a video page, then press Add"
            color: root.textColor
            placeholderTextColor: "#6d8092"
            selectByMouse: true
            font.pixelSize: 13
            focus: true
            background: Rectangle {
                radius: 4; color: "#141c25"
                border.color: addressField.activeFocus ? root.accent : root.line
                border.width: addressField.activeFocus ? 2 : 1
            }
            onTextChanged: root.video_url = text
            onAccepted: root.addAddress()
            Accessible.name: "Video page address"
            // The usual editing menu: the right button, the menu key or Shift+F10.
            TapHandler { acceptedButtons: Qt.RightButton; onTapped: (point) => editMenu.popup(point.position.x, point.position.y) }
            Keys.onPressed: (event) => {
                if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
                    editMenu.popup(8, addressField.height)
                    event.accepted = true
                }
            }
            Menu {
                id: editMenu
                objectName: "editMenu"
                MenuItem { text: "Cut"; enabled: addressField.selectedText.length > 0; onTriggered: addressField.cut() }
                MenuItem { text: "Copy"; enabled: addressField.selectedText.length > 0; onTriggered: addressField.copy() }
                MenuItem { text: "Paste"; enabled: addressField.canPaste; onTriggered: addressField.paste() }
                MenuSeparator {}
                MenuItem { text: "Select All"; enabled: addressField.length > 0; onTriggered: addressField.selectAll() }
                onClosed: addressField.forceActiveFocus()
            }
        }
        FlatButton {
            x: 489; y: 124; width: 118; height: 34
            text: "+ Add"; tint: "#2f6d4f"; font.bold: true
            Accessible.name: "Add"
            onClicked: root.addAddress()
        }
        // The grid's place in the Tab order: the program hands the keyboard
        // focus on to the grid when this is reached, or passes over it while
        // the list is empty.
        Item {
            objectName: "gridSlot"
            x: 32; y: 177; width: 573; height: 180
            activeFocusOnTab: true
        }

        // Where the program shows its download list.
        Rectangle {
            x: 32; y: 177; width: 573; height: 180
            color: "#141c25"; border.color: root.line; radius: 2
            Text {
                anchors.centerIn: parent
                text: "The download list is empty"; color: "#55687a"; font.pixelSize: 13
            }
        }

        Row {
            x: 32; y: 366; spacing: 6
            FlatButton { text: "Select all"; width: 88; onClicked: root.send("IDC_FS_selectAllD") }
            FlatButton { text: "Remove selected"; width: 124; onClicked: root.send("IDC_FS_removeSelectedD") }
            FlatButton { text: "\u25B2 Up"; width: 70; onClicked: root.send("IDC_FS_moveUp"); Accessible.name: "Up" }
            FlatButton { text: "\u25BC Down"; width: 80; onClicked: root.send("IDC_FS_moveDown"); Accessible.name: "Down" }
            FlatButton { text: "Clear completed"; width: 128; onClicked: root.send("ID_FS_clearComplete") }
        }
        Text {
            x: 32; y: 412
            text: root.running ? "Downloading\u2026" : "Ready"
            color: root.running ? "#7fd19b" : root.muted; font.pixelSize: 13
            // A status bar: its changes are read out politely.
            Accessible.role: Accessible.StatusBar
            Accessible.name: root.running ? "Downloading" : "Ready"
        }
        Row {
            anchors.right: parent.right; anchors.rightMargin: 32; y: 404; spacing: 8
            FlatButton {
                id: startButton
                text: "\u25B6  Start downloading"; width: 170; height: 36; font.bold: true
                Accessible.name: "Start downloading"
                tint: root.accent
                enabled: root.startDownload === "1"
                // The program turns the button off once a run really starts; a
                // refused start (no connection, no usable folder) leaves it on.
                onClicked: root.send("IDC_FS_startDownload")
            }
            FlatButton {
                text: "\u25A0  Stop"; width: 90; height: 36
                Accessible.name: "Stop"
                tint: "#8a3b3b"
                enabled: root.downloadBtn === "0"
                onClicked: root.send("IDC_FS_stopDownload")
            }
        }

        // Settings: the clipboard monitor and the download folder.
        Rectangle {
            x: 32; y: 452; width: 575; height: 68; radius: 4
            color: root.panel; border.color: root.line
            CheckBox {
                id: monitorBox
                x: 6; y: 2
                text: "Monitor video addresses in the clipboard and download them"
                checked: root.autoToDownloadList_CB === "1"
                font.pixelSize: 12
                contentItem: Text {
                    leftPadding: monitorBox.indicator.width + 6
                    text: monitorBox.text; font: monitorBox.font
                    color: root.textColor; verticalAlignment: Text.AlignVCenter
                }
                onToggled: {
                    root.autoToDownloadList_CB = checked ? "1" : "0"
                    root.send(checked ? "ID_FS_autoDownloadCheck" : "ID_FS_autoDownloadUncheck")
                }
            }
            Text { x: 12; y: 42; text: "Save to"; color: root.muted; font.pixelSize: 12 }
            Rectangle {
                x: 64; y: 36; width: 410; height: 26; radius: 3; color: "#141c25"; border.color: root.line
                Text {
                    anchors.fill: parent; anchors.leftMargin: 8; anchors.rightMargin: 8
                    verticalAlignment: Text.AlignVCenter
                    text: root.download_dir; color: root.textColor; font.pixelSize: 12
                    elide: Text.ElideMiddle
                    // The whole path, also where the box cuts it.
                    Accessible.role: Accessible.StaticText
                    Accessible.name: "Download folder: " + root.download_dir
                }
            }
            FlatButton {
                x: 482; y: 34; width: 86; height: 30; implicitHeight: 30
                text: "Browse\u2026"
                Accessible.name: "Browse for the download folder"
                onClicked: root.send("ID_FS_downloadBrowse")
            }
        }
    }

    // ---- About page -------------------------------------------------------
    Item {
        anchors.fill: parent
        visible: root.page === "About"
        Rectangle {
            x: 32; y: 112; width: 575; height: 300; radius: 6
            color: root.panel; border.color: root.line
            Rectangle {
                x: 24; y: 28; width: 64; height: 64; radius: 32; color: root.accent
                Text { anchors.centerIn: parent; text: "\u25BC"; color: "white"; font.pixelSize: 28 }
            }
            Text {
                x: 108; y: 30; text: "Tollivex"; color: "white"; font.pixelSize: 26; font.bold: true
                Accessible.role: Accessible.Heading; Accessible.name: text
            }
            Text {
                x: 108; y: 70; width: 440
                text: root.aboutTxt.replace(/\r\n/g, "\n")
                color: root.textColor; font.pixelSize: 14; wrapMode: Text.WordWrap; lineHeight: 1.3
                Accessible.role: Accessible.StaticText; Accessible.name: text
            }
            Text {
                x: 108; y: 240; width: 440
                text: "Add a page address on the Download page and press Start: the video lands in your download folder."
                color: root.muted; font.pixelSize: 12; wrapMode: Text.WordWrap
                Accessible.role: Accessible.StaticText; Accessible.name: text
            }
        }
        FlatButton {
            id: aboutBadge
            objectName: "aboutBadge"
            visible: false
            x: 32; y: 430; width: 250; height: 34
            text: "A download is running \u2014 show it"
            Accessible.name: "A download is running, show it"
            tint: "#2f6d4f"
            onClicked: { visible = false; root.showPage("Download") }
        }
    }
}
