#include "p_main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationVersion(QStringLiteral("1.2.5"));

    Tquorvelmain quorvelmain;
    quorvelmain.show();
    return app.exec();
}
