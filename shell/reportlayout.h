#pragma once

#include <QString>

class QPlainTextEdit;

// Sets the report area's text (setPlainText) so that a long line shows quickly. A line without
// a place to break, such as a megabyte of base64 metadata, is laid out whole as soon as any of it
// shows, every character of it; this keeps that to the layout work itself, done once.
void showReportText(QPlainTextEdit *reportArea, const QString &text);
