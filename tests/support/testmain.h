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
