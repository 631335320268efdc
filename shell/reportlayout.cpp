#include "reportlayout.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QStringView>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// Below this many characters, laying a line out again for a paint takes well under a millisecond.
constexpr qsizetype LongLineLength = qsizetype(64) * 1024;

bool hasLongLine(QStringView text)
{
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        if (end - start > LongLineLength)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

void showReportText(QPlainTextEdit *reportArea, const QString &text)
{
    QTextDocument *document = reportArea->document();
    const bool longLine = hasLongLine(text);

    // Shaping costs more than all the rest of laying out Latin text, and plain text such as a
    // report looks the same without it. Reports of short lines keep it: only their visible lines
    // are laid out, and at 16 MiB of them leaving it out raised the peak memory by 9 MiB. Set each
    // time, as the area hands its own font to its document whenever that font changes.
    QFont font = reportArea->font();
    if (longLine)
        font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    document->setDefaultFont(font);

    if (!longLine) {
        reportArea->setPlainText(text);
        return;
    }
    // Qt drops a line's glyphs once it is laid out, and each paint then analyses the whole line
    // again: some 20 ms per paint, scrolling included, for a line of a megabyte. The document
    // announces new text before its layout handles it, in time to keep what the layout computes.
    const QMetaObject::Connection keepLongLayouts = QObject::connect(
        document, &QTextDocument::contentsChange, reportArea, [document](int from, int, int charsAdded) {
            const QTextBlock end = document->findBlock(from + charsAdded).next();
            for (QTextBlock block = document->findBlock(from); block.isValid() && block != end; block = block.next()) {
                // A block's length counts its line end.
                if (block.length() - 1 > LongLineLength)
                    block.layout()->setCacheEnabled(true);
            }
        });
    reportArea->setPlainText(text);
    QObject::disconnect(keepLongLayouts);
}
