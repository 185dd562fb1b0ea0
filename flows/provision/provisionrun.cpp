#include "flows/provision/provisionrun.h"

#include "common/logfile/logfilekind.h"
#include "common/modelnames.h"
#include "modes/datasave/model/handsetbackup.h"
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/writebackverify.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/handsetsettingimage.h"

#include <QDir>
#include <QElapsedTimer>

#include <algorithm>

namespace tolvan::provision {
namespace {

constexpr std::uint16_t kPinBlock = 0x1302;
constexpr qsizetype kCauseLabels = 3; // a verify names this many lines, then how many more

QString modelText(std::uint32_t modelCode) {
    return QString::fromLatin1(modelNameOf(modelCode));
}

void putPin(handset::HandsetBlocks& blocks, const QString& pin) {
    psent::HandsetSettingImage image = psent::HandsetSettingImage::fromStore(blocks);
    image.putDigits({}, pin);
    image.storeInto(blocks);
}

bool pinHeld(const handset::HandsetBlocks& blocks, const QString& pin) {
    handset::HandsetBlocks expected;
    expected.take(kPinBlock, blocks);
    putPin(expected, pin);
    return std::ranges::equal(expected.block(kPinBlock, 4), blocks.block(kPinBlock, 4));
}

QString notHeldText(const QList<datasave::WriteBackDifference>& differences) {
    QStringList labels;
    for (const auto& d : differences) {
        if (labels.size() == kCauseLabels) {
            labels.append(QStringLiteral("ほか%1項目").arg(differences.size() - kCauseLabels));
            break;
        }
        labels.append(d.label.trimmed());
    }
    return QStringLiteral("書き込んだ値を子機が保持していません: %1").arg(labels.join(QStringLiteral("、")));
}

} // namespace

QString psIdText(const handset::HandsetBlocks& blocks) {
    return QStringLiteral("%1").arg(dataset::SystemParamImage::fromStore(blocks).psIdValue(), 9, 10,
                                    QLatin1Char('0'));
}

ProvisionRun::ProvisionRun(ProvisionTemplate base, ProvisionPlan plan, ProvisionJournal& journal,
                           RunOptions options)
    : m_base(std::move(base)), m_plan(std::move(plan)), m_journal(journal), m_options(std::move(options)) {
    for (const PlanRow& row : m_plan.rows()) {
        const RowState state = m_journal.stateOf(row.row, row.psId);
        if (state == RowState::Open || (state == RowState::Failed && m_options.retryFailed)) {
            m_rows.push_back(row.row);
        }
    }
}

int ProvisionRun::rowsLeft() const {
    const std::scoped_lock lock(m_lock);
    return static_cast<int>(m_rows.size());
}

const PlanRow* ProvisionRun::takeRow() {
    const std::scoped_lock lock(m_lock);
    if (m_rows.empty()) {
        return nullptr;
    }
    const int row = m_rows.front();
    m_rows.pop_front();
    return m_plan.rowAt(row);
}

void ProvisionRun::journal(const JournalEntry& entry) {
    const std::scoped_lock lock(m_lock);
    if (const auto failed = m_journal.append(entry)) {
        m_journalError = *failed;
    }
}

void ProvisionRun::serve(HandsetLine& line, const Reporter& reporter, const StepShown& shown) {
    const HandsetLine::Cancelled cancelled = [this] { return stopRequested(); };
    while (rowsLeft() > 0 && !stopRequested()) {
        auto report = runHandset(line, shown);
        if (!report) {
            return;
        }
        {
            const std::scoped_lock lock(m_lock);
            report->rowsLeft = static_cast<int>(m_rows.size());
            if (reporter) {
                reporter(*report);
            }
        }
        if (report->kind == HandsetReport::Kind::NoRowLeft) {
            return;
        }
        // Told first, so the technician sees the result before pulling the handset.
        if (shown) {
            shown(LineStep::WaitingForSwap, report->row);
        }
        line.waitForUnplug(cancelled);
    }
}

std::optional<HandsetReport> ProvisionRun::runHandset(HandsetLine& line, const StepShown& shown) {
    int rowOnLine = 0; // until the handset takes its row
    auto show = [&](LineStep step) {
        if (shown) {
            shown(step, rowOnLine);
        }
    };
    const HandsetLine::Cancelled cancelled = [this] { return stopRequested(); };
    show(LineStep::WaitingForHandset);
    if (!line.waitForHandset(cancelled)) {
        return std::nullopt;
    }
    QElapsedTimer clock;
    clock.start();
    const QDateTime started = QDateTime::currentDateTimeUtc();
    HandsetReport report;
    JournalEntry entry;
    entry.started = started;
    // Every step that ends is journalled at once; a failure ends the handset.
    auto record = [&](Step step, const std::optional<QString>& failure = std::nullopt) {
        entry.step = step;
        entry.ok = !failure;
        entry.cause = failure.value_or(QString());
        entry.finished = QDateTime::currentDateTimeUtc();
        entry.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        journal(entry);
        report.seconds = entry.seconds;
        if (failure) {
            report.cause = *failure;
        }
    };
    auto finish = [&](HandsetReport::Kind kind) {
        report.kind = kind;
        line.release();
        return report;
    };

    show(LineStep::Reading);
    handset::HandsetStore& store = line.store();
    if (const auto failed = line.readAll()) {
        record(Step::Read, failed);
        return finish(HandsetReport::Kind::Failed);
    }
    const std::uint32_t model = line.modelCode();
    report.model = entry.model = modelText(model);
    report.psId = entry.psIdBefore = entry.psIdAfter = psIdText(store.held());
    if (model != m_base.modelCode()) {
        record(Step::Model, logfile::kLogFile1.modelMismatch(model).value_or(Message{}).text);
        return finish(HandsetReport::Kind::WrongModel);
    }
    if (const auto doneRow = [&] {
            const std::scoped_lock lock(m_lock);
            return m_journal.doneRowWithPsId(report.psId);
        }()) {
        entry.row = report.row = *doneRow;
        report.cause = QStringLiteral("この子機は%1行目で設定済みです").arg(*doneRow);
        record(Step::Skip);
        return finish(HandsetReport::Kind::AlreadyDone);
    }
    // Nothing of the plan has reached this handset yet: the last safe point to stop at.
    if (stopRequested()) {
        line.release();
        return std::nullopt;
    }
    const PlanRow* row = takeRow();
    if (!row) {
        line.release();
        report.kind = HandsetReport::Kind::NoRowLeft;
        return report;
    }
    entry.row = report.row = rowOnLine = row->row;
    report.psNumber = row->psNumber;
    record(Step::Read);

    if (!m_options.backupRoot.isEmpty()) {
        const auto backedUp =
            datasave::backUpHandset(store, model, m_options.memo, m_options.backupRoot, true);
        if (const auto* failed = std::get_if<Message>(&backedUp)) {
            record(Step::Backup, failed->text);
            return finish(HandsetReport::Kind::Failed);
        }
        entry.backup = std::get<QString>(backedUp);
        record(Step::Backup);
    }

    // The template over what the handset holds, with the row's identity and lines.
    show(LineStep::Writing);
    handset::HandsetBlocks& pending = store.prepareWrite();
    const TemplateLoad load = m_base.loadInto(pending, row->edits());
    handset::HandsetBlocks expected = pending;
    if (const auto failed = line.writeBack()) {
        record(Step::Write, failed);
        return finish(HandsetReport::Kind::Failed);
    }
    // Script 19 does not carry the PIN; a registration writes it itself.
    const bool pinByWrite = !row->pin.isEmpty() && !m_options.registration;
    if (pinByWrite) {
        handset::HandsetBlocks& withPin = store.prepareWrite();
        putPin(withPin, row->pin);
        putPin(expected, row->pin);
        if (const auto failed = line.writeSettings()) {
            record(Step::Write, failed);
            return finish(HandsetReport::Kind::Failed);
        }
    }
    record(Step::Write);

    show(LineStep::Verifying);
    if (const auto failed = line.readAll()) {
        record(Step::Verify, failed);
        return finish(HandsetReport::Kind::Failed);
    }
    entry.psIdAfter = report.psId = psIdText(store.held());
    auto differences =
        datasave::compareWriteBack(expected, store, model, {true, true, load.jv1Unread, load.jv4Unread});
    if (pinByWrite && !pinHeld(store.held(), row->pin)) {
        differences.append({QStringLiteral("暗証番号"), row->pin, QString()});
    }
    if (!differences.isEmpty()) {
        record(Step::Verify, notHeldText(differences));
        return finish(HandsetReport::Kind::Failed);
    }
    record(Step::Verify);

    if (m_options.registration && model == kModelVa100) {
        show(LineStep::Registering);
        if (const auto failed = line.registerHandset(row->psNumber, row->pin)) {
            record(Step::Register, failed);
            return finish(HandsetReport::Kind::Failed);
        }
        // What the set saves is the handset as the registration left it.
        if (const auto failed = line.readAll()) {
            record(Step::Register, failed);
            return finish(HandsetReport::Kind::Failed);
        }
        if (!row->pin.isEmpty() && !pinHeld(store.held(), row->pin)) {
            record(Step::Register, QStringLiteral("暗証番号が書き込まれていません"));
            return finish(HandsetReport::Kind::Failed);
        }
        record(Step::Register);
    }

    show(LineStep::Saving);
    const QString base = QDir(m_options.outDir).filePath(row->psNumber + u'_' + row->psId);
    const auto built = datasave::buildSaveSet(store, model, row->memo.isEmpty() ? m_options.memo : row->memo);
    std::optional<Message> saveError;
    if (const auto* failed = std::get_if<Message>(&built)) {
        saveError = *failed;
    } else {
        saveError = datasave::writeSaveSet(base, std::get<datasave::SaveSetFiles>(built));
    }
    if (saveError) {
        record(Step::Save, saveError->text);
        return finish(HandsetReport::Kind::Failed);
    }
    entry.savedSet = base;
    record(Step::Save);
    record(Step::Done);
    return finish(HandsetReport::Kind::Passed);
}

} // namespace tolvan::provision
