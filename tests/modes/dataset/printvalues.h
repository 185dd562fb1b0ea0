#pragma once

// Readable failure output for screen values.

#include "modes/dataset/model/datasetscreenvalues.h"

#include <ostream>

namespace tolvan::dataset {

inline void PrintTo(const DataSetScreenValues& v, std::ostream* os) {
    auto boxes = [&](const char* name, const auto& texts) {
        *os << name << "=[";
        for (const QString& t : texts) {
            *os << t.toStdString() << '|';
        }
        *os << "] ";
    };
    boxes("version", v.version);
    boxes("psId", v.psId);
    boxes("systemCall", v.systemCall);
    *os << "channel=" << v.controlChannel << " levels=";
    for (int l : v.handoverLevels) {
        *os << l << ',';
    }
    *os << " fer=" << v.ferThreshold << " ferTrig=" << v.ferTriggeredLevel
        << " seamless=" << v.seamlessProcessLevel << ',' << v.seamlessSelectLevel << ','
        << v.seamlessFerThreshold << " area=" << v.areaType << " count=" << v.additionalIdCount << " ids=";
    for (const auto& id : v.additionalIds) {
        *os << id[0] << '.' << id[1] << '.' << id[2] << '.' << id[3] << ' ';
    }
    *os << "gain=" << v.rxGain << " interval=" << v.interval << " accessory=" << v.accessory
        << " fault=" << v.faultCode[0] << v.faultCode[1] << v.faultCode[2]
        << " memo=" << v.memo.toStdString();
}

} // namespace tolvan::dataset
