#include "cli/registercommands.h"

#include "cli/cliapp.h"
#include "cli/clisession.h"

#include "common/logfile/savesetnames.h"
#include "modes/datasave/model/saveset.h"
#include "modes/psent/model/handsetsettingimage.h"
#include "modes/psent/model/psentoperations.h"
#include "modes/psent/model/registrationflow.h"
#include "modes/psent/model/registrationrun.h"
#include "modes/psent/model/settingspair.h"

#include "common/backup/backupfolder.h"

#include "link/core/catalogue.h"

#include <array>
#include <optional>

namespace tolvan::cli {
namespace {

namespace op = psent::op;
namespace reg = psent::registration;

// The handset follows the registration over the air on its own; the engine's watchdog ends a
// silent one, but a handset that reports "running" for ever would hold the command without end.
constexpr int kRegistrationLimitMs = 180000;
// The handset's answer to the stop command and the close that follows it.
constexpr int kStopLimitMs = 10000;
constexpr int kHighestPsNumber = 391;

struct RegisterRequest {
    QString base;
    std::array<std::uint8_t, 3> psNumber{}; // ASCII digits, as the handset stores them
    std::array<std::uint8_t, 4> pin{};
};

// Exactly count ASCII digits (a full-width digit is not one).
template <std::size_t N> std::optional<std::array<std::uint8_t, N>> asciiDigits(const QString& text) {
    if (text.size() != static_cast<qsizetype>(N)) {
        return std::nullopt;
    }
    std::array<std::uint8_t, N> digits{};
    for (std::size_t i = 0; i < N; ++i) {
        const char16_t c = text.at(static_cast<qsizetype>(i)).unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        digits[i] = static_cast<std::uint8_t>(c);
    }
    return digits;
}

// BASE --ps-number NNN --pin NNNN, the options in any order, each once; why says what is wrong.
std::optional<RegisterRequest> parseRequest(const QStringList& args, QString& why) {
    RegisterRequest request;
    std::optional<QString> psNumber;
    std::optional<QString> pin;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        std::optional<QString>* option = a == QLatin1String("--ps-number") ? &psNumber
                                         : a == QLatin1String("--pin")     ? &pin
                                                                           : nullptr;
        if (option != nullptr) {
            if (option->has_value() || i + 1 >= args.size()) {
                why = a + QStringLiteral(" needs one value");
                return std::nullopt;
            }
            *option = args.at(++i);
        } else if (a.startsWith(QLatin1String("--")) || !request.base.isEmpty()) {
            why = QStringLiteral("unexpected argument ") + a;
            return std::nullopt;
        } else {
            request.base = a;
        }
    }
    if (request.base.isEmpty() || !psNumber || !pin) {
        why = QStringLiteral("register needs BASE, --ps-number and --pin");
        return std::nullopt;
    }
    const auto psDigits = asciiDigits<3>(*psNumber);
    if (!psDigits || psNumber->toInt() > kHighestPsNumber) {
        why = QStringLiteral("--ps-number is three digits, 000 to 391");
        return std::nullopt;
    }
    const auto pinDigits = asciiDigits<4>(*pin);
    if (!pinDigits) {
        why = QStringLiteral("--pin is four digits");
        return std::nullopt;
    }
    request.psNumber = *psDigits;
    request.pin = *pinDigits;
    return request;
}

// The backup of what was read, unless --no-backup; the message when it could not be saved.
std::optional<Message> failedBackup(CliApp& cli, CliSession& session) {
    if (!cli.options().backup) {
        return std::nullopt;
    }
    const auto backedUp = psent::backUpSettingsPair(session.store(), session.modelCode(), cli.options().memo,
                                                    backup::backupRoot());
    if (const auto* failed = std::get_if<Message>(&backedUp)) {
        return *failed;
    }
    return std::nullopt;
}

// What the screen holds when it writes: the settings as read, with the PS number and PIN to
// register under (and seamless handover off), in the store's pending write with its frames; an
// exit status when a frame could not be built (nothing is sent then).
std::optional<ExitStatus> prepareWrite(CliApp& cli, CliSession& session, const RegisterRequest& request) {
    psent::HandsetSettingImage image = psent::HandsetSettingImage::fromStore(session.store());
    std::copy(request.psNumber.begin(), request.psNumber.end(), image.psNumber.begin());
    std::copy(request.pin.begin(), request.pin.end(), image.pin.begin());
    if (!psent::RegistrationRun::prepareWrite(image, session.store(), session.requestBuffers())) {
        cli.err() << "tolvan-cli: a write frame could not be built from the handset settings\n";
        cli.err().flush();
        return kExitNoAnswer;
    }
    return std::nullopt;
}

enum class Outcome { Finished, Failed, CommandEnded, ContentError, Lost, TimedOut };

// Starts the registration in the keep-alive dialogue the write left and follows the handset's
// answers, printing the status box's text whenever it changes (and a failure's cause after it).
Outcome followRegistration(CliApp& cli, CliSession& session) {
    using State = psent::RegistrationRun::State;
    std::optional<Outcome> outcome;
    QString shown;
    auto show = [&](const QString& status) {
        if (status != shown) {
            cli.out() << status << '\n';
            cli.out().flush();
            shown = status;
        }
    };
    psent::RegistrationRun run;
    // Runs inside the link's receive path: it only notes and prints; the first end counts.
    run.setListener([&](const psent::RegistrationRun::Step& step) {
        if (outcome) {
            return;
        }
        switch (step.state) {
        case State::Running:
            show(step.status);
            break;
        case State::Failed:
            show(step.status);
            cli.out() << step.error << '\n';
            cli.out().flush();
            outcome = Outcome::Failed;
            break;
        case State::CommandEnded:
            show(step.status);
            outcome = Outcome::CommandEnded;
            break;
        case State::ContentError:
            outcome = Outcome::ContentError;
            break;
        case State::Completed:
            outcome = Outcome::Finished;
            break;
        default:
            // The second phase is followed silently; its end prints the completion.
            break;
        }
    });
    const bool alive =
        session.followRegistration(run, kRegistrationLimitMs, [&] { return outcome.has_value(); });
    const link::LinkState& state = session.runner().state();
    if (outcome) {
        return *outcome;
    }
    if (!state.portOpen) {
        cli.err() << "tolvan-cli: the handset's port closed during the registration\n";
        cli.err().flush();
        return Outcome::Lost;
    }
    return alive ? Outcome::TimedOut : Outcome::Lost;
}

// BASE.jv1 from the system parameter image and BASE.jv4 from the handset settings, as read right
// after the registration. The message of the first failure, if any.
std::optional<Message> writeFilePair(CliApp& cli, CliSession& session, const QString& base) {
    QList<Message> notices;
    auto failed =
        psent::writeSettingsPair(session.store(), session.modelCode(), base, cli.options().memo, &notices);
    for (const Message& notice : notices) {
        session.printMessage(notice.title, notice.text);
    }
    return failed;
}

// As the screen's abort, the settings are written back as they stand (seamless handover stays
// off); before that the handset is told to stop registering, or it would go on answering the
// write script's polls with its reports.
int abandonRegistration(CliApp& cli, CliSession& session) {
    cli.out() << reg::statusText(op::kRegistrationAborted) << '\n';
    cli.out().flush();
    cli.err() << "tolvan-cli: the registration did not end within " << kRegistrationLimitMs / 1000
              << " s; it is aborted\n";
    cli.err().flush();
    // Under the abort's id the close after the handset's answer reopens the keep-alive dialogue
    // instead of counting as the end of the first phase.
    session.sendSingle(op::kRegistrationAborted, link::cmd::kRegisterOff);
    const link::LinkState& state = session.link().state();
    const bool alive = session.runFor(kStopLimitMs, [&] {
        return !state.portOpen ||
               (state.dialogueState == link::kKeepAlive && state.currentCommand == link::cmd::kOpen);
    });
    if (!alive || !state.portOpen) {
        const bool fatal = session.link().session().engine().fatalOutcome().has_value();
        session.close();
        return fatal ? kExitLinkFatal : kExitNoAnswer;
    }
    // As the screen's abort: what the handset holds now is kept first, and the write-back goes
    // out without it when it cannot be saved.
    if (const std::optional<Message> backupError = failedBackup(cli, session)) {
        const Message said = reg::writtenWithoutBackup(*backupError);
        session.printMessage(said.title, said.text);
    }
    if (const auto failed = session.runLastScript(op::kWriting, op::kWriteScript)) {
        return *failed;
    }
    session.close();
    return kExitNoAnswer;
}

// After the handset reported its registration complete: read it again, save the file pair,
// then write the settings back with seamless handover off. The write-back finishes the
// registration: it goes on when the files or its backup could not be written; the status is
// then 3.
int finishRegistration(CliApp& cli, CliSession& session, const RegisterRequest& request) {
    cli.out() << reg::statusText(op::kRegistrationCompleted) << '\n';
    cli.out().flush();
    session.printMessage(QStringLiteral("Tolvan"), reg::completedMessage());
    // Without the data setting read the saved .jv1 would show a fresh process's zeros in the
    // records the settings read leaves unread, not the handset.
    if (const auto failed =
            session.finish(psent::RegistrationRun::readRegistered(session.runner(), op::kReading))) {
        return *failed;
    }
    const std::optional<Message> fileError = writeFilePair(cli, session, request.base);
    if (fileError) {
        session.printMessage(fileError->title, fileError->text);
    }
    const std::optional<Message> backupError = failedBackup(cli, session);
    if (backupError) {
        const Message said = reg::writtenWithoutBackup(*backupError);
        session.printMessage(said.title, said.text);
    }
    if (const auto failed = prepareWrite(cli, session, request)) {
        session.close();
        return *failed;
    }
    if (const auto failed = session.runLastScript(op::kWriting, op::kWriteScript)) {
        return *failed;
    }
    session.close();
    return fileError || backupError ? kExitFileError : kExitOk;
}

int registerHandset(CliApp& cli, const QStringList& args) {
    QString why;
    auto request = parseRequest(args, why);
    if (!request) {
        cli.err() << "tolvan-cli: " << why << '\n';
        return cli.usage();
    }
    request->base = logfile::SaveSetNames::commandBase(request->base);
    CliSession session(cli);
    if (const auto failed = datasave::checkSaveSet(request->base, cli.options().memo, false)) {
        session.printMessage(failed->title, failed->text);
        return kExitFileError;
    }
    if (const auto failed = session.open()) {
        return *failed;
    }
    if (const auto failed = session.runScript(op::kReading, op::kReadScript)) {
        return *failed;
    }
    if (session.modelCode() != kModelVa100) {
        cli.err() << "tolvan-cli: registration is for the ZX-VA100 only; the handset is a "
                  << modelName(session.modelCode()) << '\n';
        cli.err().flush();
        session.close();
        return kExitNoAnswer;
    }
    // A write the user starts: without its backup nothing is sent.
    if (const auto failed = failedBackup(cli, session)) {
        session.printMessage(failed->title, failed->text);
        session.close();
        return kExitFileError;
    }
    if (const auto failed = prepareWrite(cli, session, *request)) {
        session.close();
        return *failed;
    }
    if (const auto failed = session.runScript(op::kWriting, op::kWriteScript)) {
        return *failed;
    }
    switch (followRegistration(cli, session)) {
    case Outcome::Finished:
        return finishRegistration(cli, session, *request);
    case Outcome::Failed:
    case Outcome::CommandEnded:
        session.close();
        return kExitNoAnswer;
    case Outcome::ContentError:
        // Tolvan ends here; the dialogue is still closed properly.
        session.printMessage(errorTitle(), reg::contentErrorText());
        session.close();
        return kExitLinkFatal;
    case Outcome::TimedOut:
        return abandonRegistration(cli, session);
    case Outcome::Lost:
        break;
    }
    // The engine's message is out already.
    const bool fatal = session.link().session().engine().fatalOutcome().has_value();
    session.close();
    return fatal ? kExitLinkFatal : kExitNoAnswer;
}

} // namespace

void addRegisterCommands(CliApp& app) {
    app.addCommand({QStringLiteral("register"),
                    QStringLiteral("register BASE --ps-number NNN --pin NNNN\n"
                                   "                              register a ZX-VA100, then save BASE.jv1 "
                                   "and BASE.jv4"),
                    0, 5, [](CliApp& cli, const QStringList& args) { return registerHandset(cli, args); }});
}

} // namespace tolvan::cli
