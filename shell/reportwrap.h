#pragma once

#include <QStringView>
#include <QTextOption>

// How the report area wraps a report. Words wrap at their boundaries, but a run of characters
// with no place to break (a long base64 metadata value) makes Qt's layout quadratic in the run's
// length: 256 KiB take seconds. Such a report wraps anywhere instead, which keeps every
// character on screen at linear cost.
QTextOption::WrapMode reportWrapMode(QStringView report);
