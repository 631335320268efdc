// A window to drag files from, for the end-to-end drop test: a press of the left mouse button in
// it starts a drag of the files named on the command line, offering a copy or a move and asking
// for a move, as a file manager does when the person holds Shift. The drag runs through the
// window system, so the target may be another program.
//
// Its output, one line each, for the test to follow the drag from outside:
//   "action A"  the target under the pointer now takes A (copy, move, link or ignore);
//   "done A"    the drag has ended with A: what the target took, or ignore.
// Usage: dragsource FILE...
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QList>
#include <QMimeData>
#include <QMouseEvent>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QSize WindowSize(200, 120);

const char *actionName(Qt::DropAction action)
{
    switch (action) {
    case Qt::CopyAction:
        return "copy";
    case Qt::MoveAction:
    case Qt::TargetMoveAction:
        return "move";
    case Qt::LinkAction:
        return "link";
    default:
        return "ignore";
    }
}

// The test reads the lines while the program runs: each goes out at once.
void tell(const char *what, Qt::DropAction action)
{
    std::printf("%s %s\n", what, actionName(action));
    std::fflush(stdout);
}

class DragSource : public QWidget
{
public:
    explicit DragSource(const QList<QUrl> &urls)
        : m_urls(urls)
    {
        setWindowTitle(u"Quorvel drag source"_s);
        setFixedSize(WindowSize);
        auto *layout = new QVBoxLayout(this);
        auto *label = new QLabel(u"Press here to drag %1 file(s)"_s.arg(urls.size()));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        layout->addWidget(label);
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        auto *drag = new QDrag(this);
        auto *data = new QMimeData;
        data->setUrls(m_urls);
        drag->setMimeData(data);
        connect(drag, &QDrag::actionChanged, this, [](Qt::DropAction action) { tell("action", action); });
        tell("done", drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction));
    }

private:
    QList<QUrl> m_urls;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QList<QUrl> urls;
    const QStringList arguments = app.arguments().mid(1);
    for (const QString &file : arguments)
        urls.append(QUrl::fromLocalFile(file));
    if (urls.isEmpty()) {
        std::fputs("usage: dragsource FILE...\n", stderr);
        return 2;
    }
    DragSource window(urls);
    window.show();
    return app.exec();
}
