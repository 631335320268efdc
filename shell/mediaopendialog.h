#pragma once

#include <QFileDialog>

// The Load File dialog: Qt's own file dialog, so that it behaves the same everywhere, choosing
// several files at once. A typed name is taken as it stands, whether or not such a file exists:
// the probe tool says what it makes of it.
class MediaOpenDialog : public QFileDialog
{
    Q_OBJECT

public:
    explicit MediaOpenDialog(QWidget *parent = nullptr);

    // Makes the next opening start with an empty name field and the given filter choice.
    void prepare(const QStringList &nameFilters, const QString &selectedNameFilter);

    // The chosen filter as it was given to prepare().
    QString chosenNameFilter() const;

public slots:
    void accept() override;
};
