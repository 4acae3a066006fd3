#include "timesheet/timesheet_columns.h"

#include <QApplication>
#include <QDate>
#include <QPalette>

namespace timesheet {

namespace {

QColor windowText() { return QApplication::palette().color(QPalette::WindowText); }
QColor windowBackground() { return QApplication::palette().color(QPalette::Window); }

// Sunday 1 .. Saturday 7.
int weekdayNumber(const QDate& day) { return day.dayOfWeek() % 7 + 1; }

}  // namespace

QList<ui::GridColumn> gridColumns(bool withEarnings) {
    QList<ui::GridColumn> columns{{QStringLiteral("Фамилия И. О."), QStringLiteral("fio"), 208}};
    for (int day = 1; day <= 31; ++day)
        columns << ui::GridColumn{QString::number(day), QStringLiteral("d%1").arg(day), 20, Qt::AlignCenter};
    columns << ui::GridColumn{QStringLiteral("Итого"), QStringLiteral("summ"), 47};
    if (withEarnings) {
        columns << ui::GridColumn{QStringLiteral("Ср. сдел."), QStringLiteral("average_price")};
        columns << ui::GridColumn{QStringLiteral("Цена всего"), QStringLiteral("cena_all")};
    }
    return columns;
}

int dayOf(const ui::GridColumn& column) {
    if (!column.field.startsWith(u'd')) return 0;
    bool number = false;
    const int day = column.field.mid(1).toInt(&number);
    return number && day >= 1 && day <= 31 ? day : 0;
}

void markMonth(QList<ui::GridColumn>& columns, int month, int year) {
    const QDate first(year, month, 1);
    const int days = first.daysInMonth();
    const int w = weekdayNumber(first);
    for (ui::GridColumn& column : columns) {
        const int n = dayOf(column);
        if (n == 0) continue;
        if (n <= days) {
            const int r = (n + w) % 7;
            column.color = r == 1 || r == 2 ? weekendRed : windowText();
            column.titleColor = column.color;
            column.readOnly = false;
        } else {
            column.color = windowBackground();
            column.titleColor = silver;
            column.readOnly = true;
        }
    }
}

void styleCell(const QVariant& value, const ui::GridColumn& column, ui::CellStyle& style) {
    if (column.field == QLatin1String("summ")) {
        style.bold = true;
        style.background = totalBlue;
        return;
    }
    if (dayOf(column) == 0) return;
    const int v = value.toInt();   // an empty day reads 0
    const bool weekend = column.color == weekendRed;
    if (v == 0) {
        if (!weekend) style.text = silver;
        if (column.readOnly) style.text = windowBackground();
    } else if (v == 8) {
        style.bold = true;
        if (!weekend) style.text = windowText();
    } else if (v > 8) {
        style.bold = true;
        style.background = longDayGreen;
    }
}

}  // namespace timesheet
