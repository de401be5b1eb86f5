// The delivery helper's logic: its arguments, name and text rules, "*", and
// how it runs smbclient (a recording stand-in written by each test).
#include "codepage.h"
#include "delivery.h"
#include "fakenetwork.h"
#include "messagetext.h"
#include "netbiosname.h"
#include "sendrequest.h"
#include "smbclientsender.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace
{

// A stand-in for smbclient: each run leaves its arguments (NUL-separated)
// and its standard input in calls/<n>/. Names listed in the file "fail"
// fail as an unknown computer does; names in "hang" never answer.
const char *FakeSmbclient = R"(#!/bin/sh
dir=$(dirname "$0")
i=1
while ! mkdir "$dir/calls/$i" 2>/dev/null; do i=$((i+1)); [ $i -gt 10000 ] && exit 99; done
for a in "$@"; do printf '%s\0' "$a"; done > "$dir/calls/$i/argv"
cat > "$dir/calls/$i/stdin"
if grep -qx -- "$2" "$dir/fail" 2>/dev/null; then
  echo "Type your message, ending it with a Control-D"
  echo "Connection to $2 failed. Error NT_STATUS_NOT_FOUND" >&2
  exit 1
fi
if grep -qx -- "$2" "$dir/hang" 2>/dev/null; then exec sleep 60; fi
echo "Type your message, ending it with a Control-D"
)";

struct Call {
    QStringList argv;
    QByteArray stdinBytes;
};

class FakeSmb
{
public:
    FakeSmb()
    {
        QDir(dir.path()).mkdir(QStringLiteral("calls"));
        QFile script(program());
        script.open(QIODevice::WriteOnly);
        script.write(FakeSmbclient);
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner);
    }
    QString program() const { return dir.filePath(QStringLiteral("smbclient")); }
    void listIn(const QString &file, const QStringList &names) const
    {
        QFile f(dir.filePath(file));
        f.open(QIODevice::WriteOnly);
        f.write((names.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
    QList<Call> calls() const
    {
        QList<Call> result;
        for (int i = 1; QFileInfo::exists(callFile(i, "argv")); ++i) {
            Call call;
            QFile argv(callFile(i, "argv")), in(callFile(i, "stdin"));
            argv.open(QIODevice::ReadOnly);
            in.open(QIODevice::ReadOnly);
            QByteArray raw = argv.readAll();
            raw.chop(1);
            for (const QByteArray &a : raw.split('\0'))
                call.argv.append(QString::fromUtf8(a));
            call.stdinBytes = in.readAll();
            result.append(call);
        }
        return result;
    }
    QTemporaryDir dir;

private:
    QString callFile(int i, const char *name) const
    {
        return dir.filePath(QStringLiteral("calls/%1/%2").arg(i).arg(QLatin1String(name)));
    }
};

struct Run {
    int status;
    QString err;
};

Delivery::Settings settingsFor(const FakeSmb &smb)
{
    Delivery::Settings s;
    s.smbclient = smb.program();
    s.sender = QStringLiteral("PC-02");
    s.workgroup = QStringLiteral("RADNAGRUPA");
    s.timeoutMs = 3000;
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

CodePage cp1250()
{
    return *CodePage::byName(QStringLiteral("CP1250"));
}

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
        QCOMPARE(many->name, one->name);
        QCOMPARE(many->text, one->text);
        // Only the one blank after the name goes; the rest is text.
        QCOMPARE(SendRequest::parse({"send", "PC-01   x "})->text, QString("  x "));
        QCOMPARE(SendRequest::parse({"send", "PC-01 "})->text, QString());
        // A name holding a blank becomes a name and the start of the text.
        const auto split = SendRequest::parse({"send", "MY PC hello"});
        QCOMPARE(split->name, QString("MY"));
        QCOMPARE(split->text, QString("PC hello"));
        QVERIFY(!SendRequest::parse({"send"}));
        QVERIFY(!SendRequest::parse({"send", ""}));
        QVERIFY(!SendRequest::parse({"post", "PC-01", "x"}));
        QVERIFY(!SendRequest::parse({}));
    }

    void namesFollowNetbiosRules()
    {
        const CodePage cp = cp1250();
        QCOMPARE(NetbiosName::normalized("pc-01", cp), std::optional<QString>("PC-01"));
        QCOMPARE(NetbiosName::normalized("računar_š", cp), std::optional<QString>("RAČUNAR_Š"));
        QVERIFY(NetbiosName::normalized("ABCDEFGHIJKLMNO", cp)); // 15 bytes
        QVERIFY(!NetbiosName::normalized("ABCDEFGHIJKLMNOP", cp));
        // Bytes are counted in the code page: č is one byte in CP1250.
        QVERIFY(NetbiosName::normalized("ČČČČČČČČČČČČČČČ", cp));
        const QStringList bad = {"",     "-M",   "--option=x", ".hidden", "a\\b", "a/b",
                                 "a:b",  "a*",   "a?",         "a\"b",    "a<b",  "a>b",
                                 "a|b",  "a+b",  "a=b",        "a;b",     "a,b",  "MY PC",
                                 "a\tb", "a\nb", "a\x01",      "ПК",      "*X"};
        for (const QString &name : bad) {
            QString why;
            QVERIFY2(!NetbiosName::normalized(name, cp, &why), qPrintable(name));
            QVERIFY(!why.isEmpty());
        }
        // Our own name is also smbclient's user name, where % and @ split it.
        QVERIFY(NetbiosName::normalized("PC%1", cp));
        QVERIFY(!NetbiosName::normalizedSender("PC%1", cp));
        QVERIFY(!NetbiosName::normalizedSender("PC@X", cp));
        QVERIFY(NetbiosName::normalizedSender("pc-02", cp));
    }

    void codePagesAndTextLimits()
    {
        QVERIFY(CodePage::byName("CP852"));
        QVERIFY(!CodePage::byName("NO-SUCH-PAGE"));
        QVERIFY(!CodePage::byName("CP1250//TRANSLIT"));
        QVERIFY(!CodePage::byName("CP1250 x"));
        QVERIFY(!CodePage::byName(""));
        QVERIFY(!CodePage::byName("A23456789012345678901"));
        const CodePage cp = cp1250();
        QCOMPARE(cp.encode("čćđšž").value(), QByteArray("\xE8\xE6\xF0\x9A\x9E"));
        QString missing;
        QVERIFY(!cp.encode("ok Привет", &missing));
        QCOMPARE(missing, QString("П"));

        // smbclient's buffer: UTF-8 bytes, each line break twice.
        QCOMPARE(MessageText::bufferBytes("a\nč"), qsizetype(5));
        QVERIFY(MessageText::problem(QString(1598, 'a'), cp).isEmpty());
        QVERIFY(!MessageText::problem(QString(1599, 'a'), cp).isEmpty());
        QVERIFY(MessageText::problem(QString(799, QChar(u'\n')), cp).isEmpty());
        QVERIFY(!MessageText::problem(QString(799, QChar(u'\n')) + "b", cp).isEmpty());
        // 896 letters from the editor may still be too long in UTF-8.
        QVERIFY(!MessageText::problem(QString(896, QChar(u'č')), cp).isEmpty());
        QVERIFY(!MessageText::problem("", cp).isEmpty());
        QVERIFY(MessageText::problem(" ", cp).isEmpty());
        QVERIFY(MessageText::problem("Привет", cp).contains("CP1250"));
    }

    void oneRecipientGetsTextOnStdinAndFixedArguments()
    {
        FakeSmb smb;
        const QString text = QStringLiteral("Zdravo mreži, čćđšž!\nDruga linija \"x\" ");
        const Run r = run({"send", "pc-01 " + text}, settingsFor(smb));
        QCOMPARE(r.status, int(Delivery::Delivered));
        QCOMPARE(r.err, QString());
        const auto calls = smb.calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].argv,
                 QStringList({"-M", "PC-01", "-N", "-U", "PC-02", "--option=dos charset=CP1250",
                              "--option=unix charset=UTF-8"}));
        QCOMPARE(calls[0].stdinBytes, text.toUtf8());
    }

    void codePageComesFromSettingsAndIsChecked()
    {
        FakeSmb smb;
        auto s = settingsFor(smb);
        s.codePage = "CP852";
        QCOMPARE(run({"send", "PC-01 x"}, s).status, int(Delivery::Delivered));
        QVERIFY(smb.calls().value(0).argv.contains("--option=dos charset=CP852"));
        s.codePage = "CP852 --option=x";
        const Run bad = run({"send", "PC-01 x"}, s);
        QCOMPARE(bad.status, int(Delivery::BadRequest));
        QVERIFY(bad.err.contains("code page"));
        QCOMPARE(smb.calls().size(), 1);
    }

    void refusalsRunNothingAndExitTwo()
    {
        FakeSmb smb;
        const auto s = settingsFor(smb);
        const QList<QPair<QStringList, QString>> cases = {
            {{"send", "-M x"}, "bad computer name \"-M\""},
            {{"send", "--option=x hi"}, "bad computer name"},
            {{"send", "PC/01 hi"}, "bad computer name"},
            {{"send", "ABCDEFGHIJKLMNOP hi"}, "at most 15 bytes"},
            {{"send", "PC-01"}, "empty"},
            {{"send", "PC-01 " + QString(1599, 'a')}, "too long"},
            {{"send", "PC-01 Привет"}, "code page CP1250"},
            {{"send"}, "usage"},
            {{"PC-01", "x"}, "usage"},
        };
        for (const auto &[args, expected] : cases) {
            const Run r = run(args, s);
            QVERIFY2(r.status == Delivery::BadRequest, qPrintable(args.join('|')));
            QVERIFY2(r.err.contains(expected), qPrintable(r.err));
        }
        auto badSelf = s;
        badSelf.sender = "ME%secret";
        QVERIFY(run({"send", "PC-01 x"}, badSelf).err.contains("this computer's name"));
        QCOMPARE(smb.calls().size(), 0);
    }

    void groupReachesEveryOtherComputerOfTheWorkgroup()
    {
        FakeSmb smb;
        FakeNetwork net;
        net.add("", "SMB mreža", NetDisplay::Network);
        net.add("SMB mreža", "RADNAGRUPA", NetDisplay::Domain);
        net.add("RADNAGRUPA", "\\\\PC-01", NetDisplay::Server);
        net.add("RADNAGRUPA", "\\\\pc-02", NetDisplay::Server); // this computer
        net.add("RADNAGRUPA", "\\\\PC-03", NetDisplay::Server);
        net.add("RADNAGRUPA", "\\\\PC-03\\share", NetDisplay::Share);
        net.add("DRUGA", "\\\\PC-09", NetDisplay::Server);
        const Run r = run({"send", "* Svima"}, settingsFor(smb), &net);
        QCOMPARE(r.status, int(Delivery::Delivered));
        QCOMPARE(net.listings("RADNAGRUPA"), 1);
        const auto calls = smb.calls();
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[0].argv.value(1), QString("PC-01"));
        QCOMPARE(calls[1].argv.value(1), QString("PC-03"));
        QCOMPARE(calls[1].stdinBytes, QByteArray("Svima"));
    }

    void groupFailuresAreReported()
    {
        FakeSmb smb;
        auto s = settingsFor(smb);
        FakeNetwork net;
        net.add("RADNAGRUPA", "\\\\PC-02", NetDisplay::Server);
        Run r = run({"send", "* x"}, s, &net);
        QCOMPARE(r.status, int(Delivery::NotDelivered));
        QVERIFY(r.err.contains("no other computer found in workgroup RADNAGRUPA"));

        net.failOpen("RADNAGRUPA");
        r = run({"send", "* x"}, s, &net);
        QCOMPARE(r.status, int(Delivery::NotDelivered));
        QVERIFY(r.err.contains("could not be listed"));

        // A listed name that breaks the rules is reported; the rest still go.
        net.add("RADNAGRUPA", "\\\\-EVIL", NetDisplay::Server);
        net.add("RADNAGRUPA", "\\\\PC-05", NetDisplay::Server);
        r = run({"send", "* x"}, s, &net);
        QCOMPARE(r.status, int(Delivery::NotDelivered));
        QVERIFY(r.err.contains("-EVIL: not delivered"));
        QCOMPARE(smb.calls().size(), 1);
        QCOMPARE(smb.calls()[0].argv.value(1), QString("PC-05"));

        s.workgroup.clear();
        r = run({"send", "* x"}, s, &net);
        QCOMPARE(r.status, int(Delivery::BadRequest));
        QVERIFY(r.err.contains("workgroup"));
    }

    void oneFailedRecipientOfSeveralIsNamedWithItsReason()
    {
        FakeSmb smb;
        smb.listIn("fail", {"PC-03"});
        smb.listIn("hang", {"PC-04"});
        FakeNetwork net;
        for (const char *name : {"\\\\PC-01", "\\\\PC-03", "\\\\PC-04", "\\\\PC-05"})
            net.add("RADNAGRUPA", name, NetDisplay::Server);
        auto s = settingsFor(smb);
        s.timeoutMs = 1000;
        const Run r = run({"send", "* x"}, s, &net);
        QCOMPARE(r.status, int(Delivery::NotDelivered));
        const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QString("vesnal-net: PC-03: not delivered: Connection to PC-03 failed. "
                                   "Error NT_STATUS_NOT_FOUND (smbclient exit status 1)"));
        QVERIFY(lines[1].startsWith("vesnal-net: PC-04: not delivered: no answer within 1 s"));
        QCOMPARE(smb.calls().size(), 4); // the others were still tried

        s.smbclient.clear();
        const Run missing = run({"send", "PC-01 x"}, s);
        QCOMPARE(missing.status, int(Delivery::NotDelivered));
        QVERIFY(missing.err.contains("smbclient was not found"));
    }

    void smbclientIsFoundOnPathOrThroughTheVariable()
    {
        FakeSmb smb;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(smb.dir.path()) + ':' + oldPath);
        qunsetenv("VESNAL_SMBCLIENT");
        QCOMPARE(SmbclientSender::findProgram(), smb.program());
        qputenv("VESNAL_SMBCLIENT", "/nonexistent/smbclient");
        QCOMPARE(SmbclientSender::findProgram(), QString());
        qputenv("VESNAL_SMBCLIENT", QFile::encodeName(smb.program()));
        QCOMPARE(SmbclientSender::findProgram(), smb.program());
        qunsetenv("VESNAL_SMBCLIENT");
        qputenv("PATH", oldPath);
    }
};

QTEST_GUILESS_MAIN(TestDelivery)
#include "tst_delivery.moc"
