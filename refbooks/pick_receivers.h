#pragma once

#include "data/decimal.h"

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

// The price list hands back the chosen priced operation: its product, its own id, its price per
// piece (the lowest of its norm prices, doubled on a day off, then raised by 20 % in shift 3 or by
// 50 % in overtime, exactly: 10 becomes 24 on a day off in shift 3) and the text that names it,
// "mark; kind; type" ("ШК-120; Сварка; Готовая продукция").
class OperationPickReceiver {
public:
    virtual ~OperationPickReceiver() = default;
    virtual void receiveOperation(qint64 productId, qint64 operationId, const data::Decimal& finalPrice,
                                  const QString& text) = 0;
};
