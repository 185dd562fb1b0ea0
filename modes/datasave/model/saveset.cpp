#include "modes/datasave/model/saveset.h"

#include "common/logfile/intentrecord.h"
#include "common/logfile/linetable.h"
#include "common/logfile/logfileio.h"
#include "common/logfile/setrecovery.h"
#include "common/modelnames.h"
#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/logfile1imagereader.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/log/model/handsetbuffers.h"
#include "modes/log/model/logfile3writer.h"
#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/logfile4imagereader.h"

#include <QFileInfo>

namespace tolvan::datasave {

std::variant<SaveSetFiles, Message> buildSaveSet(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                                 const QString& memo) {
    auto built = psent::buildSettingsPair(store, modelCode, memo);
    if (auto* files = std::get_if<SaveSetFiles>(&built)) {
        const auto jv3 =
            log::LogFile3Writer::fromBuffers(log::HandsetBuffers::fromStore(store), modelCode, memo);
        if (!jv3.ok()) {
            return *jv3.error;
        }
        files->jv3 = jv3.bytes;
    }
    return built;
}

std::optional<Message> checkSaveSet(const QString& base, const QString& memo, bool withBuffers) {
    const auto built = buildSaveSet({}, kModelVa150, memo);
    if (const auto* failed = std::get_if<Message>(&built)) {
        return *failed;
    }
    return checkSaveSetWritable(base, withBuffers);
}

WriteBackLoad loadWriteBackSet(handset::HandsetBlocks& store, std::uint32_t modelCode,
                               const SaveSetNames::WriteBackFiles& files) {
    WriteBackLoad result;
    // No save of the same set runs meanwhile, and one an earlier process left unfinished is
    // finished (or undone) first: the two files read are always of one save.
    const logfile::SetAccess access(logfile::baseOf(files.jv1));
    result.messages.append(access.notices());
    if (access.refused()) {
        result.messages.append(*access.refused());
        result.refused = true;
        return result;
    }
    const logfile::LoadedFile jv1 = logfile::loadExact(files.jv1, dataset::LogFile1Format::kMaxFileBytes);
    if (jv1.status == logfile::LoadedFile::Status::Loaded) {
        const auto read = dataset::LogFile1ImageReader::read(jv1.bytes, modelCode,
                                                             dataset::SystemParamImage::fromStore(store));
        result.messages.append(read.messages);
        if (read.loaded) {
            read.image.storeInto(store);
            result.jv1Loaded = true;
            result.jv1Unread = read.unread;
        }
    }
    const logfile::LoadedFile jv4 = logfile::loadExact(files.jv4, psent::LogFile4Format::kMaxFileBytes);
    if (jv4.status == logfile::LoadedFile::Status::Loaded) {
        const auto read = psent::LogFile4ImageReader::readIntoStore(jv4.bytes, modelCode, store);
        result.messages.append(read.messages);
        result.jv4Loaded = read.loaded;
        if (read.loaded) {
            result.jv4Unread = read.unread;
        }
        const logfile::LineTable lines(jv4.bytes, psent::LogFile4Format::lineCount(modelCode),
                                       psent::LogFile4Format::kMaxLineBytes);
        constexpr qsizetype kMemoRuleLine = 17 + 1; // line 17 counting the header as 0
        result.memoKept = !lines.line(kMemoRuleLine).isEmpty();
    }
    return result;
}

std::optional<QString> notWrittenText(const WriteBackLoad& load, const SaveSetNames::WriteBackFiles& files) {
    QStringList skipped;
    if (!load.jv1Loaded) {
        skipped.append(QFileInfo(files.jv1).fileName());
    }
    if (!load.jv4Loaded) {
        skipped.append(QFileInfo(files.jv4).fileName());
    }
    if (skipped.isEmpty()) {
        return std::nullopt;
    }
    return QStringLiteral("%1 は見つからないか読み込めなかったため、子機に書き込んでいません。")
        .arg(skipped.join(QStringLiteral("、")));
}

} // namespace tolvan::datasave
