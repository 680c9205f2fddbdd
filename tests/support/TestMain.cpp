// The main of every test program: an application object exists, so window
// events, timers and the clipboard work as in the program.

#include "platform/window/QtEventPump.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tollivex::platform::InstallQtEventPump();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
