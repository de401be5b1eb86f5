// The delivery helper's logic: its arguments, name and text rules, "*", and
// how it runs smbclient (a recording stand-in).
#include "delivery.h"
#include "fakenetwork.h"
#include "messagetext.h"
#include "netbiosname.h"
#include "sendrequest.h"
#include "smbclientsender.h"
#include "tst_delivery_support.h"

#include <QTextStream>
#include <QtTest>

namespace
{

struct Run {
    int status;
    QString err;
};

Delivery::Settings settingsFor(const FakeSmbclient &smb)
{
    Delivery::Settings s;
    s.smbclient = smb.program();
    s.sender = QStringLiteral("PC-02");
    s.workgroup = QStringLiteral("RADNAGRUPA");
    s.timeoutMs = 1000;
    return s;
}

Run run(const QStringList &args, const Delivery::Settings &settings, NetworkProvider *net = nullptr)
{
    FakeNetwork empty;
    QString err;
    QTextStream stream(&err);
    const int status = Delivery::run(
        args, settings, [&]() -> NetworkProvider & { return net ? *net : empty; }, stream);
    stream.flush();
    return {status, err};
}

const CodePage cp = *CodePage::byName(QStringLiteral("CP1250"));

} // namespace

class TestDelivery : public QObject
{
    Q_OBJECT
private slots:
    void requestIsNameThenTextWhateverTheSplitting()
    {
        // The messenger's one argument and a terminal's many words agree.
        const auto one = SendRequest::parse({"send", "PC-01 Zdravo,  svete\nredak \"2\""});
        const auto many =
            SendRequest::parse({"send", "PC-01", "Zdravo,", "", "svete\nredak", "\"2\""});
        QVERIFY(one && many);
        QCOMPARE(one->name, QString("PC-01"));
        QCOMPARE(one->text, QString("Zdravo,  svete\nredak \"2\""));
        QCOMPARE(many->text, one->text);
        // Only the one blank after the name goes; a name holding a blank
        // becomes a name and the start of the text.
        QCOMPARE(SendRequest::parse({"send", "PC-01   x "})->text, QString("  x "));
        QCOMPARE(SendRequest::parse({"send", "MY PC hello"})->name, QString("MY"));
        QCOMPARE(SendRequest::parse({"send", "MY PC hello"})->text, QString("PC hello"));
        QVERIFY(!SendRequest::parse({"send"}));
        QVERIFY(!SendRequest::parse({"post", "PC-01", "x"}));
    }

    void namesFollowNetbiosRules()
    {
        QCOMPARE(NetbiosName::normalized("računar-1", cp), std::optional<QString>("RAČUNAR-1"));
        QVERIFY(NetbiosName::normalized("ČČČČČČČČČČČČČČČ", cp)); // 15 bytes in CP1250
        QVERIFY(!NetbiosName::normalized("ABCDEFGHIJKLMNOP", cp));
        for (const char *name : {"",    "-M",  "--option=x", ".x",    "a\\b", "a/b",   "a:b",
                                 "a*",  "a?",  "a\"b",       "a<b",   "a>b",  "a|b",   "a+b",
                                 "a=b", "a;b", "a,b",        "MY PC", "a\tb", "a\x01", "ПК"}) {
            QString why;
            QVERIFY2(!NetbiosName::normalized(QString::fromUtf8(name), cp, &why), name);
            QVERIFY(!why.isEmpty());
        }
        // The own name is also smbclient's user name, where % and @ split it.
        QVERIFY(NetbiosName::normalized("PC%1", cp));
        QVERIFY(!NetbiosName::normalizedSender("PC%1", cp));
        QVERIFY(!NetbiosName::normalizedSender("PC@X", cp));
    }

    void codePagesAndTextLimits()
    {
        QVERIFY(CodePage::byName("CP852"));
        for (const char *bad :
             {"NO-SUCH-PAGE", "CP1250//TRANSLIT", "CP1250 x", "", "A23456789012345678901"})
            QVERIFY2(!CodePage::byName(bad), bad);
        QCOMPARE(cp.encode("čćđšž").value(), QByteArray("\xE8\xE6\xF0\x9A\x9E"));
        QString missing;
        QVERIFY(!cp.encode("ok Привет", &missing));
        QCOMPARE(missing, QString("П"));
        // smbclient's buffer: UTF-8 bytes, each line break twice.
        QVERIFY(MessageText::problem(QString(1598, 'a'), cp).isEmpty());
        QVERIFY(!MessageText::problem(QString(1599, 'a'), cp).isEmpty());
        QVERIFY(MessageText::problem(QString(799, QChar(u'\n')), cp).isEmpty());
        QVERIFY(!MessageText::problem(QString(799, QChar(u'\n')) + "b", cp).isEmpty());
        QVERIFY(!MessageText::problem(QString(896, QChar(u'č')), cp).isEmpty());
        QVERIFY(MessageText::problem(" ", cp).isEmpty());
    }

    void oneRecipientGetsTheTextOnStdinAndFixedArguments()
    {
        FakeSmbclient smb;
        const QString text = QStringLiteral("Zdravo mreži, čćđšž!\nDruga linija \"x\" ");
        const Run r = run({"send", "pc-01 " + text}, settingsFor(smb));
        QCOMPARE(r.err, QString());
        QCOMPARE(r.status, int(Delivery::Delivered));
        QCOMPARE(smb.calls(), 1);
        QCOMPARE(smb.argv(1), FakeSmbclient::fixedArgs("PC-01"));
        QCOMPARE(smb.input(1), text.toUtf8());
        auto s = settingsFor(smb);
        s.codePage = "CP852";
        QCOMPARE(run({"send", "PC-01 x"}, s).status, int(Delivery::Delivered));
        QVERIFY(smb.argv(2).contains("--option=dos charset=CP852"));
    }

    void refusalsRunNothingAndExitTwo()
    {
        FakeSmbclient smb;
        const auto s = settingsFor(smb);
        const QList<QPair<QStringList, QString>> cases = {
            {{"send", "-M x"}, "bad computer name \"-M\""},
            {{"send", "ABCDEFGHIJKLMNOP hi"}, "at most 15 bytes"},
            {{"send", "PC-01"}, "empty"},
            {{"send", "PC-01 " + QString(1599, 'a')}, "too long"},
            {{"send", "PC-01 Привет"}, "code page CP1250"},
            {{"PC-01", "x"}, "usage"},
        };
        for (const auto &[args, expected] : cases) {
            const Run r = run(args, s);
            QCOMPARE(r.status, int(Delivery::BadRequest));
            QVERIFY2(r.err.contains(expected), qPrintable(r.err));
        }
        auto bad = s;
        bad.codePage = "CP852 --option=x";
        QVERIFY(run({"send", "PC-01 x"}, bad).err.contains("unusable code page"));
        bad = s;
        bad.sender = "ME%secret";
        QVERIFY(run({"send", "PC-01 x"}, bad).err.contains("this computer's name"));
        bad = s;
        bad.workgroup.clear();
        QCOMPARE(run({"send", "* x"}, bad).status, int(Delivery::BadRequest));
        QCOMPARE(smb.calls(), 0);
    }

    void groupReachesEveryOtherComputerOfTheWorkgroup()
    {
        FakeSmbclient smb;
        FakeNetwork net;
        net.add("RADNAGRUPA", "\\\\PC-01", NetDisplay::Server);
        net.add("RADNAGRUPA", "\\\\pc-02", NetDisplay::Server); // this computer
        net.add("RADNAGRUPA", "\\\\-EVIL", NetDisplay::Server);
        net.add("RADNAGRUPA", "\\\\PC-03", NetDisplay::Server);
        net.add("RADNAGRUPA", "\\\\PC-03\\share", NetDisplay::Share);
        net.add("DRUGA", "\\\\PC-09", NetDisplay::Server);
        const Run r = run({"send", "* Svima"}, settingsFor(smb), &net);
        // A listed name that breaks the rules is reported; the rest still go.
        QCOMPARE(r.status, int(Delivery::NotDelivered));
        QVERIFY(r.err.contains("-EVIL: not delivered"));
        QCOMPARE(smb.calls(), 2);
        QCOMPARE(smb.argv(1).value(1), QString("PC-01"));
        QCOMPARE(smb.argv(2).value(1), QString("PC-03"));
        QCOMPARE(smb.input(2), QByteArray("Svima"));

        FakeNetwork alone;
        alone.add("RADNAGRUPA", "\\\\PC-02", NetDisplay::Server);
        QVERIFY(run({"send", "* x"}, settingsFor(smb), &alone).err.contains("no other computer"));
        alone.failOpen("RADNAGRUPA");
        const Run unlisted = run({"send", "* x"}, settingsFor(smb), &alone);
        QCOMPARE(unlisted.status, int(Delivery::NotDelivered));
        QVERIFY(unlisted.err.contains("could not be listed"));
    }

    void eachFailedRecipientIsNamedWithItsReason()
    {
        FakeSmbclient smb;
        smb.listIn("fail", {"PC-03"});
        smb.listIn("hang", {"PC-04"});
        FakeNetwork net;
        for (const char *name : {"\\\\PC-01", "\\\\PC-03", "\\\\PC-04", "\\\\PC-05"})
            net.add("RADNAGRUPA", name, NetDisplay::Server);
        const Run r = run({"send", "* x"}, settingsFor(smb), &net);
        QCOMPARE(r.status, int(Delivery::NotDelivered));
        const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QString("vesnal-net: PC-03: not delivered: Connection to PC-03 failed. "
                                   "Error NT_STATUS_NOT_FOUND (smbclient exit status 1)"));
        QVERIFY(lines[1].startsWith("vesnal-net: PC-04: not delivered: no answer within 1 s"));
        QCOMPARE(smb.calls(), 4); // the others were still tried

        auto s = settingsFor(smb);
        s.smbclient.clear();
        QVERIFY(run({"send", "PC-01 x"}, s).err.contains("smbclient was not found"));
    }
};

QTEST_GUILESS_MAIN(TestDelivery)
#include "tst_delivery.moc"
