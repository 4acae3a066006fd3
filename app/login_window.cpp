#include "app/login_window.h"

#include "app/version_check.h"
#include "data/data_module.h"
#include "journal/journal_window.h"
#include "journal/role_words.h"
#include "reports/summary_reports_window.h"
#include "ui/data_grid.h"
#include "ui/date_picker.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/modal.h"
#include "ui/quit.h"
#include "ui/radio_group.h"
#include "ui/roster.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

void disable(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) control->setEnabled(false);
}

void disable(std::initializer_list<QAction*> items) {
    for (QAction* item : items) item->setEnabled(false);
}

}  // namespace

QString loginCaption(int buildDate, int buildTime) {
    return QStringLiteral("Авторизация (build: %1.%2)").arg(buildDate).arg(buildTime);
}

TForm23::TForm23(Roster& roster)
    : ui::Form(QStringLiteral("Form23"), QStringLiteral("Авторизация")), roster_(roster) {
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Вход"));
    Button2 = ui::makeButton(this, QStringLiteral("Button2"), QStringLiteral("Отмена"));
    Button1->setDefault(true);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [] { ui::requestQuit(); });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Edit1, 1);
    layout->addWidget(Button1);
    layout->addWidget(Button2);
    resize(330, 44);

    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &TForm23::reject);
}

void TForm23::showEvent(QShowEvent* event) {
    ui::Form::showEvent(event);
    QTimer::singleShot(0, this, ui::guarded([this] { formActivate(); }));
}

void TForm23::formActivate() {
    VersionCheck(roster_);
    const TForm1& journal = *roster_.Form1;
    setWindowTitle(loginCaption(journal.buildDate, journal.buildTime));
}

bool TForm23::applyRole(const QString& word) {
    TForm1& journal = *roster_.Form1;
    TForm18& reports = *roster_.Form18;
    for (int shift = 1; shift <= 4; ++shift)
        roster_.DataModule6->smena(shift).setParam(QStringLiteral("ok"), QStringLiteral("ta"));

    if (word == roles::planning) {
        disable({journal.Button1, journal.Button2, journal.Button3, journal.RadioButton1,
                 journal.RadioButton2, journal.RadioButton3, journal.RadioButton4, journal.CBox1,
                 journal.Button8, journal.DBGrid2, journal.DateT});
        disable({journal.N2->menuAction(), journal.N11});
        return true;
    }
    if (word == roles::foreman) {
        disable({journal.Button2, journal.Button3});
        disable({journal.N2->menuAction(), journal.N11});
        disable({reports.Button1, reports.Button2, reports.Button4, reports.Button6});
        return true;
    }
    if (word == roles::storekeeper) {
        disable({journal.Button1, journal.Button2, journal.Button3});
        disable({reports.Button1, reports.Button2, reports.Button6, reports.Button4});
        disable({journal.N2->menuAction(), journal.N11});
        reports.RadioGroup1->setItemIndex(1);
        reports.RadioGroup1->setEnabled(false);
        return true;
    }
    return word == roles::unrestricted || word == roles::unrestrictedAlt;
}

void TForm23::Button1Click() {
    TForm1& journal = *roster_.Form1;
    journal.selectedShift = 1;
    const QString word = Edit1->text().trimmed();
    journal.roleWord = word;
    if (!applyRole(word)) {
        ui::showError(QStringLiteral("Введены неверные данные."));
        return;
    }
    hide();
    ui::showModal(journal);
    ui::requestQuit();
}

void TForm23::reject() {
    ui::Form::reject();
    ui::requestQuit();
}
