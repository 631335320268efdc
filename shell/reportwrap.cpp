#include "reportwrap.h"

namespace {

// Far longer than any word, and short enough that laying out such runs stays cheap.
constexpr qsizetype LongestWrappedRun = 1000;

} // namespace

QTextOption::WrapMode reportWrapMode(QStringView report)
{
    qsizetype run = 0;
    for (QChar c : report) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > LongestWrappedRun)
            return QTextOption::WrapAnywhere;
    }
    return QTextOption::WrapAtWordBoundaryOrAnywhere;
}
