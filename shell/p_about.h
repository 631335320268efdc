#pragma once

#include <QDate>
#include <QDialog>

#include <functional>

class QKeyEvent;
class QLabel;
class QPushButton;
class QShowEvent;

// The About box: the product name, the maker's web and e-mail addresses, a notice stamped with
// the current year and the legal notice. Created once and shown modally on each command.
class Tabout : public QDialog
{
    Q_OBJECT

public:
    using Clock = std::function<QDate()>;

    // today gives the date whose year the notice shows; tests hand in one of their own.
    explicit Tabout(QWidget *parent = nullptr, Clock today = &QDate::currentDate);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    void Label5Click();
    void Label2Click();
    void Button1Click();

    Clock m_today;
    QLabel *Label8 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Button1 = nullptr;
};
