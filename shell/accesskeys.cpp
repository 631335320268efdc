#include "accesskeys.h"

#include <QSet>

QStringList withAccessKeys(const QStringList &captions)
{
    QSet<QChar> taken;
    QStringList marked;
    marked.reserve(captions.size());
    for (const QString &caption : captions) {
        QString text;
        bool keyFound = false;
        for (QChar c : caption) {
            if (!keyFound && c.isLetterOrNumber() && !taken.contains(c.toUpper())) {
                taken.insert(c.toUpper());
                text += u'&';
                keyFound = true;
            }
            text += c;
            if (c == u'&')
                text += u'&';
        }
        marked.append(text);
    }
    return marked;
}
