#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace tolvan::psent {

// "[ZX-VA100子機登録]" of the handset setting screen: its hint, "子機登録" and "子機登録中断",
// and the read-only "状態" and "エラー" boxes. The screen runs the registration.
class RegistrationPanel : public QWidget {
    Q_OBJECT
public:
    explicit RegistrationPanel(QWidget* parent = nullptr);

    QPushButton* startButton() const { return m_start; }
    QPushButton* abortButton() const { return m_abort; }
    QLineEdit* statusBox() const { return m_status; }
    QLineEdit* errorBox() const { return m_error; }
    void setStatus(const QString& status, const QString& error);

private:
    QPushButton* m_start;
    QPushButton* m_abort;
    QLineEdit* m_status;
    QLineEdit* m_error;
};

} // namespace tolvan::psent
