#include "platform/window/Desktop.h"

#include "platform/window/DialogOwner.h"
#include "platform/window/seams/WindowSeamHooks.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace tollivex::platform {

bool ShellOpen(const std::string& fileOrAddress)
{
    if (const auto observer = seams::ShellOpenObserver())
        return observer(fileOrAddress);
    const QString target = QString::fromStdString(fileOrAddress);
    const QUrl url = target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

bool LaunchProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    QStringList args;
    for (const auto& a : arguments)
        args << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(program), args);
}

std::string ClipboardText()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text(QClipboard::Clipboard).toStdString() : std::string();
}

void SetClipboardText(const std::string& text)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

std::string PickFolder(const std::string& prompt, const std::string& startFolder)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return {};
    const QString chosen = QFileDialog::getExistingDirectory(
        DialogOwner(), QString::fromStdString(prompt), QString::fromStdString(startFolder), QFileDialog::ShowDirsOnly);
    return QDir::toNativeSeparators(chosen).toStdString();
}

} // namespace tollivex::platform
