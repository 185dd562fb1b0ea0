#include "common/logfile/logfilekind.h"

#include "common/cp932.h"
#include "common/logfile/logfilenames.h"
#include "common/modelnames.h"

#include <algorithm>

namespace tolvan::logfile {

QString LogFileKind::extension() const {
    return QStringLiteral("jv%1").arg(m_number);
}

QString LogFileKind::filter() const {
    return QStringLiteral("ﾛｸﾞﾌｧｲﾙ%1(*.jv%1)").arg(m_number);
}

QString LogFileKind::headerField(std::uint32_t modelCode) const {
    const QString model = QString::fromLatin1(modelNameOf(modelCode));
    if (model.isEmpty()) {
        return {};
    }
    return model + QStringLiteral("ログファイル") + QString::number(m_number);
}

bool LogFileKind::headerMatches(QByteArrayView line, std::uint32_t modelCode) const {
    const QString field = headerField(modelCode);
    if (field.isEmpty()) {
        return true;
    }
    return line == encodeCp932(QLatin1Char('"') + field + QLatin1Char('"')).bytes;
}

std::optional<std::uint32_t> LogFileKind::modelOfHeader(QByteArrayView line) const {
    for (const std::uint32_t model : {kModelVa100, kModelVa150, kModelVa150C}) {
        if (headerMatches(line, model)) {
            return model;
        }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> LogFileKind::modelOfFile(QByteArrayView file) const {
    // Only the first line is split: a header is one short line.
    const qsizetype prefix = std::min(file.size(), maxLineBytes() + 2);
    return modelOfHeader(LineTable(file.first(prefix), 1, maxLineBytes()).line(1));
}

std::optional<Message> LogFileKind::modelMismatch(std::uint32_t modelCode) const {
    const QString connected = QString::fromLatin1(modelNameOf(modelCode));
    if (connected.isEmpty()) {
        return std::nullopt;
    }
    const QString fileModel = modelCode == kModelVa150C && m_mismatchName == MismatchName::Board
                                  ? QStringLiteral("ZX-VA150(B)")
                                  : connected;
    return errorMessage(QStringLiteral("接続モデルは%1ですが、読み込みファイルは%2用ではありません")
                            .arg(connected, fileModel));
}

QString LogFileKind::saveName(const QString& chosen) const {
    return logfile::saveName(chosen, extension());
}

QString LogFileKind::openName(const QString& chosen) const {
    return logfile::openName(chosen, extension());
}

LoadedFile LogFileKind::load(const QString& chosen) const {
    return loadChosen(chosen, extension(), maxFileBytes());
}

LoadedFile LogFileKind::loadExact(const QString& path) const {
    return logfile::loadExact(path, maxFileBytes());
}

LineTable LogFileKind::lines(QByteArrayView file) const {
    return {file, maxLines(), maxLineBytes()};
}

const LogFileKind* logFileKind(int number) {
    static constexpr const LogFileKind* kKinds[] = {&kLogFile1, &kLogFile2, &kLogFile3, &kLogFile4};
    return number >= 1 && number <= 4 ? kKinds[number - 1] : nullptr;
}

} // namespace tolvan::logfile
