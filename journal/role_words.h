#pragma once

#include <QString>

// The words typed at login. Each chooses a role for the whole run; they are compared exactly,
// letter case included, after the blanks around the typed text are removed.
namespace roles {

inline const QString planning = QStringLiteral("plivar");
inline const QString foreman = QStringLiteral("brunzel");
inline const QString storekeeper = QStringLiteral("tovik");
inline const QString unrestricted = QStringLiteral("61730482");
inline const QString unrestrictedAlt = QStringLiteral("9362");

}  // namespace roles
