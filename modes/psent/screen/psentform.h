#pragma once

#include "modes/psent/model/psentrules.h"
#include "modes/psent/model/psentscreenvalues.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QVBoxLayout;

namespace tolvan::psent {

class CallNumberGrid;

// The setting controls of the handset setting screen: the three framed groups side by side and the
// call numbers, with the entry rules of the PS-ID, the PS number and the function lists. It loads
// from and stores into PsEntScreenValues; the memo and the model box belong to the window.
class PsEntForm : public QWidget {
    Q_OBJECT
public:
    using V = PsEntScreenValues;
    using Slider = PsEntRules::Slider;

    // The lists with one value each, in the order of the screen.
    enum class Pick {
        OutOfRangeTone,
        NoiseCut,
        Emergency,
        TalkButton,
        ButtonLock,
        VoxSensitivity,
        VoxDelay,
        NoiseCutType,
        NoiseCutSensitivity,
        VolumeTone,
        KeyTouchTone,
        MicOperation,
        PttHoldTone,
        BroadcastMonitor,
        Seamless,
        HearingTimer,
        HearingMode,
        ManualHandover,
        VolumeButton,
        OutsideLine,
        Count
    };
    static constexpr int kPicks = static_cast<int>(Pick::Count);
    // The function lists: the function button, then the three remote keys.
    static constexpr int kFunctionButton = 0;
    static constexpr int kFunctionLists = 4;
    // The call number boxes in rows of three, below the ZX-VA100/150 group.
    static constexpr int kCallNumberColumns = 3;

    explicit PsEntForm(QWidget* parent = nullptr);

    // Puts a widget of the window's own (the registration area) below the common group, where
    // the form leaves room.
    void addAside(QWidget* widget);

    void load(const V& values);
    // Memo and model are left empty: the window adds them.
    V values() const;

    // The model rules: which controls a model lets the user edit or see.
    void applyModel(std::uint32_t modelCode);
    // The state rules on top: sliders and PS-ID boxes.
    void setSlidersEnabled(bool enabled);
    void setPsIdEnabled(bool enabled);

    QComboBox* psNumber(int digit) const { return m_psNumber.at(static_cast<std::size_t>(digit)); }
    QLineEdit* psIdBox(int digit) const { return m_psId.at(static_cast<std::size_t>(digit)); }
    QComboBox* pin(int digit) const { return m_pin.at(static_cast<std::size_t>(digit)); }
    QSlider* slider(Slider which) const { return m_sliders.at(static_cast<std::size_t>(which)); }
    QComboBox* pick(Pick which) const { return m_picks.at(static_cast<std::size_t>(which)); }
    QComboBox* menuSlot(int slot) const { return m_menu.at(static_cast<std::size_t>(slot)); }
    QComboBox* function(int list) const { return m_functions.at(static_cast<std::size_t>(list)); }
    QComboBox* parameter(int list) const { return m_parameters.at(static_cast<std::size_t>(list)); }
    QComboBox* keyLock(int lock) const { return m_keyLocks.at(static_cast<std::size_t>(lock)); }
    QComboBox* shortDial(int m) const { return m_shortDials.at(static_cast<std::size_t>(m)); }
    QLineEdit* callNumber(int slot) const;
    QLabel* buttonAssignCaption() const { return m_buttonCaption; }

private:
    QGroupBox* buildCommonGroup();
    QGroupBox* buildUpperGroup();
    QGroupBox* buildVa100Group();
    QComboBox* addPick(QGridLayout* grid, Pick which, const QString& label, const QString& unit = {});
    void addFunctionRow(QGridLayout* grid, int list, const QString& label, const QString& parameterLabel);

    void psIdEdited(int digit);
    void psNumberPicked(int digit);
    void functionPicked(int list);
    // Refills a parameter list for the function shown at index and selects parameter.
    void fillParameters(int list, int functionIndex, int parameter);
    int functionCode(int list, int index) const;

    std::array<QComboBox*, 3> m_psNumber{};
    std::array<QLineEdit*, 9> m_psId{};
    std::array<QComboBox*, 4> m_pin{};
    std::array<QSlider*, 4> m_sliders{};
    std::array<QComboBox*, kPicks> m_picks{};
    std::array<QComboBox*, V::kMenuSlots> m_menu{};
    std::array<QComboBox*, kFunctionLists> m_functions{};
    std::array<QComboBox*, kFunctionLists> m_parameters{};
    std::array<QComboBox*, 4> m_keyLocks{};
    std::array<QComboBox*, 3> m_shortDials{};
    std::array<QLabel*, kPicks> m_pickLabels{};
    CallNumberGrid* m_callNumbers = nullptr;
    QLabel* m_buttonCaption = nullptr;
    QVBoxLayout* m_aside = nullptr;
};

} // namespace tolvan::psent
