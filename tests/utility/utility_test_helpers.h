#pragma once

// The rows utility works need, and the three windows reached by their names.

#include "data/sql_text.h"
#include "refbooks/worker_list.h"
#include "tests/refbooks/refbook_test_helpers.h"
#include "tests/support/program_fixture.h"
#include "utility/nomenclature_picker.h"
#include "utility/utility_entry_window.h"
#include "utility/utility_works_window.h"

#include <optional>

namespace utility_tests {

class UtilityTest : public testing_support::ProgramTest {
protected:
    TForm25& list() { return *roster.Form25; }
    TForm24& entry() { return *roster.Form24; }
    TForm26& picker() { return *roster.Form26; }

    void exec(const QString& sql) { testing_support::exec(dm->ADO_DB, sql); }
    QVariant scalar(const QString& sql) { return testing_support::scalar(dm->ADO_DB, sql); }

    // The two utility work kinds over product 7777, each priced by one norm; a kind given no
    // price has no norm, so the entry finds no price for it.
    void utilityKinds(std::optional<QString> price7777 = QStringLiteral("150"),
                      std::optional<QString> price7778 = QStringLiteral("120")) {
        exec(QStringLiteral("insert into accounts_dep.vid_oper (id, vid) values "
                            "(7777, 'Хоз. работы'), (7778, 'Хоз. работы (среднесдельная)');"
                            "insert into cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, "
                            "massa) values (7777, 'Хоз. работы', '', 6, 0)"));
        for (const auto& [kind, price] : {std::pair{7777, price7777}, std::pair{7778, price7778}}) {
            const int oper = fixtures.oper(kind, 7777);
            if (price)
                exec(QStringLiteral("insert into accounts_dep.norm (o_id, norma, price, prize) values (%1, 1, %2, 0)")
                         .arg(oper)
                         .arg(*price));
        }
    }

    struct Work {
        int worker;
        qint64 group;
        int kind = 7777;
        QDate day;
        int hours = 8;
        QString price = QStringLiteral("150");
        int shift = 1;
        std::optional<std::pair<int, int>> monthYear = std::nullopt;   // the day's own when not given
    };
    int work(const Work& w) {
        const auto [month, year] = w.monthYear.value_or(std::pair{w.day.month(), w.day.year()});
        return scalar(QStringLiteral("insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, "
                                     "i_year, i_smena, cnt, price) values (%1, %2, %3, %4, %5, %6, %7, %8, %9) "
                                     "returning id")
                          .arg(sql::integer(w.group), sql::integer(w.kind), sql::integer(w.worker),
                               sql::text(sql::date(w.day)), sql::integer(month), sql::integer(year),
                               sql::integer(w.shift), sql::integer(w.hours), w.price))
            .toInt();
    }

    // One column of a work, read back as text.
    QString workColumn(int id, const QString& column) {
        return scalar(QStringLiteral("select %1::text from accounts_dep.fatigue where id=%2").arg(column).arg(id))
            .toString();
    }
    int workCount() { return scalar(QStringLiteral("select count(*) from accounts_dep.fatigue")).toInt(); }

    void expectWindow(const char* name, std::function<void()> user) {
        ui.modal.expect(QString::fromLatin1(name), [user = std::move(user)](ui::Form&) { user(); });
    }

    // The worker list as picker: the user chooses the worker named `fio`.
    void expectWorkerChosen(const QString& fio) {
        expectWindow("Form5", [this, fio] {
            data::Dataset& workers = dm->Workers;
            const int column = workers.columnIndex(QStringLiteral("fio"));
            for (int row = 0; row < workers.recordCount(); ++row)
                if (workers.value(row, column).toString().trimmed() == fio) workers.setRecNo(row + 1);
            ASSERT_EQ(workers.field(QStringLiteral("fio")).asString().trimmed(), fio);
            refbook_tests::click(*roster.Form5, "Button2");
        });
    }

    // The nomenclature picker: the user searches for `prefix` and chooses the first item found.
    void expectGroupChosen(const QString& prefix) {
        expectWindow("Form26", [this, prefix] {
            picker().Edit1->setText(prefix);
            picker().Button1->click();
        });
    }

    // The statements that wrote to the utility works.
    static QStringList fatigueWrites(const testing_support::StatementLog& log) {
        QStringList out;
        for (const QString& text : log.texts())
            if (!text.startsWith(QStringLiteral("select"), Qt::CaseInsensitive) &&
                text.contains(QStringLiteral("accounts_dep.fatigue")))
                out << text;
        return out;
    }
};

}  // namespace utility_tests
