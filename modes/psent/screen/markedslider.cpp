#include "modes/psent/screen/markedslider.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace tolvan::psent {

MarkedSlider::MarkedSlider(PsEntRules::Slider which, const QStringList& marks, QWidget* parent)
    : QWidget(parent), m_which(which), m_slider(new QSlider(Qt::Horizontal, this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const int step = PsEntRules::sliderStep(which);
    m_slider->setRange(0, PsEntRules::kSliderMax);
    m_slider->setTickInterval(step);
    m_slider->setSingleStep(step);
    m_slider->setPageStep(step);
    m_slider->setTickPosition(QSlider::TicksBelow);
    connect(m_slider, &QSlider::sliderReleased, this,
            [this] { m_slider->setValue(PsEntRules::snapSlider(m_which, m_slider->value())); });
    column->addWidget(m_slider);
    auto* row = new QHBoxLayout;
    for (int i = 0; i < marks.size(); ++i) {
        if (i > 0) {
            row->addStretch();
        }
        row->addWidget(new QLabel(marks[i], this));
    }
    column->addLayout(row);
}

} // namespace tolvan::psent
