#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
namespace data { class Dataset; }

namespace ui {

// The search box under a reference-book list. Each change of its text narrows the rows already
// read to those whose `field` begins with the text (letter case ignored, every typed character
// literal); an empty text shows all rows. With Match::Contains the field contains the text
// anywhere, and a text of blanks alone shows all rows. Up and Down move the list's current row
// instead of the cursor. With `onlyTyping`, every other key that types nothing is discarded as
// well, so only typed characters and Backspace change the text.
class PrefixSearch : public QObject {
    Q_OBJECT

public:
    enum class Match { Prefix, Contains };

    PrefixSearch(QLineEdit* box, data::Dataset& dataset, QString field, bool onlyTyping,
                 Match match = Match::Prefix);

    // The filter text for a search text: fio like 'Ив%', or marka like '%12%'.
    static QString filterFor(const QString& field, const QString& text, Match match = Match::Prefix);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search(const QString& text);

    QLineEdit* box_;
    data::Dataset& dataset_;
    QString field_;
    bool onlyTyping_;
    Match match_;
};

}  // namespace ui
