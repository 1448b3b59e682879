// Reads and writes a 2 MB rich text document with our reader and writer,
// against QTextDocument's own HTML round trip of the same document, and
// prints one line with the ratio ours/Qt. Run it from a Release build.

#include "BenchRounds.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr qsizetype targetSize = 2 * 1024 * 1024;
// The reader's memory is measured on a document of the size users report.
constexpr qsizetype memorySize = 20 * 1024 * 1024;
constexpr int rounds = 7;

// Paragraphs as the old control wrote them: changing fonts, bold and
// colour runs, umlauts as \'hh, alignment and indents, one and two lines
// long, so that even the large document is read to its end. The bytes are
// reserved at once, as a file's are when it is read: growing them step by
// step frees ever larger buffers, after which glibc serves every buffer
// below the largest freed from its heap, where the document's copies left
// behind by growing stay resident; the reader would be charged for them.
QByteArray sampleDocument(qsizetype size)
{
    QByteArray rtf;
    rtf.reserve(size + 1024);
    rtf += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
           "{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
           "\\viewkind4\\uc1";
    for (int i = 0; rtf.size() < size; ++i) {
        rtf += i % 3 == 0 ? "\\pard\\qj\\li720\\fi-360\\sa120 " : "\\pard ";
        rtf += "\\f0\\fs20 Position " + QByteArray::number(i)
               + ": Lieferung \\b frei Haus\\b0 , Zahlung binnen "
                 "\\cf1 14 Tagen\\cf0  mit 2 % Skonto, sonst 30 Tage netto. Gr\\'fc\\'dfe aus K\\'f6ln "
                 "\\f1\\i und Umgebung\\i0\\f0 .";
        if (i % 2 == 0)
            rtf += " Bitte geben Sie die Rechnungsnummer an.";
        rtf += "\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

double seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // "--speicher ours|base": the reader reading the large document, or the
    // document's bytes alone, in a process of its own.
    if (argc == 3 && QByteArray(argv[1]) == "--speicher") {
        const QByteArray large = sampleDocument(memorySize);
        if (QByteArray(argv[2]) == "ours")
            return bench::runMeasured([&] {
                QTextDocument document;
                rtf::readRtf(large, document);
            });
        return bench::runMeasured([&] { QByteArray(large.constData(), large.size()).fill('x'); });
    }
    const QByteArray rtf = sampleDocument(targetSize);
    QTextDocument source;
    rtf::readRtf(rtf, source);
    const QString html = source.toHtml();

    qsizetype sink = 0;
    const auto ours = [&] {
        QTextDocument document;
        rtf::readRtf(rtf, document);
        sink += rtf::writeRtf(document).size();
    };
    const auto qt = [&] {
        QTextDocument document;
        document.setHtml(html);
        sink += document.toHtml().size();
    };
    ours();
    qt();
    std::vector<double> oursTimes;
    std::vector<double> qtTimes;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            oursTimes.push_back(seconds(ours));
            qtTimes.push_back(seconds(qt));
        } else {
            qtTimes.push_back(seconds(qt));
            oursTimes.push_back(seconds(ours));
        }
    }
    const double oursMin = *std::min_element(oursTimes.begin(), oursTimes.end());
    const double qtMin = *std::min_element(qtTimes.begin(), qtTimes.end());
    std::printf("rtf read+write %.1f MB: ours min %.3f s median %.3f s, Qt HTML round trip min %.3f s median %.3f s "
                "(%lld bytes written) ratio %.2f\n",
                double(rtf.size()) / (1024 * 1024), oursMin, median(oursTimes), qtMin, median(qtTimes),
                static_cast<long long>(sink), oursMin / qtMin);
    QTextDocument large;
    if (!rtf::readRtf(sampleDocument(memorySize), large).problems.isEmpty()) {
        std::fprintf(stderr, "the large document is not read to its end\n");
        return 1;
    }
    bench::compareMemory("rtf reader memory, 20 MB: document read / its bytes", {"--speicher", "ours"},
                         {"--speicher", "base"});
    return 0;
}
