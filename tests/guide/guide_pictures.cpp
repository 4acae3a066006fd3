// Takes the pictures of the user's guide in the README (scripts/guide-pictures.sh runs it).
//
// The whole program runs on the demo database named by TABEL_TEST_PGHOST, TABEL_TEST_PGPORT and
// TABEL_TEST_PGDATABASE, and a scripted user walks through its own windows as the unrestricted
// role: every main window is grabbed while it is shown, with its caption drawn above it (no
// window manager draws one here), and written as a PNG into the folder given as argument 1.
// Nothing is written to the database but the build stamp the login's version check keeps.
//
// Usage: guide_pictures OUTPUT_FOLDER

#include "app/login_window.h"
#include "app/windows.h"
#include "data/data_module.h"
#include "journal/journal_window.h"
#include "refbooks/price_list.h"
#include "reports/summary_reports_window.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_database.h"
#include "timesheet/timesheet_window.h"
#include "ui/clock.h"
#include "ui/data_grid.h"
#include "ui/form.h"
#include "utility/utility_works_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGraphicsView>
#include <QImageWriter>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <cstdio>
#include <exception>

namespace {

using testing_support::ScriptedUi;

// Grabs shown windows into the output folder and counts what went wrong.
class Camera {
public:
    explicit Camera(const QDir& folder) : folder_(folder) {}

    // The window as a user sees it: its caption in a title bar, then its client area.
    void take(QWidget& window, const QString& name) {
        QApplication::processEvents();
        const QPixmap client = window.grab();
        const int bar = 26;
        QImage picture(client.width(), client.height() + bar, QImage::Format_RGB32);
        picture.fill(QColor(0x1f, 0x5f, 0x99));
        QPainter painter(&picture);
        painter.drawPixmap(0, bar, client);
        QFont font = window.font();
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(8, 0, client.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft,
                         window.windowTitle());
        painter.end();

        const QString path = folder_.filePath(name + QStringLiteral(".png"));
        QImageWriter writer(path, "png");
        writer.setQuality(0);   // the strongest compression
        if (!writer.write(picture)) fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
        else std::printf("%s %dx%d\n", qPrintable(path), picture.width(), picture.height());
        taken_ << name;
    }

    void fail(const QString& what) {
        std::fprintf(stderr, "guide_pictures: %s\n", qPrintable(what));
        ++failures_;
    }

    const QStringList& taken() const { return taken_; }
    int failures() const { return failures_; }

private:
    QDir folder_;
    QStringList taken_;
    int failures_ = 0;
};

// The preview opens maximised on the screen; the picture wants the top of the first page, large
// enough to be read.
void sizePreview(QWidget& preview) {
    preview.setWindowState(Qt::WindowNoState);
    preview.resize(900, 700);
    QApplication::processEvents();
    if (auto* pages = preview.findChild<QGraphicsView*>()) pages->verticalScrollBar()->setValue(0);
}

// Makes current the priced operation with the most norms, so its norms window shows several.
void chooseOperationWithMostNorms(data::Dataset& operations) {
    int best = 1;
    qint64 most = 0;
    for (int row = 1; row <= operations.recordCount(); ++row) {
        operations.setRecNo(row);
        const qint64 norms = operations.field(QStringLiteral("norma")).asInteger();
        if (norms > most) {
            most = norms;
            best = row;
        }
    }
    operations.setRecNo(best);
}

// The walk through the program, window by window, each shown by the program's own buttons and
// menus. `ui.modal` plays each window as it comes up: grab it, open what it opens, close it.
void walk(Roster& roster, ScriptedUi& ui, Camera& camera) {
    auto grab = [&camera](const QString& name) {
        return [&camera, name](ui::Form& form) { camera.take(form, name); };
    };

    ui.modal.expect(QStringLiteral("Form1"), [&](ui::Form& journal) {
        camera.take(journal, QStringLiteral("journal"));
        TForm1& form1 = *roster.Form1;

        ui.modal.expect(QStringLiteral("Form11"), grab(QStringLiteral("record-editor")));
        form1.Button2->click();

        ui.modal.expect(QStringLiteral("Form5"), grab(QStringLiteral("workers")));
        form1.N1->trigger();
        ui.modal.expect(QStringLiteral("Form3"), grab(QStringLiteral("products")));
        form1.N3->trigger();
        ui.modal.expect(QStringLiteral("Form8"), grab(QStringLiteral("operation-kinds")));
        form1.N6->trigger();

        ui.modal.expect(QStringLiteral("Form4"), [&](ui::Form& prices) {
            camera.take(prices, QStringLiteral("prices"));
            // With "Цены" ticked a double-click opens the norms of the operation.
            TForm4& form4 = *roster.Form4;
            form4.CheckBox1->setChecked(true);
            chooseOperationWithMostNorms(roster.DataModule6->Oper);
            ui.modal.expect(QStringLiteral("Form22"), grab(QStringLiteral("norms")));
            emit form4.DBGrid1->dblClick();
            form4.CheckBox1->setChecked(false);
        });
        form1.N4->trigger();

        ui.modal.expect(QStringLiteral("Form19"), [&](ui::Form& timesheet) {
            camera.take(timesheet, QStringLiteral("timesheet"));
            ui.modal.expect(QStringLiteral("Preview"), [&](ui::Form& preview) {
                sizePreview(preview);
                camera.take(preview, QStringLiteral("timesheet-print"));
            });
            roster.Form19->Button6->click();
        });
        form1.N11->trigger();

        ui.modal.expect(QStringLiteral("Form18"), [&](ui::Form& reports) {
            camera.take(reports, QStringLiteral("reports"));
            ui.modal.expect(QStringLiteral("Preview"), [&](ui::Form& preview) {
                sizePreview(preview);
                camera.take(preview, QStringLiteral("report-preview"));
            });
            roster.Form18->Button4->click();
        });
        form1.N10->trigger();

        ui.modal.expect(QStringLiteral("Form25"), [&](ui::Form& works) {
            camera.take(works, QStringLiteral("utility-works"));
            ui.modal.expect(QStringLiteral("Form24"), grab(QStringLiteral("utility-entry")));
            roster.Form25->Button2->click();
        });
        form1.Button5->click();
    });

    TForm23& login = *roster.Form23;
    login.show();
    login.Edit1->setText(QStringLiteral("61730482"));
    camera.take(login, QStringLiteral("login"));
    login.Button1->click();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: guide_pictures OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "guide_pictures: cannot make %s\n", argv[1]);
        return 1;
    }

    Camera camera(folder);
    try {
        ScriptedUi ui;
        ::ui::setToday(QDate());   // the demo department's records are dated from the machine's today
        TDataModule6 dataModule(testing_support::testSettings());
        dataModule.ADO_DB.open();
        Windows windows(dataModule);
        walk(windows.roster, ui, camera);

        if (!ui.modal.allPlayed()) camera.fail(QStringLiteral("a window of the walk was never shown"));
        if (!ui.modal.mismatches().isEmpty())
            camera.fail(QStringLiteral("shown out of turn: ") + ui.modal.mismatches().join(u','));
        for (const auto& shown : ui.dialogs.shown())
            camera.fail(QStringLiteral("a message came up: ") + shown.text);
    } catch (const std::exception& e) {
        camera.fail(QString::fromUtf8(e.what()));
    }
    std::printf("%lld pictures\n", static_cast<long long>(camera.taken().size()));
    return camera.failures() == 0 ? 0 : 1;
}
