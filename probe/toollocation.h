#pragma once

#include <QString>

// Where the installed probe tool lives. On Linux it is <folder of the executable>/../libexec/
// quorvel/clientinfo, the same in the build tree and after installation; on Windows it is the
// Windows directory followed by \quorvel\clientinfo.exe.
QString probeToolPath();
