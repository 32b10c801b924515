#include "SimSamplingCommands.h"

#include "SimAcquireRequest.h"
#include "SimEngine.h"
#include "SimSampleData.h"

#include <memory>

namespace
{

constexpr int kReferenceDots = 88;
// Time the instrument spends working a series of spectra into its data.
constexpr int kProcessingMs = 200;
constexpr int kAutoIntegrationMs = 50;

struct Counters {
    quint32 samples = 0;
    quint32 series = 0;
};
using SharedCounters = std::shared_ptr<Counters>;

struct Periodic {
    SimAcquireRequest request;
    qint64 periodMs = 0;
    SharedCounters counters;
};

void badArgument(SimEngine &engine, const SimCommandLine &command)
{
    engine.sendLine("Bad argument: " + command.line.trimmed());
}

// Flash name of a stored sample: at most 8 characters, the extension added here.
QByteArray sampleFileName(const QByteArray &flashName)
{
    const QByteArray base = flashName.isEmpty() ? QByteArray("SAMPLE") : flashName.left(8);
    return base + ".RAW";
}

// Queues one sample from the current output position: the spectra take their time, then
// the sample goes out and/or into flash. Returns the bytes it sends.
qsizetype queueSample(SimEngine &engine, Counters &counters, const SimAcquireRequest &request)
{
    engine.wait(qint64(request.spectra) * engine.options().spectrumMs);
    const quint32 number = ++counters.samples;
    const qint64 at = engine.cursor();
    const QByteArray text =
        "sample," + QByteArray::number(number) + ',' +
        engine.clockAt(at).toString(QStringLiteral("MM-dd-yy HH:mm:ss")).toLatin1() + ',' +
        QByteArray::number(request.spectra) + ',' +
        QByteArray::number(engine.options().spectrumMs) + "\r\n" +
        SimSampleData::lines(
            SimSampleData::counts(engine.status().lightOn(), request.spectra, number));
    if (request.send)
        engine.send(text);
    if (request.store) {
        engine.later(0, [&engine, request, text, at] {
            engine.disk().append(sampleFileName(request.flashName), text, engine.clockAt(at));
        });
    }
    return request.send ? text.size() : 0;
}

// The command goes on until the output queued so far has gone out.
void finishWhenSent(SimEngine &engine)
{
    engine.keepBusy();
    engine.later(0, [&engine] { engine.finishCommand(); });
}

void acquireFixed(SimEngine &engine, Counters &counters, const SimAcquireRequest &request)
{
    // The header holds no "," and nothing of "data" before its last word, so a listener can
    // frame it from "ms" to "data" and then count one "," per spectrum.
    const int spectrumMs = engine.options().spectrumMs;
    engine.sendLine("Integration " + QByteArray::number(spectrumMs) + " ms");
    engine.sendLine(QByteArray::number(request.spectra) + " spectra");
    engine.sendLine("Collecting data");
    engine.wait(engine.options().settleMs);
    for (int i = 0; i < request.spectra; ++i) {
        engine.wait(spectrumMs);
        engine.send(",");
    }
    engine.wait(kProcessingMs);
    const quint32 series = ++counters.series;
    const QByteArray data = SimSampleData::lines(
        SimSampleData::counts(engine.status().lightOn(), request.spectra, 0x10000u + series));
    if (request.send)
        engine.send("\r\nSpectral data\r\n" + data);
    else
        engine.send("\r\n");
    if (request.store) {
        const qint64 at = engine.cursor();
        engine.later(0, [&engine, request, data, at] {
            engine.disk().write(sampleFileName(request.flashName), data, engine.clockAt(at));
        });
    }
    finishWhenSent(engine);
}

void acquire(SimEngine &engine, const SimCommandLine &command, const SharedCounters &counters)
{
    SimAcquireRequest request;
    if (!SimAcquireRequest::parse(command.rest, &request)) {
        badArgument(engine, command);
        return;
    }
    if (request.mode == "fixed") {
        acquireFixed(engine, *counters, request);
        return;
    }
    queueSample(engine, *counters, request);
    finishWhenSent(engine);
}

// One periodic sample beginning at the current output position, and the next one a period
// after this one began (or right after this one ends, when it takes longer). It ends when
// the line has carried it: the instrument's serial port holds the next one back, so a
// period shorter than the line needs gives samples back to back, never a backlog.
void periodicSample(SimEngine &engine, const std::shared_ptr<const Periodic> &periodic)
{
    const qint64 began = engine.cursor();
    const qsizetype sent = queueSample(engine, *periodic->counters, periodic->request);
    engine.send(SimEngine::prompt());
    if (!engine.options().fastTransfers)
        engine.wait((sent + SimEngine::prompt().size()) * 10000 / qMax(1, engine.baudRate()));
    const qint64 next = qMax(began + periodic->periodMs, engine.cursor());
    engine.later(next - engine.cursor(), [&engine, periodic] { periodicSample(engine, periodic); });
}

void start(SimEngine &engine, const SimCommandLine &command, const SharedCounters &counters)
{
    const qsizetype blank = command.rest.indexOf(' ');
    bool ok = false;
    const double seconds = command.rest.left(blank).toDouble(&ok);
    const QByteArray inner = blank < 0 ? QByteArray() : command.rest.mid(blank + 1).trimmed();
    auto periodic = std::make_shared<Periodic>();
    const bool isAcquire = inner.left(8).compare("acquire ", Qt::CaseInsensitive) == 0;
    if (!ok || seconds < 0 || !isAcquire ||
        !SimAcquireRequest::parse(inner.mid(8), &periodic->request) ||
        periodic->request.mode != "auto") {
        badArgument(engine, command);
        return;
    }
    periodic->periodMs = qint64(seconds * 1000);
    periodic->counters = counters;
    engine.keepBusy();
    periodicSample(engine, periodic);
}

void autoIntegration(SimEngine &engine, const SimCommandLine &)
{
    engine.wait(kAutoIntegrationMs);
    engine.sendLine("Auto integration " + QByteArray::number(engine.options().spectrumMs) + " ms");
}

// Light-source references: one "." per reference as it is taken.
void lightReference(SimEngine &engine, const SimCommandLine &)
{
    for (int i = 0; i < kReferenceDots; ++i) {
        engine.wait(engine.options().spectrumMs);
        engine.send(".");
    }
    engine.send("\r\n");
    finishWhenSent(engine);
}

} // namespace

void SimSamplingCommands::install(SimEngine &engine)
{
    const auto counters = std::make_shared<Counters>();
    engine.addCommand("acquire", [counters](SimEngine &e, const SimCommandLine &command) {
        acquire(e, command, counters);
    });
    engine.addCommand("start", [counters](SimEngine &e, const SimCommandLine &command) {
        start(e, command, counters);
    });
    engine.addCommand("auto", autoIntegration);
    engine.addCommand("lref", lightReference);
}
