#pragma once
// An event filter that records the key presses and right-button presses
// reaching a widget; installed after another filter, it sees only what that
// filter let through.

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>

#include <vector>

namespace tollivex::test {

struct SeenInput : QObject {
    std::vector<int> keys;
    int rightPresses = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress)
            keys.push_back(static_cast<QKeyEvent*>(e)->key());
        if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::RightButton)
            ++rightPresses;
        return false;
    }
};

} // namespace tollivex::test
