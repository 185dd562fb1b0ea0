#pragma once

class QCoreApplication;

namespace tolvan {

// Loads Qt's own Japanese translation (qtbase_ja from the Qt translations folder), so standard
// buttons and Qt's file and print dialogs speak the language of the rest of the tool. False
// when the translation is not installed; the tool then works on with Qt's English.
bool installQtJapanese(QCoreApplication& app);

} // namespace tolvan
