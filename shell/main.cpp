#include "heapreuse.h"
#include "p_main.h"

#include <QApplication>
#include <QIcon>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    keepLargeBlocksForReuse();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Quorvel"_s);
    QApplication::setApplicationVersion(QLatin1StringView(QUORVEL_VERSION));
    QApplication::setDesktopFileName(u"org.example.Quorvel"_s);
    QApplication::setWindowIcon(QIcon(u":/icons/quorvel.png"_s));

    Tquorvelmain quorvelmain;
    quorvelmain.show();
    return app.exec();
}
