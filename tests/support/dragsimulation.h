#pragma once

#include <QList>
#include <QUrl>

class QWidget;

struct DragOutcome
{
    bool enterAccepted = false;
    bool moveAccepted = false;
    bool dropAccepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// Delivers a drag of urls the way Qt does, enter, move, then drop, on the middle of target.
// A drop that no enter preceded never reaches a widget. Shift asks for a move, as a file
// manager does when the person holds it.
DragOutcome dragAndDrop(QWidget *target, const QList<QUrl> &urls,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The same with text instead of addresses.
DragOutcome dragAndDropText(QWidget *target, const QString &text);

QList<QUrl> localFiles(const QStringList &paths);
