#include "session/FileCapture.h"

void FileCapture::PrepForFileCapture(qint64 length)
{
    m_byteCount = 0;
    m_lastByteTime = m_state.clock.timeOfDay();
    m_captureActive = true;
    m_captureLength = length;
    m_echoLineFeedDue = false;
}

void FileCapture::EndFileCapture()
{
    m_captureLength = 0;
    m_captureActive = false;
    if (m_state.dataFile.isOpen())
        m_state.dataFile.close();
}

float FileCapture::TimeSinceLastByte() const
{
    float elapsed = m_state.clock.timeOfDay() - m_lastByteTime;
    if (elapsed < -10.0f)
        elapsed += Clock::kSecondsPerDay;
    return elapsed;
}

void FileCapture::countBytes(qint64 count, float now)
{
    m_lastByteTime = now;
    m_byteCount += count;
}

void FileCapture::finishCapture()
{
    m_captureActive = false;
    m_captureLength = 0;
}
