#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace data { class Connection; }

namespace testing_support {

// Small rows for tests, written straight into the database.
class Fixtures {
public:
    explicit Fixtures(data::Connection& connection) : connection_(connection) {}

    int worker(const QString& fio, const QString& position = {});
    qint64 group(const QString& caption);   // a nomenclature group (classifier level 2)
    qint64 product(const QString& marka, double massa = 1, qint64 group = 0);
    int kind(const QString& name);
    int oper(int kind, qint64 product, int naimen = 0);
    void norm(int oper, double price, int norma = 100);

    struct Record {
        int worker = 0;
        qint64 product = 0;
        int oper = 0;
        QDate day;
        int shift = 1;
        int kolvo = 10;
        int brak = 0;
        double cena = 1;
        int color = 0;
        int time = 8;
        QVariant ok = QStringLiteral("no");
    };
    int record(const Record& record);

    // A worker, a product and a priced operation ready for records.
    struct Basics {
        int worker;
        qint64 product;
        int oper;
    };
    Basics basics(const QString& fio = QStringLiteral("Иванов И.И."));

private:
    QVariant insert(const QString& sql, const QVariantList& values);

    data::Connection& connection_;
};

}  // namespace testing_support
