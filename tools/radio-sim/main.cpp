// tr640-radio-sim: plays a TR-640 on a pseudo-terminal (printed on stdout) or a serial device.

#include "RadioModel.h"
#include "RadioServer.h"
#ifdef Q_OS_UNIX
#include "PseudoTerminal.h"
#endif

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSerialPort>
#include <QTime>
#include <cstdio>

namespace {

using namespace tr640::sim;

void Log(const QString& line) {
    const QByteArray text =
        (QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz ")) + line + u'\n')
            .toLocal8Bit();
    std::fputs(text.constData(), stderr);
    std::fflush(stderr);
}

int Fail(const QString& message) {
    Log(QStringLiteral("error: ") + message);
    return 1;
}

bool ParseHex(const QString& text, int* value) {
    QString digits = text;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    bool ok = false;
    *value = digits.toInt(&ok, 16);
    return ok && !digits.isEmpty() && *value >= 0 && *value <= 0xFFFF;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tr640-radio-sim"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Plays a TR-640 radio for the programming software. Without --device it creates a "
        "pseudo-terminal and prints its device path on stdout."));
    p.addHelpOption();
    const QCommandLineOption band(QStringLiteral("band"),
                                  QStringLiteral("Band code in hex (33, 0x01) or band position "
                                                 "0..6; default 33 (400-470MHz)."),
                                  QStringLiteral("CODE"));
    const QCommandLineOption image(QStringLiteral("image"),
                                   QStringLiteral("Start memory from a *.DAT file (from 0x0010); "
                                                  "default erased (0xFF)."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption save(QStringLiteral("save"),
                                  QStringLiteral("After each write, store the 848 bytes from "
                                                 "0x0010 in FILE."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("Use this serial device instead of a "
                                                   "pseudo-terminal."),
                                    QStringLiteral("DEV"));
    const QCommandLineOption pace(QStringLiteral("pace"),
                                  QStringLiteral("Let every byte take 1/960 s, both directions."));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Never answer."));
    const QCommandLineOption stopAfter(QStringLiteral("stop-after"),
                                       QStringLiteral("Answer the first N frames, then nothing."),
                                       QStringLiteral("N"));
    const QCommandLineOption garbage(QStringLiteral("garbage"),
                                     QStringLiteral("Send a burst of garbage before the "
                                                    "acknowledgement of PROGRAM."));
    const QCommandLineOption wrongAddress(QStringLiteral("wrong-address"),
                                          QStringLiteral("Answer the third read request with "
                                                         "a data frame for another address."));
    const QCommandLineOption split(QStringLiteral("split"),
                                   QStringLiteral("Send each reply in several pieces."));
    const QCommandLineOption corrupt(QStringLiteral("corrupt-byte"),
                                     QStringLiteral("Store the byte written to this radio "
                                                    "address (hex) inverted."),
                                     QStringLiteral("ADDR"));
    p.addOptions({band, image, save, device, pace, silent, stopAfter, garbage, wrongAddress, split,
                  corrupt});
    p.process(app);
    if (!p.positionalArguments().isEmpty())
        return Fail(
            QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first()));

    quint8 bandCode = kDefaultBandCode;
    if (p.isSet(band) && !ParseBandCode(p.value(band), &bandCode))
        return Fail(QStringLiteral("--band wants a hex code or a position 0..6"));
    RadioFaults faults;
    faults.silent = p.isSet(silent);
    faults.garbage = p.isSet(garbage);
    faults.wrongAddress = p.isSet(wrongAddress);
    faults.split = p.isSet(split);
    if (p.isSet(stopAfter)) {
        bool ok = false;
        faults.stopAfter = p.value(stopAfter).toInt(&ok);
        if (!ok || faults.stopAfter < 0)
            return Fail(QStringLiteral("--stop-after wants a number of frames"));
    }
    if (p.isSet(corrupt) && !ParseHex(p.value(corrupt), &faults.corruptAddress))
        return Fail(QStringLiteral("--corrupt-byte wants a radio address in hex"));

    RadioModel model(bandCode, faults);
    model.setLogger(Log);
    if (p.isSet(image)) {
        QFile f(p.value(image));
        if (!f.open(QIODevice::ReadOnly))
            return Fail(QStringLiteral("%1: %2").arg(f.fileName(), f.errorString()));
        model.setMemory(f.read(kMemorySize));
    }

    QSerialPort serial;
#ifdef Q_OS_UNIX
    PseudoTerminal pty;
#endif
    RadioServer server(model, [&](const QByteArray& bytes) {
        if (serial.isOpen()) {
            serial.write(bytes);
            return;
        }
#ifdef Q_OS_UNIX
        pty.write(bytes);
#endif
    });
    server.setPaced(p.isSet(pace));
    server.setSavePath(p.value(save));
    QObject::connect(&server, &RadioServer::saved, [](const QString& path, const QString& error) {
        Log(error.isEmpty() ? QStringLiteral("memory saved to %1").arg(path)
                            : QStringLiteral("saving %1 failed: %2").arg(path, error));
    });

    QString where;
    if (p.isSet(device)) {
        serial.setPortName(p.value(device));
        serial.setBaudRate(9600);
        serial.setDataBits(QSerialPort::Data8);
        serial.setParity(QSerialPort::NoParity);
        serial.setStopBits(QSerialPort::OneStop);
        serial.setFlowControl(QSerialPort::NoFlowControl);
        if (!serial.open(QIODevice::ReadWrite))
            return Fail(QStringLiteral("%1: %2").arg(p.value(device), serial.errorString()));
        QObject::connect(&serial, &QSerialPort::readyRead, [&] { server.feed(serial.readAll()); });
        where = serial.portName();
    } else {
#ifdef Q_OS_UNIX
        QString error;
        if (!pty.open(&error))
            return Fail(error);
        QObject::connect(&pty, &PseudoTerminal::bytesReceived, &server, &RadioServer::feed);
        where = pty.slavePath();
#else
        return Fail(QStringLiteral("no pseudo-terminals here: use --device"));
#endif
    }
    std::fputs((where + u'\n').toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    Log(QStringLiteral("radio with band code 0x%1 on %2")
            .arg(bandCode, 2, 16, QLatin1Char('0'))
            .arg(where));
    return app.exec();
}
