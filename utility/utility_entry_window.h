#pragma once

#include "data/dataset.h"
#include "data/decimal.h"
#include "refbooks/pick_receivers.h"
#include "ui/form.h"
#include "utility/nomenclature_picker.h"

#include <optional>

class QLineEdit;
class QPushButton;
struct Roster;
class TDataModule6;
namespace ui { class LookupBox; }

// The entry of one utility work: worker, nomenclature group, kind, hours and the kind's price
// per hour. It adds a work on the list's date or changes the list's current work; the list sets
// its mode and fields before each use and opens type_work while it is shown.
class TForm24 : public ui::Form, public WorkerPickReceiver, public NomenclaturePickReceiver {
    Q_OBJECT

public:
    explicit TForm24(Roster& roster);

    enum Mode { AddMode = 0, ChangeMode = 1 };

    QLineEdit* Edit1;              // the worker's name
    QPushButton* Button3;          // "..." picks the worker
    QLineEdit* Edit2;              // the nomenclature group's name
    QPushButton* Button4;          // "..." picks the nomenclature group
    ui::LookupBox* cb_type_work;   // the kind: 7777 or 7778
    QLineEdit* Edit6;              // hours
    QLineEdit* DBEdit1;            // the kind's price per hour
    QLineEdit* DBEdit2;            // price times hours
    QPushButton* Button1;          // "Записать"
    QPushButton* Button6;          // "Выход"

    // The two utility work kinds with the price per hour of their norms.
    data::Dataset type_work;

    qint64 nomenclatureId = 0;   // 0 = no group chosen
    qint64 workerId = 0;         // 0 = no worker chosen

    // What the list hands over to change one of its works.
    struct Work {
        QString fio;
        QString nomenclature;
        QString hours;
        qint64 nomenclatureId = 0;
        qint64 workerId = 0;
        qint64 kind = 0;
        qint64 id = 0;   // the work itself
    };
    void prepareForNew();
    void prepareForChange(const Work& work);

    void receiveWorker(const QString& fio, qint64 id) override;
    void receiveNomenclature(const QString& caption, qint64 id) override;

    void Button1Click();   // save
    void Button3Click();   // pick the worker
    void Button4Click();   // pick the nomenclature group

private:
    void buildControls();
    void fill(const Work& work);
    void followChosenKind();
    void showPriceAndSum();
    std::optional<data::Decimal> chosenKindPrice() const;
    QString insertSql(qint64 kind, qint64 hours, const data::Decimal& price) const;
    QString updateSql(qint64 kind, qint64 hours, const data::Decimal& price) const;

    Roster& roster_;
    TDataModule6& dm_;
    // The work being changed, fixed when the window opens: the list's current row may be another
    // work by the time "Записать" is pressed.
    qint64 changedWorkId_ = 0;
};
