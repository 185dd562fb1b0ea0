#pragma once

#include "modes/dataset/model/datasetscreenvalues.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;

namespace tolvan::dataset {

class DigitBoxRow;

// The parameter groups of the data setting screen. It only shows values: load() puts screen
// values on the controls and values() reads them back; the model decides what they mean.
class DataSetForm : public QWidget {
    Q_OBJECT
public:
    explicit DataSetForm(QWidget* parent = nullptr);

    // Every control except the memo, which lives on the screen's bottom line.
    void load(const DataSetScreenValues& values);
    DataSetScreenValues values() const;

    // What the connected model lets the user edit, then the additional-ID row rule.
    void applyModel(std::uint32_t modelCode);
    // Rows 1..n of the additional IDs enabled, n from the count selector and the model.
    void applyIdRowRule();

    DigitBoxRow* versionRow() const { return m_version; }
    DigitBoxRow* psIdRow() const { return m_psId; }
    DigitBoxRow* systemCallRow() const { return m_systemCall; }
    QComboBox* controlChannel() const { return m_controlChannel; }
    QComboBox* handoverLevel(int level) const { return m_levels.at(static_cast<std::size_t>(level)); }
    QComboBox* ferThreshold() const { return m_ferThreshold; }
    QComboBox* ferTriggeredLevel() const { return m_ferTriggered; }
    QComboBox* seamlessProcessLevel() const { return m_seamlessProcess; }
    QComboBox* seamlessSelectLevel() const { return m_seamlessSelect; }
    QComboBox* seamlessFerThreshold() const { return m_seamlessFer; }
    QComboBox* areaType() const { return m_areaType; }
    QComboBox* additionalIdCount() const { return m_idCount; }
    QComboBox* additionalId(int row, int digit) const {
        return m_ids.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(digit));
    }
    QComboBox* interval() const { return m_interval; }
    QComboBox* accessory() const { return m_accessory; }
    QComboBox* rxGain() const { return m_rxGain; }
    QComboBox* faultCode(int position) const { return m_faultCode.at(static_cast<std::size_t>(position)); }

private:
    QGroupBox* buildVersionGroup();
    QGroupBox* buildControlGroup();
    QGroupBox* buildHandoverGroup();
    QGroupBox* buildSeamlessGroup();
    QGroupBox* buildIdGroup();
    QGroupBox* buildAdditionalIdGroup();
    QGroupBox* buildOtherGroup();
    QComboBox* selector(const QStringList& entries, QWidget* parent);
    // One labelled selector in the next row of a grid, with an optional text after it.
    QComboBox* addSelectorRow(QGridLayout* grid, const QString& label, const QStringList& entries,
                              const QString& after = {});
    void addIdRow(QGridLayout* grid, int row);

    DigitBoxRow* m_version = nullptr;
    DigitBoxRow* m_psId = nullptr;
    DigitBoxRow* m_systemCall = nullptr;
    QComboBox* m_controlChannel = nullptr;
    std::array<QComboBox*, 5> m_levels{};
    QComboBox* m_ferThreshold = nullptr;
    QComboBox* m_ferTriggered = nullptr;
    QComboBox* m_seamlessProcess = nullptr;
    QComboBox* m_seamlessSelect = nullptr;
    QComboBox* m_seamlessFer = nullptr;
    QComboBox* m_areaType = nullptr;
    QComboBox* m_idCount = nullptr;
    std::array<std::array<QComboBox*, 4>, 8> m_ids{};
    QComboBox* m_interval = nullptr;
    QComboBox* m_accessory = nullptr;
    QComboBox* m_rxGain = nullptr;
    std::array<QComboBox*, 3> m_faultCode{};
    std::uint32_t m_modelCode = 0;
};

} // namespace tolvan::dataset
