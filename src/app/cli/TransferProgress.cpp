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
    connect(&operation, &FileTransferOperation::ProgressLabelChanged, this,
            [this](const QString &label) { m_output.progress(bar(label)); });
}

TransferProgress::~TransferProgress()
{
    m_output.progress(QString());
}

QString TransferProgress::bar(const QString &label)
{
    const qsizetype colon = label.lastIndexOf(QStringLiteral(": "));
    if (colon < 0 || !label.endsWith(QLatin1Char('%')))
        return label;
    const int percent = qBound(0, label.mid(colon + 2).chopped(1).toInt(), 100);
    const int filled = percent * kBarWidth / 100;
    return QStringLiteral("%1 [%2%3] %4%")
        .arg(label.left(colon))
        .arg(QString(filled, QLatin1Char('#')))
        .arg(QString(kBarWidth - filled, QLatin1Char(' ')))
        .arg(percent, 3);
}
