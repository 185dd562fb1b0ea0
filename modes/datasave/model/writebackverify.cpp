#include "modes/datasave/model/writebackverify.h"

#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/handsetsettingimage.h"
#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/logfile4writer.h"
#include "modes/psent/model/psentrules.h"
#include "modes/psent/model/psentscreenvalues.h"

#include <algorithm>
#include <span>
#include <vector>

namespace tolvan::datasave {
namespace {

bool comparedLogFile1Item(dataset::LogItem item, ComparedLines lines) {
    using namespace dataset;
    switch (lines) {
    case ComparedLines::WriteBack:
        return item != ItemVersion && item != ItemPsId && item != ItemRxGain && item != ItemFaultCode &&
               item != ItemMemo;
    case ComparedLines::Handset:
        return item != ItemMemo;
    case ComparedLines::HandsetBesideLogFile4:
        return item != ItemMemo && item != ItemPsId;
    }
    return false;
}

QByteArray logFile1Of(const handset::HandsetBlocks& store, std::uint32_t modelCode) {
    return dataset::LogFile1Writer::fromImage(dataset::SystemParamImage::fromStore(store), modelCode, {})
        .bytes;
}

// The handset keeps its menu as a position per function; the screen, the files and a write
// leave no gap between positions, but a handset can hold one.
QByteArray logFile4Of(const handset::HandsetBlocks& store, std::uint32_t modelCode, bool closeMenuGaps) {
    using psent::HandsetSettingImage;
    HandsetSettingImage image = HandsetSettingImage::fromStore(store);
    if (closeMenuGaps) {
        constexpr std::size_t kSlots = psent::PsEntScreenValues::kMenuSlots;
        const auto menu = std::span(image.operation).subspan<HandsetSettingImage::MenuFirst, kSlots>();
        const auto positions = psent::PsEntRules::menuPositions(psent::PsEntRules::menuSlots(menu));
        std::copy(positions.begin(), positions.end(), menu.begin());
    }
    return psent::LogFile4Writer::fromImage(image, modelCode, {}).bytes;
}

} // namespace

QList<WriteBackDifference> compareLogFile1(const handset::HandsetBlocks& first,
                                           const handset::HandsetBlocks& second, std::uint32_t modelCode,
                                           ComparedLines lines, const QStringList& unread) {
    std::vector<bool> compared;
    for (const dataset::LogItem item : dataset::LogFile1Format::lineOrder(modelCode)) {
        compared.push_back(comparedLogFile1Item(item, lines));
    }
    return logfile::compareWrittenLines(logFile1Of(first, modelCode), logFile1Of(second, modelCode), compared,
                                        unread);
}

QList<WriteBackDifference> compareLogFile4(const handset::HandsetBlocks& first,
                                           const handset::HandsetBlocks& second, std::uint32_t modelCode,
                                           ComparedLines lines, const QStringList& unread) {
    std::vector<bool> compared;
    for (const psent::Log4Line line : psent::LogFile4Format::lineOrder(modelCode)) {
        compared.push_back(line != psent::Log4Line::Memo);
    }
    const bool closeGaps = lines != ComparedLines::WriteBack;
    return logfile::compareWrittenLines(logFile4Of(first, modelCode, closeGaps),
                                        logFile4Of(second, modelCode, closeGaps), compared, unread);
}

QList<WriteBackDifference> compareWriteBack(const handset::HandsetBlocks& expected,
                                            const handset::HandsetBlocks& handset, std::uint32_t modelCode,
                                            const WrittenFiles& written) {
    QList<WriteBackDifference> differences;
    if (written.jv1) {
        differences +=
            compareLogFile1(expected, handset, modelCode, ComparedLines::WriteBack, written.jv1Unread);
    }
    if (written.jv4) {
        differences +=
            compareLogFile4(expected, handset, modelCode, ComparedLines::WriteBack, written.jv4Unread);
    }
    return differences;
}

} // namespace tolvan::datasave
