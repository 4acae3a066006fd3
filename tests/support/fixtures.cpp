#include "tests/support/fixtures.h"

#include "data/connection.h"
#include "data/dataset.h"

namespace testing_support {

QVariant Fixtures::insert(const QString& sql, const QVariantList& values) {
    data::Dataset dataset(connection_, sql + QStringLiteral(" returning id"));
    for (int i = 0; i < values.size(); ++i) dataset.setParam(QStringLiteral("p%1").arg(i), values[i]);
    dataset.open();
    return dataset.value(0, 0);
}

int Fixtures::worker(const QString& fio, const QString& position) {
    return insert(QStringLiteral("insert into accounts_dep.person (fio, s_staffpos_hl) values (:p0, :p1)"),
                  {fio, position}).toInt();
}

qint64 Fixtures::group(const QString& caption) {
    static qint64 next = 100;
    return insert(QStringLiteral("insert into cmn_classifier.item (id, id_level, s_caption) values (:p0, 2, :p1)"),
                  {++next, caption}).toLongLong();
}

qint64 Fixtures::product(const QString& marka, double massa, qint64 group) {
    return insert(QStringLiteral(
                      "insert into cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, "
                      "massa, id_class_item) values (:p0, '', 6, :p1, :p2)"),
                  {marka, massa, group ? QVariant(group) : QVariant()}).toLongLong();
}

int Fixtures::kind(const QString& name) {
    return insert(QStringLiteral("insert into accounts_dep.vid_oper (vid) values (:p0)"), {name}).toInt();
}

int Fixtures::oper(int kind, qint64 product, int naimen) {
    return insert(QStringLiteral(
                      "insert into accounts_dep.oper (vid, naimen, i_id, cena_new) values (:p0, :p1, :p2, 0)"),
                  {kind, naimen, product}).toInt();
}

void Fixtures::norm(int oper, double price, int norma) {
    insert(QStringLiteral("insert into accounts_dep.norm (o_id, norma, price, prize) values (:p0, :p1, :p2, 0)"),
           {oper, norma, price});
}

int Fixtures::record(const Record& r) {
    return insert(QStringLiteral(
                      "insert into accounts_dep.smena (data, smena, w_id, i_id, o_id, cena, kol_vo, brak, "
                      "color, time, ok, vvod, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, "
                      "id_cons_use) values (:p0, :p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8, :p9, :p10, :p0::date, "
                      "0, 0, 0, 0, 0, 0)"),
                  {r.day, r.shift, r.worker, r.product, r.oper, r.cena, r.kolvo, r.brak, r.color,
                   r.time, r.ok}).toInt();
}

Fixtures::Basics Fixtures::basics(const QString& fio) {
    const int w = worker(fio);
    const qint64 p = product(QStringLiteral("ШК-120"));
    const int o = oper(kind(QStringLiteral("Сборка")), p);
    return {w, p, o};
}

}  // namespace testing_support
