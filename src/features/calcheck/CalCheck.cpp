#include "features/calcheck/CalCheck.h"

#include "session/InstrumentSession.h"
#include "session/LineClaim.h"
#include "session/SendAbort.h"
#include "support/PathUtilities.h"

#include <QScopedValueRollback>

namespace
{
const QByteArray kPrompt("Orvantis>");
constexpr float kCommandTimeout = 1.0f;
constexpr float kAutoTimeout = 0.1f;
constexpr float kSpectralDataTimeout = 10.0f;
constexpr int kAcquireCount = 100;
constexpr int kReferenceAverages = 10;
constexpr int kYes = 1;
constexpr int kThirdButton = -1;
} // namespace

CalCheck::CalCheck(InstrumentSession &session, OperatorDialogs &dialogs, CalCheckHooks hooks)
    : m_session(session), m_dialogs(dialogs), m_hooks(std::move(hooks))
{
    Q_ASSERT(m_hooks.OpenNewFile && m_hooks.ParseStatus && m_hooks.createProgress);
}

QByteArray CalCheck::acquireCommand()
{
    // The count is written as a number with its sign position blank.
    return "acquire fixed " + QByteArray::number(kAcquireCount) + " 1 \"\" 0 -1 2\r";
}

QByteArray CalCheck::lightReferenceCommand()
{
    return "lref,0,0," + QByteArray::number(kReferenceAverages) + "\r";
}

QString CalCheck::readyQuestion()
{
    return tr("To do a cal check, the Orvantis's sampling cavity must be completely "
              "clean and dry.  Is it ready?");
}

QString CalCheck::notStabilizedNotice()
{
    return tr("Cannot continue, because the Orvantis is not fully stabilized, or its "
              "status could not be determined.");
}

QString CalCheck::closeFileQuestion()
{
    return tr("A new file must be opened to save the cal check data.  Is it OK to "
              "close the currently open file?");
}

QString CalCheck::chooseFileNotice()
{
    return tr("Next, specify the location and file name into which the cal check "
              "data will be stored.");
}

QString CalCheck::completeNotice()
{
    return tr("Data collection complete.  The light source will now need to "
              "stabilize because it was turned off for dark measurements.");
}

QString CalCheck::progressTitle()
{
    return tr("Cal Check Data Collection");
}

QString CalCheck::spectraMessage(int set)
{
    return tr("Collecting %1 of %2 sets of spectra.").arg(set).arg(kSets);
}

QString CalCheck::referencesMessage(int set)
{
    return tr("Collecting %1 of %2 sets of light source references.").arg(set).arg(kSets);
}

QString CalCheck::darkMessage()
{
    return tr("Collecting dark spectra.");
}

QString CalCheck::receivingMessage()
{
    return tr("Receiving spectral data");
}

CalCheck::Outcome CalCheck::run()
{
    if (m_running)
        return Outcome::AlreadyRunning;
    const QScopedValueRollback<bool> running(m_running, true);

    if (m_dialogs.ShowQuestionBox(readyQuestion(), tr("Yes"), tr("No"), QString(), kYes) != kYes)
        return Outcome::Declined;

    LineClaim claim = m_session.claimLine(LineOperation::CalCheck);
    if (!claim)
        return Outcome::AlreadyRunning;
    m_line = &claim;
    // Should the program end meanwhile, the instrument stops; the dark set declares the light
    // source's return for the time it is off.
    const StopOnExit stop = claim.stopOnExit(kThreeEtx);
    const Outcome outcome = collect(claim);
    m_line = nullptr;
    restore();
    return outcome;
}

CalCheck::Outcome CalCheck::collect(Line &line)
{
    // Whatever the instrument was doing is abandoned, back to its prompt.
    line.SendCommand(kThreeEtx, QByteArray(), kPrompt, kCommandTimeout);
    const QByteArray status = line.SendCommand("st\r", "st:", "\r", kCommandTimeout);
    if (!m_hooks.ParseStatus(status)) {
        m_dialogs.ShowQuestionBox(notStabilizedNotice(), QString(), QString(), tr("OK"),
                                  kThirdButton);
        return Outcome::NotStabilized;
    }
    line.SendCommand("auto\r", QByteArray(), QByteArray(), kAutoTimeout);

    if (m_session.DataFileNumber() != 0) {
        if (m_dialogs.ShowQuestionBox(closeFileQuestion(), tr("Yes"), QString(), tr("Cancel"),
                                      kYes) != kYes)
            return Outcome::Declined;
        m_session.dataFile().close();
    }
    if (m_dialogs.ShowQuestionBox(chooseFileNotice(), tr("OK"), QString(), tr("Cancel"), kYes) !=
        kYes)
        return Outcome::NoFile;
    if (m_hooks.OpenNewFile() != 1)
        return Outcome::NoFile;

    // From here the receive loop writes every character from the instrument into the file.
    const QByteArray acquire = acquireCommand();
    m_progress = m_hooks.createProgress();
    m_overall = 1;
    m_progress->setMaximum(CalCheckProgress::ProgressBar2, kOverallMaximum);
    m_progress->setMinimum(CalCheckProgress::ProgressBar2, 0);
    m_progress->setValue(CalCheckProgress::ProgressBar2, m_overall);
    m_progress->setBarVisible(CalCheckProgress::ProgressBar2, true);
    m_progress->setTitle(progressTitle());
    m_progress->show();

    Outcome outcome = Outcome::Stopped;
    bool going = true;
    for (int set = 1; going && set <= kSets; ++set) {
        going = collectSpectra(acquire, spectraMessage(set));
        if (going) {
            stepOverall();
            receiveSpectralData();
            going = collectReferences(set);
        }
    }
    // The dark set runs with the light source off, in the same write as the acquisition.
    if (going && collectDark(line, acquire)) {
        m_progress->hide();
        m_dialogs.ShowQuestionBox(completeNotice(), tr("OK"), QString(), QString(), kYes);
        outcome = Outcome::Completed;
    }
    finish();
    return outcome;
}

// The dark set, and the light source on again; false when stopped. Should the program end
// while the light is off, it is switched on again.
bool CalCheck::collectDark(Line &line, const QByteArray &acquire)
{
    const StopOnExit lightOff = line.stopOnExit(kThreeEtx + "lpower,1\r");
    if (!collectSpectra("lpower,0\r" + acquire, darkMessage()))
        return false;
    stepOverall();
    receiveSpectralData();
    line.SendCommand("lpower,1\rst\r", QByteArray(), QByteArray(), kCommandTimeout);
    return true;
}

// One set of spectra; false when stopped.
bool CalCheck::collectSpectra(const QByteArray &command, const QString &message)
{
    m_progress->setMessage(message);
    m_progress->setValue(CalCheckProgress::ProgressBar, 0);
    m_progress->setMaximum(CalCheckProgress::ProgressBar, kSpectraCount);
    m_progress->setCancelFlag(false);
    m_line->SendCommand(command, "ms", "data", kCommandTimeout);
    keepWhatFollowed();
    countLoop(',', kSpectraCount, false);
    return !m_progress->CancelFlag() && m_line->portOpen();
}

// Waits for the spectral data that follows the spectra and for the prompt; a Stop here is
// not looked at.
void CalCheck::receiveSpectralData()
{
    m_progress->setValue(CalCheckProgress::ProgressBar, 0);
    m_progress->setMessage(receivingMessage());
    m_progress->setBarVisible(CalCheckProgress::ProgressBar, false);
    m_line->SendCommand(QByteArray(), "ata", kPrompt, kSpectralDataTimeout);
}

// One set of light source references; false when stopped.
bool CalCheck::collectReferences(int set)
{
    m_progress->setMessage(referencesMessage(set));
    m_progress->setBarVisible(CalCheckProgress::ProgressBar, true);
    m_progress->setValue(CalCheckProgress::ProgressBar, 0);
    m_progress->setMaximum(CalCheckProgress::ProgressBar, kReferenceCount);
    m_progress->setCancelFlag(false);
    m_session.clearReceiveBuffer();
    m_line->SendCommand(lightReferenceCommand(), "lref", ".", kCommandTimeout);
    keepWhatFollowed();
    countLoop('.', kReferenceCount, true);
    stepOverall();
    return !m_progress->CancelFlag() && m_line->portOpen();
}

// Follows the instrument's progress marks in ReceiveBuffer. It has no time-out of its own:
// a silent instrument is left by "Stop", and a line that has gone ends it at once. A count
// that jumps past the bar's maximum leaves the bar where it was.
void CalCheck::countLoop(char mark, int limit, bool untilPrompt)
{
    const QByteArray markText(1, mark);
    int count = 0;
    for (;;) {
        if (m_progress->CancelFlag() || count >= limit || !m_line->portOpen())
            return;
        m_line->pass();
        count = CountChar(markText, m_session.ReceiveBuffer());
        if (count <= limit)
            m_progress->setValue(CalCheckProgress::ProgressBar, count);
        if (untilPrompt && m_session.ReceiveBuffer().contains(kPrompt))
            return;
    }
}

// What came in the same receive run after the reply's end marker (the marks the count loop
// counts, the prompt) is not dropped with the framing: the count would wait for it forever.
void CalCheck::keepWhatFollowed()
{
    m_session.appendToReceiveBuffer(m_line->afterReply());
}

void CalCheck::stepOverall()
{
    m_progress->setValue(CalCheckProgress::ProgressBar2, ++m_overall);
}

// Reached after a complete collection and directly on Stop: the light source goes back on
// and the file is closed, so it also holds the replies to these last commands.
void CalCheck::finish()
{
    m_progress.reset();
    m_line->SendCommand(kThreeEtx + "lpower,1\rst\r", QByteArray(), QByteArray(), kCommandTimeout);
    if (m_session.DataFileNumber() != 0)
        m_session.dataFile().close();
}

void CalCheck::restore()
{
    m_session.SetStatus(m_session.Status());
}
