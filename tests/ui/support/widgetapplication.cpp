// Every window test program runs its classes under a QApplication.

#include "testmain.h"

#include <QApplication>

namespace {

const bool WidgetApplicationRegistered =
    (registerApplicationFactory([](int &argc, char **argv) { return new QApplication(argc, argv); }), true);

} // namespace
