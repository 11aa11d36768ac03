#pragma once

#include <functional>

class QWidget;

// Runs `handle` on the next modal dialog that opens (a message box, an input
// box, a prompt), from the event loop of that dialog, so a test can answer it
// like the operator would. A dialog the handler leaves open (for example
// because a check failed) is closed afterwards, so the test cannot hang on it.
void onNextModal(std::function<void(QWidget *dialog)> handle);
