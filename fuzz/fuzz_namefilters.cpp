// The open dialog's filter as Qt's file dialog takes it.

#include "fuzzcheck.h"
#include "mediapatterns.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

struct Choice
{
    QString description;
    QStringList patterns;
};

// How Qt's file dialog reads a name filter (QPlatformFileDialogHelper::filterRegExp in Qt 6.4):
// a description, then the patterns in parentheses at the very end, split at spaces.
const QRegularExpression &qtFilterShape()
{
    static const QRegularExpression shape(uR"(^(.*)\(([a-zA-Z0-9_.,*? +;#\-\[\]@\{\}/!<>\$%&=^~:\|]*)\)$)"_s);
    return shape;
}

bool isPatternCharacter(QChar c)
{
    static const QString others = u"_.,*?+#-[]@{}/!<>$%&=^~:"_s;
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || others.contains(c);
}

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\x85' || c == QChar::LineSeparator
        || c == QChar::ParagraphSeparator;
}

// Any text made into choices the program could offer: descriptions on one line, patterns of
// the characters Qt accepts in a pattern (no space, no semicolon, no bar).
QList<Choice> choicesFrom(const QString &text)
{
    QList<Choice> choices;
    const QStringList fields = text.split(u'|');
    for (qsizetype i = 0; i < fields.size(); i += 2) {
        Choice choice{fields[i], {}};
        choice.description.removeIf(isLineBreak);
        for (QString pattern : fields.value(i + 1).split(u';')) {
            pattern.removeIf([](QChar c) { return !isPatternCharacter(c); });
            if (!pattern.isEmpty())
                choice.patterns.append(pattern);
        }
        choices.append(choice);
    }
    return choices;
}

// The choices written the way MediaOpenFilter() writes them.
QString filterOf(const QList<Choice> &choices)
{
    QString filter;
    for (const Choice &choice : choices) {
        filter += choice.description + u'|';
        for (const QString &pattern : choice.patterns)
            filter += pattern + u';';
        filter += u'|';
    }
    return filter;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Any text at all, well formed or not, is converted without a fault the sanitizers see.
    const QString text = QString::fromUtf8(bytesOf(data, size));
    nameFiltersFromFilter(text);

    // Every choice with a pattern comes back from Qt's reading of the result: its description
    // and its patterns, in order; a choice without patterns is left out.
    const QList<Choice> choices = choicesFrom(text);
    const QString filter = filterOf(choices);
    const QStringList nameFilters = nameFiltersFromFilter(filter);
    qsizetype next = 0;
    for (const Choice &choice : choices) {
        if (choice.patterns.isEmpty())
            continue;
        require(next < nameFilters.size(), "one name filter for each choice with patterns", filter);
        const QString &nameFilter = nameFilters[next++];
        const QRegularExpressionMatch match = qtFilterShape().match(nameFilter);
        require(match.hasMatch(), "Qt reads the name filter", nameFilter);
        require(match.captured(1) == choice.description + u' ', "the description comes back", nameFilter);
        require(match.captured(2).split(u' ', Qt::SkipEmptyParts) == choice.patterns, "the patterns come back",
                nameFilter);
    }
    require(next == nameFilters.size(), "no name filter without a choice", filter);
    return 0;
}
