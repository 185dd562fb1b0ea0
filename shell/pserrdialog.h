#pragma once

#include <QDialog>
#include <QTimer>

#include <cstdint>

namespace tolvan::link {
struct LinkState;
}

namespace tolvan::shell {

// The no-data dialog ("エラー") shown after a read that ended without data. It stays while the
// last result class says the handset simply did not answer (0) or answered normally (10, 11);
// any other class was already reported by the link's own message, so it closes by itself at
// its next 10 ms tick. OK closes it.
class PsErrDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPollMs = 10;

    explicit PsErrDialog(const tolvan::link::LinkState& state, QWidget* parent = nullptr);

    static bool staysFor(std::uint8_t resultClass);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void poll();

    const tolvan::link::LinkState& m_state;
    QTimer* m_timer; // a child, so tests can count its ticks
};

} // namespace tolvan::shell
