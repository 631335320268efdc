#include "toollocation.h"

#include <QCoreApplication>
#include <QDir>

#ifdef Q_OS_WIN
#include <qt_windows.h>

namespace {

QString windowsDirectory()
{
    wchar_t buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? QString::fromWCharArray(buffer, int(length)) : QString();
}

} // namespace

QString probeToolPath()
{
    return windowsDirectory() + u"\\quorvel\\clientinfo.exe";
}

#else

QString probeToolPath()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../libexec/quorvel/clientinfo");
}

#endif
