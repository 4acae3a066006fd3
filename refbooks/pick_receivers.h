#pragma once

#include <QString>

namespace data { class Dataset; }

// What a reference-book list hands back in picker mode to the window that opened it. The opener
// passes itself when it opens the picker; the list calls it once the user has chosen.

class WorkerPickReceiver {
public:
    virtual ~WorkerPickReceiver() = default;
    virtual void receiveWorker(const QString& fio, qint64 id) = 0;
};

class ProductPickReceiver {
public:
    virtual ~ProductPickReceiver() = default;
    virtual void receiveProduct(const QString& marka, qint64 id) = 0;
};

class OperationKindPickReceiver {
public:
    virtual ~OperationKindPickReceiver() = default;
    virtual void receiveOperationKind(const QString& vid, qint64 id) = 0;
};

// The price list hands back its current row: the priced operation with its product, its kind, its
// product type and its lowest norm price.
class OperationPickReceiver {
public:
    virtual ~OperationPickReceiver() = default;
    virtual void receiveOperation(const data::Dataset& oper) = 0;
};
