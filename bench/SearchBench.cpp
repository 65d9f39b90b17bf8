#include "SearchBench.h"

#include "BenchTools.h"
#include "Fakes.h"
#include "ItemList.h"

#include <QAction>
#include <QStringMatcher>

#include <cstdio>

// Find and Check Items With... on 1,000,000 names of many scripts, as real lists hold them: a
// quarter with Latin-1 accents, one in twenty Greek or Cyrillic, one in a hundred with an
// accent written as a letter and a combining mark. Beside each, its peer in the same run: a
// plain case-blind QStringMatcher pass over the same items, which neither reads accents alike
// nor leaves a letter's accent out of a match.
void benchSearch(const QString &folder)
{
    constexpr int kItems = 1000000;
    std::printf("Find and Check Items With..., %d items of many scripts:\n", kItems);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    const QString forms[] = {
        QStringLiteral("anna.berg%1@example.org"),
        QStringLiteral("J\u00FCrgen M\u00FCller%1 <jm@example.de>"),
        QStringLiteral("\u0391\u03BB\u03AD\u03BE\u03B1\u03BD\u03B4\u03C1\u03BF\u03C2%1"),
        QStringLiteral("Zoe\u0308 Mu\u0308ller%1")};
    QStringList texts;
    texts.reserve(kItems);
    for (int i = 0; i < kItems; ++i) {
        const int shape = i % 100 == 0 ? 3 : i % 20 == 1 ? 2 : i % 4 == 2 ? 1 : 0;
        texts.append(forms[shape].arg(i));
    }
    fillList(form, texts);
    for (const QString &needle :
         {QStringLiteral("M\u00DCLLER42"), QStringLiteral("no such text")}) {
        const double plain = millisecondsOf([&] {
            const QStringMatcher matcher(needle, Qt::CaseInsensitive);
            qsizetype found = 0;
            for (qsizetype i = 0; i < form.items().count(); ++i)
                found += matcher.indexIn(Utf16Text(form.items().text(i))) >= 0 ? 1 : 0;
            if (found < 0)
                std::puts("");
        });
        window.prompts.typed.push_back(needle);
        const double checkWith = millisecondsOf(
            [&] { menuAction(form, QStringLiteral("Check Items With"))->trigger(); });
        window.prompts.typed.push_back(needle);
        const double find =
            millisecondsOf([&] { menuAction(form, QStringLiteral("Find..."))->trigger(); });
        std::printf("  \"%s\": Check Items With %8.1f ms, Find %8.1f ms; the plain pass %8.1f ms "
                    "(%.2fx, %.2fx)\n",
                    qPrintable(needle), checkWith, find, plain, checkWith / plain, find / plain);
    }
}
