#pragma once

#include "link/linkdriver.h"
#include "link/portfinder.h"
#include "link/serialtransport.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace tolvan::link {

inline constexpr const char* kPortOpenFailedText =
    "USBを検出しましたがポートがOPENできませんでした。\nUSBを再接続後に実行してください。";
// Shown when a mode cannot start because the link did not open: the data setting mode has its
// own spelling, the other four modes share the second.
inline constexpr const char* kNoCommunicationDataSettingText =
    "子機と通信が出来ませんでした。\n接続と電源がONか確認して下さい。";
inline constexpr const char* kNoCommunicationText =
    "子機と通信ができませんでした。\n接続と電源がONか確認して下さい。";
// Shown after a read or write that ended without the handset's data (the no-data dialog).
inline constexpr const char* kNoDataText = "子機からデータが送信されません";

// The handset link as the main menu and the modes use it: finds and opens the handset's port,
// runs the engine over it, reacts to the handset being unplugged and plugged in again, and offers
// the calling order every operation repeats.
class LinkSession : public QObject {
    Q_OBJECT
public:
    using DeviceLister = std::function<QList<DeviceInfo>()>;
    using PortOpener = std::function<SerialOpenResult(const QString& devicePath)>;
    using PresenceCheck = std::function<bool(const QString& devicePath)>;

    // operations: every operation the engine may run (the modes' and any flow's).
    explicit LinkSession(OperationTable operations, QObject* parent = nullptr);
    ~LinkSession() override;

    LinkDriver& driver() { return m_driver; }
    LinkEngine& engine() { return m_driver.engine(); }
    const LinkState& state() const { return m_driver.engine().state(); }

    void setDeviceLister(DeviceLister lister) { m_lister = std::move(lister); }
    void setPortOpener(PortOpener opener) { m_opener = std::move(opener); }
    // A device given on the command line: discovery is skipped, and the handset counts as
    // attached while the device is there.
    void setFixedDevicePath(const QString& path) { m_fixedPath = path; }
    QString fixedDevicePath() const { return m_fixedPath; }
    void setPresenceCheck(PresenceCheck check) { m_presence = std::move(check); }
    // The device the next open uses: the fixed one, else the one discovery finds (empty: none).
    QString devicePath() const;
    // Whether the handset is attached, as the reconnect rule asks: the fixed device's node is
    // there, or discovery finds one.
    bool handsetPresent() const;
    void setReconnectDelayMs(int ms) { m_reconnectDelayMs = ms; }

    // Closes any open port, finds the handset and opens it; 0 on success, -1 when no handset is
    // attached or its port does not open (portOpenFailed then says why).
    int openLink();
    void closePort();

    // Starts an operation: operation id, script in dialogue state 1, then the open frame, sent
    // now or, when a keep-alive dialogue runs, in place of its next frame.
    void startOperation(std::uint32_t operationId, std::uint8_t script);
    // One command in place of the next frame of the running dialogue.
    void sendSingle(std::uint32_t code) { engine().setPending(true, code); }
    // Before a file or print dialog: close the running dialogue and make resumeScript current
    // again (dialogue state 1) for the operation after the dialog.
    void pauseForDialog(bool portUsed, std::uint8_t resumeScript);
    // The handset is gone: the dialogue is dropped and the close frame made pending.
    void dropDialogue();
    void leaveMode() { engine().leaveMode(); }

    // The device tree changed: handset removed, or back (the second notice that finds it
    // reconnects, after a delay).
    void deviceTreeChanged();
    int reconnectCounter() const { return m_reconnectCounter; }
    // While on, a handset pulled off is an expected swap (a window that waits for the next
    // handset itself): the port is still closed and handsetRemoved raised, but no removed-handset
    // dialog is asked for and a handset plugged in is not reopened behind the window's back.
    void setSwapsExpected(bool on) { m_swapsExpected = on; }
    bool reconnectPending() const { return m_reconnectTimer.isActive(); }

signals:
    void portOpenFailed(const QString& devicePath, bool permissionDenied, const QString& errorText);
    void handsetRemoved();
    void handsetReconnected();
    // Show the removed-handset dialog; raised once until the handset is back.
    void removedDialogRequested();
    void removedDialogDismissed();

private:
    void reconnect();

    LinkDriver m_driver;
    std::unique_ptr<QIODevice> m_port;
    DeviceLister m_lister;
    PortOpener m_opener;
    PresenceCheck m_presence;
    QString m_fixedPath;
    int m_reconnectCounter = 0;
    int m_reconnectDelayMs = 3000;
    bool m_removedDialogUp = false;
    bool m_swapsExpected = false;
    QTimer m_reconnectTimer;
};

} // namespace tolvan::link
