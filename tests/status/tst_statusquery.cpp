#include "features/status/StatusParser.h"
#include "features/status/StatusQuery.h"
#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/ProgramState.h"
#include "link/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"

#include <QtTest>

namespace
{
const QByteArray kStatusLine("st:1011,2.34,0,95,21.5\r\n");

class RecordingStatus : public PlainLinkStatus
{
public:
    int SetStatus(int code, QString *msg = nullptr) override
    {
        codes << code;
        return PlainLinkStatus::SetStatus(code, msg);
    }
    QList<int> codes;
};

// The link as the main window wires it: the receive loop runs on a timer and hands status
// lines to the parser; a silent instrument lets the query's second pass by at once.
struct Link {
    ProgramState state;
    MemoryCommPort port;
    RecordingStatus status;
    CommandTransaction transaction{state, port, status};
    FileCapture capture{state};
    ReceiveLoop loop{state, port, capture, status};
    StatusParser parser{status};
    StatusQuery query{transaction, status};
    QTimer receiveTimer;
    bool answering = false;
    bool echoing = false; // not answering, but echoing the command and showing the prompt

    Link()
    {
        port.open();
        status.SetStatus(LinkStatus::Idle);
        status.codes.clear();
        loop.setStatusLineSink([this](const QByteArray &line) { parser.ParseStatus(line); });
        QObject::connect(&receiveTimer, &QTimer::timeout, [this] { loop.run(); });
        receiveTimer.start(5);
        port.setResponder([this](const QByteArray &) {
            if (answering) {
                port.feed(kStatusLine);
                return;
            }
            if (echoing)
                port.feed("st\r\nOrvantis>");
            // The echo is read before the query times out.
            QTimer::singleShot(echoing ? 50 : 0, &receiveTimer,
                               [this] { state.clock.setTimeOfDay(state.clock.timeOfDay() + 2.0); });
        });
    }

    void queries(int count, bool answer)
    {
        answering = answer;
        for (int i = 0; i < count; ++i)
            query.QueryStatus();
    }
};
} // namespace

class TestStatusQuery : public QObject
{
    Q_OBJECT

private slots:
    void thirdMissShowsNoResponseAndAnAnswerRestores();
    void answerBeforeTheThirdMissStartsTheCountAgain();
    void missCountStopsAtThree();
    void closedPortCountsAsMiss();
    void echoWithoutStatusLineCountsAsMiss();
    void answeredLineReachesThePanels();
};

void TestStatusQuery::thirdMissShowsNoResponseAndAnAnswerRestores()
{
    Link link;
    link.queries(2, false);
    QCOMPARE(link.query.missedReplies(), qint16(2));
    QCOMPARE(link.status.Status(), int(LinkStatus::Idle));
    QVERIFY(!link.status.codes.contains(LinkStatus::NoResponse));

    link.queries(1, false);
    QCOMPARE(link.status.Status(), int(LinkStatus::NoResponse));

    // Every further miss shows it again.
    link.status.codes.clear();
    link.queries(1, false);
    QCOMPARE(link.status.codes, (QList<int>{LinkStatus::CommandInProgress, LinkStatus::NoResponse,
                                            LinkStatus::NoResponse}));

    link.queries(1, true);
    QCOMPARE(link.status.Status(), int(LinkStatus::Idle));
    QCOMPARE(link.query.missedReplies(), qint16(0));
    QCOMPARE(link.port.written(), QByteArray("st\r").repeated(5));
}

void TestStatusQuery::answerBeforeTheThirdMissStartsTheCountAgain()
{
    Link link;
    link.queries(2, false);
    link.queries(1, true);
    QCOMPARE(link.query.missedReplies(), qint16(0));
    link.queries(2, false);
    QCOMPARE(link.query.missedReplies(), qint16(2));
    QVERIFY(!link.status.codes.contains(LinkStatus::NoResponse));
    QCOMPARE(link.status.Status(), int(LinkStatus::Idle));
}

void TestStatusQuery::missCountStopsAtThree()
{
    Link link;
    link.queries(12, false);
    QCOMPARE(link.query.missedReplies(), qint16(3));
    QCOMPARE(link.status.Status(), int(LinkStatus::NoResponse));
}

void TestStatusQuery::closedPortCountsAsMiss()
{
    Link link;
    link.port.close();
    link.queries(2, true);
    QCOMPARE(link.query.missedReplies(), qint16(2));
    QVERIFY(link.port.written().isEmpty());
    link.queries(1, true);
    QCOMPARE(link.status.codes, QList<int>{LinkStatus::NoResponse});
}

void TestStatusQuery::echoWithoutStatusLineCountsAsMiss()
{
    Link link;
    link.echoing = true;
    link.queries(3, false);
    QCOMPARE(link.query.missedReplies(), qint16(3));
    QCOMPARE(link.status.Status(), int(LinkStatus::NoResponse));
    link.queries(1, true);
    QCOMPARE(link.status.Status(), int(LinkStatus::Idle));
}

void TestStatusQuery::answeredLineReachesThePanels()
{
    Link link;
    link.queries(1, true);
    QTRY_COMPARE(link.parser.panels().ambientCaption, QStringLiteral("Ambient: 21.5"));
    QCOMPARE(link.parser.panels().light.rows[1].caption, QStringLiteral("Stabilizing (1.6 min.)"));
}

QTEST_GUILESS_MAIN(TestStatusQuery)
#include "tst_statusquery.moc"
