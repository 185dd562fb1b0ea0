#include "flows/history/comparedfile.h"

#include "common/logfile/headercheck.h"
#include "common/logfile/linetable.h"
#include "common/logfile/logfileio.h"
#include "common/modelnames.h"
#include "modes/datasave/model/writebackverify.h"
#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/logfile1imagereader.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/logfile4imagereader.h"
#include "modes/test/model/logfile2compare.h"
#include "modes/test/model/logfile2format.h"
#include "modes/test/model/logfile2reader.h"

namespace tolvan::history {
namespace {

using Kind = ComparedFile::Kind;

QString headerFieldOf(Kind kind, std::uint32_t modelCode) {
    switch (kind) {
    case Kind::LogFile1:
        return dataset::LogFile1Format::headerField(modelCode);
    case Kind::LogFile2:
        return testmode::LogFile2Format::headerField(modelCode);
    case Kind::LogFile4:
        return psent::LogFile4Format::headerField(modelCode);
    }
    return {};
}

qsizetype maxBytesOf(Kind kind) {
    switch (kind) {
    case Kind::LogFile1:
        return dataset::LogFile1Format::kMaxFileBytes;
    case Kind::LogFile2:
        return testmode::LogFile2Format::kMaxFileBytes;
    case Kind::LogFile4:
        return psent::LogFile4Format::kMaxFileBytes;
    }
    return 0;
}

int numberOf(Kind kind) {
    switch (kind) {
    case Kind::LogFile1:
        return 1;
    case Kind::LogFile2:
        return 2;
    case Kind::LogFile4:
        return 4;
    }
    return 0;
}

} // namespace

ComparedFile::ComparedFile(Kind kind, QString path, QByteArray bytes, std::uint32_t modelCode)
    : m_kind(kind), m_path(std::move(path)), m_bytes(std::move(bytes)), m_modelCode(modelCode) {}

std::variant<ComparedFile, QString> ComparedFile::load(Kind kind, const QString& path) {
    const logfile::LoadedFile file = logfile::loadExact(path, maxBytesOf(kind));
    if (file.status == logfile::LoadedFile::Status::Missing) {
        return path + QStringLiteral(": no such file");
    }
    if (file.status == logfile::LoadedFile::Status::Unreadable) {
        return path + QStringLiteral(": ") + file.message.text;
    }
    // A header is one short line; nothing further need be split to find it.
    constexpr qsizetype kHeaderBytes = 64;
    const logfile::LineTable first(file.bytes.left(kHeaderBytes + 2), 1, kHeaderBytes);
    for (const std::uint32_t model : {kModelVa100, kModelVa150, kModelVa150C}) {
        if (logfile::headerMatches(first.line(1), headerFieldOf(kind, model))) {
            return ComparedFile(kind, path, file.bytes, model);
        }
    }
    return path + QStringLiteral(": the first line is not the header of a log file %1 of ZX-VA100, "
                                 "ZX-VA150 or ZX-VA150(C)")
                      .arg(numberOf(kind));
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
    const auto mismatch = kind == Kind::LogFile2 ? testmode::LogFile2Format::headerMismatch(modelCode)
                                                 : logfile::modelMismatch(modelCode);
    return mismatch.value_or(errorMessage(QStringLiteral("ファイルのモデルが接続モデルと異なります")));
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
