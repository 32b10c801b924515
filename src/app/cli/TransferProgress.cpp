#include "app/cli/TransferProgress.h"

#include "app/cli/CliOutput.h"
#include "features/files/FileTransferOperation.h"

namespace
{
constexpr int kBarWidth = 30;
}

TransferProgress::TransferProgress(FileTransferOperation &operation, CliOutput &output)
    : m_output(output)
{
    if (!output.progressShown())
        return;
    connect(&operation, &FileTransferOperation::progressed, this,
            [this](const QString &name, int, int, qint64 bytes, qint64 total) {
                const QString text = bar(name, bytes, total);
                if (text != m_shown)
                    m_output.progress(text);
                m_shown = text;
            });
    connect(&operation, &FileTransferOperation::progressEnded, this, [this] {
        m_output.progress(QString());
        m_shown.clear();
    });
}

TransferProgress::~TransferProgress()
{
    m_output.progress(QString());
}

QString TransferProgress::bar(const QString &name, qint64 bytes, qint64 total)
{
    const int percent =
        qBound(0, FileTransferOperation::percentText(bytes, total).chopped(1).toInt(), 100);
    const int filled = percent * kBarWidth / 100;
    return QStringLiteral("%1 [%2%3] %4%")
        .arg(name)
        .arg(QString(filled, QLatin1Char('#')))
        .arg(QString(kBarWidth - filled, QLatin1Char(' ')))
        .arg(percent, 3);
}
