#include "mediaopendialog.h"

#include <QFileInfo>
#include <QLineEdit>

#include <algorithm>

using namespace Qt::StringLiterals;

MediaOpenDialog::MediaOpenDialog(QWidget *parent)
    : QFileDialog(parent, u"Open"_s)
{
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    setFileMode(QFileDialog::ExistingFiles);
    setAcceptMode(QFileDialog::AcceptOpen);
}

void MediaOpenDialog::prepare(const QStringList &nameFilters, const QString &selectedNameFilter)
{
    setNameFilters(nameFilters);
    if (!selectedNameFilter.isEmpty())
        selectNameFilter(selectedNameFilter);
    // selectFile() ignores an empty name, so the name field is cleared directly.
    if (auto *nameField = findChild<QLineEdit *>(u"fileNameEdit"_s))
        nameField->clear();
}

QString MediaOpenDialog::chosenNameFilter() const
{
    // With the details hidden, Qt names the chosen filter by its description alone, while it
    // selects one only by its full text.
    const QString chosen = selectedNameFilter();
    const QStringList filters = nameFilters();
    const auto found = std::find_if(filters.begin(), filters.end(), [&chosen](const QString &filter) {
        return filter == chosen || filter.startsWith(chosen + u" (");
    });
    return found != filters.end() ? *found : QString();
}

void MediaOpenDialog::accept()
{
    // Qt refuses names of files that do not exist; they go to the probe all the same. Anything
    // else (a folder to open, for one) is left to Qt.
    const QStringList files = selectedFiles();
    const bool allExist = std::all_of(files.begin(), files.end(), [](const QString &file) {
        return QFileInfo::exists(file);
    });
    if (allExist)
        QFileDialog::accept();
    else
        QDialog::accept(); // NOLINT(bugprone-parent-virtual-call): QFileDialog::accept() refuses missing names
}
