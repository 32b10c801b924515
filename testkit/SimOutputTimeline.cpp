#include "testkit/SimOutputTimeline.h"

SimOutputTimeline SimOutputTimeline::run(SimEngine &engine, qint64 untilMs)
{
    SimOutputTimeline out;
    auto take = [&] {
        const QByteArray bytes = engine.takeOutput();
        if (!bytes.isEmpty())
            out.m_pieces.append({engine.now(), bytes});
    };
    take();
    for (qint64 due = engine.nextDueMs(); due >= 0 && due <= untilMs; due = engine.nextDueMs()) {
        engine.setNow(due);
        take();
    }
    engine.setNow(untilMs);
    take();
    return out;
}

QByteArray SimOutputTimeline::text() const
{
    QByteArray out;
    for (const Piece &p : m_pieces)
        out += p.bytes;
    return out;
}

qint64 SimOutputTimeline::timeOfByte(qsizetype offset) const
{
    for (const Piece &p : m_pieces) {
        if (offset < p.bytes.size())
            return p.ms;
        offset -= p.bytes.size();
    }
    return -1;
}
