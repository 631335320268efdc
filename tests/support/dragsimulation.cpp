#include "dragsimulation.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace {

DragOutcome deliver(QWidget *target, const QMimeData &data, Qt::KeyboardModifiers modifiers)
{
    const QPoint at = target->rect().center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    DragOutcome outcome;

    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &enter);
    outcome.enterAccepted = enter.isAccepted();
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &move);
    outcome.moveAccepted = move.isAccepted();
    QDropEvent drop(at, offered, &data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &drop);
    outcome.dropAccepted = drop.isAccepted();
    outcome.action = drop.dropAction();
    return outcome;
}

} // namespace

DragOutcome dragAndDrop(QWidget *target, const QList<QUrl> &urls, Qt::KeyboardModifiers modifiers)
{
    QMimeData data;
    data.setUrls(urls);
    return deliver(target, data, modifiers);
}

DragOutcome dragAndDropText(QWidget *target, const QString &text)
{
    QMimeData data;
    data.setText(text);
    return deliver(target, data, Qt::NoModifier);
}

QList<QUrl> localFiles(const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    return urls;
}
