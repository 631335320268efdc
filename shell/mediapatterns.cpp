#include "mediapatterns.h"

const QString &MediaOpenFilter()
{
    static const QString filter = u"All Audio and Video Files|" + AudioExtensionList + VideoExtensionList
        + u"|Audio Files|" + AudioExtensionList + u"|Video Files|" + VideoExtensionList + u'|';
    return filter;
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
