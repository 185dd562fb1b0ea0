#pragma once

class QDialog;

namespace tolvan::app {

// Runs a dialog modally until it is finished (accept, reject, done) and returns its result.
// Unlike QDialog::exec(), hiding the dialog does not end the run: a window that hides itself
// while it opens another dialog (a read under the progress dialog, a file dialog) must still be
// there afterwards.
int runModal(QDialog& dialog);

} // namespace tolvan::app
