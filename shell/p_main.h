#pragma once

#include "toollocation.h"

#include <QMainWindow>
#include <QString>

class MediaOpenDialog;
class Tabout;
class ProbeRun;
class QAction;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QWidget;

// The main window: the menu, the report area, and the commands that probe files.
class Tquorvelmain : public QMainWindow
{
    Q_OBJECT

public:
    // toolPath is the probe tool to run; tests hand in one of their own.
    explicit Tquorvelmain(const QString &toolPath = probeToolPath(), QWidget *parent = nullptr);
    ~Tquorvelmain() override;

    // Probes one file and shows its report, with the window disabled meanwhile. Ignored while
    // another run is in progress or once the window is closing.
    void loadvideofile(const QString &path);

    // The probe tool's whole output of the last run, and the path that Refresh probes.
    const QString &collectedText() const { return Edit1; }
    const QString &rememberedPath() const { return Label1; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void createMenus();
    QAction *addCommand(QMenu *menu, const QString &caption, const QString &name, void (Tquorvelmain::*command)());
    bool dragAppMessage(QEvent *event);
    void loadvideoClick();
    void Refresh1Click();
    void Exit1Click();
    void About1Click();
    void getfileinfo(const QString &path);

    QString m_toolPath;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QPlainTextEdit *memo_main = nullptr;
    MediaOpenDialog *OpenDialog1 = nullptr;
    Tabout *about = nullptr;
    QString m_confirmedNameFilter;
    QString Edit1;
    QString Label1;
    ProbeRun *ProbeProcess = nullptr;
    bool m_placed = false;
    bool m_closing = false;
};
