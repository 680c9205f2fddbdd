#include "platform/window/MessageBox.h"

#include "platform/window/DialogOwner.h"
#include "platform/window/seams/WindowSeamHooks.h"

#include <QApplication>
#include <QMessageBox>

namespace tollivex::platform {

namespace {
QMessageBox::Icon ToQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}
} // namespace

MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon, MessageButtons buttons)
{
    if (const MessageAnswerer answerer = seams::Answerer())
        return answerer(MessageRequest{text, title, icon, buttons});
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;

    // Owned by the main window: centred over it and kept above it.
    QMessageBox box(ToQt(icon), QString::fromStdString(title), QString::fromStdString(text),
                    buttons == MessageButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    DialogOwner());
    const int pressed = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace tollivex::platform
