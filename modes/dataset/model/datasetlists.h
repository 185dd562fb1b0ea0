#pragma once

#include "common/choicelists.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tolvan::dataset {

// The entries of every selector of the data setting screen, in list order. A selector's value
// is an index into its list.
class DataSetLists : public ChoiceLists {
public:
    static const QStringList& controlChannel(); // "12chのみ", "18chのみ", "12chと18ch"
    static const QStringList& handoverLevel();  // "10" to "80"
    static const QStringList& seamlessLevel();  // "10" to "80", two digits
    static const QStringList& seamlessFer();    // "00" to "31"
    static const QStringList& ferThreshold();   // "0" to "240"
    static const QStringList& ferTriggeredLevel();
    static const QStringList& interval(); // "1" to "255"
    static const QStringList& areaType();
    static const QStringList& additionalIdCount(); // "0" to "8"
    static const QStringList& idTopDigit();        // "0", "1"
    static const QStringList& hexDigit();          // "0" to "f"
    // onOff(): accessory detection, receive-gain function.
    // The three fault monitoring code selectors offer one character each.
    static const QStringList& faultCodeCharacter(int position);

    // "ZX-VA100", "ZX-VA150", "ZX-VA150(C)" for model codes 2, 3, 4; empty otherwise.
    static QString modelName(std::uint32_t modelCode);
};

} // namespace tolvan::dataset
