#include "platform/window/DialogOwner.h"

#include <QPointer>
#include <QWidget>

namespace tollivex::platform {

namespace {
QPointer<QWidget>& Owner()
{
    static QPointer<QWidget> owner;
    return owner;
}
} // namespace

void SetDialogOwner(QWidget* window) { Owner() = window; }

QWidget* DialogOwner()
{
    QWidget* owner = Owner().data();
    return owner && owner->isVisible() ? owner : nullptr;
}

} // namespace tollivex::platform
