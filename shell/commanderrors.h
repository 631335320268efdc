#pragma once

#include <functional>

class QWidget;

// Qt cannot carry an exception through its event loop, so each command runs through this: an
// exception that escapes it is shown in a message box over parent, with its own text.
void runReportingErrors(QWidget *parent, const std::function<void()> &command);
