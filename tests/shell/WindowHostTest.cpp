// The main window host: close requests, size, and the wheel filter.
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/QtControls.h"
#include "platform/window/MessageBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

using namespace tollivex::platform;

namespace {
bool Wheel(QWidget* target, int delta)
{
    QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
    return e.isAccepted();
}
} // namespace

TEST(WindowHost, CloseGoesToTheProgramAndTheSizeIsFixed)
{
    auto window = CreateMainWindowHost();
    QWidget* widget = HostWidget(*window);
    ASSERT_NE(widget, nullptr);
    window->SetSize(639, 535);
    window->Show();
    EXPECT_EQ(widget->size(), QSize(639, 535));
    EXPECT_TRUE(window->IsVisible());

    int requests = 0;
    window->SetCloseRequestHandler([&] { ++requests; });
    widget->close();
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(window->IsVisible()); // the program decides, the window stays

    window->Hide();
    EXPECT_FALSE(window->IsVisible());
    window->Show();
    EXPECT_TRUE(window->IsVisible());
}

TEST(WindowHost, WheelOverAnyChildReachesTheHandlerOncePerNotch)
{
    auto window = CreateMainWindowHost();
    QWidget* widget = HostWidget(*window);
    auto* child = new QWidget(widget);
    QWidget stranger;
    window->Show();

    std::vector<int> deltas;
    bool take = true;
    window->SetWheelHandler([&](int d) {
        deltas.push_back(d);
        return take;
    });
    Wheel(child, 120);
    Wheel(child, -240);
    Wheel(child, 0);       // a touchpad phase, not a notch
    Wheel(&stranger, 120); // another window
    EXPECT_EQ(deltas, (std::vector<int>{120, -240}));

    // Not taken: it goes on to the child and up to the window, unchanged.
    take = false;
    deltas.clear();
    Wheel(child, 120);
    EXPECT_FALSE(deltas.empty());
    for (int d : deltas)
        EXPECT_EQ(d, 120);

    window->SetWheelHandler(nullptr);
    deltas.clear();
    Wheel(child, 120);
    EXPECT_TRUE(deltas.empty());
}

TEST(WindowHost, AMessageBoxBelongsToTheShownMainWindowAndStandsOverItsMiddle)
{
    auto window = CreateMainWindowHost();
    QWidget* widget = HostWidget(*window);
    window->SetSize(639, 535);
    window->Show();
    widget->move(200, 150);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
    QWidget* parent = nullptr;
    QPoint middle;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        parent = box->parentWidget();
        middle = box->frameGeometry().center();
        box->close();
    });
    ShowMessage("Asked over the window", "Tollivex", MessageIcon::Question, MessageButtons::YesNo);
    EXPECT_EQ(parent, widget);
    EXPECT_LE((middle - widget->frameGeometry().center()).manhattanLength(), 40);
}
