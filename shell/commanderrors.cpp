#include "commanderrors.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

#include <exception>

void runReportingErrors(QWidget *parent, const std::function<void()> &command)
{
    QString message;
    try {
        command();
        return;
    } catch (const std::exception &error) {
        message = QString::fromLocal8Bit(error.what());
    } catch (...) {
        message = QCoreApplication::translate("Quorvel", "An unknown error occurred.");
    }
    QMessageBox::critical(parent, QCoreApplication::applicationName(), message);
}
