#include "LongLineBench.h"

#include "BenchTools.h"
#include "Fakes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

void benchLongLine(const QString &folder)
{
    const QString path = folder + QStringLiteral("/one-line.txt");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(QByteArray(20 * 1024 * 1024, 'x'));
    }
    const auto actions = [&](TestWindow &window, const char *label) {
        Form1 &form = *window.form;
        form.show();
        QElapsedTimer clock;
        clock.start();
        form.grab();
        const double repaint = double(clock.nsecsElapsed()) / 1e6;
        window.control<QLineEdit>("Text1")->setText(QStringLiteral("one more"));
        clock.restart();
        window.control<QPushButton>("PushButton2")->click();
        form.grab();
        const double add = double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        form.hide();
        form.show();
        form.grab();
        const double restore = double(clock.nsecsElapsed()) / 1e6;
        std::printf("  %-30s repaint %7.2f ms  Add %7.2f ms  hide+show %7.2f ms\n", label, repaint,
                    add, restore);
        return repaint + add + restore;
    };

    TestWindow window(folder);
    window.fileDialogs.answers.push_back({path});
    Timing load = timePass([&] { window.control<QPushButton>("PushButton3")->click(); });
    print("Load List From Text File, one 20 MB line", 1, load);
    const double peer = timePipeline(path);
    std::printf("  pipeline on that file %.3f s; load / pipeline: %.2fx\n", peer,
                load.seconds / peer);
    const double withLong = actions(window, "after the 20 MB line:");

    TestWindow shortItems(folder);
    shortItems.control<QPushButton>("PushButton22")->click();
    const double withShort = actions(shortItems, "after the sample list:");
    std::printf("  actions, 20 MB line / sample list: %.2fx\n", withLong / withShort);
}
