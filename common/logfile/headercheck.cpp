#include "common/logfile/headercheck.h"

#include "common/cp932.h"

namespace tolvan::logfile {

std::optional<Message> modelMismatch(std::uint32_t modelCode) {
    switch (modelCode) {
    case 2:
        return errorMessage(
            QStringLiteral("接続モデルはZX-VA100ですが、読み込みファイルはZX-VA100用ではありません"));
    case 3:
        return errorMessage(
            QStringLiteral("接続モデルはZX-VA150ですが、読み込みファイルはZX-VA150用ではありません"));
    case 4:
        return errorMessage(
            QStringLiteral("接続モデルはZX-VA150(C)ですが、読み込みファイルはZX-VA150(C)用ではありません"));
    default:
        return std::nullopt;
    }
}

bool headerMatches(QByteArrayView line, const QString& headerField) {
    if (headerField.isEmpty()) {
        return true;
    }
    return line == encodeCp932(QLatin1Char('"') + headerField + QLatin1Char('"')).bytes;
}

} // namespace tolvan::logfile
