#pragma once

#include <QString>
#include <stdexcept>

namespace data {

// A failure reported by the database or by the connection to it. The message is what the user is
// told: the server's own words for a refusal it words itself, a Russian account of a refusal by a
// reference, libpq's text when the server could not be reached. The server's whole text, with
// its severity, detail and context lines, is kept beside it for the program's log.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, const QString& serverText = {})
        : std::runtime_error(message.toStdString()), message_(message),
          serverText_(serverText.isEmpty() ? message : serverText) {}
    const QString& message() const { return message_; }
    const QString& serverText() const { return serverText_; }

private:
    QString message_;
    QString serverText_;
};

}  // namespace data
