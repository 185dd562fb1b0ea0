#include "modes/test/screen/calibrationpanel.h"

#include "modes/test/model/calibrationcalc.h"

#include "shell/accessiblenames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

namespace tolvan::testmode {
namespace {

// "1出力制御H", "　出力制御L", ... for the eight rows of a coefficient table.
QString rowLabel(int row) {
    const QString level = row % 2 == 0 ? QStringLiteral("出力制御H") : QStringLiteral("出力制御L");
    return (row % 2 == 0 ? QString::number(row / 2 + 1) : QStringLiteral("　")) + level;
}

// A field just wide enough for `sample` in its own font and frame, so the tables stay narrow at
// any font size or scaling.
void fitWidthTo(QLineEdit* field, const QString& sample) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const QFontMetrics metrics = field->fontMetrics();
    // The line edit's own text margins (two pixels a side) and room for the cursor.
    const QSize text(metrics.horizontalAdvance(sample) + 6, metrics.height());
    field->setFixedWidth(field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, field).width());
}

QLineEdit* hexField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setMaxLength(2);
    fitWidthTo(field, QStringLiteral("DD"));
    return field;
}

QComboBox* hexList(QWidget* parent, int count, int digits) {
    auto* list = new QComboBox(parent);
    for (int i = 0; i < count; ++i) {
        list->addItem(QStringLiteral("%1").arg(i, digits, 16, QLatin1Char('0')).toUpper());
    }
    return list;
}

QPushButton* button(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    return b;
}

} // namespace

CalibrationPanel::CalibrationPanel(QWidget* parent) : QWidget(parent) {
    // Two columns: the DAC table over the RSSI block, the amplifier table over the single values.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildRows(false), 0, 0);
    layout->addWidget(buildRows(true), 0, 1);
    layout->addWidget(buildRssi(), 1, 0);
    layout->addWidget(buildSingles(), 1, 1);
    layout->setRowStretch(2, 1);
}

QWidget* CalibrationPanel::buildRows(bool amp) {
    auto* box = new QGroupBox(
        amp ? QStringLiteral("送信AMPﾊﾞｲｱｽ補正係数") : QStringLiteral("送信DAC値補正係数"), this);
    auto* grid = new QGridLayout(box);
    auto* title =
        new QLabel(amp ? QStringLiteral("ＡＭＰ値補正係数") : QStringLiteral("ＤＡＣ値補正係数"), box);
    grid->addWidget(title, 0, 0, 1, 7);
    std::array<Row, 8>& rows = amp ? m_amp : m_dac;
    for (int r = 0; r < 8; ++r) {
        Row& row = rows[static_cast<std::size_t>(r)];
        auto* label = new QLabel(rowLabel(r), box);
        // The DAC row labels stay disabled: the DAC block belongs to the data setting write.
        label->setEnabled(amp);
        grid->addWidget(label, r + 1, 0);
        row.input = new QLineEdit(box);
        // Only the first three characters are read.
        fitWidthTo(row.input, QStringLiteral("DDDD"));
        grid->addWidget(row.input, r + 1, 1);
        // Named with the row's number also where the label leaves it out.
        const QString rowName = shell::labelName(title->text()) + QLatin1Char(' ') +
                                QString::number(r / 2 + 1) + rowLabel(r).mid(1);
        row.input->setAccessibleName(rowName);
        row.calculate = button(QStringLiteral("計算%1->").arg(amp ? r + 11 : r + 1), box);
        grid->addWidget(row.calculate, r + 1, 2);
        for (std::size_t b = 0; b < row.hex.size(); ++b) {
            row.hex[b] = hexField(box);
            grid->addWidget(row.hex[b], r + 1, 3 + static_cast<int>(b));
        }
        shell::nameBoxes(rowName, QList<QWidget*>(row.hex.begin(), row.hex.end()));
        connect(row.calculate, &QPushButton::clicked, this, [this, &row] { calculateRow(row); });
    }
    QPushButton* write =
        button(amp ? QStringLiteral("補正書き込み４") : QStringLiteral("補正書き込み1"), box);
    grid->addWidget(write, 9, 3, 1, 4);
    (amp ? m_ampWrite : m_dacWrite) = write;
    return box;
}

QWidget* CalibrationPanel::buildRssi() {
    auto* box = new QGroupBox(QStringLiteral("RSSI補正係数"), this);
    auto* grid = new QGridLayout(box);
    m_x50 = new QLineEdit(box);
    m_x20 = new QLineEdit(box);
    m_capture[0] = button(QStringLiteral("50dBμV時データ取込"), box);
    m_capture[1] = button(QStringLiteral("20dBμV時データ取込"), box);
    grid->addWidget(m_capture[0], 0, 0);
    grid->addWidget(m_x50, 0, 1);
    grid->addWidget(m_capture[1], 1, 0);
    grid->addWidget(m_x20, 1, 1);
    // The 50 / 20 dBμV values have three digits.
    fitWidthTo(m_x50, QStringLiteral("DDDD"));
    fitWidthTo(m_x20, QStringLiteral("DDDD"));
    m_x50->setAccessibleName(m_capture[0]->text());
    m_x20->setAccessibleName(m_capture[1]->text());
    for (std::size_t antenna = 0; antenna < 2; ++antenna) {
        const int row = 2 + static_cast<int>(antenna) * 3;
        auto* antennaCaption = new QLabel(QStringLiteral("アンテナ%1").arg(antenna + 1), box);
        grid->addWidget(antennaCaption, row, 0);
        m_rssiCalculate[antenna] = button(QStringLiteral("計算%1->").arg(9 + antenna), box);
        grid->addWidget(m_rssiCalculate[antenna], row, 1);
        for (std::size_t coefficient = 0; coefficient < 2; ++coefficient) {
            auto* caption = new QLabel(QStringLiteral("ＲＳＳＩ補正値係数%1").arg(coefficient + 1), box);
            grid->addWidget(caption, row + 1 + static_cast<int>(coefficient), 0);
            // The high and the low byte side by side.
            auto* bytes = new QHBoxLayout;
            for (std::size_t b = 0; b < 2; ++b) {
                m_rssi[antenna][coefficient][b] = hexField(box);
                bytes->addWidget(m_rssi[antenna][coefficient][b]);
            }
            bytes->addStretch(1);
            auto& pair = m_rssi[antenna][coefficient];
            caption->setBuddy(pair[0]);
            shell::nameBoxes(antennaCaption->text() + QLatin1Char(' ') + caption->text(),
                             QList<QWidget*>(pair.begin(), pair.end()));
            grid->addLayout(bytes, row + 1 + static_cast<int>(coefficient), 1);
        }
        connect(m_rssiCalculate[antenna], &QPushButton::clicked, this,
                [this, antenna] { calculateRssi(static_cast<int>(antenna)); });
    }
    m_rssiWrite = button(QStringLiteral("補正値書き込み2"), box);
    grid->addWidget(m_rssiWrite, 8, 0, 1, 2);
    return box;
}

QWidget* CalibrationPanel::buildSingles() {
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    m_backlight = hexList(box, 256, 2);
    m_referenceClock = hexList(box, 256, 2);
    m_bbicAddress = hexList(box, 0x3E0, 3);
    m_bbicData = hexList(box, 256, 2);
    m_backlightButtons = {button(QStringLiteral("読み込み"), box), button(QStringLiteral("書き込み"), box)};
    m_clockButtons = {button(QStringLiteral("読み込み"), box), button(QStringLiteral("書き込み"), box)};
    m_bbicWrite = button(QStringLiteral("書き込み"), box);
    auto* backlight = new QLabel(QStringLiteral("バックライト輝度"), box);
    auto* clock = new QLabel(QStringLiteral("リファレンスクロック値"), box);
    auto* bbic = new QLabel(QStringLiteral("BBIC REG"), box);
    auto* address = new QLabel(QStringLiteral("ADR"), box);
    auto* data = new QLabel(QStringLiteral("DATA"), box);
    shell::labelFor(backlight, m_backlight);
    shell::labelFor(clock, m_referenceClock);
    shell::labelFor(address, m_bbicAddress)
        ->setAccessibleName(bbic->text() + QLatin1Char(' ') + address->text());
    shell::labelFor(data, m_bbicData)->setAccessibleName(bbic->text() + QLatin1Char(' ') + data->text());
    grid->addWidget(backlight, 0, 0);
    grid->addWidget(m_backlight, 0, 1);
    grid->addWidget(m_backlightButtons[0], 0, 2);
    grid->addWidget(m_backlightButtons[1], 0, 3);
    grid->addWidget(clock, 1, 0);
    grid->addWidget(m_referenceClock, 1, 1);
    grid->addWidget(m_clockButtons[0], 1, 2);
    grid->addWidget(m_clockButtons[1], 1, 3);
    grid->addWidget(bbic, 2, 0);
    grid->addWidget(address, 3, 0);
    grid->addWidget(m_bbicAddress, 3, 1);
    grid->addWidget(data, 4, 0);
    grid->addWidget(m_bbicData, 4, 1);
    grid->addWidget(m_bbicWrite, 4, 3);
    m_read = button(QStringLiteral("補正値読み込み"), box);
    // The rows keep together at the top; the read button sits at the bottom of the block.
    grid->setRowStretch(5, 1);
    grid->addWidget(m_read, 6, 0, 1, 4);
    return box;
}

void CalibrationPanel::calculateRow(Row& row) {
    const auto result = CalibrationCalc::calculateRow(row.input->text());
    if (!result) {
        return; // an empty input field: nothing to do
    }
    if (result->message) {
        emit message(*result->message);
    }
    for (std::size_t b = 0; b < row.hex.size(); ++b) {
        row.hex[b]->setText(result->fields[b]);
    }
}

void CalibrationPanel::calculateRssi(int antenna) {
    const auto result = CalibrationCalc::calculateRssi(m_x50->text(), m_x20->text());
    if (!result) {
        return;
    }
    for (const Message& m : result->messages) {
        emit message(m);
    }
    auto& fields = m_rssi[static_cast<std::size_t>(antenna)];
    const auto slope = CalibrationCalc::hexFields(result->slope);
    const auto offset = CalibrationCalc::hexFields(result->offset);
    for (std::size_t b = 0; b < 2; ++b) {
        fields[0][b]->setText(slope[b]);
        fields[1][b]->setText(offset[b]);
    }
}

void CalibrationPanel::load(const CalibrationFields& values) {
    for (std::size_t r = 0; r < 8; ++r) {
        for (std::size_t b = 0; b < 4; ++b) {
            m_dac[r].hex[b]->setText(values.dac[r][b]);
            m_amp[r].hex[b]->setText(values.amp[r][b]);
        }
    }
    for (std::size_t a = 0; a < 2; ++a) {
        for (std::size_t c = 0; c < 2; ++c) {
            for (std::size_t b = 0; b < 2; ++b) {
                m_rssi[a][c][b]->setText(values.rssi[a][c][b]);
            }
        }
    }
    m_backlight->setCurrentIndex(values.backlight);
    m_referenceClock->setCurrentIndex(values.referenceClock);
}

CalibrationFields CalibrationPanel::fields() const {
    CalibrationFields values;
    for (std::size_t r = 0; r < 8; ++r) {
        for (std::size_t b = 0; b < 4; ++b) {
            values.dac[r][b] = m_dac[r].hex[b]->text();
            values.amp[r][b] = m_amp[r].hex[b]->text();
        }
    }
    for (std::size_t a = 0; a < 2; ++a) {
        for (std::size_t c = 0; c < 2; ++c) {
            for (std::size_t b = 0; b < 2; ++b) {
                values.rssi[a][c][b] = m_rssi[a][c][b]->text();
            }
        }
    }
    values.backlight = m_backlight->currentIndex();
    values.referenceClock = m_referenceClock->currentIndex();
    return values;
}

void CalibrationPanel::clearValues() {
    load(CalibrationFields{});
}

QPushButton* CalibrationPanel::calculateButton(bool amp, int row) const {
    return (amp ? m_amp : m_dac)[static_cast<std::size_t>(row)].calculate;
}

QLineEdit* CalibrationPanel::input(bool amp, int row) const {
    return (amp ? m_amp : m_dac)[static_cast<std::size_t>(row)].input;
}

} // namespace tolvan::testmode
