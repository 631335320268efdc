#include "p_main.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Quorvel"_s);
    QApplication::setApplicationVersion(u"1.2.5"_s);

    Tquorvelmain quorvelmain;
    quorvelmain.show();
    return app.exec();
}
