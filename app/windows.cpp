#include "app/windows.h"

#include "app/login_window.h"
#include "app/version_check.h"
#include "journal/journal_window.h"
#include "journal/record_editor.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_kind_editor.h"
#include "refbooks/operation_kind_list.h"
#include "refbooks/price_editor.h"
#include "refbooks/price_list.h"
#include "refbooks/product_editor.h"
#include "refbooks/product_list.h"
#include "refbooks/worker_editor.h"
#include "refbooks/worker_list.h"
#include "reports/detailed_products_report_layout.h"
#include "reports/detailed_workers_report_layout.h"
#include "reports/products_report_layout.h"
#include "reports/summary_reports_window.h"
#include "reports/workers_report_layout.h"
#include "timesheet/timesheet_print_layout.h"
#include "timesheet/timesheet_window.h"
#include "ui/guard.h"
#include "utility/nomenclature_picker.h"
#include "utility/utility_entry_window.h"
#include "utility/utility_works_window.h"

#include <QScopeGuard>
#include <QTimer>

template <class Window> Window* Windows::create(Window*& slot) {
    auto window = std::make_unique<Window>(roster);
    slot = window.get();
    owned_.push_back(std::move(window));
    return slot;
}

Windows::Windows(TDataModule6& dataModule) {
    roster.DataModule6 = &dataModule;
    create(roster.Form1);
    create(roster.Form23);
    create(roster.Form2);
    create(roster.Form3);
    create(roster.Form4);
    create(roster.Form5);
    create(roster.Form7);
    create(roster.Form8);
    create(roster.Form9);
    create(roster.Form10);
    create(roster.Form11);
    create(roster.Form18);
    create(roster.Form19);
    create(roster.Form21);
    create(roster.Form15);
    create(roster.Form16);
    create(roster.Form17);
    create(roster.Form20);
    create(roster.Form22);
    create(roster.Form24);
    create(roster.Form25);
    create(roster.Form26);

    QObject::connect(roster.Form1->Timer1, &QTimer::timeout, roster.Form1, [this] { versionCheckTick(); });
}

// A check whose message is open waits in that box's event loop while the timer goes on ticking:
// while the server is away, the ticks would pile one box on another. A tick finds the check still
// running and lets it be; once the box is closed the next tick checks again.
void Windows::versionCheckTick() {
    if (versionCheckRunning_) return;
    versionCheckRunning_ = true;
    const auto done = qScopeGuard([this] { versionCheckRunning_ = false; });
    ui::guarded([this] { VersionCheck(roster); })();
}

// Windows go in the reverse order of their creation.
Windows::~Windows() {
    while (!owned_.empty()) owned_.pop_back();
}
