#include "p_about.h"

#include <QDesktopServices>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>
#include <QWindow>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QSize ClientSize(418, 122);
constexpr int FontPointSize = 8;
constexpr int LegalNoticeWidth = 371;

const QString ProductName = u"Quorvel"_s;
const QString WebAddress = u"https://quorvel.example.org/"_s;
const QString SupportAddress = u"support@quorvel.example.org"_s;
const QString NoticeText = u"Copyright \u00A9 Quorvel developers, "_s;
const QString LegalNotice = u"Free software under the MIT License, without any warranty."_s;

// Acts on a click like a link while keeping the look of a plain label: a rich-text link would
// turn blue, take the Tab key and open its address by itself.
class ClickableLabel : public QLabel
{
public:
    ClickableLabel(const QString &text, QWidget *parent, std::function<void()> onClick)
        : QLabel(text, parent)
        , m_onClick(std::move(onClick))
    {
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        // The release comes to the label that had the press; letting go outside it cancels.
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_onClick();
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_onClick;
};

// Labels take the size of their text.
void place(QLabel *label, const QString &name, QPoint topLeft)
{
    label->setObjectName(name);
    label->move(topLeft);
    label->adjustSize();
}

} // namespace

Tabout::Tabout(QWidget *parent, Clock today)
    : QDialog(parent)
    , m_today(std::move(today))
{
    setWindowTitle(u"About"_s);
    setModal(true);
    setFixedSize(ClientSize);
    setFont(QFont(u"Verdana"_s, FontPointSize));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    Label8 = new QLabel(ProductName, this);
    QFont bold = Label8->font();
    bold.setBold(true);
    Label8->setFont(bold);
    place(Label8, u"Label8"_s, {24, 15});

    Label4 = new QLabel(this);
    place(Label4, u"Label4"_s, {141, 21});

    Label5 = new ClickableLabel(WebAddress, this, [this] { Label5Click(); });
    place(Label5, u"Label5"_s, {24, 31});

    // Unlike the rest of the box, the e-mail address keeps the system's text colour and paints
    // its own background.
    Label2 = new ClickableLabel(SupportAddress, this, [this] { Label2Click(); });
    QPalette systemText = Label2->palette();
    systemText.setColor(QPalette::WindowText,
                        QGuiApplication::palette().color(QPalette::WindowText));
    Label2->setPalette(systemText);
    Label2->setAutoFillBackground(true);
    place(Label2, u"Label2"_s, {192, 31});

    Label3 = new QLabel(this);
    place(Label3, u"Label3"_s, {24, 47});

    Label1 = new QLabel(LegalNotice, this);
    Label1->setObjectName(u"Label1"_s);
    Label1->setWordWrap(true);
    Label1->setGeometry(24, 60, LegalNoticeWidth, Label1->heightForWidth(LegalNoticeWidth));

    Button1 = new QPushButton(u"OK"_s, this);
    Button1->setObjectName(u"Button1"_s);
    Button1->setGeometry(320, 89, 81, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &Tabout::Button1Click);
}

void Tabout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The window system reports its own showings too (once mapped, or back from minimised);
    // only the program's showing counts.
    if (event->spontaneous())
        return;
    FormShow();
    // A dialog opens over its parent; this box opens in the middle of the screen, its frame
    // included.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    QRect outer(QPoint(), size().grownBy(frame));
    outer.moveCenter(screen()->availableGeometry().center());
    move(outer.topLeft());
}

void Tabout::keyPressEvent(QKeyEvent *event)
{
    // The box has no cancel button, so the key that cancels a dialog does nothing here. reject()
    // itself stays: the title-bar close button goes through it.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tabout::FormShow()
{
    Label3->setText(NoticeText + m_today().toString(u"yyyy"_s));
    Label3->adjustSize();
}

// Whether a browser or mail program took the address is not looked at: without one, nothing
// happens.
void Tabout::Label5Click()
{
    QDesktopServices::openUrl(QUrl(WebAddress));
}

void Tabout::Label2Click()
{
    QDesktopServices::openUrl(QUrl(u"mailto:"_s + SupportAddress));
}

void Tabout::Button1Click()
{
    accept();
}
