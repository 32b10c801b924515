#include "SimFileCommands.h"

#include "SimEngine.h"

#include <cmath>
#include <memory>

namespace
{

constexpr int kNameWidth = 12;
constexpr int kSizeWidth = 15;
constexpr qsizetype kStreamChunk = 64;
constexpr char kCtrlZ = 26;

QByteArray capturePrompt()
{
    return QByteArrayLiteral("Capture>");
}

// A refusal in the wording the instrument was built with; the terse one is "?" and the name.
void refuse(SimEngine &engine, const QByteArray &plain, const QByteArray &numbered,
            const QByteArray &name)
{
    switch (engine.options().refusalWording) {
    case SimOptions::Wording::Plain:
        engine.sendLine(plain);
        break;
    case SimOptions::Wording::Numbered:
        engine.sendLine(numbered);
        break;
    case SimOptions::Wording::Terse:
        engine.sendLine('?' + name);
        break;
    }
}

void notFound(SimEngine &engine, const QByteArray &name)
{
    refuse(engine, "File not found: " + name, "Error 2: no such file", name);
}

// `name` is everything after "capture", possibly empty.
void badName(SimEngine &engine, const QByteArray &name)
{
    refuse(engine, name.isEmpty() ? "Bad file name" : "Bad file name: " + name,
           "Error 123: bad file name", name);
}

// Lines a real disk's listing may hold besides its files: a volume line, a lost fragment
// with no size, a row with an unreadable date, blanks only, a tab in the middle.
const QByteArray kOddLines[] = {
    " Volume in drive A is ORVANTIS  Serial 4F2A-19C0",
    "LOST0001.CHK",
    "BADDATE.TXT              37 XX-XX-XX XX:XX",
    "                    ",
    "JUNK\tLINE 7",
};

void directory(SimEngine &engine, const SimCommandLine &)
{
    const bool odd = engine.options().oddListing;
    const QList<SimDiskEntry> entries = engine.disk().entries();
    engine.send("Directory of A:\r\n\r\n");
    if (odd)
        engine.sendLine(kOddLines[0]);
    qint64 used = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        engine.sendLine(SimFileCommands::listingRow(entries.at(i)));
        used += entries.at(i).size;
        if (odd && i == 0) {
            engine.sendLine(kOddLines[1]);
            engine.sendLine(kOddLines[2]);
        }
    }
    if (odd) {
        engine.sendLine(kOddLines[3]);
        engine.sendLine(kOddLines[4]);
    }
    engine.send("\r\n");
    if (engine.options().cutListing)
        return;
    engine.sendLine(QByteArray::number(entries.size()).rightJustified(6) + " file(s)" +
                    SimFileCommands::withSeparators(used).rightJustified(15) + " bytes used" +
                    SimFileCommands::withSeparators(engine.disk().freeBytes()).rightJustified(15) +
                    " bytes free");
}

struct Stream {
    QByteArray bytes;
    qint64 sent = 0;
    qint64 startMs = 0;
    double msPerByte = 0;
};

// Sends the next piece of a file stream at the line rate, until the file is out or a fault
// switch cuts it short.
void streamOn(SimEngine &engine, const std::shared_ptr<Stream> &stream)
{
    const SimOptions &o = engine.options();
    qint64 limit = stream->bytes.size();
    bool hangUp = false;
    if (o.stallTypeAfter >= 0 && o.stallTypeAfter < limit)
        limit = o.stallTypeAfter;
    if (o.hangupTypeAfter >= 0 && o.hangupTypeAfter <= limit) {
        limit = o.hangupTypeAfter;
        hangUp = true;
    }
    const qint64 piece = qMin<qint64>(kStreamChunk, limit - stream->sent);
    if (piece > 0) {
        engine.send(stream->bytes.mid(stream->sent, piece));
        stream->sent += piece;
    }
    if (stream->sent >= stream->bytes.size()) {
        engine.finishCommand();
        return;
    }
    if (stream->sent >= limit) {
        // Stalled: no more bytes and no prompt, until ETX.
        if (hangUp)
            engine.requestHangUp("in the middle of a file");
        return;
    }
    const qint64 due = stream->startMs + qint64(std::ceil(stream->sent * stream->msPerByte));
    engine.later(qMax<qint64>(0, due - engine.cursor()),
                 [&engine, stream] { streamOn(engine, stream); });
}

// "type NAME a b d": after d ms the bytes of NAME from offset a, b of them (0: to the end),
// exactly as stored, then the prompt.
void type(SimEngine &engine, const SimCommandLine &command)
{
    const QList<QByteArray> args = command.arguments();
    const QByteArray name = args.value(0);
    auto stream = std::make_shared<Stream>();
    if (!engine.disk().read(name, &stream->bytes)) {
        notFound(engine, name);
        return;
    }
    const qint64 offset = qMax<qint64>(0, args.value(1).toLongLong());
    const qint64 count = args.value(2).toLongLong();
    stream->bytes = stream->bytes.mid(offset, count > 0 ? count : -1);
    engine.keepBusy();
    engine.wait(args.value(3).toLongLong());
    stream->startMs = engine.cursor();
    if (!engine.options().fastTransfers)
        stream->msPerByte = 10000.0 / qMax(1, engine.baudRate());
    engine.later(0, [&engine, stream] { streamOn(engine, stream); });
}

struct Upload {
    QByteArray name;
    QByteArray content;
    QByteArray line;
};

// "capture NAME": every line up to CR is echoed and stored with CR LF; Ctrl-Z writes the
// file and brings back the command prompt.
void capture(SimEngine &engine, const SimCommandLine &command)
{
    auto upload = std::make_shared<Upload>();
    upload->name = command.arguments().value(0);
    // A name the disk cannot hold is refused at once and capture mode is not entered: the
    // lines that follow are taken as commands.
    if (!SimFlashDisk::isValidName(upload->name) || command.arguments().size() != 1) {
        badName(engine, command.rest);
        return;
    }
    engine.keepBusy();
    engine.send(capturePrompt());
    engine.setInputHook([&engine, upload](char c) {
        switch (c) {
        case kCtrlZ:
            upload->content += upload->line;
            engine.setInputHook(nullptr);
            if (!engine.disk().write(upload->name, upload->content, engine.clockAt(engine.now())))
                engine.send("\r\nCannot write " + upload->name);
            engine.send("\r\n");
            engine.finishCommand();
            break;
        case '\r':
            upload->content += upload->line + "\r\n";
            engine.send(upload->line + "\r\n" + capturePrompt());
            upload->line.clear();
            break;
        case '\n':
            break;
        default:
            upload->line += c;
        }
        return true;
    });
}

void deleteFile(SimEngine &engine, const SimCommandLine &command)
{
    const QByteArray name = command.arguments().value(0);
    if (!engine.disk().remove(name))
        notFound(engine, name);
}

} // namespace

QByteArray SimFileCommands::withSeparators(qint64 value)
{
    QByteArray digits = QByteArray::number(qAbs(value));
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, ',');
    return value < 0 ? '-' + digits : digits;
}

QByteArray SimFileCommands::listingRow(const SimDiskEntry &entry)
{
    return entry.name.leftJustified(kNameWidth, ' ', true) +
           withSeparators(entry.size).rightJustified(kSizeWidth) + ' ' +
           entry.modified.toString(QStringLiteral("MM-dd-yy HH:mm")).toLatin1();
}

void SimFileCommands::install(SimEngine &engine)
{
    engine.addCommand("dir", directory);
    engine.addCommand("type", type);
    engine.addCommand("capture", capture);
    engine.addCommand("del", deleteFile);
}
