#pragma once

#include "modes/psent/model/psentrules.h"

#include <QStringList>
#include <QWidget>

class QSlider;

namespace tolvan::psent {

// A volume or level slider of the handset setting screen with its marks ("小", "大" ...) spread
// below it; on release it snaps to the nearest mark.
class MarkedSlider : public QWidget {
    Q_OBJECT
public:
    MarkedSlider(PsEntRules::Slider which, const QStringList& marks, QWidget* parent = nullptr);

    QSlider* slider() const { return m_slider; }

private:
    PsEntRules::Slider m_which;
    QSlider* m_slider;
};

} // namespace tolvan::psent
