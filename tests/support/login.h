#pragma once

#include <QString>
#include <functional>

class TForm1;
struct Roster;

namespace testing_support {

class ScriptedUi;

// Types `word` into the login window and presses "Вход". When the word is right the journal is
// shown: `whileShown` plays the user in it, then the journal closes.
void loginAs(Roster& roster, ScriptedUi& ui, const QString& word,
             std::function<void(TForm1&)> whileShown = {});

}  // namespace testing_support
