#include "SampleStream.h"

#include "SimSampleData.h"

#include <algorithm>

QByteArray SampleStream::take(qint64 max)
{
    QByteArray out;
    while (out.size() < max && m_left > 0) {
        if (m_at == m_block.size()) {
            m_block = SimSampleData::lines(SimSampleData::counts(true, 1, ++m_seed));
            m_at = 0;
        }
        const qsizetype n = qsizetype(std::min({max - out.size(), m_left, m_block.size() - m_at}));
        out.append(m_block.constData() + m_at, n);
        m_at += n;
        m_left -= n;
    }
    return out;
}
