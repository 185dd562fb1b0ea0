#pragma once

// fileReason: the file layer's failure as a short Japanese text, so no English text of Qt or of
// the C++ library reaches the user.

#include <QFileDevice>
#include <QString>

#include <system_error>

namespace tolvan::logfile {

QString fileReason(QFileDevice::FileError error);
QString fileReason(const std::error_code& error);

} // namespace tolvan::logfile
