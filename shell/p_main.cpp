#include "p_main.h"

#include "accesskeys.h"
#include "commanderrors.h"
#include "mediaopendialog.h"
#include "mediapatterns.h"
#include "p_about.h"
#include "proberun.h"
#include "reportcut.h"
#include "reportlayout.h"
#include "reportwrap.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QUrl>
#include <QWindow>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QSize OuterSize(636, 554);
constexpr int FontPointSize = 8;

} // namespace

Tquorvelmain::Tquorvelmain(const QString &toolPath, QWidget *parent)
    : QMainWindow(parent)
    , m_toolPath(toolPath)
    , Label1(u"Label1"_s)
{
    setWindowTitle(u"Quorvel " + QLatin1StringView(QUORVEL_VERSION));
    setFont(QFont(u"Verdana"_s, FontPointSize));
    resize(OuterSize);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(u"PageControl1"_s);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(u"TabSheet1"_s);
    PageControl1->addTab(TabSheet1, u"Main"_s);

    memo_main = new QPlainTextEdit(TabSheet1);
    memo_main->setObjectName(u"memo_main"_s);
    memo_main->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *layout = new QVBoxLayout(TabSheet1);
    layout->setContentsMargins(QMargins());
    layout->addWidget(memo_main);
    setCentralWidget(PageControl1);

    createMenus();
    FormCreate();
    about = new Tabout(this);
}

Tquorvelmain::~Tquorvelmain() = default;

void Tquorvelmain::FormCreate()
{
    // Qt delivers drags to the report area's viewport; only the report area takes dropped files.
    memo_main->viewport()->installEventFilter(this);
}

void Tquorvelmain::createMenus()
{
    const QStringList menuTitles = withAccessKeys({u" File "_s, u" Help "_s});
    const QStringList fileItems = withAccessKeys({u"Load File"_s, u"Refresh"_s, u"Exit"_s});

    QMenu *File1 = menuBar()->addMenu(menuTitles[0]);
    addCommand(File1, fileItems[0], u"loadvideo"_s, &Tquorvelmain::loadvideoClick);
    addCommand(File1, fileItems[1], u"Refresh1"_s, &Tquorvelmain::Refresh1Click)->setShortcut(Qt::Key_F5);
    File1->addSeparator();
    addCommand(File1, fileItems[2], u"Exit1"_s, &Tquorvelmain::Exit1Click);

    QMenu *Help1 = menuBar()->addMenu(menuTitles[1]);
    addCommand(Help1, withAccessKeys({u"About"_s}).constFirst(), u"About1"_s, &Tquorvelmain::About1Click);
}

QAction *Tquorvelmain::addCommand(QMenu *menu, const QString &caption, const QString &name,
                                  void (Tquorvelmain::*command)())
{
    QAction *action = menu->addAction(caption, this, [this, command] {
        runReportingErrors(this, [this, command] { (this->*command)(); });
    });
    action->setObjectName(name);
    return action;
}

void Tquorvelmain::loadvideoClick()
{
    if (ProbeProcess)
        return;
    if (!OpenDialog1) {
        OpenDialog1 = new MediaOpenDialog(this);
        OpenDialog1->setObjectName(u"OpenDialog1"_s);
    }
    OpenDialog1->prepare(nameFiltersFromFilter(MediaOpenFilter()), m_confirmedNameFilter);
    if (OpenDialog1->exec() != QDialog::Accepted)
        return;
    m_confirmedNameFilter = OpenDialog1->chosenNameFilter();
    const QStringList files = OpenDialog1->selectedFiles();
    for (const QString &file : files)
        loadvideofile(file);
}

void Tquorvelmain::Exit1Click()
{
    close();
}

void Tquorvelmain::About1Click()
{
    about->exec();
}

void Tquorvelmain::Refresh1Click()
{
    loadvideofile(Label1);
}

void Tquorvelmain::loadvideofile(const QString &path)
{
    if (ProbeProcess || m_closing)
        return;
    // Disabling the window takes the keyboard focus from the control that has it; it goes back
    // there afterwards, so that the keys scroll the new report.
    const QPointer<QWidget> focused = focusWidget();
    setEnabled(false);
    setCursor(Qt::BusyCursor);
    const auto restore = qScopeGuard([this, focused] {
        setEnabled(true);
        unsetCursor();
        if (focused)
            focused->setFocus(Qt::OtherFocusReason);
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
    const QString text = path + u"\n\n" + cutReport(Edit1);
    memo_main->setWordWrapMode(reportWrapMode(text));
    showReportText(memo_main, text);
    Label1 = path;
}

bool Tquorvelmain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == memo_main->viewport() && dragAppMessage(event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool Tquorvelmain::dragAppMessage(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drag = static_cast<QDropEvent *>(event);
    const QList<QUrl> urls = drag->mimeData()->urls();
    // Other drags, text for one, keep the report area's own handling.
    if (std::none_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); }))
        return false;
    // A move would make the source delete the files once they are dropped.
    drag->setDropAction(Qt::CopyAction);
    if (type != QEvent::Drop) {
        drag->accept();
        return true;
    }
    if (ProbeProcess) {
        drag->ignore();
        return true;
    }
    drag->accept();
    try {
        for (const QUrl &url : urls) {
            if (url.isLocalFile() && IsMediaFileName(url.toLocalFile()))
                loadvideofile(url.toLocalFile());
        }
    } catch (...) {
        // A failed drop ends quietly: the names not yet probed are skipped.
    }
    return true;
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
