#pragma once

#include "data/command.h"
#include "data/connection.h"
#include "data/dataset.h"

#include <QString>

// The shared data module: the one connection of the run and the datasets and commands that the
// windows share. Windows reach it through the one instance the start-up creates.
class TDataModule6 {
public:
    explicit TDataModule6(data::ConnectionSettings settings = {});

    data::Connection ADO_DB;

    // The database's decimal separator, read from accounts_dep.ver by every version check;
    // empty until the first one.
    QString Delim;

    data::Dataset Workers;
    data::Dataset Izdel;
    data::Dataset Oper;
    data::Dataset Vid_oper;
    data::Dataset Smena1;
    data::Dataset Smena2;
    data::Dataset Smena3;
    data::Dataset Smena4;
    data::Dataset H_Tabel_1;
    data::Dataset H_Tabel_2;
    data::Dataset H_Tabel_3;

    data::Command Oper_ins;
    data::Command Oper_ed;
    data::Command Oper_del;

    // Scratch components: each user replaces the text before running them.
    data::Dataset Control;
    data::Command DelSmena;
    data::Command H_Tabel_ins;
    data::Command SQL_exec;

    // The shift dataset of shift 1..4; any other number means shift 1.
    data::Dataset& smena(int shift);

    // Runs `sql`, which returns one row with an integer column cnt. When the count is above zero,
    // shows `message` as an error and returns 1 (a duplicate exists); otherwise returns 0.
    int CountCheck(const QString& sql, const QString& message);

    // A number as the user typed it with its decimal separator (the first comma, or else the
    // first point) replaced by Delim.
    QString ConvertDecimalSeparator(const QString& text) const;
};
