#pragma once

#include <QObject>
#include <functional>

// Test programs run every QtTest class registered with WIFITICKETER_TEST; the
// exit code is the number of classes that failed.
void registerTestClass(const char *name, std::function<QObject *()> make);

#define WIFITICKETER_TEST(Class)                                                                             \
    namespace {                                                                                              \
    const bool Class##Registered = (registerTestClass(#Class, [] { return new Class; }), true);              \
    }

// A class that paints text needs fonts: a program holding one runs every class
// under a QGuiApplication, on the offscreen platform unless QT_QPA_PLATFORM
// names another.
void registerGuiTestClass(const char *name, std::function<QObject *()> make);

// Window tests need a QApplication, which this library cannot make (it links no
// Widgets): their program registers the factory, and every class then runs
// under the application it makes, on the offscreen platform unless
// QT_QPA_PLATFORM names another.
class QCoreApplication;
void registerApplicationFactory(std::function<QCoreApplication *(int &argc, char **argv)> make);

#define WIFITICKETER_GUI_TEST(Class)                                                                         \
    namespace {                                                                                              \
    const bool Class##Registered = (registerGuiTestClass(#Class, [] { return new Class; }), true);           \
    }
