#pragma once

#include <QString>

#include <array>

namespace tolvan::psent {

// What every control of the handset setting screen shows. A list holds the index of its selected
// entry (PsEntLists, FunctionCodes) or kNone; a slider its position (0-120); a text box its
// text. The screen loads from and stores into this; files, reports and the image only see this.
struct PsEntScreenValues {
    static constexpr int kNone = -1;
    static constexpr int kMenuSlots = 14;
    static constexpr int kCallNumbers = 48;

    // A function list and its additional-setting list.
    struct FunctionChoice {
        int function = kNone;  // index into the function button or remote key list
        int parameter = kNone; // index into the parameter list of its code
        bool operator==(const FunctionChoice&) const = default;
    };

    std::array<int, 3> psNumber{kNone, kNone, kNone}; // hundreds, tens, units
    std::array<QString, 9> psId;
    std::array<int, 4> pin{kNone, kNone, kNone, kNone};
    int receiveVolume = 0; // slider positions
    int sidetoneVolume = 0;
    int micLevel = 0;
    int notificationVolume = 0;
    int outOfRangeTone = kNone;
    int noiseCut = kNone;
    std::array<int, kMenuSlots> menuSlots = filled<kMenuSlots>(); // function codes, slot 01 first
    FunctionChoice functionButton;
    int emergencyNotice = kNone;
    int talkButton = kNone;
    std::array<int, 4> keyLocks{kNone, kNone, kNone, kNone}; // function, execute, menu, volume button
    int buttonLock = kNone;
    int voxSensitivity = kNone;
    int voxDelay = kNone;
    int noiseCutType = kNone;
    int noiseCutSensitivity = kNone;
    int volumeTone = kNone;
    int keyTouchTone = kNone;
    int micOperation = kNone;
    int pttHoldTone = kNone;
    int broadcastMonitor = kNone;
    std::array<FunctionChoice, 3> remoteKeys{};
    int seamlessHandover = kNone;
    int hearingTimer = kNone;
    int hearingMode = kNone;
    int manualHandoverButton = kNone;
    int volumeButton = kNone;
    int outsideLine = kNone;
    std::array<int, 3> shortDials{kNone, kNone, kNone}; // M1-M3
    std::array<QString, kCallNumbers> callNumbers;
    QString memo;
    QString connectedModel; // "ZX-VA100", "ZX-VA150", "ZX-VA150(C)" or empty

    bool operator==(const PsEntScreenValues&) const = default;

private:
    template <std::size_t N> static constexpr std::array<int, N> filled() {
        std::array<int, N> a{};
        a.fill(kNone);
        return a;
    }
};

} // namespace tolvan::psent
