#pragma once

#include "common/choicelists.h"

#include <QString>
#include <QStringList>

namespace tolvan::psent {

// The value lists of the handset setting screen, in list order; a list's value is an index
// into it. Unless said otherwise the index is the stored value.
class PsEntLists : public ChoiceLists {
public:
    static const QStringList& outOfRangeTone(); // three texts
    static const QStringList& micOperation();   // "PTT", "PTTホールド", "VOX"
    static const QStringList& voxSensitivity(); // dBm
    static const QStringList& voxDelay();       // "1" to "10": stored = index + 1
    static const QStringList& noiseCutType();
    static const QStringList& noiseCutSensitivity(); // dBm
    static const QStringList& talkButton();
    static const QStringList& hearingTimer(); // "0" to "10"
    static const QStringList& hearingMode();
    static const QStringList& manualHandoverButton(); // "なし", "F1" to "F6"
    static const QStringList& volumeButton();         // "なし", "UP"
    static const QStringList& outsideLine();          // "不可", "可"
    static const QStringList& shortDial();            // "1" to "10": stored = index + 1
    static const QStringList& psNumberHundreds();     // "0" to "3"
    static const QStringList& digit();                // "0" to "9": PS number tens and units, PIN

    // Index of a stored value in a list of count entries that starts at stored value first.
    static int indexOfStored(int stored, int first, int count);
};

} // namespace tolvan::psent
