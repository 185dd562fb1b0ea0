#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace tolvan::app {

// Tolvan --simulate MODEL: a virtual handset of the named model ("ZX-VA100", "ZX-VA150",
// "ZX-VA150(C)") listed for port discovery, with tolvan-sim's fault rules armed from the start,
// and the demo's control window that owns it. Null with a reason where the demo cannot run (it
// needs a pseudo-terminal) or a rule does not parse.
std::unique_ptr<QWidget> startDemo(const QString& modelName, const QStringList& faults, QString* error);

} // namespace tolvan::app
