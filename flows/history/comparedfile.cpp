#include "flows/history/comparedfile.h"

#include "common/logfile/logfilekind.h"
#include "modes/datasave/model/writebackverify.h"
#include "modes/dataset/model/logfile1imagereader.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/logfile4imagereader.h"
#include "modes/test/model/logfile2compare.h"
#include "modes/test/model/logfile2reader.h"

namespace tolvan::history {
namespace {

using Kind = ComparedFile::Kind;

const logfile::LogFileKind& fileKindOf(Kind kind) {
    return *logfile::logFileKind(static_cast<int>(kind));
}

} // namespace

ComparedFile::ComparedFile(Kind kind, QString path, QByteArray bytes, std::uint32_t modelCode)
    : m_kind(kind), m_path(std::move(path)), m_bytes(std::move(bytes)), m_modelCode(modelCode) {}

std::variant<ComparedFile, QString> ComparedFile::load(Kind kind, const QString& path) {
    const logfile::LogFileKind& fileKind = fileKindOf(kind);
    const logfile::LoadedFile file = fileKind.loadExact(path);
    if (file.status == logfile::LoadedFile::Status::Missing) {
        return path + QStringLiteral(": no such file");
    }
    if (file.status == logfile::LoadedFile::Status::Unreadable) {
        return path + QStringLiteral(": ") + file.message.text;
    }
    if (const std::optional<std::uint32_t> model = fileKind.modelOfFile(file.bytes)) {
        return ComparedFile(kind, path, file.bytes, *model);
    }
    return path + QStringLiteral(": the first line is not the header of a log file %1 of ZX-VA100, "
                                 "ZX-VA150 or ZX-VA150(C)")
                      .arg(fileKind.number());
}

QList<Message> ComparedFile::readInto(handset::HandsetBlocks& store) const {
    switch (m_kind) {
    case Kind::LogFile1: {
        const auto read = dataset::LogFile1ImageReader::read(m_bytes, m_modelCode,
                                                             dataset::SystemParamImage::fromStore(store),
                                                             dataset::LogFile1ImageReader::Lines::Handset);
        if (read.loaded) {
            read.image.storeInto(store);
        }
        return read.messages;
    }
    case Kind::LogFile2:
        return testmode::LogFile2Reader::readIntoStore(m_bytes, m_modelCode, store).messages;
    case Kind::LogFile4:
        return psent::LogFile4ImageReader::readIntoStore(m_bytes, m_modelCode, store).messages;
    }
    return {};
}

Message ComparedFile::modelMismatch(Kind kind, std::uint32_t modelCode) {
    return fileKindOf(kind).modelMismatch(modelCode).value_or(
        errorMessage(QStringLiteral("ファイルのモデルが接続モデルと異なります")));
}

QList<logfile::LineDifference> ComparedFile::compare(Kind kind, const handset::HandsetBlocks& first,
                                                     const handset::HandsetBlocks& second,
                                                     std::uint32_t modelCode, bool besideLogFile4) {
    switch (kind) {
    case Kind::LogFile1:
        return datasave::compareLogFile1(first, second, modelCode,
                                         besideLogFile4 ? datasave::ComparedLines::HandsetBesideLogFile4
                                                        : datasave::ComparedLines::Handset);
    case Kind::LogFile2:
        return testmode::compareLogFile2(first, second, modelCode);
    case Kind::LogFile4:
        return datasave::compareLogFile4(first, second, modelCode, datasave::ComparedLines::Handset);
    }
    return {};
}

} // namespace tolvan::history
