#include "flows/provision/provisiontemplate.h"

#include "common/cp932.h"
#include "common/logfile/logfileio.h"
#include "common/logfile/logfilekind.h"
#include "common/logline.h"
#include "common/modelnames.h"
#include "modes/datasave/model/savesetnames.h"
#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/logfile1imagereader.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/logfile4imagereader.h"
#include "modes/psent/model/logfile4writer.h"

#include <QFileInfo>

namespace tolvan::provision {
namespace {

using dataset::LogFile1Format;
using dataset::LogItem;
using psent::Log4Line;
using psent::LogFile4Format;

constexpr qsizetype kMaxFields = 64;

QList<QByteArray> splitLines(const QByteArray& file) {
    QList<QByteArray> lines = file.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

QString firstFieldOf(const QByteArray& line) {
    const QList<QByteArray> tokens = tokenizeLogLine(line, kMaxFields);
    return tokens.isEmpty() ? QString() : decodeCp932(tokens.first()).text.trimmed();
}

std::uint32_t modelOfHeader(const QByteArray& file, bool logFile1) {
    const logfile::LogFileKind& kind = logFile1 ? logfile::kLogFile1 : logfile::kLogFile4;
    return kind.modelOfFile(file).value_or(0);
}

// The lines of log file 1 a write-back leaves as the handset holds them.
bool notWrittenBack(LogItem item) {
    return item == dataset::ItemVersion || item == dataset::ItemRxGain || item == dataset::ItemFaultCode ||
           item == dataset::ItemMemo;
}

} // namespace

QByteArray replaceLogLine(const QByteArray& file, const QString& label, const QStringList& fields) {
    QList<QByteArray> lines = splitLines(file);
    const QString wanted = label.trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (firstFieldOf(lines[i]) != wanted) {
            continue;
        }
        const QString original = decodeCp932(tokenizeLogLine(lines[i], kMaxFields).first()).text;
        const Cp932Encoded encoded = encodeQuotedLine(QStringList{original} + fields);
        if (!encoded.ok()) {
            return file;
        }
        lines[i] = encoded.bytes.chopped(2);
        QByteArray joined = lines.join("\r\n");
        return joined;
    }
    return file;
}

std::optional<QStringList> logLineFields(const QByteArray& file, const QString& label) {
    const QList<QByteArray> lines = splitLines(file);
    const QString wanted = label.trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> tokens = tokenizeLogLine(lines[i], kMaxFields);
        if (tokens.isEmpty() || decodeCp932(tokens.first()).text.trimmed() != wanted) {
            continue;
        }
        QStringList fields;
        for (qsizetype t = 1; t < tokens.size(); ++t) {
            fields.append(decodeCp932(tokens[t]).text);
        }
        return fields;
    }
    return std::nullopt;
}

std::variant<ProvisionTemplate, Message> ProvisionTemplate::load(const QString& chosen) {
    const auto names = datasave::SaveSetNames::writeBackFiles(chosen);
    if (!names) {
        return datasave::SaveSetNames::formatError();
    }
    const logfile::LoadedFile jv1 = logfile::kLogFile1.loadExact(names->jv1);
    const logfile::LoadedFile jv4 = logfile::kLogFile4.loadExact(names->jv4);
    for (const logfile::LoadedFile* file : {&jv1, &jv4}) {
        if (file->status != logfile::LoadedFile::Status::Loaded) {
            return errorMessage(QStringLiteral("テンプレートのファイル %1 を読み込めません。")
                                    .arg(QFileInfo(file->path).fileName()));
        }
    }
    return fromFiles(jv1.bytes, jv4.bytes);
}

std::variant<ProvisionTemplate, Message> ProvisionTemplate::fromFiles(const QByteArray& jv1,
                                                                      const QByteArray& jv4) {
    const std::uint32_t model1 = modelOfHeader(jv1, true);
    const std::uint32_t model4 = modelOfHeader(jv4, false);
    if (model1 == 0 || model4 == 0) {
        return errorMessage(QStringLiteral("テンプレートがログファイル1とログファイル4の組ではありません。"));
    }
    if (model1 != model4) {
        return errorMessage(QStringLiteral("テンプレートのログファイル1と4の機種が違います。"));
    }
    ProvisionTemplate loaded;
    loaded.m_modelCode = model1;
    loaded.m_jv1 = jv1;
    loaded.m_jv4 = jv4;
    return loaded;
}

std::optional<LogFileKind> ProvisionTemplate::lineOf(const QString& label, QString* whyNot) const {
    const QString wanted = label.trimmed();
    for (const Log4Line line : LogFile4Format::lineOrder(m_modelCode)) {
        if (line != Log4Line::Memo && LogFile4Format::label(line).trimmed() == wanted) {
            return LogFileKind::LogFile4;
        }
    }
    for (const LogItem item : LogFile1Format::lineOrder(m_modelCode)) {
        if (item == dataset::ItemMemo || LogFile1Format::label(item).trimmed() != wanted) {
            continue;
        }
        if (notWrittenBack(item)) {
            if (whyNot) {
                *whyNot = QStringLiteral("子機に書き込まれない項目です");
            }
            return std::nullopt;
        }
        return LogFileKind::LogFile1;
    }
    if (whyNot) {
        *whyNot =
            QStringLiteral("%1のログファイル1・4にない項目です").arg(QLatin1String(modelNameOf(m_modelCode)));
    }
    return std::nullopt;
}

TemplateLoad ProvisionTemplate::loadInto(handset::HandsetBlocks& blocks, const QList<LineEdit>& edits) const {
    QByteArray jv1 = m_jv1;
    QByteArray jv4 = m_jv4;
    for (const LineEdit& edit : edits) {
        QByteArray& file = edit.file == LogFileKind::LogFile1 ? jv1 : jv4;
        file = replaceLogLine(file, edit.label, edit.fields);
    }
    TemplateLoad load;
    const auto read1 =
        dataset::LogFile1ImageReader::read(jv1, m_modelCode, dataset::SystemParamImage::fromStore(blocks));
    load.messages.append(read1.messages);
    if (read1.loaded) {
        read1.image.storeInto(blocks);
        load.jv1Unread = read1.unread;
    }
    const auto read4 = psent::LogFile4ImageReader::readIntoStore(jv4, m_modelCode, blocks);
    load.messages.append(read4.messages);
    if (read4.loaded) {
        load.jv4Unread = read4.unread;
    }
    return load;
}

std::optional<QStringList> ProvisionTemplate::writtenFields(const handset::HandsetBlocks& blocks,
                                                            LogFileKind file, const QString& label) const {
    const QByteArray bytes = file == LogFileKind::LogFile1
                                 ? dataset::LogFile1Writer::fromImage(
                                       dataset::SystemParamImage::fromStore(blocks), m_modelCode, {})
                                       .bytes
                                 : psent::LogFile4Writer::fromStore(blocks, m_modelCode, {}).bytes;
    return logLineFields(bytes, label);
}

} // namespace tolvan::provision
