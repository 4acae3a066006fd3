#pragma once

#include <QString>
#include <stdexcept>

namespace data {

// A failure reported by the database or by the connection to it. The message is the server's own
// text (or libpq's, when the server could not be reached), shown to the user as it stands.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

}  // namespace data
