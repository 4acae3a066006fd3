#pragma once

#include "data/connection.h"

namespace data {

// Writes that belong together: begun when constructed, rolled back when the object leaves its
// scope without commit() (an error thrown halfway leaves nothing of them applied). A connection
// lost inside one ends it with an error; it is never reset and nothing is sent again.
class Transaction {
public:
    explicit Transaction(Connection& connection) : connection_(connection) {
        connection_.beginTransaction();
    }
    ~Transaction() {
        if (!ended_) connection_.rollbackTransaction();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit() {   // throws DbError when the server did not commit
        ended_ = true;
        connection_.commitTransaction();
    }

private:
    Connection& connection_;
    bool ended_ = false;
};

}  // namespace data
