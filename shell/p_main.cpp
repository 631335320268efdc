#include "p_main.h"

#include "accesskeys.h"
#include "commanderrors.h"
#include "mediapatterns.h"
#include "proberun.h"
#include "reportcut.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QSize OuterSize(636, 554);
constexpr int FontPointSize = 8;

} // namespace

Tquorvelmain::Tquorvelmain(const QString &toolPath, QWidget *parent)
    : QMainWindow(parent)
    , m_toolPath(toolPath)
    , Label1(QStringLiteral("Label1"))
{
    setWindowTitle(QStringLiteral("Quorvel 1.2.5"));
    setFont(QFont(QStringLiteral("Verdana"), FontPointSize));
    resize(OuterSize);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Main"));

    memo_main = new QPlainTextEdit(TabSheet1);
    memo_main->setObjectName(QStringLiteral("memo_main"));
    memo_main->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *layout = new QVBoxLayout(TabSheet1);
    layout->setContentsMargins(QMargins());
    layout->addWidget(memo_main);
    setCentralWidget(PageControl1);

    createMenus();
}

Tquorvelmain::~Tquorvelmain() = default;

void Tquorvelmain::createMenus()
{
    const QStringList menuTitles = withAccessKeys({QStringLiteral(" File "), QStringLiteral(" Help ")});
    const QStringList fileItems =
        withAccessKeys({QStringLiteral("Load File"), QStringLiteral("Refresh"), QStringLiteral("Exit")});

    QMenu *File1 = menuBar()->addMenu(menuTitles[0]);
    QAction *loadvideo = File1->addAction(fileItems[0], this, [this] {
        runReportingErrors(this, [this] { loadvideoClick(); });
    });
    loadvideo->setObjectName(QStringLiteral("loadvideo"));
    QAction *Refresh1 = File1->addAction(fileItems[1], this, [this] {
        runReportingErrors(this, [this] { Refresh1Click(); });
    });
    Refresh1->setObjectName(QStringLiteral("Refresh1"));
    Refresh1->setShortcut(Qt::Key_F5);
    File1->addSeparator();
    QAction *Exit1 = File1->addAction(fileItems[2], this, &QWidget::close);
    Exit1->setObjectName(QStringLiteral("Exit1"));

    QMenu *Help1 = menuBar()->addMenu(menuTitles[1]);
    Help1->setObjectName(QStringLiteral("Help1"));
}

void Tquorvelmain::loadvideoClick()
{
    if (ProbeProcess)
        return;
    if (!OpenDialog1) {
        // Qt's own dialog behaves the same on every platform and can be driven by tests.
        OpenDialog1 = new QFileDialog(this, QStringLiteral("Open"));
        OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
        OpenDialog1->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
        OpenDialog1->setFileMode(QFileDialog::ExistingFiles);
        OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    }
    OpenDialog1->setNameFilters(nameFiltersFromFilter(MediaOpenFilter()));
    // setNameFilters selects the first choice again; a cancelled dialog must not count.
    if (!m_confirmedNameFilter.isEmpty())
        OpenDialog1->selectNameFilter(m_confirmedNameFilter);
    // selectFile() ignores an empty name, so the name field is cleared directly.
    if (auto *nameField = OpenDialog1->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        nameField->clear();

    if (OpenDialog1->exec() != QDialog::Accepted)
        return;
    // With the details hidden, Qt names the chosen filter by its description alone, and it
    // selects one only by its full text.
    const QString chosen = OpenDialog1->selectedNameFilter();
    for (const QString &filter : OpenDialog1->nameFilters()) {
        if (filter == chosen || filter.startsWith(chosen + u" ("))
            m_confirmedNameFilter = filter;
    }
    const QStringList files = OpenDialog1->selectedFiles();
    for (const QString &file : files)
        loadvideofile(file);
}

void Tquorvelmain::Refresh1Click()
{
    loadvideofile(Label1);
}

void Tquorvelmain::loadvideofile(const QString &path)
{
    if (ProbeProcess || m_closing)
        return;
    setEnabled(false);
    setCursor(Qt::BusyCursor);
    const auto restore = qScopeGuard([this] {
        setEnabled(true);
        unsetCursor();
    });
    getfileinfo(path);
}

void Tquorvelmain::getfileinfo(const QString &path)
{
    ProbeRun run(m_toolPath, path);
    ProbeProcess = &run;
    const auto forget = qScopeGuard([this] { ProbeProcess = nullptr; });
    if (!run.start())
        return;

    memo_main->clear();
    Edit1.clear();
    Edit1 = run.wait().text();
    // The report area holds the path, an empty line and the report; the report usually ends
    // with a line break of its own.
    memo_main->setPlainText(path + u"\n\n" + cutReport(Edit1));
    Label1 = path;
}

void Tquorvelmain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    // The size is the window's outer size, its frame included, and it opens centred on the
    // screen. Without a window manager there is no frame.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    resize(OuterSize.shrunkBy(frame));
    QRect outer(QPoint(), OuterSize);
    outer.moveCenter(screen()->availableGeometry().center());
    move(outer.topLeft());
}

void Tquorvelmain::closeEvent(QCloseEvent *event)
{
    // The window manager's close request arrives even while a run keeps the window disabled.
    m_closing = true;
    if (ProbeProcess)
        ProbeProcess->stop();
    QMainWindow::closeEvent(event);
}
