#include "mediapatterns.h"

#include <algorithm>

const QString &MediaOpenFilter()
{
    static const QString filter = u"All Audio and Video Files|" + AudioExtensionList + VideoExtensionList
        + u"|Audio Files|" + AudioExtensionList + u"|Video Files|" + VideoExtensionList + u'|';
    return filter;
}

bool IsMediaFileName(QStringView name)
{
    const auto isDelimiter = [](QChar c) { return c == u'.' || c == u'/' || c == u'\\' || c == u':'; };
    const auto delimiter = std::find_if(name.rbegin(), name.rend(), isDelimiter);
    if (delimiter == name.rend() || *delimiter != u'.')
        return false;
    QString extension = name.last(delimiter - name.rbegin() + 1).toString();
    // Only a to z are raised, so that no other letter (a dotless ı, say) becomes a match.
    for (QChar &c : extension) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return AudioExtensionList.contains(extension) || VideoExtensionList.contains(extension);
}

QStringList nameFiltersFromFilter(QStringView filter)
{
    QStringList nameFilters;
    const auto pieces = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        QStringList patterns;
        for (QStringView pattern : pieces[i + 1].split(u';', Qt::SkipEmptyParts))
            patterns.append(pattern.toString());
        if (!patterns.isEmpty())
            nameFilters.append(pieces[i] + u" (" + patterns.join(u' ') + u')');
    }
    return nameFilters;
}
