#include "ui/guard.h"

#include "data/db_error.h"
#include "ui/dialogs.h"

#include <QString>

namespace ui {

void runGuarded(const std::function<void()>& operation) noexcept {
    try {
        operation();
    } catch (const data::DbError& e) {
        dialogs().standardError(e.message());
    } catch (const std::exception& e) {
        dialogs().standardError(QString::fromUtf8(e.what()));
    } catch (...) {
        dialogs().standardError(QString());
    }
}

}  // namespace ui
