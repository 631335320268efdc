// The access keys of one menu, as Qt's menus read them. The input is the menu's captions, one
// a line.

#include "accesskeys.h"
#include "fuzzcheck.h"

#include <QKeySequence>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

struct Unmarked
{
    QString caption;
    QList<qsizetype> keysAt;
    bool wellFormed = true;
};

// "&&" stands for an ampersand; an ampersand before any other character marks that character
// as the key; an ampersand at the very end is a mistake.
Unmarked unmark(const QString &marked)
{
    Unmarked result;
    for (qsizetype i = 0; i < marked.size(); ++i) {
        if (marked[i] != u'&') {
            result.caption += marked[i];
        } else if (++i == marked.size()) {
            result.wellFormed = false;
        } else {
            if (marked[i] != u'&')
                result.keysAt.append(result.caption.size());
            result.caption += marked[i];
        }
    }
    return result;
}

// The key Qt gives a menu entry for its caption: Alt and the upper-case character.
int keyOf(QChar c)
{
    return QKeyCombination(Qt::ALT, Qt::Key(c.toUpper().unicode())).toCombined();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList captions = QString::fromUtf8(bytesOf(data, size)).split(u'\n');
    const QStringList marked = withAccessKeys(captions);
    require(marked.size() == captions.size(), "one marked caption for each caption");

    QSet<int> taken;
    for (qsizetype i = 0; i < captions.size(); ++i) {
        const Unmarked read = unmark(marked[i]);
        require(read.wellFormed, "no ampersand left alone at the end", marked[i]);
        require(read.caption == captions[i], "without its marks, the caption is unchanged", marked[i]);
        require(read.keysAt.size() <= 1, "at most one key", marked[i]);

        const QKeySequence qtKey = QKeySequence::mnemonic(marked[i]);
        const qsizetype keyAt = read.keysAt.value(0, captions[i].size());
        if (read.keysAt.isEmpty()) {
            require(qtKey.isEmpty(), "Qt finds no key where none is marked", marked[i]);
        } else {
            const QChar key = captions[i][keyAt];
            require(key.isLetterOrNumber(), "the key is a letter or digit", marked[i]);
            require(qtKey.count() == 1 && qtKey[0].toCombined() == keyOf(key), "Qt reads the marked key", marked[i]);
            require(!taken.contains(keyOf(key)), "no two captions share a key, whatever the case", marked[i]);
        }

        // The key is the first letter or digit still free: those before it, or all of them
        // when there is no key, were taken by earlier captions.
        for (const QChar c : QStringView(captions[i]).first(keyAt)) {
            if (c.isLetterOrNumber())
                require(taken.contains(keyOf(c)), "no free letter or digit passed over", marked[i]);
        }
        if (keyAt < captions[i].size())
            taken.insert(keyOf(captions[i][keyAt]));
    }
    return 0;
}
