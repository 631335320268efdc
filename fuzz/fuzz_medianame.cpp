// Whether a dropped name looks like a media file.

#include "fuzzcheck.h"
#include "mediapatterns.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

// The rule restated another way: the extension starts at the last full stop and must hold no
// path separator or colon. Only a to z are raised, and the lists are plain ASCII, so an
// extension with any other character never matches, whatever its upper case would be.
bool looksLikeMedia(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype separator = std::max({name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'), name.lastIndexOf(u':')});
    if (dot < 0 || dot < separator)
        return false;
    const QString extension = name.sliced(dot);
    if (std::any_of(extension.begin(), extension.end(), [](QChar c) { return c.unicode() > 0x7f; }))
        return false;
    const QString upper = extension.toUpper();
    return QString(AudioExtensionList).contains(upper) || QString(VideoExtensionList).contains(upper);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = QString::fromUtf8(bytesOf(data, size));
    const bool isMedia = IsMediaFileName(name);
    require(isMedia == looksLikeMedia(name), "agrees with the rule restated", name);

    // Only the last part of a path counts: the folders before it change nothing...
    for (const QString &folder : {u"/home/me/"_s, u"C:\\films.avi\\"_s, u"v1.2:"_s})
        require(IsMediaFileName(QString(folder + name)) == isMedia, "folders before the name change nothing", name);
    // ...and a name that goes on past a separator names something inside, without extension.
    for (const QString &inside : {u"/"_s, u"/x"_s, u"\\clip"_s, u":x"_s})
        require(!IsMediaFileName(QString(name + inside)), "no extension after a separator", name + inside);
    return 0;
}
