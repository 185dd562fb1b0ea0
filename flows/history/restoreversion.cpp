#include "flows/history/restoreversion.h"

#include <QDir>

#include <algorithm>

namespace tolvan::history {

std::variant<HandsetVersion, Message> versionToRestore(const QList<HandsetVersion>& newestFirst,
                                                       std::uint32_t psId, const QString& named) {
    if (newestFirst.isEmpty()) {
        return errorMessage(QStringLiteral("PS-ID %1 の子機の版が見つかりません。").arg(psIdText(psId)));
    }
    if (named.isEmpty()) {
        const auto newest = std::find_if(newestFirst.begin(), newestFirst.end(),
                                         [](const HandsetVersion& version) { return version.restorable(); });
        if (newest == newestFirst.end()) {
            return errorMessage(
                QStringLiteral("PS-ID %1 の子機には書き戻せる版がありません。").arg(psIdText(psId)));
        }
        return *newest;
    }
    // A set's path may be given as typed, relative or with an ending.
    const QString cleaned = QDir::cleanPath(QDir::current().absoluteFilePath(named));
    const auto it = std::find_if(newestFirst.begin(), newestFirst.end(), [&](const HandsetVersion& version) {
        if (version.id == named) {
            return true;
        }
        const QString base = QDir::cleanPath(version.base);
        return !version.isBackup() && (base == cleaned || cleaned.startsWith(base + QStringLiteral(".jv")));
    });
    if (it == newestFirst.end()) {
        return errorMessage(
            QStringLiteral("PS-ID %1 の子機に版 %2 はありません。").arg(psIdText(psId), named));
    }
    if (!it->restorable()) {
        return errorMessage(
            QStringLiteral("版 %1 は補正値のバックアップのため、書き戻しでは戻せません。").arg(it->id));
    }
    return *it;
}

QString writeBackFileOf(const HandsetVersion& version) {
    return version.file(version.has(QStringLiteral("jv1")) ? QStringLiteral("jv1") : QStringLiteral("jv4"));
}

std::optional<Message> otherHandset(std::uint32_t handsetPsId, std::uint32_t versionPsId) {
    if (handsetPsId == versionPsId) {
        return std::nullopt;
    }
    return errorMessage(
        QStringLiteral("接続されている子機のPS-ID（%1）は、この版の子機のPS-ID（%2）と異なります。")
            .arg(psIdText(handsetPsId), psIdText(versionPsId)));
}

} // namespace tolvan::history
