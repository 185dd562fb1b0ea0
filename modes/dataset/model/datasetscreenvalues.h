#pragma once

#include <QString>

#include <array>

namespace tolvan::dataset {

// What every control of the data setting screen shows. A selector holds the index of its
// selected entry in its list (DataSetLists), or kNone; a digit box holds its text. The screen
// loads from and stores into this, and the file, report and image code only ever see this.
struct DataSetScreenValues {
    static constexpr int kNone = -1;

    // Order of handoverLevels, as on the screen and in the file.
    enum HandoverLevel { StandbySelect, StandbyHold, RecallProcess, RecallSelect, TchProcess };

    std::array<QString, 4> version;
    std::array<QString, 9> psId;
    int controlChannel = kNone;
    std::array<int, 5> handoverLevels{kNone, kNone, kNone, kNone, kNone};
    int ferThreshold = kNone;
    int ferTriggeredLevel = kNone;
    std::array<QString, 9> systemCall;
    int seamlessProcessLevel = kNone;
    int seamlessSelectLevel = kNone;
    int seamlessFerThreshold = kNone;
    int areaType = kNone;
    int additionalIdCount = kNone;
    // Per ID: the 0/1 selector, then three hexadecimal digit selectors.
    std::array<std::array<int, 4>, 8> additionalIds{noIdSelection(), noIdSelection(), noIdSelection(),
                                                    noIdSelection(), noIdSelection(), noIdSelection(),
                                                    noIdSelection(), noIdSelection()};
    int rxGain = kNone;
    int interval = kNone;
    int accessory = kNone;
    std::array<int, 3> faultCode{kNone, kNone, kNone};
    QString memo;

    bool operator==(const DataSetScreenValues&) const = default;

private:
    static constexpr std::array<int, 4> noIdSelection() { return {kNone, kNone, kNone, kNone}; }
};

} // namespace tolvan::dataset
